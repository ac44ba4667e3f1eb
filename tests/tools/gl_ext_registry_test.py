"""The generated extension table, recounted from the registry it came from.

Environment: GL_EXT_GENERATED_DIR (the generator's output folder) and
GL_EXT_REGISTRY_DIR (the folder holding gl.xml and wgl.xml).
"""

import os
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

GENERATED = os.environ["GL_EXT_GENERATED_DIR"]
REGISTRY = os.environ["GL_EXT_REGISTRY_DIR"]
GENERATOR = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "gen_gl_ext.py")

VERSION_COUNTS = {
    "1_2": 4, "1_3": 46, "1_4": 47, "1_5": 19, "2_0": 93, "2_1": 6, "3_0": 84, "3_1": 12,
    "3_2": 19, "3_3": 58, "4_0": 46, "4_1": 88, "4_2": 12, "4_3": 43, "4_4": 9, "4_5": 122,
    "4_6": 4,
}


def generated_rows():
    """{row name: [commands]} read back from the generated source, in order."""
    with open(os.path.join(GENERATED, "gl_ext_table.cpp"), encoding="utf-8") as f:
        text = f.read()
    entries = {m[1]: re.findall(r'"(\w+)"', m[2])
               for m in re.finditer(r"entries_(\w+)\[\] = \{(.*)\};", text)}
    table = re.findall(r'\{"(\w+)", &has_\1, load_\1, (?:entries_\1|nullptr), (\d+)\}', text)
    rows = {}
    for name, count in table:
        rows[name] = entries.get(name, [])
        assert len(rows[name]) == int(count), name
    return rows


def expected_owners():
    """Command -> owning row, decided command by command from the XML."""
    gl = ET.parse(os.path.join(REGISTRY, "gl.xml")).getroot()
    wgl = ET.parse(os.path.join(REGISTRY, "wgl.xml")).getroot()

    def required(element, api):
        return {c.get("name") for r in element.iter("require")
                if r.get("api", api) == api for c in r.iter("command")}

    first_version = {}
    for feature in gl.iter("feature"):
        if feature.get("api") != "gl":
            continue
        number = tuple(map(int, feature.get("number").split(".")))
        for c in required(feature, "gl"):
            if c not in first_version or number < first_version[c][0]:
                first_version[c] = (number, feature.get("name"))
    core_of_platform = {c for c, (n, _) in first_version.items() if n < (1, 2)}
    for feature in wgl.iter("feature"):
        core_of_platform |= required(feature, "wgl")

    owners, extension_rows = {}, []
    for root, api in ((gl, "gl"), (wgl, "wgl")):
        for ext in root.iter("extension"):
            if api in ext.get("supported", "").split("|"):
                extension_rows.append(ext.get("name"))
                for c in required(ext, api):
                    owners.setdefault(c, ext.get("name"))
    for c, (number, name) in first_version.items():
        owners[c] = name
    for c in core_of_platform:
        owners.pop(c, None)
    return owners, extension_rows


class GeneratedTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.rows = generated_rows()
        cls.owners, cls.extension_rows = expected_owners()

    def test_rows_are_versions_then_extensions(self):
        versions = [f"GL_VERSION_{v}" for v in VERSION_COUNTS]
        self.assertEqual(list(self.rows), versions + self.extension_rows)

    def test_every_command_in_its_row_exactly_once(self):
        placed = {}
        for name, commands in self.rows.items():
            for c in commands:
                self.assertNotIn(c, placed, f"{c} in {placed.get(c)} and {name}")
                placed[c] = name
        self.assertEqual(placed, self.owners)

    def test_version_row_counts(self):
        for v, count in VERSION_COUNTS.items():
            self.assertEqual(len(self.rows[f"GL_VERSION_{v}"]), count, v)

    def test_program_entry_points(self):
        self.assertIn("glActiveTextureARB", self.rows["GL_ARB_multitexture"])
        self.assertIn("glBindImageTexture", self.rows["GL_VERSION_4_2"])
        self.assertIn("glGetTextureLevelParameteriv", self.rows["GL_VERSION_4_5"])
        self.assertIn("glGetTextureImage", self.rows["GL_VERSION_4_5"])
        self.assertEqual(self.rows["GL_ARB_framebuffer_object"], [])

    def test_counts_file_agrees(self):
        with open(os.path.join(GENERATED, "gl_ext_counts.txt"), encoding="utf-8") as f:
            counts = f.read()
        total = sum(len(c) for c in self.rows.values())
        self.assertIn(f"rows {len(self.rows)} ", counts)
        self.assertIn(f"entry points {total} ", counts)


class GeneratorFailureTest(unittest.TestCase):
    def run_generator(self, gl_xml):
        with tempfile.TemporaryDirectory() as out:
            wgl = os.path.join(REGISTRY, "wgl.xml")
            result = subprocess.run([sys.executable, GENERATOR, gl_xml, wgl, out],
                                    capture_output=True, text=True)
            left = os.listdir(out)
        return result, left

    def test_missing_registry(self):
        result, left = self.run_generator("/nonexistent/gl.xml")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("cannot read /nonexistent/gl.xml", result.stderr)
        self.assertEqual(left, [])

    def test_malformed_registry(self):
        with tempfile.NamedTemporaryFile("w", suffix=".xml") as bad:
            with open(os.path.join(REGISTRY, "gl.xml"), encoding="utf-8") as good:
                bad.write(good.read()[:200000])  # cut off mid-document
            bad.flush()
            result, left = self.run_generator(bad.name)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("malformed XML", result.stderr)
        self.assertEqual(left, [])

    def test_registry_without_commands(self):
        with tempfile.NamedTemporaryFile("w", suffix=".xml") as bad:
            bad.write("<registry><feature/><extensions/></registry>")
            bad.flush()
            result, _ = self.run_generator(bad.name)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("no <commands>", result.stderr)


if __name__ == "__main__":
    unittest.main()
