"""The Debian package that scripts/package builds (WG_PACKAGE): the files of
the install, dependencies computed from the binary, and the program
unpacked from it runs."""

import os
import subprocess
import sys

from test_install import INSTALLED

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import Session, XServer  # noqa: E402

PACKAGE = os.environ["WG_PACKAGE"]


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    assert done.returncode == 0, "%s: %s" % (" ".join(command), done.stderr)
    return done.stdout


def test_the_package_holds_the_installed_files():
    listed = {line.split()[-1][2:] for line in run("dpkg-deb", "-c", PACKAGE).splitlines()}
    assert {path for path in listed if not path.endswith("/")} == INSTALLED
    assert run("dpkg-deb", "-f", PACKAGE, "Package", "Version") == "Package: wire-gate\nVersion: %s\n" % (
        os.environ.get("WG_VERSION", "1.0.0"))


def test_the_dependencies_are_the_packages_of_the_libraries_the_program_needs(tmp_path):
    run("dpkg", "-x", PACKAGE, str(tmp_path))
    program = str(tmp_path / "usr/bin/wire_gate")
    needed = [line.split("[")[1].rstrip("]") for line in run("readelf", "-d", program).splitlines()
              if "(NEEDED)" in line]
    resolved = dict(line.split(" => ") for line in run("ldd", program).split("\n\t") if " => " in line)
    # /lib and /usr/lib are one folder (merged /usr); dpkg knows one of the two names.
    owners = set()
    for so in needed:
        folder = os.path.basename(os.path.dirname(resolved[so].split(" (")[0]))
        owners.add(run("dpkg", "-S", "*/%s/%s" % (folder, so)).split(":")[0])
    depends = {item.split()[0].split(":")[0] for item in run("dpkg-deb", "-f", PACKAGE, "Depends").split(",")}
    assert depends == owners


def test_the_program_unpacked_from_the_package_runs_and_quits_on_q(tmp_path):
    run("dpkg", "-x", PACKAGE, str(tmp_path))
    x = XServer(640, 480)
    try:
        s = Session(x, str(tmp_path / "usr/bin/wire_gate"), {"HALL_MESH_MODE": None, "HALL_MESH_FOG": None})
        s.wait_for_window()
        s.wait_fullscreen()
        for line in ("MESHMODE: 2", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1"):
            s.wait_for_line(line)
        s.key("q")
        s.assert_ended()
        assert s.err == []
    finally:
        x.stop()
