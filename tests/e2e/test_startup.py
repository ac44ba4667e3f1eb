"""Start-up and the ends of the program, on a virtual display."""

import unittest

import wg_e2e


class StartupTest(wg_e2e.TestCase):

    def test_window_goes_full_screen_and_q_ends_through_the_exit_routine(self):
        with self.session() as s:
            s.wait_for_window()  # titled with the program path as given
            self.assertEqual(s.window_sizes()[0], (300, 300), "the toolkit's default size first")
            x, y, width, height = s.wait_fullscreen(settle=0)
            self.assertEqual((width, height), (wg_e2e.SCREEN_WIDTH, wg_e2e.SCREEN_HEIGHT))
            s.key("q")
            s.wait_for_line("my_exit(0)")
            s.wait_for_line("demo scene cleared.")
            self.assertEqual(s.wait_exit(), 0)
            self.assertEqual(s.output()[-2:], ["my_exit(0)", "demo scene cleared."])
            self.assertEqual(s.errors(), [])

    def test_closing_the_window_ends_the_program_without_the_exit_routine(self):
        with self.session() as s:
            s.wait_for_window()
            # Sent during the start-up second, so the toolkit handles it
            # before the first idle step.
            s.close_window()
            self.assertEqual(s.wait_exit(), 0)
            self.assertNotIn("my_exit(0)", s.output())
            self.assertEqual(s.errors(), [], "the demo objects are deleted with a live GL context")


if __name__ == "__main__":
    unittest.main()
