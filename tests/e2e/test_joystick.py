"""Steering by joystick 0, the fake device preloaded from WG_FAKE_JOYSTICK (fake_joystick/): each axis acts exactly like
its thruster key, a stick held through "-" pushes on and leaves nothing once centred, and a device lost mid-run
leaves the demo running."""

import os
import struct
import time

import numpy as np
import pytest

pytestmark = pytest.mark.screen(480, 270)  # small: quick frames, so little timing jitter
MOTIONS = {"roll": (0, "4"), "pitch": (1, "8"), "thrust": (2, "0"), "yaw": (3, "1")}  # axis, key pushing the other way


@pytest.fixture
def device(tmp_path):
    """env(axes, buttons) and send(kind, number, value): kind 1 a button, 2 an axis (-1 .. 1), 0 unplugs."""
    control = str(tmp_path / "control")
    os.mkfifo(control)
    fd = os.open(control, os.O_RDWR)  # needs no reader yet; records wait for one

    def env(axes):
        return {"LD_PRELOAD": os.environ["WG_FAKE_JOYSTICK"], "FAKE_JS_CONTROL": control, "FAKE_JS_AXES": str(axes)}

    def send(kind, number=0, value=0):
        os.write(fd, struct.pack("=IhBB", 0, round(value * (32767 if kind == 2 else 1)), kind, number))

    yield env, send
    os.close(fd)


def start(program, env):
    s = program({**env, "HALL_MESH_MODE": "0"})  # lines: crisp features
    s.wait_for_window()
    s.wait_fullscreen(settle=0)
    s.wait_for_line("MESH_FOG: 1")
    s.key("f", "t")  # the fps and time lines off: only the scene changes the picture
    time.sleep(0.3)
    return s


def layout(image):
    """Brightness in 8 x 8 blocks, zero mean, unit length: a shift of a few
    pixels (timing jitter) keeps the dot product near 1, another motion does not."""
    h, w = (n // 8 * 8 for n in image.shape[:2])
    blocks = image[:h, :w].mean(axis=2).reshape(h // 8, 8, w // 8, 8).mean(axis=(1, 3))
    return (blocks - blocks.mean()) / np.linalg.norm(blocks - blocks.mean())


def test_each_axis_cancels_the_opposite_thruster_key_until_the_device_is_lost(program, device):
    env, send = device
    s = start(program, env(axes=4))

    def frozen(label, push=lambda: None, release=lambda: None):  # from rest at the origin, paused after a drift
        s.key("minus", delay=0.1)
        push()
        time.sleep(0.6)
        release()
        time.sleep(0.4)  # a drift, which also lets a few frames poll the stick's return
        s.key("space", delay=0.3)
        picture = layout(s.screenshot(label))
        s.key("space", delay=0)
        return picture

    # Each axis pushed with the key that pushes the other way stays at rest, where that key alone does not.
    def distances(both, alone):
        return [round(1.0 - float((both * rest).sum()), 3), round(1.0 - float((alone * rest).sum()), 3)]

    rest, alone = frozen("rest"), {}
    for name, (axis, key) in MOTIONS.items():
        alone[key] = frozen("key-" + key, lambda: s.down(key), lambda: s.up(key))
        # The stick first: polled in one update, it acts from the same time as the key handled right after it.
        both = frozen("axis-" + name, lambda: (send(2, axis, 1.0), s.down(key)), lambda: (send(2, axis, 0), s.up(key)))
        distance = distances(both, alone[key])
        assert distance[0] < 0.25 * distance[1], (name, distance)

    # Thrust held through "-": the stick still pushes after the reset (the key cancels it), and centred afterwards
    # it leaves nothing behind.
    def through_reset():
        send(2, 2, 1.0)
        time.sleep(0.3)
        s.key("minus", delay=0)
        s.down("0")

    both = frozen("axis-through-reset", through_reset, lambda: (send(2, 2, 0), s.up("0")))
    distance = distances(both, alone["0"])
    assert distance[0] < 0.25 * distance[1], ("thrust through the reset", distance)

    send(2, 2, 1.0)  # flying forwards when the device goes
    time.sleep(0.3)
    send(0)
    s.until(lambda: s.err, 5.0, "PLIB's report of the lost device")
    before = s.screenshot("after-unplug")
    time.sleep(0.3)
    assert not np.array_equal(before, s.screenshot("still-flying")), "the frames go on"
    s.key("q")
    s.assert_ended()
    assert [line.split(": ")[-1] for line in s.err] == ["No such device"]
