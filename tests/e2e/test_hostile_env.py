"""Hostile HALL_MESH_* values, three cases at a time: the lattice within 3 s of the start, the settings
really used (strtoul base 0 for mode and fog, strtod rounded to float for bounding and interval), one
warning on stderr for every value replaced and nothing else, and q."""

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
REFUSED = [r"^DrawMesh2::Build: .*; lattice kept$",  # the mesh's refusal, then the scene's
           r"^wire_gate_demo: the lattice refused bounding .*; using 1000 and 50$"]
LONG = 100 * 1024

# (variables, settings printed where they differ from the defaults, the stderr lines in order)
CASES = [
    # the mode: strtoul, base 0; anything but 0, 1, 2 gives 2 and a warning
    ({M: ""}, {"MESHMODE": "0"}, []),
    ({M: "points"}, {"MESHMODE": "0"}, []),
    ({M: "0x1"}, {"MESHMODE": "1"}, []),
    ({M: "010"}, {}, [MODE_W]),  # octal 8
    ({M: "08"}, {"MESHMODE": "0"}, []),  # octal 0, then a stray 8
    ({M: "-1"}, {}, [MODE_W]),  # ULONG_MAX, as an overflow gives
    ({M: "4294967298"}, {}, [MODE_W]),  # 2 if cut to 32 bits
    ({M: "1e39"}, {"MESHMODE": "1"}, []),
    ({M: " " * LONG + "1"}, {"MESHMODE": "1"}, []),
    # the bounding: strtod to float; not finite gives 1000 and a warning
    ({B: ""}, {"BOUNDING": "0"}, []),  # no extent: nothing lit but the overlay
    ({B: "  +300"}, {"BOUNDING": "300"}, []),
    ({B: "0x1p8"}, {"BOUNDING": "256"}, []),
    ({B: "-600"}, {"BOUNDING": "-600"}, []),
    ({B: "1e39"}, {}, [BOUNDING_W]),  # inf as a float only
    ({B: "-1e39"}, {}, [BOUNDING_W]),
    ({B: "nan"}, {}, [BOUNDING_W]),
    ({B: "1e6"}, {}, REFUSED),  # 40001^2 positions
    ({B: "1e30"}, {}, REFUSED),  # the step vanishes
    ({B: "1" + "0" * LONG}, {}, [BOUNDING_W]),
    # the interval: strtod to float; zero or not finite gives 50 and a warning
    ({I: "0"}, {}, [INTERVAL_W]),
    ({I: "-0"}, {}, [INTERVAL_W]),
    ({I: "-25"}, {"INTERVAL": "-25"}, []),
    ({I: "1e-45"}, {}, REFUSED),  # a denormal step
    ({I: "1"}, {}, REFUSED),  # 12 million list calls
    ({I: "-inf"}, {}, [INTERVAL_W]),
    ({I: "25." + "0" * LONG}, {"INTERVAL": "25"}, []),
    # the fog flag: strtoul, base 0; on when not 0
    ({F: ""}, {"MESH_FOG": "0"}, []),
    ({F: "0x0"}, {"MESH_FOG": "0"}, []),
    ({F: "0.5"}, {"MESH_FOG": "0"}, []),
    ({F: "-1"}, {"MESH_FOG": "1"}, []),
    ({F: "x" * LONG}, {"MESH_FOG": "0"}, []),
    # together
    ({B: "3000", I: "5"}, {}, REFUSED),
    ({M: "7", B: "nan", I: "0", F: ""}, {"MESH_FOG": "0"}, [MODE_W, BOUNDING_W, INTERVAL_W]),
]


@pytest.mark.parametrize("env, printed, warnings", CASES, ids=[",".join(
    "%s=%r" % (name[10:], value if len(value) <= 24 else "%s...(%d)" % (value[:4], len(value)))
    for name, value in env.items()) for env, _, _ in CASES])
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
