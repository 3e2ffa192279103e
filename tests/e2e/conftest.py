# Fixtures for the end-to-end tests: one Xorg dummy server and one Wine prefix per run (code page
# 932, sound into files), the start screen size around every test, and the paths ctest hands over.
import os
import re
from pathlib import Path

import pytest

import sound
import xserver
from windows import JAPANESE, RENDERER, primed_helper
from wine import opened_session


def required_env(name):
    value = os.environ.get(name)
    if not value:
        pytest.fail(f"{name} is not set; ctest sets it (see tests/e2e/CMakeLists.txt)",
                    pytrace=False)
    return value


@pytest.fixture(scope="session")
def work_dir():
    path = Path(required_env("VITRELUX_E2E_WORK")).resolve()
    path.mkdir(parents=True, exist_ok=True)
    return path


@pytest.fixture(scope="session")
def dist():
    path = Path(required_env("VITRELUX_DIST"))
    assert (path / RENDERER).is_file(), f"no {RENDERER} in {path}"
    return path


@pytest.fixture(scope="session")
def x_server(work_dir):
    """The X server the programs run on: Xorg whose modes really change. A test file that needs
    another kind of screen has a fixture of this name of its own."""
    server = xserver.XServer(work_dir / "x").start()
    yield server
    server.stop()


@pytest.fixture(scope="session")
def sound_capture(work_dir):
    return sound.SoundCapture(work_dir / "home").install()


@pytest.fixture(scope="session")
def wine_session_env(sound_capture):
    """Every Wine process runs with code page 932, as on a Japanese Windows, and plays into the
    sound capture, there being no sound card."""
    return {**JAPANESE, **sound_capture.env}


@pytest.fixture(scope="session")
def wine(work_dir, x_server, wine_session_env, dist):
    yield from opened_session(work_dir / "prefix", x_server.display, work_dir / "logs", wine_session_env,
                              dist / RENDERER)


@pytest.fixture(scope="session")
def helper_exe():
    return required_env("VITRELUX_E2E_HELPER")


@pytest.fixture(scope="session")
def helper(wine, helper_exe):
    return primed_helper(wine, helper_exe)


@pytest.fixture(autouse=True)
def start_size(x_server):
    """Wine does not restore the mode of a killed program, so every test starts and ends at
    the start size whatever the previous one left."""
    if x_server.has_modes:
        xserver.set_size(x_server.display, xserver.START_SIZE)
    yield
    if x_server.has_modes:
        xserver.set_size(x_server.display, xserver.START_SIZE)


def named_after_test(parent, request):
    """A folder under parent named after the running test."""
    return parent / re.sub(r"[^A-Za-z0-9_.-]+", "_", request.node.name)


@pytest.fixture
def shots(work_dir, request):
    return named_after_test(work_dir / "shots", request)


@pytest.fixture
def test_dir(work_dir, request):
    return named_after_test(work_dir / "saver", request)
