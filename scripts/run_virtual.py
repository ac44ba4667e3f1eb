#!/usr/bin/python3
"""Runs wire_gate on a virtual display for a short scripted look around:
a few keys, a screenshot (PNG) after each, the program's output at the end.

usage: python3 -m scripts.run_virtual <wire_gate binary> <output folder> [program args...]
"""

import contextlib
import os
import sys
import time

from tests.e2e.harness import Session, XServer

# (screenshot label, what to do before it): X keysym names.
TOUR = [
    ("start", lambda s: None),
    ("thrust-forward", lambda s: s.hold("5", 1.0)),
    ("turn-left", lambda s: s.hold("1", 0.5)),
    ("point-mode", lambda s: s.key("p")),
    ("line-mode", lambda s: s.key("l")),
    ("stipple-mode", lambda s: s.key("L")),
    ("state-text", lambda s: s.key("i")),
    ("history-graph", lambda s: s.key("g")),
    ("paused", lambda s: s.key("space")),
]


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    binary, out = argv[1], os.path.abspath(argv[2])
    with contextlib.ExitStack() as stack:  # stops the program, then the X server
        x = XServer()
        stack.callback(x.stop)
        s = Session(x, binary, args=argv[3:], folder=out)
        stack.callback(s.stop)
        try:
            s.wait_for_window()
            s.wait_fullscreen()
        except AssertionError as error:
            if s.running:
                raise
            print("run: the program ended during start-up (%s)" % str(error).splitlines()[0])
        for label, action in TOUR:
            if not s.running:
                print("run: wire_gate has ended; no '%s' screenshot" % label)
                break
            action(s)
            time.sleep(0.5)  # a few frames with the new state
            s.screenshot(label)
        if s.running:
            s.key("q")
        status = s.wait_exit(timeout=15)
    print("---- wire_gate standard output")
    print("\n".join(s.out))
    if s.err:
        print("---- wire_gate standard error")
        print("\n".join(s.err))
    shots = sorted(os.listdir(out)) if os.path.isdir(out) else []
    print("---- exit status %s; %d screenshot(s) in %s" % (status, len(shots), out))
    for shot in shots:
        print("  " + shot)
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
