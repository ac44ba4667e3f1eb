"""Every way the program ends (q, Q, Escape, the window closed), with status 0 and nothing on stderr
(sanitizers: no report, leaks included); the demo clock wrapping below 0 and past its top ends nothing."""

import signal
import time

import pytest

pytestmark = pytest.mark.screen(640, 480)  # small: quick frames, also under the sanitizers


def flying(s):
    s.wait_fullscreen()
    assert (s.dpy.create_resource_object("window", s.window).get_wm_name(), [
        e[2] for e in s.events if e[1] == s.window][0]) == (s.binary, (300, 300)), "the title, the toolkit's size first"
    s.wait_for_line("MESH_FOG: 1")


# What the case does once the window is mapped, and whether the exit routine runs.
CASES = {
    "Q-paused-with-the-overlays-on": (lambda s: (
        flying(s), s.key("i", "g", "space"), time.sleep(0.3), s.key("Q")), True),
    "escape-holding-a-thruster-after-a-rebuild": (lambda s: (
        flying(s), s.key("p"), s.wait_for_line("p: point draw mode"), s.wait_for_line("MESH_FOG: 1"), s.down("5"),
        time.sleep(0.3), s.key("Escape")), True),
    # The close callback deletes the scene while the GL context still exists; the toolkit ends the program.
    "close-after-flying": (lambda s: (
        flying(s), s.hold("2", 0.3), s.key("bracketleft", "o", "i", "g"),
        s.wait_for_line("[: mesh interval change to 55"), s.close_window()), False),
    "close-during-start-up": (lambda s: s.close_window(), False),  # before the first idle step
}


@pytest.mark.parametrize("case", CASES)
def test_ends(program, case):
    s = program()
    s.wait_for_window()
    CASES[case][0](s)
    s.assert_ended(CASES[case][1])
    assert s.err == []


def test_stepping_back_below_zero_wraps_the_clock_and_the_demo_goes_on(program):
    def time_line_width(label):  # no lattice at bounding 0: the only white on the upper part of the screen
        white = (s.screenshot(label)[:120].min(axis=2) >= 200).any(axis=0).nonzero()[0]
        return white[-1] + 1 - white[0]

    s = program({"HALL_MESH_BOUNDING": "0"})
    s.wait_for_window()
    # Paused in the start-up second (the pointer in the first 300x300 window),
    # handled before the first idle step: the demo time is exactly 0.
    s.wait_for_line("MESH_FOG: 1")
    s.pointer(10, 10)
    s.key("space")
    s.wait_fullscreen(settle=0)
    s.key("Down", "Down", "Down", "Down", "Left", delay=0)  # 0 + 4 x 100 - 1000: 2^32 - 600, "4294966696 msec"
    time.sleep(0.5)
    wrapped = time_line_width("paused-at-2^32-600")
    # Steps of a millisecond or two would often land on the clock's last one,
    # which ends the demo by design; a stopped process jumps over it, as a slow frame would.
    s.key("space")
    time.sleep(0.1)
    s.proc.send_signal(signal.SIGSTOP)
    time.sleep(1.0)
    s.proc.send_signal(signal.SIGCONT)
    time.sleep(1.0)
    assert s.running, "the open-ended demo goes on past the clock's top"
    bottom = time_line_width("wrapped-past-the-top")  # some 1500 ms: 9 characters where there were 15
    assert bottom * 1.3 < wrapped, "the time line shows small numbers again (%d px, was %d px)" % (bottom, wrapped)
    s.key("q")
    s.assert_ended()
    assert s.err == []
