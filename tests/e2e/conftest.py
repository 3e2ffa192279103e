# Fixtures for the end-to-end tests: one Xorg dummy server and one Wine prefix per run,
# the start screen size around every test, and the paths that ctest hands over.
import os
import re
from pathlib import Path

import pytest

import renderer
import xserver
from wine import Wine


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
    assert (path / "Vitrelux.dll").is_file(), f"no Vitrelux.dll in {path}"
    return path


@pytest.fixture(scope="session")
def xorg(work_dir):
    server = xserver.XServer(work_dir / "x").start()
    yield server
    server.stop()


@pytest.fixture(scope="session")
def wine(work_dir, xorg):
    session = Wine(work_dir / "prefix", xorg.display, work_dir / "logs")
    try:
        yield session.open_prefix()
    finally:
        session.close()


@pytest.fixture(scope="session")
def helper(wine):
    helper = renderer.Helper(wine, required_env("VITRELUX_E2E_HELPER"))
    # NOTE: the first Wine start in a prefix takes seconds; pay for it before any test waits.
    helper.screen()
    return helper


@pytest.fixture(autouse=True)
def start_size(xorg):
    """Wine does not restore the mode of a killed program, so every test starts and ends at
    the start size whatever the previous one left."""
    xserver.set_size(xorg.display, xserver.START_SIZE)
    yield
    xserver.set_size(xorg.display, xserver.START_SIZE)


@pytest.fixture
def shots(work_dir, request):
    return work_dir / "shots" / re.sub(r"[^A-Za-z0-9_.-]+", "_", request.node.name)
