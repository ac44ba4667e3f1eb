"""The real program under memcheck: start, fly with every thruster, every draw mode, the lattice rebuilt
both ways, the overlays, q. No invalid access and no definitely lost block may remain beyond the
suppressions for the libraries underneath (tests/valgrind/mesa.supp: loader, Mesa, X11)."""

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
                wrapper=["valgrind", "--error-exitcode=99", "--leak-check=full", "--errors-for-leak-kinds=definite",
                         "--show-leak-kinds=definite", "--num-callers=40",
                         "--suppressions=" + os.path.normpath(SUPPRESSIONS), "--log-file=%s" % log])
    s.wait_for_window(timeout=STEP)
    s.wait_fullscreen(timeout=STEP)
    s.wait_for_line("MESH_FOG: 1", timeout=STEP)
    for key in "01234568":
        s.hold(key, 0.3)
    # The program lags under valgrind, and freeglut drops a release it handles while the same key is down again: keys go
    # with no hold time, no two neighbours share a key (L and l, [ and {, ] and } do), each waits for its answer.
    for key, line in zip(["L", "p", "l", "bracketleft", "bracketright", "braceleft", "braceright"], [
            "L: line stipple draw mode", "p: point draw mode", "l: line draw mode", "[: mesh interval change to 55",
            "]: mesh interval change to 50", "{: mesh bounding change to 950", "}: mesh bounding change to 1000"]):
        s.key(key, delay=0)
        s.wait_for_line(line, timeout=STEP)
        s.wait_for_line("MESH_FOG: 1", timeout=STEP)
    s.key("i", "g", "f", "t", delay=0)
    time.sleep(2.0)  # frames with the state text and the graph
    s.key("F12", delay=0)
    s.wait_for_line("special: 12", timeout=STEP)
    s.key("q", delay=0)
    status = s.wait_exit(timeout=STEP)
    assert status == 0, "memcheck errors (exit status %d):\n%s" % (status, log.read_text()[-20000:])
