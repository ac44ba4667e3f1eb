"""The real program under valgrind's memcheck: start, fly with every
thruster, switch every draw mode, rebuild the lattice both ways, toggle the
overlays and quit with q. No invalid read or write and no definitely lost
block may remain once the suppressions for the libraries underneath
(tests/valgrind/mesa.supp: loader, Mesa, X11) have been applied; what
remains is reported with its stack."""

import os
import shutil
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

import wg_e2e

SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "valgrind", "mesa.supp")
SCREEN = (320, 240, 24)  # every frame costs little even at valgrind's pace
STEP_TIMEOUT = 300.0     # seconds for any one step at valgrind's pace


def valgrind_command(xml_path):
    return ["valgrind", "--tool=memcheck", "--error-exitcode=99", "--leak-check=full",
            "--errors-for-leak-kinds=definite", "--show-leak-kinds=definite",
            "--num-callers=40", "--suppressions=" + os.path.normpath(SUPPRESSIONS),
            "--xml=yes", "--xml-file=" + xml_path]


def describe_error(error):
    """One unsuppressed error: its kind, text and stack, one frame a line."""
    what = error.findtext("what") or error.find("xwhat").findtext("text")
    lines = ["%s: %s" % (error.findtext("kind"), what)]
    for frame in error.find("stack").findall("frame"):
        lines.append("    %s (%s) %s:%s" % (frame.findtext("fn", "???"),
                                           os.path.basename(frame.findtext("obj", "???")),
                                           frame.findtext("file", ""), frame.findtext("line", "")))
    return "\n".join(lines)


@unittest.skipUnless(shutil.which("valgrind"), "valgrind is not installed (scripts/setup installs it)")
class ValgrindTest(wg_e2e.TestCase):

    def test_a_full_tour_under_memcheck_leaves_no_error(self):
        folder = tempfile.mkdtemp(prefix="wg-valgrind-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        xml_path = os.path.join(folder, "memcheck.xml")
        started = time.monotonic()
        # One rendering thread: valgrind runs threads one at a time anyway.
        with self.session(screen=SCREEN, wrapper=valgrind_command(xml_path),
                          env={"LP_NUM_THREADS": "0"}) as s:
            s.wait_for_window(timeout=STEP_TIMEOUT)
            s.wait_fullscreen(timeout=STEP_TIMEOUT)
            s.wait_for_line("MESH_FOG: 1", timeout=STEP_TIMEOUT)
            for key in ["0", "1", "2", "3", "4", "5", "6", "8"]:
                s.hold(key, 0.3)
            # freeglut takes a release that it handles while the same key is
            # down again for auto-repeat and drops it with the next press,
            # and the program lags under valgrind: keys go with no hold
            # time, no two neighbours share a key (L and l, [ and {, ] and }
            # do), and each waits for its answer.
            for key, line in [("L", "L: line stipple draw mode"), ("p", "p: point draw mode"),
                              ("l", "l: line draw mode"),
                              ("bracketleft", "[: mesh interval change to 55"),
                              ("bracketright", "]: mesh interval change to 50"),
                              ("braceleft", "{: mesh bounding change to 950"),
                              ("braceright", "}: mesh bounding change to 1000")]:
                s.key(key, delay_ms=0)
                s.wait_for_line(line, timeout=STEP_TIMEOUT)
                s.wait_for_line("MESH_FOG: 1", timeout=STEP_TIMEOUT)
            s.key("i", "g", "f", "t", delay_ms=0)
            time.sleep(2.0)  # frames with the state text and the graph
            s.key("F12", delay_ms=0)
            s.wait_for_line("special: 12", timeout=STEP_TIMEOUT)
            s.key("q", delay_ms=0)
            s.wait_for_line("demo scene cleared.", timeout=STEP_TIMEOUT)
            status = s.wait_exit(timeout=STEP_TIMEOUT)

        report = ET.parse(xml_path).getroot()
        errors = report.findall("error")
        suppressed = {pair.findtext("name"): int(pair.findtext("count"))
                      for pair in report.iter("pair") if pair.find("name") is not None}
        print("\nvalgrind: %.0f s, exit status %d, %d unsuppressed errors, suppressed: %s"
              % (time.monotonic() - started, status, len(errors),
                 ", ".join("%s x%d" % item for item in sorted(suppressed.items())) or "none"))
        self.assertEqual([describe_error(e) for e in errors], [],
                         "memcheck errors (invalid accesses, definitely lost blocks)")
        self.assertEqual(status, 0, "valgrind's --error-exitcode is 99")


if __name__ == "__main__":
    unittest.main()
