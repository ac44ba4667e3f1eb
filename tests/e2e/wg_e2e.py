"""End-to-end harness: runs the real wire_gate program on a virtual X display.

One call per action:

    with Session(binary, env={"HALL_MESH_MODE": "1"}) as s:
        s.wait_for_window()            # the program's window exists
        s.wait_fullscreen()            # ... and covers the screen
        s.key("space")                 # xdotool key names
        s.hold("5", 1.0)               # key down, wait, key up
        line = s.wait_for_line("my_exit(0)")
        image = s.screenshot("after-space")   # also saved as PNG
        assert image.pixel(10, 10) == (0, 0, 0)
        s.key("q")
        assert s.wait_exit() == 0

Also: s.window_sizes() (every size the window had, seen from before it
existed), s.close_window() (a window manager's close request), s.output()
and s.errors() (all lines so far). Test files derive from wg_e2e.TestCase
and open sessions with self.session(env=...); see test_startup.py.

Abuse checks: Session(..., screen=(w, h, depth)) picks a smaller screen,
Session(..., xserver=x) runs the program on an X server started once and
shared by several sessions in sequence, Session(..., wrapper=["valgrind",
...]) starts the program under a tool; s.rss_kib() reads its resident
memory. At the end of every case, TestCase fails on any GL error line
("<label>: Error <code>: <text>", written by builds with
WIRE_GATE_GL_CHECK) and any sanitizer report in the program's stderr
(s.assert_no_gl_errors(), s.assert_no_sanitizer_reports()).

Everything started (Xvfb, the program) is stopped by PID when the session
ends, also when a check fails; on failure the session keeps a last
screenshot and the program's output in the artifact folder.

Python 3 standard library only. Facts about this set-up (Mesa llvmpipe,
freeglut, Xvfb without a window manager): keys go to the window under the
pointer, so the session parks the pointer in the screen's centre; freeglut
sends a second reshape with the screen size after going full screen;
key repeat is filtered inside freeglut only; the screen is read from the X
server (`import -window root`), since the front buffer reads black.
"""

import collections
import ctypes
import os
import re
import select
import signal
import struct
import subprocess
import threading
import time
import unittest
import zlib

SCREEN_WIDTH = 1920
SCREEN_HEIGHT = 1080
SCREEN_DEPTH = 24

# A `convert` early on PATH may be a stand-in; ImageMagick's own tools are
# called by their full path.
IMPORT_TOOL = "/usr/bin/import"


class HarnessError(AssertionError):
    """A step of the end-to-end run did not happen in time or went wrong."""


# Loaded here, not in the forked child, where other threads' locks may be held.
_LIBC = ctypes.CDLL("libc.so.6", use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    # Children end with the harness, even when the harness is killed outright
    # (e.g. by a test timeout), so no Xvfb or program is left behind.
    _LIBC.prctl(_PR_SET_PDEATHSIG, int(signal.SIGTERM))


def _stop_process(proc, grace=3.0):
    """Terminates one process by its PID, then kills it if it lingers."""
    if proc is None or proc.poll() is not None:
        return
    try:
        proc.send_signal(signal.SIGTERM)
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=grace)
    except ProcessLookupError:
        pass


# --- images -----------------------------------------------------------------


class Image:
    """An RGB screenshot: width, height and 3 bytes per pixel, top row first."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise HarnessError("image of %dx%d has %d bytes" % (width, height, len(rgb)))
        self.width = width
        self.height = height
        self.rgb = rgb

    @classmethod
    def from_ppm(cls, data):
        """Parses a binary PPM (P6, maxval 255)."""
        fields = []
        pos = 0
        while len(fields) < 4:
            while pos < len(data) and data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            start = pos
            while pos < len(data) and not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise HarnessError("not an 8-bit binary PPM: %r" % (fields,))
        width, height = int(fields[1]), int(fields[2])
        pos += 1  # the single whitespace after maxval
        return cls(width, height, bytes(data[pos:pos + width * height * 3]))

    def pixel(self, x, y):
        """(r, g, b) at column x, row y (row 0 at the top)."""
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def pixels(self, box=None):
        """Yields (x, y, (r, g, b)) over box = (x0, y0, x1, y1), end exclusive."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(y0, y1):
            row = (y * self.width) * 3
            for x in range(x0, x1):
                i = row + x * 3
                yield x, y, tuple(self.rgb[i:i + 3])

    def count(self, predicate, box=None):
        """How many pixels in box satisfy predicate((r, g, b))."""
        return sum(1 for _, _, p in self.pixels(box) if predicate(p))

    def bbox(self, predicate, box=None):
        """Smallest (x0, y0, x1, y1) holding every matching pixel, or None."""
        found = None
        for x, y, p in self.pixels(box):
            if predicate(p):
                if found is None:
                    found = [x, y, x + 1, y + 1]
                else:
                    found[0] = min(found[0], x)
                    found[1] = min(found[1], y)
                    found[2] = max(found[2], x + 1)
                    found[3] = max(found[3], y + 1)
        return tuple(found) if found else None

    def save_png(self, path):
        """Writes an 8-bit RGB PNG (zlib only, no imaging library needed)."""
        stride = self.width * 3
        raw = b"".join(b"\x00" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def is_black(p):
    return p == (0, 0, 0)


def is_lit(p, threshold=32):
    return max(p) >= threshold


def is_white(p, threshold=200):
    return min(p) >= threshold


# --- what the program's standard error must never hold ----------------------------

# libgr's CheckGLError: "<label>: Error <code>: <text>" (label optional).
GL_ERROR_LINE = re.compile(r"(^|: )Error \d+: ")
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer reports.
SANITIZER_LINE = re.compile(r"==\d+==ERROR: \w*Sanitizer|^SUMMARY: \w*Sanitizer|: runtime error: ")


# --- the X server ---------------------------------------------------------------


class XServer:
    """Xvfb on a display number it picks itself (-displayfd), so runs in
    parallel never collide."""

    def __init__(self, width=SCREEN_WIDTH, height=SCREEN_HEIGHT, depth=SCREEN_DEPTH):
        self.size = (width, height, depth)
        self.display = None
        self.proc = None

    def start(self, timeout=15.0):
        read_fd, write_fd = os.pipe()
        try:
            self.proc = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx%d" % self.size,
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
            os.close(write_fd)
            write_fd = None
            number = b""
            deadline = time.monotonic() + timeout
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                ready, _, _ = select.select([read_fd], [], [], max(left, 0))
                if not ready:
                    raise HarnessError("Xvfb did not report its display within %.0f s" % timeout)
                piece = os.read(read_fd, 16)
                if not piece:
                    raise HarnessError("Xvfb ended before reporting its display (status %s)"
                                       % self.proc.poll())
                number += piece
            self.display = ":" + number.decode().strip()
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)
        return self.display

    def stop(self):
        _stop_process(self.proc)
        self.proc = None


# --- the program -------------------------------------------------------------------


class Program:
    """The program under test with its standard output read line by line as
    it is written (its output is line-buffered)."""

    def __init__(self, binary, display, env=None, args=(), wrapper=()):
        self.binary = os.path.abspath(binary)
        self.display = display
        self.extra_env = dict(env or {})
        self.args = list(args)
        self.wrapper = list(wrapper)  # e.g. ["valgrind", ...]: the program runs under it
        self.proc = None
        self._lines = []
        self._errors = []
        self._cursor = 0
        self._changed = threading.Condition()
        self._readers = []

    def start(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.update(self.extra_env)
        for name in [n for n, value in env.items() if value is None]:
            del env[name]  # env={"NAME": None} unsets NAME
        # The path as given becomes argv[0] and so the window title.
        self.proc = subprocess.Popen(
            self.wrapper + [self.binary] + self.args, env=env, stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, preexec_fn=_die_with_parent)
        for stream, sink in ((self.proc.stdout, self._lines), (self.proc.stderr, self._errors)):
            reader = threading.Thread(target=self._read, args=(stream, sink), daemon=True)
            reader.start()
            self._readers.append(reader)

    def _read(self, stream, sink):
        for raw in iter(stream.readline, b""):
            with self._changed:
                sink.append(raw.decode("utf-8", "replace").rstrip("\n"))
                self._changed.notify_all()
        with self._changed:
            self._changed.notify_all()

    @property
    def running(self):
        return self.proc is not None and self.proc.poll() is None

    @property
    def pid(self):
        return self.proc.pid if self.proc is not None else None

    def rss_kib(self):
        """Resident memory now (VmRSS of /proc/<pid>/status), in KiB."""
        try:
            with open("/proc/%d/status" % self.proc.pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        except (OSError, ValueError):
            pass
        raise HarnessError("no VmRSS for process %s (status %s)" % (self.pid, self.proc.poll()))

    def output(self):
        """Every line written to standard output so far."""
        with self._changed:
            return list(self._lines)

    def errors(self):
        """Every line written to standard error so far."""
        with self._changed:
            return list(self._errors)

    def wait_for_line(self, pattern, timeout=10.0):
        """Waits for the next line that equals `pattern` (a str) or matches it
        (a compiled regex, searched); lines before it are passed over. Returns
        the line (or the match object for a regex)."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                while self._cursor < len(self._lines):
                    line = self._lines[self._cursor]
                    self._cursor += 1
                    if isinstance(pattern, str):
                        if line == pattern:
                            return line
                    else:
                        found = pattern.search(line)
                        if found:
                            return found
                left = deadline - time.monotonic()
                if left <= 0 or (not self.running and all(not r.is_alive() for r in self._readers)):
                    raise HarnessError("no line %r within %.1f s; output so far:\n%s\nstderr:\n%s"
                                       % (getattr(pattern, "pattern", pattern), timeout,
                                          "\n".join(self._lines), "\n".join(self._errors)))
                self._changed.wait(min(left, 0.2))

    def wait_exit(self, timeout=10.0):
        """Waits for the program to end; returns its exit status (negative:
        the signal that ended it)."""
        try:
            status = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError("program still running after %.1f s" % timeout) from None
        for reader in self._readers:
            reader.join(timeout=5)
        return status

    def stop(self):
        _stop_process(self.proc)
        for reader in self._readers:
            reader.join(timeout=5)
        if self.proc is not None:
            for stream in (self.proc.stdout, self.proc.stderr):
                if stream is not None and not any(r.is_alive() for r in self._readers):
                    stream.close()


# --- X requests ------------------------------------------------------------------------

_CREATE_NOTIFY = 16
_DESTROY_NOTIFY = 17
_MAP_NOTIFY = 19
_CONFIGURE_NOTIFY = 22
_CLIENT_MESSAGE = 33
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


_X11 = None


def _xlib():
    """libX11 with the few calls the harness makes (loaded once: the error
    handler installed here must stay alive)."""
    global _X11
    if _X11 is not None:
        return _X11
    x11 = ctypes.CDLL("libX11.so.6")
    vp, ul = ctypes.c_void_p, ctypes.c_ulong
    x11.XOpenDisplay.restype = vp
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [vp]
    x11.XDefaultRootWindow.restype = ul
    x11.XDefaultRootWindow.argtypes = [vp]
    x11.XConnectionNumber.argtypes = [vp]
    x11.XSelectInput.argtypes = [vp, ul, ctypes.c_long]
    x11.XPending.argtypes = [vp]
    x11.XNextEvent.argtypes = [vp, vp]
    x11.XFlush.argtypes = [vp]
    x11.XSync.argtypes = [vp, ctypes.c_int]
    x11.XInternAtom.restype = ul
    x11.XInternAtom.argtypes = [vp, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [vp, ul, ctypes.c_int, ctypes.c_long, vp]
    x11.XFetchName.argtypes = [vp, ul, ctypes.POINTER(vp)]
    x11.XFree.argtypes = [vp]
    # Errors (a window gone meanwhile) must not end the harness.
    handler_type = ctypes.CFUNCTYPE(ctypes.c_int, vp, vp)
    x11._ignore_errors = handler_type(lambda dpy, err: 0)
    x11.XSetErrorHandler(x11._ignore_errors)
    _X11 = x11
    return x11


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("longs", ctypes.c_long * 24)]


class _XCreateWindowEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int)]


class _XConfigureEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int)]


class _XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]  # XEvent is 24 longs


# One thing that happened to a top-level window: seconds since the watcher
# started, "create" / "map" / "configure" / "destroy", the X window id, and
# (x, y, width, height) for create and configure (else None).
WindowEvent = collections.namedtuple("WindowEvent", "t kind window geometry")


class WindowWatcher:
    """Records what happens to the screen's top-level windows (created, mapped,
    moved or resized, destroyed) from before the program starts, so even a
    window that lives for a moment is seen, with every size it was given."""

    def __init__(self, display):
        self.display = display
        self.events = []  # WindowEvent records, oldest first
        self._changed = threading.Condition()
        self._stop = False
        self._x11 = _xlib()
        self._dpy = self._x11.XOpenDisplay(display.encode())
        if not self._dpy:
            raise HarnessError("cannot open display %s" % display)
        root = self._x11.XDefaultRootWindow(self._dpy)
        self._x11.XSelectInput(self._dpy, root, _SUBSTRUCTURE_NOTIFY_MASK)
        self._x11.XSync(self._dpy, 0)
        self._t0 = time.monotonic()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def _run(self):
        x11, dpy = self._x11, self._dpy
        fd = x11.XConnectionNumber(dpy)
        event = _XEvent()
        while not self._stop:
            while x11.XPending(dpy):
                x11.XNextEvent(dpy, ctypes.byref(event))
                self._note(event)
            select.select([fd], [], [], 0.05)
        x11.XCloseDisplay(dpy)

    def _note(self, event):
        kind = event.type
        if kind == _CREATE_NOTIFY:
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(_XCreateWindowEvent)).contents
            record = ("create", e.window, (e.x, e.y, e.width, e.height))
        elif kind == _CONFIGURE_NOTIFY:
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(_XConfigureEvent)).contents
            record = ("configure", e.window, (e.x, e.y, e.width, e.height))
        elif kind in (_MAP_NOTIFY, _DESTROY_NOTIFY):
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(_XConfigureEvent)).contents
            record = ("map" if kind == _MAP_NOTIFY else "destroy", e.window, None)
        else:
            return
        with self._changed:
            self.events.append(WindowEvent(time.monotonic() - self._t0, *record))
            self._changed.notify_all()

    def wait_for(self, predicate, timeout, what):
        """Waits for a WindowEvent that satisfies predicate; returns it."""
        deadline = time.monotonic() + timeout
        with self._changed:
            seen = 0
            while True:
                for record in self.events[seen:]:
                    if predicate(record):
                        return record
                seen = len(self.events)
                left = deadline - time.monotonic()
                if left <= 0:
                    raise HarnessError("no %s within %.1f s; window events: %r"
                                       % (what, timeout, self.events))
                self._changed.wait(min(left, 0.2))

    def sizes(self, window):
        """Every (width, height) the window was created or configured with."""
        with self._changed:
            return [e.geometry[2:] for e in self.events
                    if e.window == window and e.kind in ("create", "configure")]

    def stop(self):
        self._stop = True
        self._thread.join(timeout=5)


def window_name(display, window):
    """The window's title (WM_NAME), or None."""
    x11 = _xlib()
    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        raise HarnessError("cannot open display %s" % display)
    try:
        name = ctypes.c_void_p()
        if not x11.XFetchName(dpy, window, ctypes.byref(name)) or not name.value:
            return None
        value = ctypes.string_at(name.value).decode("utf-8", "replace")
        x11.XFree(name)
        return value
    finally:
        x11.XCloseDisplay(dpy)


def send_wm_delete(display, window):
    """Sends the window manager's close request (WM_DELETE_WINDOW), as a
    close button would; Xvfb runs without a window manager."""
    x11 = _xlib()
    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        raise HarnessError("cannot open display %s" % display)
    try:
        event = _XClientMessage()
        event.type = _CLIENT_MESSAGE
        event.window = window
        event.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        if not x11.XSendEvent(dpy, window, 0, 0, ctypes.byref(event)):
            raise HarnessError("XSendEvent refused the close request")
        x11.XSync(dpy, 0)
    finally:
        x11.XCloseDisplay(dpy)


# --- a session -----------------------------------------------------------------------------


class Session:
    """One X server and one run of the program, plus the actions on them."""

    def __init__(self, binary, env=None, args=(), artifacts=None, name="session",
                 screen=None, xserver=None, wrapper=()):
        # screen: (width, height, depth) of a server of the session's own;
        # xserver: a started XServer that outlives the session (not stopped here).
        self._own_x = xserver is None
        self.x = XServer(*screen) if self._own_x and screen else (xserver or XServer())
        self.watcher = None
        self.binary = binary
        self.env = env
        self.args = args
        self.wrapper = wrapper
        self.program = None
        self.window = None
        self.name = name
        self.artifacts = artifacts or os.environ.get("WG_E2E_ARTIFACTS")
        self._shots = 0

    # -- life cycle
    @property
    def screen_size(self):
        """(width, height) of the X screen the program runs on."""
        return self.x.size[0], self.x.size[1]

    def start(self):
        display = self.x.start() if self._own_x else self.x.display
        if display is None:
            raise HarnessError("the shared X server has not been started")
        # Keys go to the window under the pointer: park it where the
        # full-screen window will be.
        # (No --sync: it waits for motion, and Xvfb may start the pointer there.)
        width, height = self.screen_size
        self.xdotool("mousemove", str(width // 2), str(height // 2))
        self.watcher = WindowWatcher(display)
        self.program = Program(self.binary, display, self.env, self.args, self.wrapper)
        self.program.start()
        return self

    def stop(self):
        try:
            if self.program is not None:
                self.program.stop()
            if self.watcher is not None:
                self.watcher.stop()
        finally:
            if self._own_x:
                self.x.stop()

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, kind, value, trace):
        try:
            if kind is not None:
                self._keep_evidence()
        finally:
            self.stop()
        return False

    def _keep_evidence(self):
        if not self.artifacts:
            return
        try:
            folder = os.path.join(self.artifacts, self.name)
            os.makedirs(folder, exist_ok=True)
            if self.program is not None:
                with open(os.path.join(folder, "stdout.txt"), "w") as f:
                    f.write("\n".join(self.program.output()) + "\n")
                with open(os.path.join(folder, "stderr.txt"), "w") as f:
                    f.write("\n".join(self.program.errors()) + "\n")
            self.screenshot().save_png(os.path.join(folder, "failure.png"))
        except Exception:  # evidence is best effort; the real failure goes on
            pass

    # -- tools
    def xdotool(self, *args, timeout=10.0):
        env = dict(os.environ, DISPLAY=self.x.display)
        try:
            done = subprocess.run(["xdotool"] + list(args), env=env, capture_output=True,
                                  timeout=timeout, preexec_fn=_die_with_parent)
        except subprocess.TimeoutExpired:
            raise HarnessError("xdotool %s: no answer within %.0f s" % (" ".join(args), timeout)) from None
        if done.returncode != 0:
            raise HarnessError("xdotool %s failed: %s" % (" ".join(args), done.stderr.decode().strip()))
        return done.stdout.decode()

    # -- the window
    def wait_for_window(self, timeout=15.0):
        """Waits until the program's window (titled with its path) is mapped;
        returns its X window id."""
        title = self.program.binary

        def is_ours(event):
            return event.kind == "map" and window_name(self.x.display, event.window) == title

        self.window = self.watcher.wait_for(is_ours, timeout, "window titled %r" % title).window
        return self.window

    def window_sizes(self):
        """Every (width, height) the window has had so far, oldest first."""
        return self.watcher.sizes(self.window)

    def window_geometry(self):
        """(x, y, width, height) of the program's window now."""
        out = self.xdotool("getwindowgeometry", "--shell", str(self.window))
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def wait_fullscreen(self, timeout=10.0, settle=0.5):
        """Waits until the window has been given the screen's size, then a
        little longer for the toolkit's reshape and a frame drawn at full
        size. Returns the window's (x, y, width, height) at that moment."""
        window = self.window
        screen = self.screen_size

        def full_size(event):
            return (event.kind in ("create", "configure") and event.window == window
                    and event.geometry[2:] == screen)

        event = self.watcher.wait_for(full_size, timeout, "full-screen configure")
        time.sleep(settle)
        return event.geometry

    def close_window(self):
        """Asks the program to close its window, as a window manager would."""
        send_wm_delete(self.x.display, self.window)

    # -- keys (xdotool key names: "q", "space", "Escape", "Left", "F9", "bracketleft")
    def key(self, *names, delay_ms=50):
        self.xdotool("key", "--delay", str(delay_ms), *names)

    def keydown(self, name):
        self.xdotool("keydown", name)

    def keyup(self, name):
        self.xdotool("keyup", name)

    def hold(self, name, seconds):
        self.keydown(name)
        time.sleep(seconds)
        self.keyup(name)

    # -- output
    def wait_for_line(self, pattern, timeout=10.0):
        return self.program.wait_for_line(pattern, timeout)

    def output(self):
        return self.program.output()

    def errors(self):
        return self.program.errors()

    def wait_exit(self, timeout=10.0):
        return self.program.wait_exit(timeout)

    @property
    def running(self):
        return self.program.running

    def rss_kib(self):
        return self.program.rss_kib()

    def gl_errors(self):
        """The GL error lines the program has written to standard error."""
        return [line for line in self.program.errors() if GL_ERROR_LINE.search(line)]

    def sanitizer_reports(self):
        """The sanitizer report lines the program has written to standard error."""
        return [line for line in self.program.errors() if SANITIZER_LINE.search(line)]

    def assert_no_gl_errors(self):
        found = self.gl_errors()
        if found:
            raise HarnessError("%s: the program reported %d GL error(s):\n%s"
                               % (self.name, len(found), "\n".join(found[:20])))

    def assert_no_sanitizer_reports(self):
        found = self.sanitizer_reports()
        if found:
            raise HarnessError("%s: sanitizer report in the program's stderr:\n%s"
                               % (self.name, "\n".join(self.program.errors()[-60:])))

    # -- the screen
    def screenshot(self, label=None):
        """Reads the whole X screen; with a label, also saves it as a PNG in
        the artifact folder (when one is set)."""
        done = subprocess.run([IMPORT_TOOL, "-display", self.x.display, "-window", "root",
                               "-depth", "8", "ppm:-"], capture_output=True, timeout=30,
                              preexec_fn=_die_with_parent)
        if done.returncode != 0:
            raise HarnessError("import failed: %s" % done.stderr.decode().strip())
        image = Image.from_ppm(done.stdout)
        if label and self.artifacts:
            self._shots += 1
            folder = os.path.join(self.artifacts, self.name)
            os.makedirs(folder, exist_ok=True)
            image.save_png(os.path.join(folder, "%02d-%s.png" % (self._shots, label)))
        return image


# --- unittest glue --------------------------------------------------------------------------

class TestCase(unittest.TestCase):
    """Base for e2e cases: self.session(...) starts the program named by
    WG_BINARY on a fresh X server; artifacts go to WG_E2E_ARTIFACTS."""

    def binary(self):
        binary = os.environ.get("WG_BINARY")
        if not binary or not os.access(binary, os.X_OK):
            self.fail("WG_BINARY must name the built wire_gate program (got %r)" % binary)
        return binary

    def session(self, env=None, args=(), name=None, **options):
        """options: screen, xserver, wrapper (see Session)."""
        label = self.id().split(".", 1)[-1] + ("-" + name if name else "")
        made = Session(self.binary(), env=env, args=args, name=label, **options)
        self.__dict__.setdefault("_wg_sessions", []).append(made)
        return made

    def tearDown(self):
        # Every program this case ran: no GL error and no sanitizer report,
        # whatever the case itself checked.
        for made in self.__dict__.pop("_wg_sessions", []):
            if made.program is not None:
                made.assert_no_sanitizer_reports()
                made.assert_no_gl_errors()
        super().tearDown()
