"""wire_gate.exe under wine on Xvfb: the start-up output, the time line moving, the same pictures as on Linux (the e2e
reference pictures), a draw-mode key, q; and the fatal error report of the file-mapping allocator: the box, its text
(from wine's window trace), a key that dismisses it, the Windows error code as the exit code."""

import os
import re
import time
import types

import numpy as np
import pytest
from harness import Session
from test_scene import SETTLE, TIME, check_reference
from Xlib import display

SETTINGS = ["MESHMODE: 2", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1"]


@pytest.fixture
def xserver():
    """The display of the kept wine server (scripts/windows): every program of
    its session takes the screen's size from the display it started on."""
    screen = display.Display(os.environ["DISPLAY"]).screen()
    return types.SimpleNamespace(display=os.environ["DISPLAY"], size=(screen.width_in_pixels, screen.height_in_pixels))


def as_on_linux(s, label):
    """A screenshot with the window's picture moved to where the reference pictures saw it: freeglut's X11 window sits
    at (1, 1) on a display without a window manager, wine's at (0, 0)."""
    origin = s.dpy.create_resource_object("window", s.window).translate_coords(s.dpy.screen().root, 0, 0)
    time.sleep(SETTLE)
    return np.roll(s.screenshot(label), (1 + origin.y, 1 + origin.x), axis=(0, 1))


def test_the_program_draws_as_on_linux_switches_mode_and_quits(program):
    s = program(wrapper=["wine"])
    s.wait_for_window(timeout=60, title="Z:" + s.binary.replace("/", "\\"))  # argv[0] as wine gives it
    s.wait_fullscreen()
    s.wait_for_line("MESH_FOG: 1")
    assert s.out[:6] == ["m_events[0] --- dump ---", "msed: +0", "obj: 0", "m_fixevents.size(): 1",
                         "m_fixevents[0] --- dump ---", "dump event_coords_t ---"]
    assert s.out[24:28] == SETTINGS
    time.sleep(SETTLE)
    running = s.screenshot("running")
    time.sleep(SETTLE)
    assert (s.screenshot()[TIME] != running[TIME]).any(), "the demo time line stands still"
    s.key("f", "t")  # the reference pictures have no text lines
    check_reference(s, as_on_linux(s, "stipple_fog"), "stipple_fog")
    s.key("p")
    for line in ["p: point draw mode", "MESHMODE: 1", *SETTINGS[1:]]:
        s.wait_for_line(line)
    check_reference(s, as_on_linux(s, "point_fog"), "point_fog")
    s.key("q")
    s.assert_ended()


def test_a_missing_file_ends_in_the_error_box_with_the_windows_error_code(xserver):
    s = Session(xserver, os.environ["WG_MAP_MISSING"], {"WINEDEBUG": "-all,trace+win"}, ["no_such_file.bin"],
                ["wine"])
    try:
        s.wait_for_window(timeout=60, title="Error")
        s.key("Return")
        assert s.wait_exit(30) == 2  # ERROR_FILE_NOT_FOUND
    finally:
        s.stop()
    assert "no_such_file.bin: file open failed." in s.err
    texts = [m[1] for m in map(re.compile(r'set_window_text L"(.* failed with error .*)"$').search, s.err) if m]
    assert len(texts) == 1 and re.fullmatch(r"alloc_mmap_win::allocate\(\) failed with error 2: \w.*", texts[0])
