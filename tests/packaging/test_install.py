"""What `cmake --install` puts on a system: exactly the program, its manual page, the desktop entry and the README; the
manual page and the desktop entry pass their linters."""

import os
import pathlib
import re
import subprocess

BUILD, VERSION = os.environ.get("WG_BUILD_DIR", "build"), os.environ.get("WG_VERSION", "")
INSTALLED = {"usr/bin/wire_gate", "usr/share/man/man6/wire_gate.6.gz", "usr/share/applications/wire_gate.desktop",
             "usr/share/doc/wire-gate/README.md"}


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def test_install_into_a_destdir_holds_exactly_the_expected_files(tmp_path):
    done = run("cmake", "--install", BUILD, "--prefix", "/usr", env=dict(os.environ, DESTDIR=str(tmp_path)))
    assert done.returncode == 0, done.stderr
    assert {str(path.relative_to(tmp_path)) for path in tmp_path.rglob("*") if not path.is_dir()} == INSTALLED
    assert os.access(tmp_path / "usr/bin/wire_gate", os.X_OK)


def test_the_manual_page_lints_clean_and_carries_the_version():
    page = os.path.join(BUILD, "packaging", "wire_gate.6")
    lint = run("mandoc", "-T", "lint", "-W", "style", page)
    assert (lint.returncode, lint.stdout + lint.stderr) == (0, "")
    text = re.sub(".\b", "", run("mandoc", "-T", "ascii", page).stdout)  # no overstrike
    assert [word for word in ("wire_gate %s" % VERSION, "HALL_MESH_MODE", "HALL_MESH_BOUNDING", "HALL_MESH_INTERVAL",
                              "HALL_MESH_FOG", "EXIT STATUS", "EXAMPLES", "-geometry", "my_exit(0)")
            if word not in text] == []


def test_the_desktop_entry_validates_and_starts_the_installed_program():
    entry = pathlib.Path(__file__).parents[2] / "packaging" / "wire_gate.desktop"
    check = run("desktop-file-validate", str(entry))
    assert (check.returncode, check.stdout + check.stderr) == (0, "")
    assert "Exec=wire_gate\n" in entry.read_text()
