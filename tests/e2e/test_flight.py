"""Flights: the command line refusing what is wrong before any window (no display needed), a flight recorded through
XTEST keys and the emulated joystick, replayed on the usual clock and played as a timedemo, each ending in the very
picture the live flight ended in, two timedemos capturing the same frames; the tour under --loop starting over."""

import os
import re
import struct
import subprocess
import time

import numpy as np
import pytest
from PIL import Image

BINARY = os.environ.get("WG_BINARY", "")
TOUR = os.path.join(os.path.dirname(__file__), "..", "..", "flights", "tour.flight")
SUMMARY = re.compile(r"timedemo: (\d+) frames in [\d.]+ s, [\d.]+ fps; frame ms median [\d.]+, 95th [\d.]+, 99th [\d.]+$")
pytestmark = pytest.mark.screen(320, 240)  # small: quick frames, quick captures


def run(*args, display=None):
    """The program on display (none by default) to its end: its status, stdout and stderr lines."""
    env = {**{k: v for k, v in os.environ.items() if k != "DISPLAY"}, **({"DISPLAY": display} if display else {})}
    done = subprocess.run([BINARY, *args], env=env, capture_output=True, text=True, timeout=120)
    return done.returncode, done.stdout.splitlines(), done.stderr.splitlines()


def test_help_version_and_every_refusal_need_no_display(tmp_path):
    status, out, err = run("--help")
    assert (status, out[0], err) == (0, "usage: wire_gate [options] [toolkit options]", [])
    assert out[-1].startswith("A flight to watch: wire_gate --replay /") and out[-1].endswith("/tour.flight --loop")
    status, out, _ = run("--version")
    assert status == 0 and re.fullmatch(r"wire_gate \d+\.\d+\.\d+", out[0]), out

    kept = tmp_path / "kept.flight"
    kept.write_text("wire_gate flight 1\n# a flight of the user's\n")
    frames = tmp_path / "frames"
    frames.mkdir()
    (frames / "frame-000001.png").write_bytes(b"earlier")
    bad = tmp_path / "bad.flight"
    bad.write_text(kept.read_text() + "".join("setting %s %s\n" % p for p in (
        ("HALL_MESH_MODE", 2), ("HALL_MESH_BOUNDING", 1000), ("HALL_MESH_INTERVAL", 50), ("HALL_MESH_FOG", 1)))
        + "100 press 5\n50 release 5\n")
    # One refusal of each kind: the option parser's, the writer's, the reader's (all three unit-tested), the capture's.
    cases = {
        ("--window", "0x0"): "wire_gate: '0x0' is not a value for --window: WxH, each 1 to 16384; see 'wire_gate --help'",
        ("--record", str(kept)): str(kept) + ": ",
        ("--replay", str(bad)): str(bad) + ":8: ",
        ("--capture", str(frames)): str(frames) + ": holds frames already (frame-000001.png)",
    }
    for args, says in cases.items():
        status, out, err = run(*args)
        assert (status, out, len(err)) == (2, [], 1), (args, out, err)
        assert err[0].startswith(says), (args, err)
    assert kept.read_text() == "wire_gate flight 1\n# a flight of the user's\n", "a user's file is never touched"
    assert (frames / "frame-000001.png").read_bytes() == b"earlier"


def timedemo(x, *args):
    status, out, err = run("--timedemo", *args, display=x.display)
    assert status == 0, err[-5:]
    summary = SUMMARY.match(out[-3])
    assert summary and out[-2:] == ["my_exit(0)", "demo scene cleared."], out[-5:]
    return int(summary.group(1))


def frames(folder):
    return [Image.open(folder / name) for name in sorted(os.listdir(folder))]


@pytest.fixture
def stick(tmp_path):
    """The emulated joystick 0 (fake_joystick/): its environment, and move(axis, value) on it."""
    control = str(tmp_path / "control")
    os.mkfifo(control)
    fd = os.open(control, os.O_RDWR)
    env = {"LD_PRELOAD": os.environ["WG_FAKE_JOYSTICK"], "FAKE_JS_CONTROL": control, "FAKE_JS_AXES": "4",
           "FAKE_JS_BUTTONS": "2"}
    yield env, lambda axis, value: os.write(fd, struct.pack("=IhBB", 0, round(value * 32767), 2, axis))
    os.close(fd)


def started(program, env=None, args=()):
    s = program(env, args)
    s.wait_for_window()
    s.wait_fullscreen(settle=0)
    s.wait_for_line("MESH_FOG: 1")
    s.key("f", "t", delay=0)  # the fps and time lines are the shell's, never in a flight
    return s


def test_recorded_flight_replays_and_times_to_the_live_picture(xserver, program, stick, tmp_path):
    env, move = stick
    flight = tmp_path / "mine.flight"
    live = started(program, {**env, "HALL_MESH_MODE": "0", "HALL_MESH_INTERVAL": "40"}, ["--record", str(flight)])
    live.hold("5", 0.4)
    live.key("1", "p", "bracketleft", delay=0.1)
    move(2, -0.7)  # the stick's forward thrust, then a yaw
    time.sleep(0.3)
    move(3, 0.5)
    live.hold("2", 0.3)
    move(2, 0)
    live.key("Right", "o", delay=0.1)
    time.sleep(0.3)
    live.key("i", "space", delay=0.3)  # the state text, then paused: the picture stays as it is
    picture = live.screenshot("live")
    # Without a window manager the toolkit leaves its full-screen window a little off the screen's corner.
    corner = live.dpy.create_resource_object("window", live.window).translate_coords(live.dpy.screen().root, 0, 0)
    x, y = -corner.x, -corner.y
    live.key("q")
    live.assert_ended()

    lines = flight.read_text().splitlines()
    assert lines[:6] == ["wire_gate flight 1", "setting HALL_MESH_MODE 0", "setting HALL_MESH_BOUNDING 1000",
                         "setting HALL_MESH_INTERVAL 40", "setting HALL_MESH_FOG 1", "stick 4 2"]
    events = [line.split(" ", 1)[1] for line in lines[6:]]
    assert [e for e in events if not e.startswith("stick")] == [
        "press 5", "release 5", "press 1", "release 1", "press p", "press [", "press 2", "release 2", "time right", "press o",
        "press i", "press space", "end"]
    readings = [e.split()[1:] for e in events if e.startswith("stick")]
    assert [r[4:] for r in readings] == [["buttons", "0"]] * 3, events
    assert np.allclose([list(map(float, r[:4])) for r in readings],
                       [[0, 0, -0.7, 0], [0, 0, -0.7, 0.5], [0, 0, 0, 0.5]], atol=1e-4), events

    # Replayed with the flight's own settings; the stick's readings come from the file.
    replay = started(program, {"LD_PRELOAD": os.environ["WG_FAKE_JOYSTICK"], "FAKE_JS_CONTROL": None},
                     ["--replay", str(flight)])
    replay.wait_for_line("MESHMODE: 1", timeout=15)  # p, pressed at its time
    replay.until(lambda: np.array_equal(replay.screenshot(), picture), 15, "the live flight's last picture")
    replay.key("L")
    replay.wait_for_line("MESHMODE: 2")  # after its end the flight is the user's
    replay.key("q")
    replay.assert_ended()

    # Played twice as a timedemo: the same frames, the last of them the live flight's last picture.
    captures = []
    for run_ in ("one", "two"):
        count = timedemo(xserver, str(flight), "--capture", str(tmp_path / run_))
        captures.append([np.asarray(im) for im in frames(tmp_path / run_)])
        assert len(captures[-1]) == count, "a frame drawn and not captured"
    one, two = captures
    assert len(one) == len(two) and all(np.array_equal(a, b) for a, b in zip(one, two)), "two timedemos differ"
    assert len({a.tobytes() for a in one}) > len(one) // 2, "the frames show a flight, not one picture"
    assert np.array_equal(one[-1][:one[-1].shape[0] - y, :one[-1].shape[1] - x], picture[y:, x:])


def test_tour_loops_past_its_end(program):
    s = started(program, args=["--replay", TOUR, "--loop"])
    s.key(*["Right"] * 31, delay=0.05)  # 31 s of demo time: past the tour's last event
    s.wait_for_line("m_events[0] --- dump ---", timeout=15)  # the scene made anew for the second round
    s.key(*["Right"] * 8, delay=0.05)
    s.wait_for_line("MESHMODE: 0", timeout=15)  # the tour's first mode key, at 7 s, again
    s.key("q")
    s.assert_ended()
