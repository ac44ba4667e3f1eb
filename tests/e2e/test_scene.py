"""The wire gate scene on a virtual display: start-up output, keys, pictures
in every draw mode and the ways the program ends.

Pictures are compared with reference PNGs in reference/: a 480 x 270 part
of the screen (REFERENCE_BOX), taken with the fps and time lines switched
off ("f", "t"), so the changing numbers are not part of them. To regenerate the
references on purpose (after a deliberate change of the picture):

    WG_E2E_UPDATE_REFERENCE=1 ctest --test-dir <build> -R e2e_test_scene

and review the new files before committing them.
"""

import os
import re
import subprocess
import tempfile
import time
import unittest

import wg_e2e

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE_DIR = os.path.join(HERE, "reference")
CONVERT = "/usr/bin/convert"
COMPARE = "/usr/bin/compare"

# Software rendering of the full lattice takes up to a few hundred ms per
# frame; after a key, wait for a frame drawn entirely afterwards.
SETTLE = 0.9

# Overlay units to screen pixels on the 1920 x 1080 screen: 1024 units
# across, the edges at y = 512 -/+ 512 * 1080 / 1920 (224 and 800).
UNIT = wg_e2e.SCREEN_WIDTH / 1024.0
OVERLAY_BOTTOM = 512.0 - 512.0 * wg_e2e.SCREEN_HEIGHT / wg_e2e.SCREEN_WIDTH
OVERLAY_TOP = 512.0 + 512.0 * wg_e2e.SCREEN_HEIGHT / wg_e2e.SCREEN_WIDTH


def to_screen(x, y):
    """Overlay point to (column, row), row 0 at the top."""
    return x * UNIT, wg_e2e.SCREEN_HEIGHT - (y - OVERLAY_BOTTOM) * UNIT


def text_box(x, y, width_px, above=10, below=4):
    """Screen box (x0, y0, x1, y1) around a text line starting at overlay (x, y)."""
    col, row = to_screen(x, y)
    return int(col) - 2, int(row) - above, int(col) + width_px, int(row) + below


FPS_BOX = text_box(100, OVERLAY_BOTTOM + 10, 80)
TIME_BOX = text_box(100, OVERLAY_TOP - 20, 100)
PAUSE_BOX = text_box(467, 512, 200)


def crop(image, box):
    """The part of image inside box = (x0, y0, x1, y1)."""
    x0, y0, x1, y1 = box
    rows = [image.rgb[(y * image.width + x0) * 3:(y * image.width + x1) * 3] for y in range(y0, y1)]
    return wg_e2e.Image(x1 - x0, y1 - y0, b"".join(rows))


def diff_box(a, b):
    """Smallest box holding every pixel that differs between a and b, or None."""
    stride = a.width * 3
    rows = [y for y in range(a.height)
            if a.rgb[y * stride:(y + 1) * stride] != b.rgb[y * stride:(y + 1) * stride]]
    if not rows:
        return None
    cols = [x for x in range(a.width)
            if any(a.rgb[y * stride + x * 3:y * stride + x * 3 + 3]
                   != b.rgb[y * stride + x * 3:y * stride + x * 3 + 3] for y in rows)]
    return cols[0], rows[0], cols[-1] + 1, rows[-1] + 1


def inside(box, outer):
    return (box[0] >= outer[0] and box[1] >= outer[1] and box[2] <= outer[2] and box[3] <= outer[3])


def union(a, b):
    return min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3])


_LIT_BYTES = bytes(range(32, 256))  # wg_e2e.is_lit's threshold, on the red channel (the lattice is grey)


def lit_share(image, box=None):
    """Share of lit pixels in box."""
    red = crop(image, box or (0, 0, image.width, image.height)).rgb[0::3]
    return (len(red) - len(red.translate(None, _LIT_BYTES))) / float(len(red))


# The part of the screen the references keep, at full resolution (dots
# would average away in a scaled picture): upper left, between the edge
# and the centre, clear of the fps and time lines.
REFERENCE_BOX = (240, 135, 720, 405)


def reference_png(image, path):
    """The reference part of a screenshot as a PNG file."""
    part = crop(image, REFERENCE_BOX)
    part.save_png(path)


def differing_pixels(path_a, path_b, fuzz="3%"):
    """How many pixels differ by more than fuzz (ImageMagick's AE metric)."""
    done = subprocess.run([COMPARE, "-metric", "AE", "-fuzz", fuzz, path_a, path_b, "null:"],
                          capture_output=True, timeout=30)
    if done.returncode not in (0, 1):
        raise wg_e2e.HarnessError("compare failed: %s" % done.stderr.decode().strip())
    return float(done.stderr.decode().split()[0])


def lit_pixels(path):
    """How many pixels of a PNG have a red channel above 12%."""
    done = subprocess.run([CONVERT, path, "-channel", "R", "-separate", "-threshold", "12%",
                           "-format", "%[fx:mean*w*h]", "info:"], capture_output=True, check=True, timeout=30)
    return float(done.stdout.decode())


def same_picture(path_a, path_b):
    """At most 5% of the lit pixels differ by more than 3% of the range.
    The software rasteriser draws the same picture bit for bit from run to
    run; the slack is for another CPU's code paths. A tone step (10%) or a
    moved lattice exceeds it."""
    allowed = max(10.0, 0.05 * max(lit_pixels(path_a), lit_pixels(path_b)))
    return differing_pixels(path_a, path_b) <= allowed


class SceneTest(wg_e2e.TestCase):

    def setUp(self):
        # Compared parts are kept with the artifacts, when there are any.
        artifacts = os.environ.get("WG_E2E_ARTIFACTS")
        if artifacts:
            self.scratch = os.path.join(artifacts, "test_scene-parts")
            os.makedirs(self.scratch, exist_ok=True)
        else:
            folder = tempfile.TemporaryDirectory(prefix="wg-test-scene-")
            self.addCleanup(folder.cleanup)
            self.scratch = folder.name

    def shot(self, s, label):
        time.sleep(SETTLE)
        return s.screenshot(label)

    def check_reference(self, image, name):
        """Compares the picture with reference/<name>.png (or rewrites it when
        WG_E2E_UPDATE_REFERENCE=1)."""
        reference = os.path.join(REFERENCE_DIR, name + ".png")
        if os.environ.get("WG_E2E_UPDATE_REFERENCE") == "1":
            os.makedirs(REFERENCE_DIR, exist_ok=True)
            reference_png(image, reference)
            return
        actual = os.path.join(self.scratch, name + ".png")
        reference_png(image, actual)
        self.assertTrue(os.path.exists(reference), "missing reference %s" % reference)
        self.assertTrue(same_picture(actual, reference),
                        "%s differs from its reference (kept as %s)" % (name, actual))

    def similar(self, a, b, name):
        """Two screenshots of this run show the same picture (within tolerance)."""
        pa, pb = (os.path.join(self.scratch, "%s-%d.png" % (name, i)) for i in (1, 2))
        reference_png(a, pa)
        reference_png(b, pb)
        return same_picture(pa, pb)

    def start(self, s):
        s.wait_for_window()
        s.wait_fullscreen()
        s.wait_for_line("MESH_FOG: 1")

    def test_default_run_pictures_keys_and_escape(self):
        with self.session() as s:
            self.start(s)
            out = s.output()
            self.assertEqual(out[:6], ["m_events[0] --- dump ---", "msed: +0", "obj: 0",
                                       "m_fixevents.size(): 1", "m_fixevents[0] --- dump ---",
                                       "dump event_coords_t ---"])
            self.assertEqual(out[24:28], ["MESHMODE: 2", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1"])
            self.assertEqual(s.errors(), [])

            # The fps and time lines at their places: the only difference
            # between a frame with them and one without.
            with_text = self.shot(s, "text")
            s.key("f", "t")
            start = self.shot(s, "start")
            box = diff_box(with_text, start)
            self.assertIsNotNone(box)
            self.assertTrue(inside(box, union(FPS_BOX, TIME_BOX)), box)
            self.assertIsNotNone(diff_box(crop(with_text, FPS_BOX), crop(start, FPS_BOX)))
            self.assertIsNotNone(diff_box(crop(with_text, TIME_BOX), crop(start, TIME_BOX)))

            # Every mode, fog on and off: the lattice fills each quarter of
            # the screen, dots far more thinly than lines; the fade darkens.
            pictures = {}
            for keys, name, lines in (
                    ((), "stipple_fog", None),
                    (("o",), "stipple", "o: fog mode change to 0"),
                    (("l",), "line", "MESHMODE: 0"),
                    (("o",), "line_fog", "o: fog mode change to 1"),
                    (("p",), "point_fog", "MESHMODE: 1"),
                    (("o",), "point", "o: fog mode change to 0")):
                if keys:
                    s.key(*keys)
                    s.wait_for_line(lines)
                image = start if not keys else self.shot(s, name)
                pictures[name] = image
                w, h = image.width // 2, image.height // 2
                for quarter in ((0, 0, w, h), (w, 0, 2 * w, h), (0, h, w, 2 * h), (w, h, 2 * w, 2 * h)):
                    self.assertGreater(lit_share(image, quarter), 0.0005, (name, quarter))
                self.check_reference(image, name)
            for plain in ("line", "point", "stipple"):
                self.assertLess(lit_share(pictures[plain + "_fog"]), lit_share(pictures[plain]), plain)
            self.assertLess(lit_share(pictures["point"]) * 3, lit_share(pictures["line"]))
            for a, b in (("stipple", "line"), ("line", "point"), ("line_fog", "point_fog")):
                self.assertIsNotNone(diff_box(pictures[a], pictures[b]), (a, b))
            s.key("o", "L")
            s.wait_for_line("L: line stipple draw mode")
            self.assertTrue(self.similar(self.shot(s, "back"), start, "back"))

            # Lattice keys print their message and the settings; "7" is the shell's.
            s.key("bracketleft")
            s.wait_for_line("[: mesh interval change to 55")
            s.wait_for_line("INTERVAL: 55")
            s.key("7")
            s.wait_for_line("key: 7(55)")
            s.key("bracketright")
            s.wait_for_line("INTERVAL: 50")

            # Overlays: "g" draws the history graph (yellow over white), "i" the state text.
            s.key("g")
            graph = self.shot(s, "graph")
            box = diff_box(graph, start)
            self.assertIsNotNone(box)
            self.assertGreater(graph.count(lambda p: p[0] > 200 and p[1] > 200 and p[2] < 60,
                                           (0, box[1], graph.width, box[3])), 1000)
            s.key("g", "i")
            state_text = self.shot(s, "state-text")
            box = diff_box(state_text, start)
            self.assertIsNotNone(box)
            self.assertTrue(inside(box, (0, 0, 600, 500)), box)
            s.key("i")

            # The pause label, in the fps line's white.
            s.key("f", "space")
            paused = self.shot(s, "paused")
            self.assertGreater(paused.count(wg_e2e.is_white, PAUSE_BOX), 20)
            s.key("space", "f")
            self.assertEqual(self.shot(s, "resumed").count(wg_e2e.is_white, PAUSE_BOX),
                             start.count(wg_e2e.is_white, PAUSE_BOX))

            # Thrust forwards for a second: the camera moves; "-" brings it back.
            s.hold("5", 1.0)
            moved = self.shot(s, "moved")
            self.assertFalse(self.similar(moved, start, "moved"))
            s.key("minus")
            self.assertTrue(self.similar(self.shot(s, "reset"), start, "reset"))

            s.key("Escape")
            self.assertEqual(s.wait_exit(), 0)
            self.assertEqual(s.output()[-2:], ["my_exit(0)", "demo scene cleared."])
            self.assertEqual(s.errors(), [])

    def test_settings_from_the_environment_and_q(self):
        env = {"HALL_MESH_MODE": "0x1", "HALL_MESH_INTERVAL": "0", "HALL_MESH_FOG": ""}
        with self.session(env=env) as s:
            s.wait_for_window()
            s.wait_for_line("MESHMODE: 1")
            s.wait_for_line("BOUNDING: 1000")
            s.wait_for_line("INTERVAL: 50")
            s.wait_for_line("MESH_FOG: 0")
            self.assertEqual(len([e for e in s.errors() if re.search(r"HALL_MESH_INTERVAL=0\b", e)]), 1)
            s.wait_fullscreen()
            s.key("q")
            self.assertEqual(s.wait_exit(), 0)
            self.assertEqual(s.output()[-2:], ["my_exit(0)", "demo scene cleared."])

    def test_closing_the_window_while_the_scene_runs(self):
        with self.session() as s:
            self.start(s)
            time.sleep(SETTLE)
            s.close_window()
            self.assertEqual(s.wait_exit(), 0)
            self.assertNotIn("my_exit(0)", s.output())
            self.assertEqual(s.errors(), [], "the scene is deleted with a live GL context")


if __name__ == "__main__":
    unittest.main()
