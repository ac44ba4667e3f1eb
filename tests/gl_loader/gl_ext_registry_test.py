"""The generated extension table (in GL_EXT_GENERATED_DIR) recounted from the registry in GL_EXT_REGISTRY_DIR."""

import collections
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

GENERATED, REGISTRY = (pathlib.Path(os.environ[f"GL_EXT_{d}_DIR"]) for d in ("GENERATED", "REGISTRY"))
GENERATOR = pathlib.Path(__file__).resolve().parents[2] / "tools" / "gen_gl_ext.py"
VERSION_COUNTS = {"1_2": 4, "1_3": 46, "1_4": 47, "1_5": 19, "2_0": 93, "2_1": 6, "3_0": 84, "3_1": 12, "3_2": 19,
                  "3_3": 58, "4_0": 46, "4_1": 88, "4_2": 12, "4_3": 43, "4_4": 9, "4_5": 122, "4_6": 4}


def generated_rows():
    """{row name: [commands]} read back from the generated source, in order."""
    text = (GENERATED / "gl_ext_table.cpp").read_text()
    entries = {m[1]: re.findall(r'"(\w+)"', m[2]) for m in re.finditer(r"entries_(\w+)\[\] = \{(.*)\};", text)}
    table = re.findall(r'\{"(\w+)", &has_\1, load_\1, (?:entries_\1|nullptr), (\d+)\}', text)
    assert all(len(entries.get(name, [])) == int(count) for name, count in table)
    return {name: entries.get(name, []) for name, _ in table}


def expected_owners():
    """Command -> owning row, decided from the XML alone; the extension rows."""
    gl, wgl = (ET.parse(REGISTRY / name).getroot() for name in ("gl.xml", "wgl.xml"))

    def required(element, api):
        return {c.get("name") for r in element.iter("require") if r.get("api", api) == api for c in r.iter("command")}

    owners, extension_rows = {}, []  # the lowest version requiring a command, else the first extension
    for feature in sorted(gl.findall("feature[@api='gl']"), key=lambda f: float(f.get("number"))):
        owners.update({c: feature.get("name") for c in required(feature, "gl") if c not in owners})
    platform = {c for c, row in owners.items() if row < "GL_VERSION_1_2"}  # GL 1.0, 1.1 and WGL 1.0
    platform = platform.union(*(required(feature, "wgl") for feature in wgl.iter("feature")))
    for root, api in ((gl, "gl"), (wgl, "wgl")):
        for ext in (e for e in root.iter("extension") if api in e.get("supported", "").split("|")):
            extension_rows.append(ext.get("name"))
            owners.update({c: ext.get("name") for c in required(ext, api) if c not in owners})
    return {c: row for c, row in owners.items() if c not in platform}, extension_rows


class GeneratedTableTest(unittest.TestCase):
    rows = generated_rows()
    owners, extension_rows = expected_owners()
    names = [f"GL_VERSION_{v}" for v in VERSION_COUNTS] + extension_rows

    def test_rows_and_every_command_in_its_row_exactly_once(self):
        self.assertEqual(list(self.rows), self.names)
        placed = {c: name for name, commands in self.rows.items() for c in commands}
        self.assertEqual(len(placed), sum(map(len, self.rows.values())), "a command in two rows")
        self.assertEqual(placed, self.owners)
        required = {"glActiveTextureARB": "GL_ARB_multitexture", "glBindImageTexture": "GL_VERSION_4_2",
                    "glGetTextureLevelParameteriv": "GL_VERSION_4_5", "glGetTextureImage": "GL_VERSION_4_5"}
        self.assertEqual({c: placed.get(c) for c in required}, required)

    def test_printed_counts_agree_with_the_registry(self):
        per_row = collections.Counter(self.owners.values())
        self.assertEqual({v: per_row[f"GL_VERSION_{v}"] for v in VERSION_COUNTS}, VERSION_COUNTS)
        gl_rows = [n for n in self.names if n.startswith("GL_")]
        gl_points = sum(per_row[n] for n in gl_rows)
        expected = {f"rows {len(self.names)} (GL {len(gl_rows)}, WGL {len(self.names) - len(gl_rows)})",
                    f"entry points {len(self.owners)} (GL {gl_points}, WGL {len(self.owners) - gl_points})",
                    f"rows without entry points {len(self.names) - len(per_row)}"}
        expected |= {f"version GL_VERSION_{v} {n}" for v, n in VERSION_COUNTS.items()}
        prefixes = collections.Counter("_".join(n.split("_")[:2]) for n in self.extension_rows)
        self.assertEqual(set((GENERATED / "gl_ext_counts.txt").read_text().splitlines()),
                         expected | {f"prefix {p} {n}" for p, n in prefixes.items()})

    def test_missing_malformed_or_empty_registry_stops_the_generator_writing_nothing(self):
        cut_off = (REGISTRY / "gl.xml").read_text()[:200000]  # ends mid-document
        for content, message in ((None, "cannot read {}"), (cut_off, "malformed XML"),
                                 ("<registry><feature/><extensions/></registry>", "no <commands>")):
            with self.subTest(message), tempfile.TemporaryDirectory() as tmp:
                gl_xml, out = pathlib.Path(tmp, "gl.xml"), pathlib.Path(tmp, "out")
                if content is not None:
                    gl_xml.write_text(content)
                result = subprocess.run([sys.executable, GENERATOR, gl_xml, REGISTRY / "wgl.xml", out],
                                        capture_output=True, text=True)
                self.assertTrue(result.returncode != 0 and message.format(gl_xml) in result.stderr, result.stderr)
                self.assertFalse(out.exists(), "nothing is written")
