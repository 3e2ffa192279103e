# End-to-end tests of this build's Windows Installer package under Wine, in a prefix of its own:
# a quiet install and the show started from the system folder, the saver option, an upgrade, a
# refused downgrade, and a removal that leaves nothing of ours behind.
import shutil
import struct
import sys
from pathlib import Path, PureWindowsPath

import pytest

import saver
from waiting import wait_until
from windows import (DESKTOP_KEY, OLD_SNAPSHOT_FOLDER, RENDERER, RENDERER_TITLE, SCREEN_SAVER, SNAPSHOT_NAME,
                     primed_helper)
from wine import opened_session, windows_path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "package"))
from packages import build_package, built_package, version  # noqa: E402

SYSTEM_FOLDER = PureWindowsPath("C:/windows/system32")
PROGRAMS = (SCREEN_SAVER, RENDERER)
SAVER_VALUE = "SCRNSAVE.EXE"
ACTIVE_VALUE = "ScreenSaveActive"
OUR_SAVER = str(SYSTEM_FOLDER / SCREEN_SAVER)
OTHER_SAVER = str(SYSTEM_FOLDER / "Mystify.scr")
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
ERROR_INSTALL_FAILURE = 1603
OLDER = "0.9.0"
FIXED_FILE_INFO = struct.pack("<I", 0xFEEF04BD)


@pytest.fixture(scope="module")
def fresh_wine(work_dir, x_server, wine_session_env, dist):
    """A new prefix, so that nothing another test installed or wrote is there."""
    prefix = work_dir / "package-prefix"
    shutil.rmtree(prefix, ignore_errors=True)
    yield from opened_session(prefix, x_server.display, work_dir / "logs-package", wine_session_env, dist / RENDERER)


class Installer:
    """msiexec and the registry in the fresh prefix, through the helper (whole exit codes)."""

    def __init__(self, wine, helper, log_dir):
        self.wine = wine
        self.helper = helper
        self.log_dir = log_dir
        self.runs = 0

    def msiexec(self, *args):
        self.runs += 1
        log = self.log_dir / f"msiexec-{self.runs}.log"
        code, lines = self.helper.run("run", " ".join(["msiexec", *args, "/qn", "/l*v", windows_path(log)]))
        assert code == 0, "the helper could not start msiexec"
        return int(lines[0])

    def install(self, package, *properties):
        return self.msiexec("/i", windows_path(package), *properties)

    def uninstall(self, package):
        return self.msiexec("/x", windows_path(package))

    def reg(self, *args):
        return self.wine.call("reg", list(args))

    def desktop_value(self, name):
        code, out = self.reg("query", DESKTOP_KEY, "/v", name)
        if code != 0:
            return None
        return out.split("REG_SZ", 1)[1].strip()

    def set_desktop_value(self, name, value):
        assert self.reg("add", DESKTOP_KEY, "/v", name, "/d", value, "/f")[0] == 0

    def saver(self):
        return self.desktop_value(SAVER_VALUE)

    def pick_saver(self, path):
        self.set_desktop_value(SAVER_VALUE, path)

    def versions(self):
        """The version of every product Apps & Features would list as Vitrelux."""
        code, out = self.reg("query", UNINSTALL_KEY, "/s")
        listed, name = [], None
        for line in out.splitlines():
            fields = line.split(None, 2)
            if fields[:2] == ["DisplayName", "REG_SZ"]:
                name = fields[2] if len(fields) > 2 else ""
            elif fields[:2] == ["DisplayVersion", "REG_SZ"] and name == "Vitrelux":
                listed.append(fields[2])
        return listed


@pytest.fixture(scope="module")
def installer(fresh_wine, helper_exe, work_dir):
    helper = primed_helper(fresh_wine, helper_exe)
    return Installer(fresh_wine, helper, work_dir / "logs-package")


def installed(wine, name):
    return wine.drive_c / "windows" / "system32" / name


def with_file_version(program, version):
    """The program's bytes with another file version in its version resource, which is what
    Windows Installer compares when it decides whether to replace an installed file."""
    start = program.index(FIXED_FILE_INFO)
    major, minor, patch = (int(part) for part in version.split("."))
    numbers = struct.pack("<II", major << 16 | minor, patch << 16)
    # After the signature: the structure's version, then the file version's high and low words.
    offset = start + 8
    return program[:offset] + numbers + program[offset + 8:]


def prefix_state(wine):
    """Every file of drive C: but the passing ones, and every registry line that names Vitrelux."""
    passing = ("windows/temp", "windows/installer", "users")
    files = {str(path.relative_to(wine.drive_c)).lower() for path in wine.drive_c.rglob("*")}
    files = {name for name in files if not name.startswith(passing)}
    registry = {line for hive in wine.prefix.glob("*.reg")
                for line in hive.read_text(errors="replace").splitlines() if "vitrelux" in line.lower()}
    return files, registry


def test_quiet_install_then_the_show_from_the_system_folder_then_nothing_left(fresh_wine, installer, dist):
    before = prefix_state(fresh_wine)
    assert installer.install(built_package()) == 0
    for name in PROGRAMS:
        assert installed(fresh_wine, name).read_bytes() == (dist / name).read_bytes(), name
    assert installer.versions() == [version()]
    assert installer.saver() is None, "the saver was set without being asked"
    with saver.running(fresh_wine, OUR_SAVER, installer.helper, ["/s"], log_name="installed"):
        assert installer.helper.wait_for(RENDERER_TITLE), "the installed show did not start"
        snapshot = installer.helper.snapshot_path()
        assert wait_until(snapshot.exists, 10), "no snapshot taken"
    assert installer.uninstall(built_package()) == 0
    assert not installed(fresh_wine, PROGRAMS[0]).exists()
    assert not snapshot.parent.exists(), "the picture of the desktop is left"
    assert installer.versions() == []
    files, registry = prefix_state(fresh_wine)
    # Wine adds files of its own as programs first need them; none of them names us.
    assert {name for name in files - before[0] if "vitrelux" in name or OLD_SNAPSHOT_FOLDER.name in name} == set()
    assert before[0] - files == set(), "files that were there before are gone"
    assert registry == before[1], "registry entries of ours are left"


@pytest.mark.parametrize("before, picked_since, left", [
    (None, None, None),
    (None, OTHER_SAVER, OTHER_SAVER),
    # A path of the user's may hold the ';' that joins the custom action's fields.
    (r"C:\a;b\Other.scr", None, None),
], ids=["ours-cleared", "picked-since-kept", "replaces-a-path-with-a-semicolon"])
def test_the_saver_option_sets_ours_and_removal_clears_only_ours(before, picked_since, left, installer):
    if before:
        installer.pick_saver(before)
    installer.set_desktop_value(ACTIVE_VALUE, "0")
    assert installer.install(built_package(), "SETSAVER=1") == 0
    assert installer.saver() == OUR_SAVER
    assert installer.desktop_value(ACTIVE_VALUE) == "1", "the saver set will never start"
    if picked_since:
        installer.pick_saver(picked_since)
    assert installer.uninstall(built_package()) == 0
    assert installer.saver() == left


def test_upgrade_in_place_keeps_the_saver_and_a_downgrade_is_refused(installer, fresh_wine, dist,
                                                                     work_dir):
    old_dist = work_dir / "package-older" / "dist"
    old_dist.mkdir(parents=True, exist_ok=True)
    for name in PROGRAMS:
        (old_dist / name).write_bytes(with_file_version((dist / name).read_bytes(), OLDER))
    older = build_package(OLDER, old_dist, old_dist.parent)
    assert installer.install(older, "SETSAVER=1") == 0
    assert installer.versions() == [OLDER]
    assert installer.install(built_package()) == 0
    assert installer.versions() == [version()]
    for name in PROGRAMS:
        assert installed(fresh_wine, name).read_bytes() == (dist / name).read_bytes(), name
    assert installer.saver() == OUR_SAVER, "the upgrade lost the user's saver"
    assert installer.install(older) == ERROR_INSTALL_FAILURE
    assert installer.versions() == [version()]
    assert installed(fresh_wine, PROGRAMS[0]).read_bytes() == (dist / PROGRAMS[0]).read_bytes()
    assert installer.uninstall(built_package()) == 0
    assert installer.saver() is None


def test_a_second_build_of_the_same_version_replaces_the_first(installer, fresh_wine, dist, work_dir):
    again = build_package(version(), dist, work_dir / "package-again")
    assert installer.install(built_package(), "SETSAVER=1") == 0
    assert installer.install(again) == 0
    assert installer.versions() == [version()]
    assert installer.saver() == OUR_SAVER, "the second build lost the user's saver"
    assert installer.uninstall(again) == 0
    assert installer.versions() == [] and not installed(fresh_wine, PROGRAMS[0]).exists()


def test_removal_deletes_nothing_outside_the_users_own_folder(installer, fresh_wine):
    """Older versions kept the snapshot in C:\\j_orvel, which any user can make or replace: nothing
    there is deleted, least of all as the system."""
    old = fresh_wine.drive_c / OLD_SNAPSHOT_FOLDER / SNAPSHOT_NAME
    old.parent.mkdir(exist_ok=True)
    old.write_bytes(b"someone else's")
    assert installer.install(built_package()) == 0
    assert installer.uninstall(built_package()) == 0
    assert old.read_bytes() == b"someone else's"
