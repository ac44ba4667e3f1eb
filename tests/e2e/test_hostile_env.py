"""Hostile values in the four HALL_MESH_* variables. For each: the program
starts, shows its lattice within 3 seconds, prints the settings it really
uses (C parsing: strtoul base 0 for the mode and the fog flag, strtod
rounded to float for the bounding and the interval), warns on stderr about
every value it replaced, and ends cleanly on q.

The programs run one after another on one small X screen."""

import re
import time
import unittest

import wg_e2e

SCREEN = (480, 360, 24)
LATTICE_DEADLINE = 3.0  # seconds from the program's start to a lit lattice

DEFAULTS = {"MESHMODE": "2", "BOUNDING": "1000", "INTERVAL": "50", "MESH_FOG": "1"}

# stderr lines that announce a replaced value
MODE_WARNING = r"^HALL_MESH_MODE=.* is not 0, 1 or 2; using 2$"
BOUNDING_WARNING = r"^HALL_MESH_BOUNDING=.* is not a finite number; using 1000$"
INTERVAL_WARNING = r"^HALL_MESH_INTERVAL=.* is not a finite non-zero step; using 50$"
REFUSED_WARNING = r"^wire_gate_demo: the lattice refused bounding .*; using 1000 and 50$"

LONG = 100 * 1024

# (variables, settings printed where they differ from the defaults, stderr
# patterns that must each match a line (none: stderr stays empty), whether
# the lattice has an extent and so lights the screen)
CASES = [
    # HALL_MESH_MODE: strtoul, base 0; anything but 0, 1, 2 gives 2 and a warning
    ({"HALL_MESH_MODE": ""}, {"MESHMODE": "0"}, [], True),
    ({"HALL_MESH_MODE": "   "}, {"MESHMODE": "0"}, [], True),
    ({"HALL_MESH_MODE": "points"}, {"MESHMODE": "0"}, [], True),
    ({"HALL_MESH_MODE": "0x1"}, {"MESHMODE": "1"}, [], True),
    ({"HALL_MESH_MODE": "010"}, {}, [MODE_WARNING], True),  # octal 8
    ({"HALL_MESH_MODE": "08"}, {"MESHMODE": "0"}, [], True),  # octal 0, then a stray 8
    ({"HALL_MESH_MODE": "-1"}, {}, [MODE_WARNING], True),  # ULONG_MAX
    ({"HALL_MESH_MODE": "4294967298"}, {}, [MODE_WARNING], True),  # 2 if cut to 32 bits
    ({"HALL_MESH_MODE": "99999999999999999999999999"}, {}, [MODE_WARNING], True),
    ({"HALL_MESH_MODE": "1e39"}, {"MESHMODE": "1"}, [], True),
    ({"HALL_MESH_MODE": " " * LONG + "1"}, {"MESHMODE": "1"}, [], True),
    # HALL_MESH_BOUNDING: strtod to float; not finite gives 1000 and a warning
    ({"HALL_MESH_BOUNDING": ""}, {"BOUNDING": "0"}, [], False),
    ({"HALL_MESH_BOUNDING": "  +300"}, {"BOUNDING": "300"}, [], True),
    ({"HALL_MESH_BOUNDING": "0x1p8"}, {"BOUNDING": "256"}, [], True),
    ({"HALL_MESH_BOUNDING": "-600"}, {"BOUNDING": "-600"}, [], True),
    ({"HALL_MESH_BOUNDING": "1e39"}, {}, [BOUNDING_WARNING], True),  # inf as a float
    ({"HALL_MESH_BOUNDING": "-1e39"}, {}, [BOUNDING_WARNING], True),
    ({"HALL_MESH_BOUNDING": "nan"}, {}, [BOUNDING_WARNING], True),
    ({"HALL_MESH_BOUNDING": "inf"}, {}, [BOUNDING_WARNING], True),
    ({"HALL_MESH_BOUNDING": "1e6"}, {}, [REFUSED_WARNING], True),  # 40001^2 positions
    ({"HALL_MESH_BOUNDING": "1e30"}, {}, [REFUSED_WARNING], True),  # the step vanishes
    ({"HALL_MESH_BOUNDING": "1" + "0" * LONG}, {}, [BOUNDING_WARNING], True),
    # HALL_MESH_INTERVAL: strtod to float; zero or not finite gives 50 and a warning
    ({"HALL_MESH_INTERVAL": "0"}, {}, [INTERVAL_WARNING], True),
    ({"HALL_MESH_INTERVAL": "-0"}, {}, [INTERVAL_WARNING], True),
    ({"HALL_MESH_INTERVAL": "-25"}, {"INTERVAL": "-25"}, [], True),
    ({"HALL_MESH_INTERVAL": "1e-45"}, {}, [REFUSED_WARNING], True),  # a denormal step
    ({"HALL_MESH_INTERVAL": "1"}, {}, [REFUSED_WARNING], True),  # 12 million list calls
    ({"HALL_MESH_INTERVAL": "-inf"}, {}, [INTERVAL_WARNING], True),
    ({"HALL_MESH_INTERVAL": "25." + "0" * LONG}, {"INTERVAL": "25"}, [], True),
    # HALL_MESH_FOG: strtoul, base 0; on when not 0
    ({"HALL_MESH_FOG": ""}, {"MESH_FOG": "0"}, [], True),
    ({"HALL_MESH_FOG": "0x0"}, {"MESH_FOG": "0"}, [], True),
    ({"HALL_MESH_FOG": "0.5"}, {"MESH_FOG": "0"}, [], True),
    ({"HALL_MESH_FOG": "-1"}, {"MESH_FOG": "1"}, [], True),
    ({"HALL_MESH_FOG": "x" * LONG}, {"MESH_FOG": "0"}, [], True),
    # together
    ({"HALL_MESH_BOUNDING": "3000", "HALL_MESH_INTERVAL": "5"}, {}, [REFUSED_WARNING], True),
    ({"HALL_MESH_MODE": "7", "HALL_MESH_BOUNDING": "nan", "HALL_MESH_INTERVAL": "0",
      "HALL_MESH_FOG": ""}, {"MESH_FOG": "0"},
     [MODE_WARNING, BOUNDING_WARNING, INTERVAL_WARNING], True),
]


def describe(env):
    """The variables for messages, long values shortened."""
    return " ".join("%s=%r" % (name, value) if len(value) <= 24
                    else "%s=%r...(%d chars)" % (name, value[:8], len(value))
                    for name, value in env.items())


def lattice_box(width, height):
    # The overlay's text lines sit in the top and bottom strips.
    return (0, height * 15 // 100, width, height * 85 // 100)


class HostileEnvironmentTest(wg_e2e.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.x = wg_e2e.XServer(*SCREEN)
        cls.x.start()

    @classmethod
    def tearDownClass(cls):
        cls.x.stop()

    def test_every_value_starts_shows_the_lattice_and_quits(self):
        self.assertGreaterEqual(len(CASES), 24)
        slowest = 0.0
        started = time.monotonic()
        for number, (env, printed, warnings, has_extent) in enumerate(CASES):
            with self.subTest(case=number, env=describe(env)):
                slowest = max(slowest, self.run_case(number, env, printed, warnings, has_extent))
        print("\n%d hostile values in %.1f s; lattice shown at most %.2f s after start"
              % (len(CASES), time.monotonic() - started, slowest))

    def run_case(self, number, env, printed, warnings, has_extent):
        # None unsets: a variable of the caller's environment must not leak in.
        full_env = {name: None for name in ("HALL_MESH_MODE", "HALL_MESH_BOUNDING",
                                            "HALL_MESH_INTERVAL", "HALL_MESH_FOG")}
        full_env.update(env)
        with self.session(env=full_env, xserver=self.x, name="case%02d" % number) as s:
            began = time.monotonic()
            settings = {}
            for key in ("MESHMODE", "BOUNDING", "INTERVAL", "MESH_FOG"):
                settings[key] = s.wait_for_line(re.compile(r"^%s: (.*)$" % key)).group(1)
            expected = dict(DEFAULTS, **printed)
            self.assertEqual(settings, expected, describe(env))

            s.wait_for_window()
            # Frames drawn in the toolkit's first 300x300 window put the
            # overlay's text where the lattice is looked for.
            s.wait_fullscreen(settle=0)
            shown_after = self.wait_for_frame(s, began, has_extent)

            s.key("q")
            self.assertEqual(s.wait_exit(), 0)
            self.assertEqual(s.output()[-2:], ["my_exit(0)", "demo scene cleared."])
            errors = s.errors()
            for pattern in warnings:
                self.assertTrue(any(re.search(pattern, line) for line in errors),
                                "no line matching %r on stderr: %r" % (pattern, [e[:200] for e in errors]))
            if not warnings:
                self.assertEqual(errors, [], "a usable value is taken without a warning")
            return shown_after

    def wait_for_frame(self, session, began, has_extent):
        """Waits for a drawn frame; returns the seconds since start. With an
        extent the lattice must light the middle of the screen; a bounding of
        0 draws zero-length lines, so only the overlay may be lit."""
        width, height = session.screen_size
        box = lattice_box(width, height)
        total = (box[2] - box[0]) * (box[3] - box[1])
        while True:
            elapsed = time.monotonic() - began  # the image is at least this late
            image = session.screenshot()
            lit = image.count(wg_e2e.is_lit, box)
            overlay = image.count(wg_e2e.is_lit, (0, 0, width, box[1]))
            if elapsed > LATTICE_DEADLINE:
                session.screenshot("no-lattice")
                self.fail("no lattice %.1f s after start (%d of %d pixels lit)"
                          % (elapsed, lit, total))
            if has_extent and lit >= total // 200:
                return elapsed
            if not has_extent and overlay > 0:
                self.assertEqual(lit, 0, "a lattice of no extent lights nothing")
                return elapsed
            time.sleep(0.1)


if __name__ == "__main__":
    unittest.main()
