"""Every way the program ends: q, Escape, the demo clock running into its
last millisecond, and the window being closed. Each ends with status 0 and
nothing on standard error (sanitizer builds: no report, leaks included)."""

import time
import unittest

import wg_e2e

EXIT_LINES = ["my_exit(0)", "demo scene cleared."]

# A small screen keeps the frames quick, also under the sanitizers.
SCREEN = (640, 480, 24)


class ExitPathsTest(wg_e2e.TestCase):

    def start(self, session):
        session.wait_for_window()
        session.wait_fullscreen()
        session.wait_for_line("MESH_FOG: 1")

    def assert_exit_routine(self, session):
        self.assertEqual(session.wait_exit(), 0)
        self.assertEqual(session.output()[-2:], EXIT_LINES)
        self.assertEqual(session.errors(), [])

    def test_q_and_Q_end_through_the_exit_routine(self):
        for key in ("q", "Q"):
            with self.session(screen=SCREEN, name=key) as s:
                self.start(s)
                s.key(key)
                self.assert_exit_routine(s)

    def test_escape_while_a_thruster_is_held_and_the_lattice_was_rebuilt(self):
        with self.session(screen=SCREEN) as s:
            self.start(s)
            s.key("p")
            s.wait_for_line("p: point draw mode")
            s.wait_for_line("MESH_FOG: 1")
            s.keydown("5")
            time.sleep(0.3)
            s.key("Escape")
            self.assert_exit_routine(s)
            s.keyup("5")  # the program is gone; the X server's key state is tidied

    def test_q_while_paused_with_the_overlays_on(self):
        with self.session(screen=SCREEN) as s:
            self.start(s)
            s.key("i", "g", "space")
            time.sleep(0.3)
            s.key("q")
            self.assert_exit_routine(s)

    def test_the_clock_running_into_its_last_millisecond_ends_the_demo(self):
        with self.session(screen=SCREEN) as s:
            s.wait_for_window()
            # Pause before the clock starts: keys sent during the start-up
            # second reach the window (pointer inside its first 300x300
            # place) and are handled before the first idle step, so the
            # demo time is exactly 0.
            s.wait_for_line("MESH_FOG: 1")
            s.xdotool("mousemove", "10", "10")
            s.key("space")
            s.wait_fullscreen()
            # 0 + 4 x 100 = 400, then back 1000: 2^32 - 600.
            s.key("Down", "Down", "Down", "Down", "Left", delay_ms=0)
            time.sleep(1.0)
            self.assertTrue(s.running, "paused, the clock must not move")
            resumed = time.monotonic()
            s.key("space")
            self.assertEqual(s.wait_exit(timeout=10), 0)
            ran = time.monotonic() - resumed
            self.assertEqual(s.output()[-2:], EXIT_LINES)
            self.assertEqual(s.errors(), [])
            # 600 ms of demo time, plus the frames and X round trips.
            self.assertLess(ran, 5.0)
            print("\ntime wrap: ended %.2f s after resuming at 2^32 - 600 ms" % ran)

    def test_closing_the_window_after_flying_ends_without_the_exit_routine(self):
        with self.session(screen=SCREEN) as s:
            self.start(s)
            s.hold("2", 0.3)
            s.key("bracketleft", "o", "i", "g")
            s.wait_for_line("[: mesh interval change to 55")
            s.close_window()
            self.assertEqual(s.wait_exit(), 0)
            self.assertNotIn("my_exit(0)", s.output())
            self.assertEqual(s.errors(), [], "the scene is deleted while its GL context exists")


if __name__ == "__main__":
    unittest.main()
