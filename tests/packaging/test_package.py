"""The Debian package that scripts/package builds (WG_PACKAGE): the files of the install, dependencies computed from the
binary, Debian's own checks (lintian) pass, and the program unpacked from it runs and names the tour it ships."""

import os
import re
import subprocess

from test_install import INSTALLED, desktop_commands, tour_of

from tests.e2e.harness import Session, XServer  # run from the repository's top: python3 -m pytest

PACKAGE = os.environ["WG_PACKAGE"]


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    assert done.returncode == 0, "%s: %s" % (" ".join(command), done.stderr)
    return done.stdout


def test_the_package_holds_the_installed_files():
    listed = {line.split()[-1][2:] for line in run("dpkg-deb", "-c", PACKAGE).splitlines()}
    assert {path for path in listed if not path.endswith("/")} == {"usr/" + path for path in INSTALLED}
    assert run("dpkg-deb", "-f", PACKAGE, "Package", "Version", "Section") == (
        "Package: wire-gate\nVersion: %s\nSection: graphics\n" % os.environ.get("WG_VERSION", "1.0.0"))


def test_the_packaged_help_and_desktop_action_name_the_packaged_tour(tmp_path):
    run("dpkg", "-x", PACKAGE, str(tmp_path))
    usage = run(str(tmp_path / "usr/bin/wire_gate"), "--help")
    tour = tour_of(usage.splitlines()[-1].split(": ", 1)[1])
    _, action = desktop_commands(tmp_path / "usr/share/applications/wire_gate.desktop")
    assert tour == tour_of(action) == "/usr/share/wire-gate/flights/tour.flight"
    assert (tmp_path / tour.lstrip("/")).is_file()


def test_lintian_pedantic_finds_no_error_or_warning():
    done = subprocess.run(["lintian", "--pedantic", "--display-info", "--fail-on", "error,warning", PACKAGE],
                          capture_output=True, text=True)
    lines = done.stdout.splitlines()
    bad = [line for line in lines if line.startswith(("E:", "W:"))]
    assert not bad, "lintian:\n" + "\n".join(bad)
    # Only informational to lintian, but what Debian's strip and hardening flags (scripts/package) are there for.
    bad = [line for line in lines if re.search(r": (binary-has-unneeded-section|hardening-)", line)]
    assert not bad, "lintian:\n" + "\n".join(bad)
    assert done.returncode == 0, done.stdout + done.stderr


def test_the_unpacked_program_needs_exactly_the_dependencies_and_runs(tmp_path):
    run("dpkg", "-x", PACKAGE, str(tmp_path))
    program = str(tmp_path / "usr/bin/wire_gate")
    needed = [line.split("[")[1].rstrip("]") for line in run("readelf", "-d", program).splitlines()
              if "(NEEDED)" in line]
    resolved = dict(line.split(" => ") for line in run("ldd", program).split("\n\t") if " => " in line)
    # /lib and /usr/lib are one folder (merged /usr), of which dpkg knows one name: the search goes by */folder/name.
    folders = {so: os.path.basename(os.path.dirname(resolved[so].split(" (")[0])) for so in needed}
    owners = {run("dpkg", "-S", "*/%s/%s" % (folders[so], so)).split(":")[0] for so in needed}
    assert {item.split()[0].split(":")[0] for item in run("dpkg-deb", "-f", PACKAGE, "Depends").split(",")} == owners
    x = XServer(640, 480)
    try:
        s = Session(x, program, dict.fromkeys("HALL_MESH_" + name for name in ("MODE", "BOUNDING", "INTERVAL", "FOG")))
        s.wait_for_window()
        s.wait_fullscreen()
        s.key("q")
        s.assert_ended()
        assert (s.out[-6:-2], s.err) == (["MESHMODE: 2", "BOUNDING: 1000", "INTERVAL: 50", "MESH_FOG: 1"], [])
    finally:
        x.stop()
