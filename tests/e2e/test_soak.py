"""Soak: a random storm of keys for WG_SOAK_SECONDS (default 120) with a fixed
seed (WG_SOAK_SEED; printed). The program stays alive and answers, its resident
memory grows by less than 2 MB after a ten-second warm-up, it writes no GL
error, and it still quits on q. The storm uses every key of the shell's and
the scene's tables, the arrows, space and other keys, and holds and releases
the thrusters; it never presses q or Escape, keeps the demo clock away from its
end and the lattice small (so memory can be compared), and puts everything
back before the end; "]" at interval 5 exercises the scene's refusal of a step
to 0. Taps go without hold time: freeglut, with key repeat off, drops a
release that it handles while the same key is down again."""

import os
import random
import re
import time

import pytest

SOAK_SECONDS = float(os.environ.get("WG_SOAK_SECONDS", "120"))
SEED = int(os.environ.get("WG_SOAK_SEED", "20261206"))
pytestmark = pytest.mark.screen(800, 600)
WARMUP_SECONDS, RSS_GROWTH_LIMIT_KIB = 10.0, 2048
PROBE_EVERY, PROBE_TIMEOUT = 5.0, 30.0  # liveness: F12 (never in the storm) answered by "special: 12"

THRUSTERS = ["0", "1", "2", "3", "4", "5", "6", "8"]
# Keys whose only effect is a line from the shell ("key: ...", "special: ...") or nothing (F1 to F8).
OTHER_KEYS = ["x", "7", "9", "a", "z", "comma", "semicolon", "Tab", "BackSpace", "Return", "Delete", "KP_Add",
              "F1", "F5", "F9", "Home", "End", "Prior", "Next", "Insert"]
TOGGLES = {"f": "fps", "F": "fps", "g": "graph", "G": "graph", "t": "time", "T": "time", "i": "coords", "o": "fog",
           "space": "pause"}
START_FLAGS = {"fps": True, "graph": False, "time": True, "coords": False, "fog": True, "pause": False}
LATTICE_STEPS = {"bracketleft": (0, 5), "bracketright": (0, -5), "braceleft": (-50, 0), "braceright": (50, 0)}
CLOCK_STEPS = {"Left": -1000, "Right": 1000, "Up": -100, "Down": 100}
# What a tap is drawn from, by the roll of the dice up to each limit (below 0.24: thrusters held and let go).
TAPS = [(0.34, THRUSTERS + ["minus", "period"]), (0.60, list(LATTICE_STEPS) + ["L", "l", "p", "slash", "backslash"]),
        (0.74, ["f", "g", "t", "F", "G", "T", "i", "o"]), (0.78, ["space"]), (0.88, list(CLOCK_STEPS)),
        (1.0, OTHER_KEYS)]


class Storm:
    """The program's state as the keys sent so far leave it, and the rules that keep the storm bounded."""

    def __init__(self, rng):
        self.rng, self.flags, self.mode, self.bounding, self.interval = rng, dict(START_FLAGS), 2, 1000, 50
        self.held, self.clock, self.sent, self.refusals = set(), 0, 0, 0  # clock: ms the arrows added

    def take(self, action, key):
        """Updates the model for one event: "tap", "down" or "up" of key."""
        if action != "tap":
            (self.held.add if action == "down" else self.held.discard)(key)
            return
        self.sent += 1
        if key in TOGGLES:
            self.flags[TOGGLES[key]] = not self.flags[TOGGLES[key]]
        self.mode = {"L": 2, "l": 0, "p": 1}.get(key, self.mode)
        self.clock += CLOCK_STEPS.get(key, 0)
        if key in LATTICE_STEPS and self.stepped(key)[1] == 0:
            self.refusals += 1  # refused: the lattice in force stays
        elif key in LATTICE_STEPS:
            self.bounding, self.interval = self.stepped(key)

    def stepped(self, key):
        return self.bounding + LATTICE_STEPS[key][0], self.interval + LATTICE_STEPS[key][1]

    def allowed(self, key):
        if key in LATTICE_STEPS:
            # At most 101 lattice positions per axis, so frames stay quick in
            # software (interval 5 at bounding 1000 would draw 480,000 lines).
            bounding, interval = self.stepped(key)
            return interval == 0 or (abs(bounding) <= 1000 and abs(bounding) <= 50 * interval and interval <= 200)
        return self.clock + CLOCK_STEPS.get(key, 0) >= 0 and key not in self.held  # never behind the running clock

    def next_action(self):
        """("tap", key), ("down", key) or ("up", key)."""
        while True:
            roll = self.rng.random()
            if roll < 0.12 and self.held:
                return "up", self.rng.choice(sorted(self.held))
            key = self.rng.choice(THRUSTERS if roll < 0.24 else next(keys for end, keys in TAPS if roll < end))
            if roll < 0.24 and key not in self.held and len(self.held) < 4:
                return "down", key
            if roll >= 0.24 and self.allowed(key):
                return "tap", key

    def settle_keys(self):
        """Taps that bring the lattice back to mode 2, bounding 1000, interval 50 and every toggle to its start."""
        keys = [key for flag, key in (("fps", "f"), ("graph", "g"), ("time", "t"), ("coords", "i"), ("fog", "o"),
                                      ("pause", "space")) if self.flags[flag] != START_FLAGS[flag]]
        keys += ["L"] if self.mode != 2 else []
        # The interval first: the bounding is at most 1000, so at interval 50
        # every bounding on the way keeps the lattice small.
        steps = (50 - self.interval) // 5
        keys += ["bracketleft" if steps > 0 else "bracketright"] * abs(steps)
        steps = (1000 - self.bounding) // 50
        return keys + ["braceright" if steps > 0 else "braceleft"] * abs(steps)


def test_random_key_storm(program):
    print("\nsoak: seed %d, %.0f s (WG_SOAK_SEED, WG_SOAK_SECONDS)" % (SEED, SOAK_SECONDS))
    storm, probes = Storm(random.Random(SEED)), []

    def act(action, key, pause):
        storm.take(action, key)
        {"tap": lambda: s.key(key, delay=0), "down": lambda: s.down(key), "up": lambda: s.up(key)}[action]()
        time.sleep(pause)

    def play(keys, pause=0.02, action="tap"):
        for key in keys:
            assert action != "tap" or storm.allowed(key), key
            act(action, key, pause)

    def probe():
        sent = time.monotonic()
        s.key("F12", delay=0)
        s.wait_for_line("special: 12", timeout=PROBE_TIMEOUT)
        probes.append(time.monotonic() - sent)

    s = program()
    s.wait_for_window()
    s.wait_fullscreen()
    s.wait_for_line("MESH_FOG: 1")
    began = time.monotonic()
    # Warm-up, so that caches and pools have grown before memory is measured:
    # the largest lattice the storm may build and the refused step, every draw
    # mode with and without fog at that lattice (it sets the high-water mark
    # of the renderer's per-frame buffers: point mode draws a million dots
    # there), the overlays, every thruster.
    play(["braceleft"] * 15 + ["bracketright"] * 10)
    assert storm.refusals == 1
    play("igloopooLooig", pause=0.25)
    play(["bracketleft"] * 9 + ["braceright"] * 15)
    for key in THRUSTERS:
        play([key], 0.05, "down")
        play([key], 0.05, "up")
    play(["minus"])
    s.wait_for_line("}: mesh bounding change to 1000", timeout=PROBE_TIMEOUT)
    assert storm.settle_keys() == [], "the warm-up ends where it started"
    probe()
    time.sleep(max(0.0, began + WARMUP_SECONDS - time.monotonic()))
    probe()
    samples = [s.rss_kib()]
    warmup = time.monotonic() - began

    next_probe = time.monotonic() + PROBE_EVERY
    while time.monotonic() - began < SOAK_SECONDS:
        act(*storm.next_action(), storm.rng.random() * 0.04)
        if time.monotonic() >= next_probe:
            assert s.running, "the program ended during the storm"
            probe()
            samples.append(s.rss_kib())
            next_probe = time.monotonic() + PROBE_EVERY
    stormed = time.monotonic() - began - warmup

    # Let go of everything, then put the settings back as they were when the baseline was taken.
    play(sorted(storm.held), action="up")
    play(["minus"] + storm.settle_keys())
    assert storm.settle_keys() == []
    probe()
    time.sleep(2.0)
    probe()
    final = s.rss_kib()
    settings = dict(m.groups() for m in map(re.compile(r"^(MESHMODE|BOUNDING|INTERVAL): (.*)$").match, s.out) if m)
    assert settings == {"MESHMODE": "2", "BOUNDING": "1000", "INTERVAL": "50"}, \
        "the lattice settings follow the keys as the storm modelled them"
    s.key("q")
    s.assert_ended(timeout=30)

    print("soak: %d keys in %.0f s after a %.0f s warm-up, %d refused interval steps, probes answered in %.2f s at "
          "most; RSS every %.0f s (MiB): %s" % (storm.sent, stormed, warmup, storm.refusals, max(probes), PROBE_EVERY,
                                                " ".join("%.1f" % (kib / 1024) for kib in samples + [final])))
    assert final - samples[0] < RSS_GROWTH_LIMIT_KIB, "resident memory grew by %d KiB" % (final - samples[0])
