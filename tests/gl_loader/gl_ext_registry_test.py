"""The generated extension table (in GL_EXT_GENERATED_DIR) recounted from the registry in GL_EXT_REGISTRY_DIR."""

import collections
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
    rows = {name: entries.get(name, []) for name, _ in table}
    assert all(len(rows[name]) == int(count) for name, count in table)
    return rows


def expected_owners():
    """Command -> owning row, decided command by command from the XML; extension rows."""
    gl, wgl = (ET.parse(os.path.join(REGISTRY, name)).getroot() for name in ("gl.xml", "wgl.xml"))

    def required(element, api):
        return {c.get("name") for r in element.iter("require")
                if r.get("api", api) == api for c in r.iter("command")}

    first_version = {}
    for feature in gl.iter("feature"):
        if feature.get("api") == "gl":
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
    owners.update({c: name for c, (_, name) in first_version.items()})
    return {c: o for c, o in owners.items() if c not in core_of_platform}, extension_rows


class GeneratedTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.rows = generated_rows()
        cls.owners, cls.extension_rows = expected_owners()

    def test_rows_and_every_command_in_its_row_exactly_once(self):
        self.assertEqual(list(self.rows), [f"GL_VERSION_{v}" for v in VERSION_COUNTS] + self.extension_rows)
        placed = {}
        for name, commands in self.rows.items():
            for c in commands:
                self.assertIsNone(placed.get(c), f"{c} also in {name}")
                placed[c] = name
        self.assertEqual(placed, self.owners)
        for command, row in (("glActiveTextureARB", "GL_ARB_multitexture"), ("glBindImageTexture", "GL_VERSION_4_2"),
                             ("glGetTextureLevelParameteriv", "GL_VERSION_4_5"), ("glGetTextureImage", "GL_VERSION_4_5")):
            self.assertEqual(placed[command], row)
        self.assertEqual(self.rows["GL_ARB_framebuffer_object"], [])  # all of it is GL 3.0

    def test_printed_counts_agree_with_the_registry(self):
        per_row = collections.Counter(self.owners.values())
        self.assertEqual({v: per_row[f"GL_VERSION_{v}"] for v in VERSION_COUNTS}, VERSION_COUNTS)
        prefixes = collections.Counter("_".join(n.split("_")[:2]) for n in self.extension_rows)
        expected = {f"version GL_VERSION_{v} {n}" for v, n in VERSION_COUNTS.items()}
        expected |= {f"prefix {p} {n}" for p, n in prefixes.items()}
        with open(os.path.join(GENERATED, "gl_ext_counts.txt"), encoding="utf-8") as f:
            lines = f.read().splitlines()
        self.assertEqual(expected - set(lines), set())
        self.assertTrue(lines[0].startswith(f"rows {len(VERSION_COUNTS) + len(self.extension_rows)} ("))
        self.assertTrue(lines[1].startswith(f"entry points {len(self.owners)} ("))


class GeneratorFailureTest(unittest.TestCase):
    def test_missing_malformed_or_empty_registry_stops_the_build(self):
        with open(os.path.join(REGISTRY, "gl.xml"), encoding="utf-8") as good:
            cut_off = good.read()[:200000]  # ends mid-document
        for content, message in ((None, "cannot read {}"), (cut_off, "malformed XML"),
                                 ("<registry><feature/><extensions/></registry>", "no <commands>")):
            with self.subTest(message), tempfile.TemporaryDirectory() as tmp:
                gl_xml, out = os.path.join(tmp, "gl.xml"), os.path.join(tmp, "out")
                if content is not None:
                    with open(gl_xml, "w", encoding="utf-8") as f:
                        f.write(content)
                result = subprocess.run([sys.executable, GENERATOR, gl_xml, os.path.join(REGISTRY, "wgl.xml"), out],
                                        capture_output=True, text=True)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(message.format(gl_xml), result.stderr)
                self.assertFalse(os.path.exists(out), "nothing is written")


if __name__ == "__main__":
    unittest.main()
