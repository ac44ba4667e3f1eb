"""Steers the program through the preloaded fake joystick (fake_joystick/
fake_joystick.c, path in WG_FAKE_JOYSTICK), which PLIB opens as joystick 0.

    with FakeJoystick(axes=4) as js:
        s = program(js.env)               # the program sees a four-axis stick
        js.axis(2, 1.0)                   # full forward thrust ...
        js.axis(2, 0.0)                   # ... and back to the centre
        js.unplug()                       # reads fail from now on (ENODEV)
    program(FakeJoystick.absent_env())    # no joystick at all
"""

import os
import shutil
import struct
import tempfile

_BUTTON, _AXIS, _UNPLUG = 1, 2, 0  # the device's record types


def library():
    path = os.environ.get("WG_FAKE_JOYSTICK")
    if not path or not os.path.exists(path):
        raise AssertionError("WG_FAKE_JOYSTICK must name the built fake joystick (got %r)" % path)
    return path


class FakeJoystick:
    def __init__(self, axes=4, buttons=0):
        self._folder = tempfile.mkdtemp(prefix="wg-joystick-")
        path = os.path.join(self._folder, "control")
        os.mkfifo(path)
        # Read-write: the open needs no reader yet, and records written before
        # the program opens the device wait in the FIFO.
        self._fd = os.open(path, os.O_RDWR)
        self.env = {"LD_PRELOAD": library(), "FAKE_JS_CONTROL": path,
                    "FAKE_JS_AXES": str(axes), "FAKE_JS_BUTTONS": str(buttons)}

    @staticmethod
    def absent_env():
        return {"LD_PRELOAD": library(), "FAKE_JS_CONTROL": None}

    def axis(self, number, position):
        """Stick position -1 .. 1, as the kernel's -32767 .. 32767."""
        self._send(_AXIS, number, round(max(-1.0, min(1.0, position)) * 32767))

    def button(self, number, down):
        self._send(_BUTTON, number, 1 if down else 0)

    def unplug(self):
        self._send(_UNPLUG, 0, 0)

    def _send(self, kind, number, value):
        os.write(self._fd, struct.pack("=BBh", kind, number, value))

    def close(self):
        os.close(self._fd)
        shutil.rmtree(self._folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
