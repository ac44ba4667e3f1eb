"""Includes run one way, downward. Every quoted #include of the product code must name its own folder or a folder of a
lower layer, and no two units (name.h and name.cpp) of a folder include each other, directly or through others; bench/
and tests/ may use everything. A failure names the file, the line and the include."""

import os
import re
import unittest

# Bottom up; folders on one line are one layer and do not use each other.
LAYERS = [("gl_loader", "utilities"), ("graphics",), ("framework", "input"), ("scene", "flight"), ("shell",)]
RANK = {folder: rank for rank, layer in enumerate(LAYERS) for folder in layer}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def upward_includes(root):
    """'file:line: #include "...": why' for every include against the layer order."""
    found = []
    for folder, rank in sorted(RANK.items()):
        lower = ", ".join(f for f, r in sorted(RANK.items()) if r < rank) or "itself"
        for name in sorted(n for n in os.listdir(os.path.join(root, folder)) if n.endswith((".h", ".cpp"))):
            with open(os.path.join(root, folder, name), encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    include = INCLUDE.match(line)
                    target = include and include[1].split("/")[0]
                    if include and target != folder and RANK.get(target, rank) >= rank:  # unknown: not the product's
                        found.append('%s/%s:%d: #include "%s": %s may use only %s' % (
                            folder, name, number, include[1], folder, lower))
    return found


def include_circles(root):
    """'folder/unit' for every unit that reaches itself through the includes of its folder's units."""
    edges = {}
    for folder in RANK:
        for name in os.listdir(os.path.join(root, folder)):
            if name.endswith((".h", ".cpp")):
                with open(os.path.join(root, folder, name), encoding="utf-8") as f:
                    included = [m[1] for m in map(INCLUDE.match, f) if m and m[1].startswith(folder + "/")]
                unit = (folder, os.path.splitext(name)[0])
                edges.setdefault(unit, set()).update((folder, os.path.splitext(os.path.basename(i))[0])
                                                     for i in included if os.path.splitext(os.path.basename(i))[0] != unit[1])
    found = []
    for start in sorted(edges):
        seen, todo = set(), list(edges[start])
        while todo:
            unit = todo.pop()
            if unit == start:
                found.append("/".join(start))
                break
            if unit not in seen:
                seen.add(unit)
                todo.extend(edges.get(unit, ()))
    return found


class LayeringTest(unittest.TestCase):
    def test_includes_run_downward(self):
        found = upward_includes(os.environ.get("WG_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..")))
        self.assertFalse(found, "includes against the layer order:\n" + "\n".join(found))

    def test_no_two_units_of_a_folder_include_each_other(self):
        found = include_circles(os.environ.get("WG_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..")))
        self.assertFalse(found, "units in an include circle: " + " ".join(found))
