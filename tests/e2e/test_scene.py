"""The scene on a 1920x1080 screen in one run: start-up output, text lines, every draw mode with and
without fog against reference/ (after a deliberate change: WG_E2E_UPDATE_REFERENCE=1, then review them),
a key the scene passes on, overlays, pause, thrust and reset, consumed keys, Escape."""

import os
import time

import numpy as np
import pytest
from PIL import Image

REFERENCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference")
# Full resolution (dots would average away), between the edge and the centre, clear of the text lines.
REFERENCE = np.s_[135:405, 240:720]
SETTLE = 0.9  # a frame of the full lattice takes up to a few hundred ms in software


# The text lines from overlay points (100, 234), (100, 780) and (467, 512): 1024 units across, 224 at the bottom.
FPS, TIME, PAUSE = np.s_[1051:1065, 185:267], np.s_[27:41, 185:287], np.s_[530:544, 873:1075]


def only_within(a, b, *boxes):
    """a and b differ within each of the (disjoint) boxes and nowhere else."""
    changed = (a != b).any(axis=2)
    return all(changed[box].any() for box in boxes) and changed.sum() == sum(changed[box].sum() for box in boxes)


def lit_share(image):  # the lattice is grey
    return (image[..., 0] >= 32).mean()


def same_picture(a, b):
    """At most 5% of the lit pixels (red above 12%) differ by 3% of the range or more: slack for another
    CPU's code paths in the rasteriser; a tone step (10%) or a moved lattice exceeds it."""
    differing = (np.abs(a.astype(int) - b).max(axis=2) >= 0.03 * 255).sum()
    return differing <= max(10, 0.05 * max((a[..., 0] > 0.12 * 255).sum(), (b[..., 0] > 0.12 * 255).sum()))


def check_reference(s, image, name):
    path = os.path.join(REFERENCE_DIR, name + ".png")
    if os.environ.get("WG_E2E_UPDATE_REFERENCE") == "1":
        Image.fromarray(image[REFERENCE]).save(path, optimize=True)
    elif not same_picture(image[REFERENCE], np.asarray(Image.open(path).convert("RGB"))):
        s.save(image[REFERENCE], name + "-part")
        pytest.fail("%s differs from %s (its part is kept with the artifacts)" % (name, path))


# Keys from the start (fps and time lines off), the picture's name, the line the keys write.
MODES = [((), "stipple_fog", None), (("o",), "stipple", "o: fog mode change to 0"), (("l",), "line", "MESHMODE: 0"),
         (("o",), "line_fog", "o: fog mode change to 1"), (("p",), "point_fog", "MESHMODE: 1"),
         (("o",), "point", "o: fog mode change to 0")]


def test_a_run_through_the_scene(program):
    def shot(label):
        time.sleep(SETTLE)  # a frame drawn entirely after the last key
        return s.screenshot(label)

    s = program()
    s.wait_for_window()
    s.wait_fullscreen()
    s.wait_for_line("MESH_FOG: 1")
    assert s.out[:6] == ["m_events[0] --- dump ---", "msed: +0", "obj: 0", "m_fixevents.size(): 1",
                         "m_fixevents[0] --- dump ---", "dump event_coords_t ---"]
    assert s.out[24:28] == ["MESHMODE: 2", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1"]

    # The fps and time lines at their places: the only difference between a frame with them and one without.
    with_text = shot("text")
    s.key("f", "t")
    start = shot("start")
    assert only_within(with_text, start, FPS, TIME)

    # Every mode, fog on and off: the lattice fills each quarter, dots far more thinly than lines; fog darkens.
    pictures = {}
    for keys, name, line in MODES:
        if keys:
            s.key(*keys)
            s.wait_for_line(line)
        image = pictures[name] = shot(name) if keys else start
        assert min(lit_share(image[y:y + 540, x:x + 960]) for y in (0, 540) for x in (0, 960)) > 0.0005, name
        check_reference(s, image, name)
    for plain in ("line", "point", "stipple"):
        assert lit_share(pictures[plain + "_fog"]) < lit_share(pictures[plain]), plain
    assert lit_share(pictures["point"]) * 3 < lit_share(pictures["line"])
    s.key("o", "L")
    s.wait_for_line("L: line stipple draw mode")
    assert same_picture(shot("back")[REFERENCE], start[REFERENCE])

    # "7" is no key of the scene's: it reaches the shell, which prints it.
    s.key("7")
    s.wait_for_line("key: 7(55)")

    # Overlays: "g" draws the history graph (yellow over white), "i" the state text at the upper left.
    s.key("g")
    graph = shot("graph")
    assert ((graph[..., 0] > 200) & (graph[..., 1] > 200) & (graph[..., 2] < 60)).sum() > 1000
    s.key("g", "i")
    assert only_within(shot("state-text"), start, np.s_[:500, :600])
    s.key("i")

    # The pause label, in the fps line's white.
    s.key("f", "space")
    assert (shot("paused")[PAUSE].min(axis=2) >= 200).sum() > 20
    s.key("space", "f")
    assert np.array_equal(shot("resumed")[PAUSE], start[PAUSE])

    # Thrust forwards for a second: the camera moves; "-" brings it back.
    s.hold("5", 1.0)
    assert not same_picture(shot("moved")[REFERENCE], start[REFERENCE])
    s.key("minus")
    assert same_picture(shot("reset")[REFERENCE], start[REFERENCE])

    s.key("Escape")
    s.assert_ended()
    assert ([line for line in s.out if line.startswith("key: ")], s.err) == (["key: 7(55)"], []), "consumed keys"
