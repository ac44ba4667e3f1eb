#!/usr/bin/python3
"""Takes the README's pictures of wire_gate on a virtual display.

usage: python3 -m scripts.screenshots <wire_gate binary> <folder for full screenshots> <folder for the README's pictures>

Each picture is the whole 1920x1080 screen, kept in the first folder, and a
part of it in the second: at 1:1 pixels where thin lines matter, enlarged
for the dots, reduced for the history graph. Exit status 0 when every picture was taken and the program ended
with status 0.
"""

import contextlib
import os
import subprocess
import sys
import tempfile
import time

from PIL import Image

from tests.e2e.harness import Session, XServer

# A frame of the full lattice takes up to a few hundred ms in software: after
# a key, wait for frames drawn entirely afterwards.
SETTLE = 1.0

CENTRE = (480, 270, 1440, 810)         # 960x540 around the screen's centre
CENTRE_SMALL = (720, 405, 1200, 675)   # 480x270 around the centre, shown twice as large
UPPER_LEFT = (0, 0, 960, 540)          # the time line and the state text
MID_BAND = (0, 270, 1920, 810)         # heights -500 .. 500 of the history graph

# Pitch up by about 40 degrees and stop turning (the same time on "2" and
# "8"), thrust forward, then let the camera climb: the history graph needs
# heights of some hundred units to rise visibly (1000 reach the top).
CLIMB = [("hold", "2", 2.0), ("wait", 2.0), ("hold", "8", 2.0), ("hold", "5", 4.0), ("wait", 12.0)]

# (file name, what it shows, actions before it, part kept, scale of the part)
PICTURES = [
    ("mode-2-line-stipple", "line stipple mode with distance fade (the default)", [], CENTRE, 1),
    ("mode-0-lines", "line mode with distance fade ('l')", [("key", "l")], CENTRE, 1),
    ("mode-1-dots", "point mode with distance fade ('p'), shown twice as large", [("key", "p")], CENTRE_SMALL, 2),
    ("mode-2-no-fog", "line stipple mode without the fade ('L', 'o')", [("key", "L"), ("key", "o")], CENTRE, 1),
    # The climb in the stipple mode, whose slower frames keep all of it in
    # the history rings (one sample per update, as many as the screen is
    # wide); the overlays over the dots, where they stand out.
    ("overlay-history", "history graph ('g') while climbing: closed-form height (white), integrated (yellow)",
     [("key", "o")] + CLIMB + [("key", "p"), ("key", "g")], MID_BAND, 0.5),
    ("overlay-state", "state text ('i') while climbing", [("key", "g"), ("key", "i")], UPPER_LEFT, 1),
]


def act(session, action):
    kind = action[0]
    if kind == "key":
        session.key(action[1])
    elif kind == "hold":
        session.hold(action[1], action[2])
    elif kind == "wait":
        time.sleep(action[1])
    else:
        raise ValueError("unknown action %r" % (action,))


def save_part(image, box, scale, path):
    """The box of the screenshot, scaled: enlarged pixel for pixel (dots stay
    crisp), reduced by averaging."""
    part = image.crop(box)
    if scale != 1:
        size = (round(part.width * scale), round(part.height * scale))
        part = part.resize(size, Image.NEAREST if scale > 1 else Image.BOX)
    red, green, blue = part.split()
    if red.tobytes() == green.tobytes() == blue.tobytes():
        part = red  # grey: stored as one channel, a third of the size
    part.save(path, optimize=True)


TOUR = os.path.join(os.path.dirname(__file__), "..", "flights", "tour.flight")
TOUR_LIMIT = 4 << 20  # bytes: the README's animation stays small


def tour_animation(binary, display, path):
    """The tour as an animated GIF from a timedemo's captured frames: 480x270, 5 frames a second of demo time
    (shown in real time); every second frame is dropped until it fits in TOUR_LIMIT. Returns its size."""
    with tempfile.TemporaryDirectory() as frames:
        subprocess.run([binary, "--timedemo", TOUR, "--window", "480x270", "--step", "200", "--capture", frames],
                       env={**os.environ, "DISPLAY": display}, check=True, stdout=subprocess.DEVNULL)
        names = sorted(os.listdir(frames))
        # Grey pictures: one palette channel is all they need.
        pictures = [Image.open(os.path.join(frames, name)).convert("L") for name in names]
    step = 1
    while True:
        shown = pictures[::step]
        shown[0].save(path, save_all=True, append_images=shown[1:], duration=200 * step, loop=0, optimize=True)
        if os.path.getsize(path) <= TOUR_LIMIT or len(shown) < 2:
            return os.path.getsize(path)
        step *= 2


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    binary, out, images = argv[1], os.path.abspath(argv[2]), os.path.abspath(argv[3])
    os.makedirs(out, exist_ok=True)
    os.makedirs(images, exist_ok=True)
    # The pictures show the defaults, whatever the caller's environment says.
    for name in ("HALL_MESH_MODE", "HALL_MESH_BOUNDING", "HALL_MESH_INTERVAL", "HALL_MESH_FOG"):
        os.environ.pop(name, None)
    taken = []
    with contextlib.ExitStack() as stack:  # stops the program, then the X server
        x = XServer()
        stack.callback(x.stop)
        s = Session(x, binary)
        stack.callback(s.stop)
        s.wait_for_window()
        s.wait_fullscreen()
        s.wait_for_line("MESH_FOG: 1")
        for name, what, actions, box, scale in PICTURES:
            for action in actions:
                act(s, action)
            time.sleep(SETTLE)
            image = Image.fromarray(s.screenshot())
            image.save(os.path.join(out, name + ".png"))
            save_part(image, box, scale, os.path.join(images, name + ".png"))
            taken.append((name, what))
        s.key("q")
        status = s.wait_exit(timeout=15)
        tour_size = tour_animation(binary, x.display, os.path.join(images, "tour.gif"))
    for name, what in taken:
        size = os.path.getsize(os.path.join(images, name + ".png"))
        print("%-22s %4d KB  %s" % (name + ".png", (size + 1023) // 1024, what))
    print("%-22s %4d KB  %s" % ("tour.gif", (tour_size + 1023) // 1024, "the tour, from a timedemo's frames"))
    print("screenshots: full screens in %s, README parts in %s; wire_gate ended with status %s"
          % (out, images, status))
    return 0 if status == 0 and len(taken) == len(PICTURES) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
