"""What `cmake --install` puts on a system: exactly the program, its manual page, the desktop entry, the tour flight,
the README and Debian's copyright file and changelog, only under the prefix configured; the manual page and the desktop
entry pass their linters and name the installed tour, the changelog names the project's version and date and the
copyright file the terms of LICENSE."""

import configparser
import datetime
import os
import pathlib
import re
import subprocess

SOURCE = pathlib.Path(__file__).parents[2]
BUILD, VERSION = os.environ.get("WG_BUILD_DIR", "build"), os.environ.get("WG_VERSION", "")
DATE, PREFIX = os.environ.get("WG_DATE", ""), os.environ.get("WG_PREFIX", "/usr/local").rstrip("/")
# Under the prefix.
INSTALLED = {"bin/wire_gate", "share/man/man6/wire_gate.6.gz", "share/applications/wire_gate.desktop",
             "share/wire-gate/flights/tour.flight", "share/doc/wire-gate/README.md", "share/doc/wire-gate/copyright",
             "share/doc/wire-gate/changelog.gz"}


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def test_install_into_a_destdir_holds_exactly_the_expected_files(tmp_path):
    done = run("cmake", "--install", BUILD, env=dict(os.environ, DESTDIR=str(tmp_path)))
    assert done.returncode == 0, done.stderr
    root = tmp_path / PREFIX.lstrip("/")
    assert {str(path.relative_to(root)) for path in tmp_path.rglob("*") if not path.is_dir()} == INSTALLED
    assert os.access(root / "bin/wire_gate", os.X_OK)
    assert (root / "share/wire-gate/flights/tour.flight").read_bytes() == (SOURCE / "flights/tour.flight").read_bytes()


def test_an_install_under_another_prefix_is_refused(tmp_path):
    done = run("cmake", "--install", BUILD, "--prefix", str(tmp_path / "elsewhere"))
    said = " ".join(done.stderr.split())  # CMake wraps its messages
    assert done.returncode != 0 and "configure with -DCMAKE_INSTALL_PREFIX=" in said, said
    assert list(tmp_path.rglob("*")) == []


def manual_page():
    page = os.path.join(BUILD, "packaging", "wire_gate.6")
    return re.sub(".\b", "", run("mandoc", "-T", "ascii", page).stdout)  # no overstrike


def section(text, name):
    return re.search(r"^%s\n(.*?)^(?=\S)" % name, text, re.M | re.S).group(1)


def test_the_manual_page_lints_clean_and_carries_the_version():
    page = os.path.join(BUILD, "packaging", "wire_gate.6")
    lint = run("mandoc", "-T", "lint", "-W", "style", page)
    assert (lint.returncode, lint.stdout + lint.stderr) == (0, "")
    text = manual_page()
    assert [word for word in ("wire_gate %s" % VERSION, "HALL_MESH_MODE", "HALL_MESH_BOUNDING", "HALL_MESH_INTERVAL",
                              "HALL_MESH_FOG", "EXIT STATUS", "EXAMPLES", "-geometry", "my_exit(0)")
            if word not in text] == []


def test_the_manual_page_has_the_options_of_the_usage_text_the_flight_format_and_the_tour():
    usage = run(os.path.join(BUILD, "wire_gate"), "--help").stdout
    text = manual_page()
    option = r"(?<![\w-])--?[a-z]+"
    assert set(re.findall(option, usage)) - set(re.findall(option, section(text, "OPTIONS"))) == set()
    flights = " ".join(section(text, "FLIGHT FILES").split())
    assert [word for word in ("wire_gate flight 1", "setting HALL_MESH_FOG 1", "stick 4 2", "msec press key",
                              "msec release key", "msec time left|right|up|down", "msec stick a0 .. buttons b",
                              "msec end", "#", "file:line: what is wrong", "status 2") if word not in flights] == []
    assert re.search(r"^ +timedemo: \d+ frames in [\d.]+ s, [\d.]+ fps; frame ms median [\d.]+, 95th [\d.]+, "
                     r"99th [\d.]+$", section(text, "OUTPUT"), re.M)
    assert re.search(r"^ +2 for a wrong command line, a flight", section(text, "EXIT STATUS"), re.M)
    tour = tour_of(usage.splitlines()[-1].split(": ", 1)[1])
    assert section(text, "FILES").split()[0] == tour


def desktop_commands(path):
    """The Exec lines of a desktop entry: its own, then its tour action's."""
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str  # keys are case sensitive
    entry.read(path)
    assert entry["Desktop Entry"]["Actions"] == "tour;"
    return entry["Desktop Entry"]["Exec"], entry["Desktop Action tour"]["Exec"]


def tour_of(command):
    """The flight a `wire_gate --replay FILE --loop` command flies."""
    words = command.split()
    assert words[:2] == ["wire_gate", "--replay"] and words[3:] == ["--loop"], command
    return words[2]


def test_the_desktop_entry_validates_and_starts_the_program_and_the_installed_tour():
    entry = os.path.join(BUILD, "packaging", "wire_gate.desktop")
    check = run("desktop-file-validate", entry)
    assert (check.returncode, check.stdout + check.stderr) == (0, "")
    program, tour = desktop_commands(entry)
    assert program == "wire_gate"
    assert os.path.relpath(tour_of(tour), PREFIX) in INSTALLED


def test_the_changelog_carries_the_version_and_date_and_the_copyright_file_the_licence():
    log = run("dpkg-parsechangelog", "-l", os.path.join(BUILD, "packaging", "changelog"))
    assert log.returncode == 0 and log.stderr == "", log.stderr
    fields = dict(line.split(": ", 1) for line in log.stdout.splitlines() if not line.startswith(" ") and ": " in line)
    day = datetime.datetime.fromtimestamp(int(fields["Timestamp"]), datetime.timezone.utc)
    assert (fields["Source"], fields["Version"], day.isoformat()) == ("wire-gate", VERSION, DATE + "T00:00:00+00:00")
    licence = (SOURCE / "LICENSE").read_text()
    holder = re.search(r"^Copyright \(c\) (.+)$", licence, re.M).group(1)
    terms = [line or "." for line in licence.split(holder + "\n\n", 1)[1].rstrip("\n").split("\n")]
    copyright = (pathlib.Path(BUILD) / "packaging" / "copyright").read_text()
    assert "\nFiles: *\nCopyright: %s\nLicense: Expat\n %s\n" % (holder, "\n ".join(terms)) in copyright
