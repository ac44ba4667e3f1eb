"""Hostile HALL_MESH_* values through the real environment, three cases at a time (the number syntax itself is the
settings unit test's): the settings really used, one warning on stderr for every value replaced and nothing else, the
lattice within 3 s of the start, and q. A lattice too large keeps its bounding and takes the smallest interval that
fits; those and the largest accepted ones draw a frame in seconds in software, so only their lines are checked."""

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
WIDENED = r"^wire_gate_demo: the lattice with mode 2, bounding .* and interval .* (would draw|has a step).*; using interval "
LONG = 100 * 1024
SLOW = True

# (variables, settings printed where they differ from the defaults, the stderr lines in order[, SLOW])
CASES = [
    ({M: " " * LONG + "1"}, {"MESHMODE": "1"}, []),
    ({B: ""}, {"BOUNDING": "0"}, []),  # no extent: nothing lit but the overlay
    ({B: "nan"}, {}, [BOUNDING_W]),
    ({B: "1" + "0" * LONG}, {}, [BOUNDING_W]),
    ({I: "0"}, {}, [INTERVAL_W]),
    ({I: "25." + "0" * LONG}, {"INTERVAL": "25"}, []),
    ({F: "x" * LONG}, {"MESH_FOG": "0"}, []),
    ({M: "7", B: "nan", I: "0", F: ""}, {"MESH_FOG": "0"}, [MODE_W, BOUNDING_W, INTERVAL_W]),
    # lattice sizes: 8.6 M line vertices, 24 M, and beyond the bound of 50 M
    ({B: "3000", I: "5"}, {"BOUNDING": "3000", "INTERVAL": "5"}, [], SLOW),
    ({I: "1"}, {"INTERVAL": "1"}, [], SLOW),
    ({B: "1e6"}, {"BOUNDING": "1e+06", "INTERVAL": "693.004"}, [WIDENED], SLOW),
]
CASES = [case if len(case) == 4 else (*case, False) for case in CASES]


@pytest.mark.parametrize("env, printed, warnings, slow", CASES, ids=[",".join(
    "%s=%r" % (name[10:], value if len(value) <= 24 else "%s...(%d)" % (value[:4], len(value)))
    for name, value in case[0].items()) for case in CASES])
def test_hostile_value(program, env, printed, warnings, slow):
    s = program(env)
    began = time.monotonic()
    settings = {key: s.wait_for_line(lambda line: line.startswith(key + ": "))[len(key) + 2:] for key in DEFAULTS}
    assert settings == {**DEFAULTS, **printed}
    s.wait_for_window()
    if slow:  # still running once its window is there; stopped without waiting for its frames
        assert s.running and len(s.err) == len(warnings) and all(map(re.search, warnings, s.err)), s.err
        return
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
