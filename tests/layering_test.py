"""Includes run one way, downward. Every quoted #include of the product code
must name its own folder or a folder of a lower layer; bench/ and tests/ may
use everything. A failure names the file, the line and the include."""

import os
import re
import unittest

# Bottom up; folders on one line are one layer and do not use each other.
LAYERS = [("gl_loader", "utilities"), ("graphics",), ("framework", "input"), ("scene",), ("shell",)]
RANK = {folder: rank for rank, layer in enumerate(LAYERS) for folder in layer}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def upward_includes(root):
    """(file:line, include, why) for every include against the layer order."""
    found = []
    for folder, rank in sorted(RANK.items()):
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            with open(os.path.join(root, path), encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = match.group(1).split("/")[0]
                    if target == folder:
                        continue
                    if target not in RANK:
                        why = "not a folder of the product"
                    elif RANK[target] >= rank:
                        lower = [f for f, r in sorted(RANK.items()) if r < rank]
                        why = "%s may use only %s" % (folder, ", ".join(lower) or "itself")
                    else:
                        continue
                    found.append(("%s:%d" % (path, number), match.group(1), why))
    return found


class LayeringTest(unittest.TestCase):
    def test_includes_run_downward(self):
        root = os.environ.get("WG_SOURCE_DIR", os.path.join(os.path.dirname(__file__), ".."))
        found = upward_includes(root)
        if found:
            self.fail("includes against the layer order:\n" + "\n".join('%s: #include "%s": %s' % f for f in found))


if __name__ == "__main__":
    unittest.main()
