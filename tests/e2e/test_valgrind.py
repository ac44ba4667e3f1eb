"""The real program under valgrind's memcheck: start, fly with every thruster,
switch every draw mode, rebuild the lattice both ways, toggle the overlays and
quit with q. No invalid read or write and no definitely lost block may remain
once the suppressions for the libraries underneath (tests/valgrind/mesa.supp:
loader, Mesa, X11) have been applied; valgrind's report on what remains is shown."""

import os
import shutil
import time

import pytest

SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "valgrind", "mesa.supp")
STEP = 300.0  # seconds for any one step at valgrind's pace
pytestmark = [pytest.mark.screen(320, 240),  # every frame costs little even at valgrind's pace
              pytest.mark.skipif(not shutil.which("valgrind"), reason="no valgrind (scripts/setup installs it)")]


def test_a_full_tour_under_memcheck_leaves_no_error(program, tmp_path):
    log = tmp_path / "memcheck.txt"
    s = program({"LP_NUM_THREADS": "0"},  # one rendering thread: valgrind runs threads one at a time anyway
                wrapper=["valgrind", "--tool=memcheck", "--error-exitcode=99", "--leak-check=full",
                         "--errors-for-leak-kinds=definite", "--show-leak-kinds=definite", "--num-callers=40",
                         "--suppressions=" + os.path.normpath(SUPPRESSIONS), "--log-file=%s" % log])
    s.wait_for_window(timeout=STEP)
    s.wait_fullscreen(timeout=STEP)
    s.wait_for_line("MESH_FOG: 1", timeout=STEP)
    for key in ["0", "1", "2", "3", "4", "5", "6", "8"]:
        s.hold(key, 0.3)
    # freeglut takes a release that it handles while the same key is down again
    # for auto-repeat and drops it with the next press, and the program lags
    # under valgrind: keys go with no hold time, no two neighbours share a key
    # (L and l, [ and {, ] and } do), and each waits for its answer.
    for key, line in [("L", "L: line stipple draw mode"), ("p", "p: point draw mode"), ("l", "l: line draw mode"),
                      ("bracketleft", "[: mesh interval change to 55"),
                      ("bracketright", "]: mesh interval change to 50"),
                      ("braceleft", "{: mesh bounding change to 950"),
                      ("braceright", "}: mesh bounding change to 1000")]:
        s.key(key, delay=0)
        s.wait_for_line(line, timeout=STEP)
        s.wait_for_line("MESH_FOG: 1", timeout=STEP)
    s.key("i", "g", "f", "t", delay=0)
    time.sleep(2.0)  # frames with the state text and the graph
    s.key("F12", delay=0)
    s.wait_for_line("special: 12", timeout=STEP)
    s.key("q", delay=0)
    s.wait_for_line("demo scene cleared.", timeout=STEP)
    status = s.wait_exit(timeout=STEP)

    report = log.read_text()
    print("\nvalgrind: " + report[report.rfind("ERROR SUMMARY"):])
    # --error-exitcode: any invalid access or definitely lost block that no suppression covers
    assert status == 0, "memcheck errors (exit status %d):\n%s" % (status, report[-20000:])
