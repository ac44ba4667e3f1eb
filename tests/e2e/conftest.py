"""`program(env, args, wrapper)` starts WG_BINARY (none of the caller's HALL_MESH_*) on an Xvfb of the case's
own (1920x1080 or a `screen` mark's size). After every case it is stopped, and the case fails on a GL error
line or sanitizer report in its stderr. Screenshots, on failure output and screen: WG_E2E_ARTIFACTS/<test>/."""

import os
import pathlib
import re

import pytest

pytest.register_assert_rewrite("harness")  # its asserts explain themselves too
from harness import Session, XServer  # noqa: E402

SETTINGS = ("HALL_MESH_MODE", "HALL_MESH_BOUNDING", "HALL_MESH_INTERVAL", "HALL_MESH_FOG")
# libgr's GL error lines ("<label>: Error <code>: <text>") and sanitizer reports
PROBLEM = re.compile(r"(^|: )Error \d+: |==\d+==ERROR: \w*Sanitizer|^SUMMARY: \w*Sanitizer|: runtime error: ")


def pytest_configure(config):
    config.addinivalue_line("markers", "screen(width, height): the size of the case's X screen")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    setattr(item, "report_" + report.when, report)  # for the fixtures' teardown


@pytest.fixture
def xserver(request):
    mark = request.node.get_closest_marker("screen")
    server = XServer(*(mark.args if mark else ()))
    yield server
    server.stop()


@pytest.fixture
def program(xserver, request):
    binary, artifacts = os.environ.get("WG_BINARY", ""), os.environ.get("WG_E2E_ARTIFACTS")
    assert os.access(binary, os.X_OK), "WG_BINARY must name the built wire_gate program (got %r)" % binary
    name = re.sub(r"[^\w.=+-]+", "_", "%s.%s" % (request.module.__name__, request.node.name))[:100]
    sessions = []

    def start(env=None, args=(), wrapper=()):
        folder = artifacts and os.path.join(artifacts, name + ("-%d" % len(sessions) if sessions else ""))
        sessions.append(Session(xserver, binary, {**dict.fromkeys(SETTINGS), **(env or {})}, args, wrapper, folder))
        return sessions[-1]

    yield start
    failed, found = not getattr(request.node, "report_call", None) or request.node.report_call.failed, []
    for s in sessions:
        if failed:
            s.screenshot("failure")
        s.stop()
        found += [line for line in s.err if PROBLEM.search(line)]
        if (failed or found) and s.folder:
            os.makedirs(s.folder, exist_ok=True)
            for stream, lines in (("stdout", s.out), ("stderr", s.err)):
                pathlib.Path(s.folder, stream + ".txt").write_text("\n".join(lines) + "\n")
    if found:
        pytest.fail("GL errors or sanitizer reports on the program's stderr:\n" + "\n".join(found[:40]), False)
