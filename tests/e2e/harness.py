"""The real program on a virtual X display, for conftest.py, scripts/run and scripts/screenshots. Xvfb has
no window manager: keys go to the window under the pointer, parked in the screen's centre; freeglut's second
reshape brings the screen's size; the screen is read from the X server (the front buffer reads black)."""

import ctypes
import os
import select
import signal
import subprocess
import threading
import time

import numpy as np
from PIL import Image
from Xlib import X, XK, display, error
from Xlib.ext import xtest
from Xlib.protocol import event

EXIT_LINES = ["my_exit(0)", "demo scene cleared."]
_libc = ctypes.CDLL(None)  # loaded here, not in a forked child


def _start(command, **options):
    # Children end with the harness, even when a test timeout kills it outright (PR_SET_PDEATHSIG).
    return subprocess.Popen(command, stdin=subprocess.DEVNULL, preexec_fn=lambda: _libc.prctl(1, signal.SIGTERM),
                            **options)


def _read(pipe, sink):
    for raw in pipe:
        sink.append(raw.decode("utf-8", "replace").rstrip("\r\n"))  # a Windows program ends lines with CR LF


class _Process:
    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(3)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class XServer(_Process):
    """Xvfb on a display number it picks itself (-displayfd), so runs never collide."""

    def __init__(self, width=1920, height=1080, timeout=15.0):
        self.size = (width, height)
        read_fd, write_fd = os.pipe()
        self.proc = _start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % self.size,
                            "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd, "rb") as pipe:  # the number and a line feed, written at once when ready
            number = pipe.readline().strip() if select.select([pipe], [], [], timeout)[0] else b""
        if not number:
            self.stop()
            raise AssertionError("Xvfb reported no display within %.0f s" % timeout)
        self.display = ":" + number.decode()


class Session(_Process):
    """One run of the program. env: variables for it (None unsets one); wrapper: a command it runs
    under; folder: where screenshots go. Keys are X keysym names ("Q", "F9", "bracketleft")."""

    def __init__(self, x, binary, env=None, args=(), wrapper=(), folder=None):
        self.x, self.folder, self.window, self.shots, self._cursor, self.out, self.err = x, folder, None, 0, 0, [], []
        self.binary = os.path.abspath(binary)  # argv[0] and so the window's title
        self.dpy, self.events = display.Display(x.display), []  # window events from before the program starts
        self.dpy.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.pointer(x.size[0] // 2, x.size[1] // 2)  # where the full-screen window will be
        env = {**os.environ, "DISPLAY": x.display, **(env or {})}
        self.proc = _start([*wrapper, self.binary, *args], env={k: v for k, v in env.items() if v is not None},
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self._readers = [threading.Thread(target=_read, args=pair, daemon=True)
                         for pair in ((self.proc.stdout, self.out), (self.proc.stderr, self.err))]
        for reader in self._readers:
            reader.start()

    def stop(self):
        super().stop()
        for reader in self._readers:
            reader.join(5)
        if self.dpy is not None:
            self.dpy.close()
            self.dpy = None

    def until(self, find, timeout, what):
        """Polls find() until it returns something true, which is returned; fails after timeout seconds."""
        deadline = time.monotonic() + timeout
        while not (found := find()):
            if time.monotonic() > deadline:
                raise self._failure("no %s within %.1f s" % (what, timeout))
            time.sleep(0.01)
        return found

    def _failure(self, what):
        return AssertionError("%s\nwindow events: %r\nstdout (end):\n%s\nstderr (end):\n%s" % (
            what, self.events, "\n".join(self.out[-30:]), "\n".join(line[:300] for line in self.err[-30:])))

    def wait_for_line(self, wanted, timeout=10.0):
        """The next stdout line equal to wanted (or that wanted() accepts); earlier lines are passed over."""
        def find():
            open_ = self._readers[0].is_alive()  # read before the lines: the last ones come before the end
            while self._cursor < len(self.out):
                line, self._cursor = self.out[self._cursor], self._cursor + 1
                if wanted(line) if callable(wanted) else line == wanted:
                    return line
            if not open_:
                raise self._failure("the program closed its stdout before a line %r" % wanted)

        return self.until(find, timeout, "line %r" % wanted)

    def wait_exit(self, timeout=10.0):
        """The program's exit status (negative: the signal that ended it), once its output is read."""
        self.until(lambda: not self.running and not any(r.is_alive() for r in self._readers), timeout, "exit")
        return self.proc.returncode

    def assert_ended(self, routine=True, timeout=10.0):
        """Status 0, through the exit routine (its two lines last) or without it."""
        assert self.wait_exit(timeout) == 0
        assert self.out[-2:] == EXIT_LINES if routine else EXIT_LINES[0] not in self.out, self.out[-2:]

    @property
    def running(self):
        return self.proc.poll() is None

    def rss_kib(self):
        with open("/proc/%d/status" % self.proc.pid) as status:
            return int(next(line for line in status if line.startswith("VmRSS:")).split()[1])

    def _wait_event(self, wanted, timeout, what):
        def find():
            while self.dpy.pending_events():
                e = self.dpy.next_event()
                if e.type in (X.CreateNotify, X.ConfigureNotify, X.MapNotify):
                    self.events.append((e.type, e.window.id, None if e.type == X.MapNotify else (e.width, e.height)))
            return next(filter(wanted, self.events), None)

        return self.until(find, timeout, what)

    def wait_for_window(self, timeout=15.0, title=None):
        """The id of the program's window, once mapped: the only one on its X server, or the one titled title."""
        def ours(e):
            try:
                return e[0] == X.MapNotify and (title is None or self.dpy.create_resource_object(
                    "window", e[1]).get_wm_name() == title)
            except error.XError:  # gone already
                return False

        self.window = self._wait_event(ours, timeout, "mapped window " + (title or ""))[1]
        return self.window

    def wait_fullscreen(self, timeout=10.0, settle=0.5):
        self._wait_event(lambda e: e[1] == self.window and e[2] == self.x.size, timeout, "full-screen configure")
        time.sleep(settle)

    def close_window(self):
        """A window manager's close request (WM_DELETE_WINDOW), as a close button sends."""
        window = self.dpy.create_resource_object("window", self.window)
        window.send_event(event.ClientMessage(window=window, client_type=self.dpy.intern_atom("WM_PROTOCOLS"), data=(
            32, [self.dpy.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        self.dpy.sync()

    def _fake(self, name, *kinds):
        code, level = next(iter(self.dpy.keysym_to_keycodes(XK.string_to_keysym(name))), (None, 0))
        assert code, "no key for %r" % name
        shift = [self.dpy.keysym_to_keycode(XK.XK_Shift_L)] * (level % 2)  # on the shifted level: "Q", "braceleft"
        for kind, keycode in [(X.KeyPress, c) for c in shift] + [(k, code) for k in kinds] + [
                (X.KeyRelease, c) for c in shift]:
            xtest.fake_input(self.dpy, kind, keycode)
        self.dpy.sync()

    def key(self, *names, delay=0.05):
        """Taps each key (press and release back to back), delay seconds apart."""
        for name in names:
            self._fake(name, X.KeyPress, X.KeyRelease)
            time.sleep(delay)

    def down(self, name):
        self._fake(name, X.KeyPress)

    def up(self, name):
        self._fake(name, X.KeyRelease)

    def hold(self, name, seconds):
        self.down(name)
        time.sleep(seconds)
        self.up(name)

    def pointer(self, x, y):
        xtest.fake_input(self.dpy, X.MotionNotify, x=x, y=y)
        self.dpy.sync()

    def screenshot(self, label=None):
        """The screen as a height x width x 3 RGB array, row 0 at the top; with a label also saved."""
        raw = self.dpy.screen().root.get_image(0, 0, *self.x.size, X.ZPixmap, 0xFFFFFFFF).data
        image = np.asarray(Image.frombytes("RGB", self.x.size, raw, "raw", "BGRX"))
        if label:
            self.save(image, label)
        return image

    def save(self, image, label):
        if self.folder:
            os.makedirs(self.folder, exist_ok=True)
            self.shots += 1
            Image.fromarray(image).save(os.path.join(self.folder, "%02d-%s.png" % (self.shots, label)),
                                        compress_level=1)
