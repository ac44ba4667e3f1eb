"""Soak: a bounded random storm of keys for WG_SOAK_SECONDS (default 120)
with a fixed seed (WG_SOAK_SEED; printed), during which the program stays
alive and answers, its resident memory grows by less than 2 MB after the
first ten seconds, and it writes no GL error. It still quits on q.

The storm uses every key of the shell's and the scene's tables, the arrows,
space and other keys, and holds and releases the thrusters; it never
presses q or Escape, keeps the demo clock away from its end, releases every
key it holds and undoes a pause before the end. The lattice is kept within
|bounding| <= 1000 and |bounding| / interval <= 50, so its size stays
bounded and memory can be compared; "]" at interval 5 (to 0) exercises the
scene's refusal, which keeps the lattice in force."""

import os
import random
import re
import time
import unittest

import wg_e2e

SOAK_SECONDS = float(os.environ.get("WG_SOAK_SECONDS", "120"))
SEED = int(os.environ.get("WG_SOAK_SEED", "20261206"))
SCREEN = (800, 600, 24)
WARMUP_SECONDS = 10.0
RSS_GROWTH_LIMIT_KIB = 2048
PROBE_EVERY = 5.0       # seconds between liveness probes
PROBE_TIMEOUT = 30.0    # a probe must be answered within this
PROBE_KEY, PROBE_LINE = "F12", "special: 12"  # never pressed by the storm itself
# freeglut, with key repeat off, takes a key release that it handles while
# the same key is down again for auto-repeat and drops it with the next
# press; a program that lags behind a burst would lose taps of keys held
# for a while. The storm's taps are therefore sent with no hold time
# (xdotool key --delay 0: press and release back to back).

THRUSTERS = ["0", "1", "2", "3", "4", "5", "6", "8"]
# Keys whose only effect is a line from the shell ("key: ...", "special: ...")
# or nothing at all (F1 to F8).
OTHER_KEYS = ["x", "7", "9", "a", "z", "comma", "semicolon", "Tab", "BackSpace", "Return",
              "Delete", "KP_Add", "F1", "F5", "F9", "Home", "End", "Prior", "Next", "Insert"]
TOGGLES = {"f": "fps", "F": "fps", "g": "graph", "G": "graph", "t": "time", "T": "time",
           "i": "coords", "o": "fog", "space": "pause"}
MAX_BOUNDING = 1000.0
MAX_INTERVAL = 200.0
# |bounding| / interval at most 50: at most 101 lattice positions per axis,
# so a frame stays quick in software rendering (interval 5 at bounding 1000
# would draw 480,000 lines).
MAX_RATIO = 50.0


def lattice_ok(bounding, interval):
    return abs(bounding) <= MAX_BOUNDING and abs(bounding) <= MAX_RATIO * interval


class Storm:
    """The program's state as the keys sent so far leave it, and the rules
    that keep the storm bounded."""

    def __init__(self, rng):
        self.rng = rng
        self.flags = {"fps": True, "graph": False, "time": True, "coords": False,
                      "fog": True, "pause": False}
        self.mode = 2
        self.bounding = 1000.0
        self.interval = 50.0
        self.held = set()
        self.clock_offset = 0  # ms the arrows have added; kept >= 0
        self.sent = 0
        self.refusals = 0

    def take(self, action, key):
        """Updates the model for one event: "tap", "down" or "up" of key."""
        if action == "down":
            self.held.add(key)
        elif action == "up":
            self.held.discard(key)
        else:
            self.apply(key)

    def apply(self, key):
        """Updates the model for one key tap."""
        self.sent += 1
        if key in TOGGLES:
            self.flags[TOGGLES[key]] = not self.flags[TOGGLES[key]]
        elif key in ("L", "l", "p"):
            self.mode = {"L": 2, "l": 0, "p": 1}[key]
        elif key == "bracketleft":
            self.interval += 5.0
        elif key == "bracketright":
            if self.interval - 5.0 == 0.0:
                self.refusals += 1  # refused: the lattice in force stays
            else:
                self.interval -= 5.0
        elif key == "braceleft":
            self.bounding -= 50.0
        elif key == "braceright":
            self.bounding += 50.0
        elif key in ("Left", "Right", "Up", "Down"):
            self.clock_offset += {"Left": -1000, "Right": 1000, "Up": -100, "Down": 100}[key]

    def allowed(self, key):
        if key == "braceright":
            return lattice_ok(self.bounding + 50.0, self.interval)
        if key == "braceleft":
            return lattice_ok(self.bounding - 50.0, self.interval)
        if key == "bracketleft":
            return self.interval + 5.0 <= MAX_INTERVAL
        if key == "bracketright":
            # at 5: the step to 0, which the scene refuses
            return self.interval == 5.0 or lattice_ok(self.bounding, self.interval - 5.0)
        if key == "Left":
            return self.clock_offset >= 1000  # never behind the running clock
        if key == "Up":
            return self.clock_offset >= 100
        if key in THRUSTERS:
            return key not in self.held
        return True

    def next_action(self):
        """("tap", key), ("down", key) or ("up", key)."""
        rng = self.rng
        while True:
            roll = rng.random()
            if roll < 0.12 and self.held:
                return "up", rng.choice(sorted(self.held))
            if roll < 0.24:
                key = rng.choice(THRUSTERS)
                if key not in self.held and len(self.held) < 4:
                    return "down", key
                continue
            if roll < 0.34:
                key = rng.choice(THRUSTERS + ["minus", "period"])
            elif roll < 0.60:
                key = rng.choice(["bracketleft", "bracketright", "braceleft", "braceright",
                                  "L", "l", "p", "slash", "backslash"])
            elif roll < 0.74:
                key = rng.choice(["f", "g", "t", "F", "G", "T", "i", "o"])
            elif roll < 0.78:
                key = "space"
            elif roll < 0.88:
                key = rng.choice(["Left", "Right", "Up", "Down"])
            else:
                key = rng.choice(OTHER_KEYS)
            if self.allowed(key):
                return "tap", key

    def settle_keys(self):
        """Taps that bring the lattice back to mode 2, bounding 1000,
        interval 50, and every toggle back to its start-up value."""
        keys = []
        for flag, key in (("fps", "f"), ("graph", "g"), ("time", "t"), ("coords", "i"),
                          ("fog", "o"), ("pause", "space")):
            start = flag in ("fps", "time", "fog")
            if self.flags[flag] != start:
                keys.append(key)
        if self.mode != 2:
            keys.append("L")
        # The interval first: the bounding is at most 1000, so at interval
        # 50 every bounding on the way keeps the lattice small.
        steps = int(round((50.0 - self.interval) / 5.0))
        keys += ["bracketleft" if steps > 0 else "bracketright"] * abs(steps)
        steps = int(round((1000.0 - self.bounding) / 50.0))
        keys += ["braceright" if steps > 0 else "braceleft"] * abs(steps)
        return keys


class SoakTest(wg_e2e.TestCase):

    def probe(self, session, log):
        """The program answers a key with its line; returns the seconds it took."""
        sent = time.monotonic()
        session.key(PROBE_KEY, delay_ms=0)
        session.wait_for_line(PROBE_LINE, timeout=PROBE_TIMEOUT)
        took = time.monotonic() - sent
        log.append(took)
        return took

    def send(self, session, actions):
        """Sends (action, key, pause seconds) in one xdotool call."""
        args = []
        for action, key, pause in actions:
            if action == "down":
                args += ["keydown", key]
            elif action == "up":
                args += ["keyup", key]
            else:
                args += ["key", "--delay", "0", key]
            if pause > 0:
                args += ["sleep", "%.3f" % pause]
        session.xdotool(*args, timeout=120)

    def events(self, session, storm, events, pause=0.02):
        """Takes (action, key) events into the model, then sends them."""
        for action, key in events:
            self.assertTrue(action != "tap" or storm.allowed(key), key)
            storm.take(action, key)
        self.send(session, [(action, key, pause) for action, key in events])

    def taps(self, session, storm, keys):
        self.events(session, storm, [("tap", key) for key in keys])

    def test_random_key_storm(self):
        print("\nsoak: seed %d, %.0f s (WG_SOAK_SEED, WG_SOAK_SECONDS)" % (SEED, SOAK_SECONDS))
        storm = Storm(random.Random(SEED))
        probes = []
        with self.session(screen=SCREEN) as s:
            s.wait_for_window()
            s.wait_fullscreen()
            s.wait_for_line("MESH_FOG: 1")
            began = time.monotonic()

            # Warm-up: every draw mode with and without fog, the overlays,
            # the largest lattice the storm may build and the refused step,
            # every thruster, so that caches and pools have grown before
            # memory is measured.
            # The largest lattice sets the high-water mark of the renderer's
            # per-frame buffers (point mode draws a million dots there), so
            # each mode is drawn at it for a moment.
            self.taps(s, storm, ["braceleft"] * 15 + ["bracketright"] * 10)
            self.assertEqual(storm.refusals, 1)
            self.events(s, storm, [("tap", key) for key in
                                   ["i", "g", "l", "o", "o", "p", "o", "o", "L", "o", "o", "i", "g"]],
                        pause=0.25)
            self.taps(s, storm, ["bracketleft"] * 9 + ["braceright"] * 15)
            self.events(s, storm, [(action, key) for key in THRUSTERS for action in ("down", "up")],
                        pause=0.05)
            self.taps(s, storm, ["minus"])
            s.wait_for_line("}: mesh bounding change to 1000", timeout=PROBE_TIMEOUT)
            self.assertEqual(storm.settle_keys(), [], "the warm-up ends where it started")
            self.probe(s, probes)
            time.sleep(max(0.0, began + WARMUP_SECONDS - time.monotonic()))
            self.probe(s, probes)
            baseline = s.rss_kib()
            samples = [baseline]
            warmup = time.monotonic() - began

            next_probe = time.monotonic() + PROBE_EVERY
            while time.monotonic() - began < SOAK_SECONDS:
                batch = []
                for _ in range(12):
                    action, key = storm.next_action()
                    storm.take(action, key)  # the next choice depends on it
                    batch.append((action, key, storm.rng.random() * 0.04))
                self.send(s, batch)
                if time.monotonic() >= next_probe:
                    self.assertTrue(s.running, "the program ended during the storm")
                    self.probe(s, probes)
                    samples.append(s.rss_kib())
                    next_probe = time.monotonic() + PROBE_EVERY
            stormed = time.monotonic() - began - warmup

            # Let go of everything, then put the settings back as they were
            # when the baseline was taken.
            self.events(s, storm, [("up", key) for key in sorted(storm.held)])
            self.taps(s, storm, ["minus"] + storm.settle_keys())
            self.assertEqual(storm.settle_keys(), [])
            self.probe(s, probes)
            time.sleep(2.0)
            self.probe(s, probes)
            final = s.rss_kib()
            settings = self.last_settings(s.output())
            self.assertEqual(settings, {"MESHMODE": "2", "BOUNDING": "1000", "INTERVAL": "50"},
                             "the lattice settings follow the keys as the storm modelled them")

            s.key("q")
            self.assertEqual(s.wait_exit(timeout=30), 0)
            self.assertEqual(s.output()[-2:], ["my_exit(0)", "demo scene cleared."])

        growth = final - baseline
        print("soak: %d keys in %.0f s after a %.0f s warm-up, %d refused interval steps; "
              "%d probes answered in %.2f s at most; RSS %d KiB after warm-up, %d KiB at the "
              "end (growth %+d KiB), peak %d KiB"
              % (storm.sent, stormed, warmup, storm.refusals, len(probes), max(probes),
                 baseline, final, growth, max(samples)))
        print("soak: RSS every %.0f s (MiB): %s" % (PROBE_EVERY, " ".join(
            "%.1f" % (kib / 1024.0) for kib in samples + [final])))
        self.assertLess(growth, RSS_GROWTH_LIMIT_KIB, "resident memory grew during the storm")

    @staticmethod
    def last_settings(lines):
        found = {}
        for line in lines:
            match = re.match(r"^(MESHMODE|BOUNDING|INTERVAL): (.*)$", line)
            if match:
                found[match.group(1)] = match.group(2)
        return found


if __name__ == "__main__":
    unittest.main()
