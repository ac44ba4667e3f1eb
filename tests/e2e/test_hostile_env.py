"""Hostile HALL_MESH_* values through the real environment, three cases at a time (the number syntax itself is the
settings unit test's): the settings really used, one warning on stderr for every value replaced and nothing else, the
lattice within 3 s of the start, and q. The lattices that take seconds a frame in software (the largest accepted, those
widened to fit) are the scene's GL test's."""

import re
import time

import pytest

pytestmark = pytest.mark.screen(480, 360)
LATTICE_DEADLINE = 3.0  # seconds from the program's start to a lit lattice
DEFAULTS = {"MESHMODE": "2", "BOUNDING": "1000", "INTERVAL": "50", "MESH_FOG": "1"}
M, B, I, F = "HALL_MESH_MODE", "HALL_MESH_BOUNDING", "HALL_MESH_INTERVAL", "HALL_MESH_FOG"
MODE_W = r"^HALL_MESH_MODE=.* is not 0, 1 or 2; using 2$"
BOUNDING_W = r"^HALL_MESH_BOUNDING=.* is not a finite number; using 1000$"
INTERVAL_W = r"^HALL_MESH_INTERVAL=.* is not a finite non-zero step; using 50$"
LONG = 100 * 1024

# (variables, settings printed where they differ from the defaults, the stderr lines in order)
CASES = [
    ({M: " " * LONG + "1"}, {"MESHMODE": "1"}, []),
    ({B: ""}, {"BOUNDING": "0"}, []),  # no extent: nothing lit but the overlay
    ({B: "nan"}, {}, [BOUNDING_W]),
    ({B: "1" + "0" * LONG}, {}, [BOUNDING_W]),
    ({I: "0"}, {}, [INTERVAL_W]),
    ({I: "25." + "0" * LONG}, {"INTERVAL": "25"}, []),
    ({F: "x" * LONG}, {"MESH_FOG": "0"}, []),
    ({M: "7", B: "nan", I: "0", F: ""}, {"MESH_FOG": "0"}, [MODE_W, BOUNDING_W, INTERVAL_W]),
]


@pytest.mark.parametrize("env, printed, warnings", CASES, ids=[",".join(
    "%s=%r" % (name[10:], value if len(value) <= 24 else "%s...(%d)" % (value[:4], len(value)))
    for name, value in case[0].items()) for case in CASES])
def test_hostile_value(program, env, printed, warnings):
    s = program(env)
    began = time.monotonic()
    settings = {key: s.wait_for_line(lambda line: line.startswith(key + ": "))[len(key) + 2:] for key in DEFAULTS}
    assert settings == {**DEFAULTS, **printed}
    s.wait_for_window()
    s.wait_fullscreen(settle=0)  # frames in the toolkit's first 300x300 window put text where the lattice is sought

    def shown():  # a lattice lights the middle, between the text lines; zero-length lines (bounding 0) nothing
        lit = s.screenshot().max(axis=2) >= 32
        if settings["BOUNDING"] == "0" and lit[:54].any() and lit[306:].any():  # the text of a full-screen frame
            assert not lit[54:306].any(), "a lattice of no extent lights nothing"
            return True
        return settings["BOUNDING"] != "0" and lit[54:306].mean() >= 1 / 200

    s.until(shown, LATTICE_DEADLINE - (time.monotonic() - began), "lattice (due %.0f s after start)" % LATTICE_DEADLINE)
    s.key("q")
    s.assert_ended()
    assert len(s.err) == len(warnings) and all(map(re.search, warnings, s.err)), [e[:200] for e in s.err]
