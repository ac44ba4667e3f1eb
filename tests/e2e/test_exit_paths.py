"""Start-up and every way the program ends: q, Q, Escape and the window being
closed, each with status 0 and nothing on stderr (sanitizer builds: no report,
leaks included); and the demo clock wrapping below 0, which ends nothing."""

import os
import signal
import time

import pytest

pytestmark = pytest.mark.screen(640, 480)  # small: quick frames, also under the sanitizers


# (how the case ends it, whether the exit routine runs)
CASES = {
    "q": (lambda s: s.key("q"), True),
    "Q": (lambda s: s.key("Q"), True),
    "escape-holding-a-thruster-after-a-rebuild": (lambda s: (
        s.key("p"), s.wait_for_line("p: point draw mode"), s.wait_for_line("MESH_FOG: 1"),
        s.down("5"), time.sleep(0.3), s.key("Escape")), True),
    "q-paused-with-the-overlays-on": (lambda s: (s.key("i", "g", "space"), time.sleep(0.3), s.key("q")), True),
    # Closing deletes the scene in the static destructors, while the GL context still exists.
    "close-after-flying": (lambda s: (
        s.hold("2", 0.3), s.key("bracketleft", "o", "i", "g"), s.wait_for_line("[: mesh interval change to 55"),
        s.close_window()), False),
}


@pytest.mark.parametrize("case", CASES)
def test_ends(program, case):
    end, routine = CASES[case]
    s = program()
    s.wait_for_window()
    s.wait_fullscreen()
    assert [e[2] for e in s.events if e[1] == s.window][0] == (300, 300), "the toolkit's size first, then the screen's"
    s.wait_for_line("MESH_FOG: 1")
    end(s)
    s.assert_ended(routine)
    assert s.err == []


def test_closing_the_window_during_start_up(program):
    s = program()
    s.wait_for_window()
    s.close_window()  # handled in the start-up second, before the first idle step
    s.assert_ended(routine=False)
    assert s.err == []


def test_stepping_back_below_zero_wraps_the_clock_and_the_demo_goes_on(program):
    # A bounding of 0 draws no lattice: the time line is the only white on the
    # upper part of the black screen, so its extent is its width.
    def time_line_width(label):
        white = (s.screenshot(label)[: s.x.size[1] // 4].min(axis=2) >= 200).any(axis=0).nonzero()[0]
        assert len(white), "no time line on the screen (%s)" % label
        return white[-1] + 1 - white[0]

    s = program({"HALL_MESH_BOUNDING": "0"})
    s.wait_for_window()
    # Pause before the clock starts: keys sent during the start-up second
    # reach the window (pointer inside its first 300x300 place) and are
    # handled before the first idle step, so the demo time is exactly 0.
    s.wait_for_line("MESH_FOG: 1")
    s.pointer(10, 10)
    s.key("space")
    s.wait_fullscreen()
    s.key("Down", "Down", "Down", "Down", "Left", delay=0)  # 0 + 4 x 100 - 1000: 2^32 - 600, "4294966696 msec"
    time.sleep(1.0)
    wrapped = time_line_width("paused-at-2^32-600")
    # Idle steps of a millisecond or two would often land on the clock's last
    # millisecond, which ends the demo by design; a stopped process makes its
    # next step jump over it instead, as a slow frame would.
    s.key("space")
    time.sleep(0.1)
    os.kill(s.pid, signal.SIGSTOP)
    time.sleep(2.0)
    os.kill(s.pid, signal.SIGCONT)
    time.sleep(3.0)
    assert s.running, "the open-ended demo goes on past the clock's top"
    bottom = time_line_width("wrapped-past-the-top")  # about 2500 ms: 9 characters where there were 15
    assert bottom * 1.3 < wrapped, "the time line shows small numbers again (%d px, was %d px)" % (bottom, wrapped)
    s.key("q")
    s.assert_ended()
    assert s.err == []
