"""Steering by joystick: the program opens joystick 0 through PLIB, which finds
the fake device preloaded by joystick.py (the case decides when each axis
moves). Each axis must act like its thrusters, a device that vanishes mid-run
must not stop the demo, and a device of two axes or none must change nothing."""

import time

import numpy as np
import pytest

from joystick import FakeJoystick

pytestmark = pytest.mark.screen(640, 360)  # small: quick frames, so little timing jitter

# Axis: the thruster key that pushes the same way, and the opposite one.
MOTIONS = {"roll": (0, "6", "4"), "pitch": (1, "2", "8"), "thrust": (2, "5", "0"), "yaw": (3, "3", "1")}
HOLD, COAST = 1.0, 0.5  # seconds of full stick or key, then of drifting before the pause
USUAL_END = ["MESHMODE: 0", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1", "my_exit(0)", "demo scene cleared."]


def start(program, env):
    s = program({**env, "HALL_MESH_MODE": "0"})  # lines: crisp features
    s.wait_for_window()
    s.wait_fullscreen()
    s.wait_for_line("MESH_FOG: 1")
    s.key("f", "t")  # the fps and time lines off: only the scene changes the picture
    time.sleep(0.5)
    return s


def layout(image):
    """Brightness in 8 x 8 blocks, zero mean, unit length: a shift of a few
    pixels (timing jitter) keeps the dot product near 1, another motion does not."""
    grey = image.mean(axis=2)
    h, w = (n // 8 * 8 for n in grey.shape)
    blocks = grey[:h, :w].reshape(h // 8, 8, w // 8, 8).mean(axis=(1, 3))
    blocks -= blocks.mean()
    return blocks / np.linalg.norm(blocks)


def test_each_axis_acts_like_its_thrusters(program):
    with FakeJoystick(axes=4) as js:
        s = start(program, js.env)

        def frozen(label, move):
            s.key("minus")  # at the origin, at rest
            time.sleep(0.3)
            move()
            time.sleep(COAST)  # also lets a few frames poll the stick's return
            s.key("space")
            time.sleep(0.5)
            picture = layout(s.screenshot(label))
            s.key("space")
            return picture

        def stick(axis):
            js.axis(axis, 1.0)
            time.sleep(HOLD)
            js.axis(axis, 0.0)

        # Each stick picture must be nearer its own key's than any other
        # picture (rest, the opposite key, the other axes' keys) by a factor of two.
        seen = {"rest": frozen("rest", lambda: None)}
        seen.update({k: frozen("key-" + k, lambda k=k: s.hold(k, HOLD)) for m in MOTIONS.values() for k in m[1:]})
        for name, (axis, key, _) in MOTIONS.items():
            moved = frozen("axis-" + name, lambda: stick(axis))
            distance = {k: 1.0 - float((moved * picture).sum()) for k, picture in seen.items()}
            others = min(d for k, d in distance.items() if k != key)
            assert distance[key] < 0.5 * others, "axis %d (%s) should look like key %s: %s" % (
                axis, name, key, {k: round(d, 3) for k, d in distance.items()})
        s.key("q")
        s.assert_ended()
        assert s.err == []


def test_a_device_that_vanishes_leaves_the_demo_running(program):
    with FakeJoystick(axes=4) as js:
        s = start(program, js.env)
        js.axis(2, 1.0)  # flying forwards
        time.sleep(0.5)
        js.unplug()
        s.until(lambda: "/dev/input/js0: No such device" in s.err, 5.0, "PLIB's report of the lost device")
        before = s.screenshot("after-unplug")
        time.sleep(0.5)
        assert not np.array_equal(before, s.screenshot("still-flying")), "the frames go on"
        s.key("o")
        s.wait_for_line("o: fog mode change to 0")
        s.key("q")
        s.assert_ended()


@pytest.mark.parametrize("device", ["two-axes", "none"])
def test_two_axes_or_no_device_change_nothing(program, device):
    with FakeJoystick(axes=2, buttons=2) as js:
        s = start(program, js.env if device == "two-axes" else FakeJoystick.absent_env())
        rest = s.screenshot("rest")
        for number in (0, 1):
            js.axis(number, 1.0)
            js.button(number, True)
        time.sleep(1.0)
        for number in (0, 1):
            js.axis(number, 0.0)
        time.sleep(0.5)
        assert np.array_equal(rest, s.screenshot("after-the-stick")), "the camera stays at rest"
        s.key("q")
        s.assert_ended()
        assert s.out[-len(USUAL_END):] == USUAL_END and s.err == []
