"""wire_gate.exe under wine on Xvfb: the start-up output, the time line moving, the same pictures as on Linux (the e2e
reference pictures), a draw-mode key, q; the command line (--version, an unknown option), a timedemo of the tour and
its captured frames; and the fatal error report of the file-mapping allocator: the box, its text (from wine's window
trace), a key that dismisses it, the Windows error code as the exit code."""

import math
import os
import pathlib
import re
import time
import types

import numpy as np
import pytest
from harness import Session
from PIL import Image
from test_scene import SETTLE, TIME, check_reference
from Xlib import X, display

SETTINGS = ["MESHMODE: 2", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1"]
TOUR = pathlib.Path(__file__).resolve().parents[2] / "flights" / "tour.flight"
SUMMARY = re.compile(r"timedemo: (\d+) frames in [\d.]+ s, [\d.]+ fps; "
                     r"frame ms median [\d.]+, 95th [\d.]+, 99th [\d.]+")


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


def test_version_and_an_unknown_option_end_before_any_window(program):
    s = program(args=["--version"], wrapper=["wine"])
    assert s.wait_exit(60) == 0
    assert (s.out, s.err) == (["wire_gate " + os.environ["WG_VERSION"]], [])
    s = program(args=["--frobnicate"], wrapper=["wine"])
    assert s.wait_exit(60) == 2
    assert s.out == [] and len(s.err) == 1 and "'--frobnicate'" in s.err[0] and "--help" in s.err[0], s.err
    s.dpy.sync()
    while s.dpy.pending_events():
        assert s.dpy.next_event().type != X.MapNotify, "a window opened"


def timedemo(program, step_ms, *args):
    """A timedemo of the tour in a 320x240 window, to its end: its frame count, checked against the tour's length."""
    s = program(args=["--timedemo", str(TOUR), "--window", "320x240", "--step", str(step_ms), *args], wrapper=["wine"])
    s.assert_ended(timeout=120)
    frames = int(SUMMARY.fullmatch(s.wait_for_line(SUMMARY.fullmatch))[1])
    end_ms = int(re.search(r"^(\d+) end$", TOUR.read_text(), re.M)[1])
    assert frames == math.ceil(end_ms / step_ms)  # every frame a step on, the last one reaching the end
    return frames


def test_a_timedemo_captures_every_frame_as_the_same_png_files_each_run(program, tmp_path):
    runs = []
    for run in ("a", "b"):
        frames = timedemo(program, 1000, "--capture", str(tmp_path / run))
        names = sorted(p.name for p in (tmp_path / run).iterdir())
        assert names == ["frame-%06d.png" % n for n in range(1, frames + 1)]
        pictures = [Image.open(tmp_path / run / name) for name in names]
        assert {(p.format, p.size, p.mode) for p in pictures} == {("PNG", (320, 240), "RGB")}
        runs.append(np.stack([np.asarray(p) for p in pictures]))
    assert (runs[0] == runs[1]).all(), "two runs captured different frames"
    # The tour ends at rest after its reset, so its last frames repeat; a stuck
    # picture or a blank capture would make most of them alike.
    assert all(frame.any() for frame in runs[0]), "a blank frame captured"
    assert len({frame.tobytes() for frame in runs[0]}) > frames // 2, "most frames captured alike"


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
