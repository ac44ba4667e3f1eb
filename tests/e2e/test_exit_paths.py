"""Every way the program ends: q, Escape and the window being closed; and
the demo clock wrapping below 0, which ends nothing. Each ends with status 0 and
nothing on standard error (sanitizer builds: no report, leaks included)."""

import os
import signal
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

    def test_stepping_back_below_zero_wraps_the_clock_and_the_demo_goes_on(self):
        # A bounding of 0 draws no lattice: the time line is the only white
        # on the upper part of the black screen, so its extent is its width.
        with self.session(screen=SCREEN, env={"HALL_MESH_BOUNDING": "0"}) as s:
            s.wait_for_window()
            # Pause before the clock starts: keys sent during the start-up
            # second reach the window (pointer inside its first 300x300
            # place) and are handled before the first idle step, so the
            # demo time is exactly 0.
            s.wait_for_line("MESH_FOG: 1")
            s.xdotool("mousemove", "10", "10")
            s.key("space")
            s.wait_fullscreen()
            # 0 + 4 x 100 = 400, then back 1000: 2^32 - 600, "4294966696 msec".
            s.key("Down", "Down", "Down", "Down", "Left", delay_ms=0)
            time.sleep(1.0)
            wrapped = self.time_line_width(s, "paused-at-2^32-600")
            # Idle steps of a millisecond or two would often land on the
            # clock's last millisecond, which ends the demo by design; a
            # stopped process makes its next step jump over it instead, as a
            # slow frame would.
            s.key("space")
            time.sleep(0.1)
            os.kill(s.program.pid, signal.SIGSTOP)
            time.sleep(2.0)
            os.kill(s.program.pid, signal.SIGCONT)
            time.sleep(3.0)
            self.assertTrue(s.running, "the open-ended demo goes on past the clock's top")
            # About 2500 ms now: 9 characters where there were 15.
            bottom = self.time_line_width(s, "wrapped-past-the-top")
            self.assertLess(bottom * 1.3, wrapped, "the time line shows small numbers again")
            s.key("q")
            self.assert_exit_routine(s)
            print("\ntime wrap: time line %d px wide at 2^32 - 600 ms, %d px past the top" % (wrapped, bottom))

    @staticmethod
    def time_line_width(session, label):
        image = session.screenshot(label)
        box = image.bbox(wg_e2e.is_white, (0, 0, image.width, image.height // 4))
        if box is None:
            raise AssertionError("no time line on the screen (%s)" % label)
        return box[2] - box[0]

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
