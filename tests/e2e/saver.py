# Drives Vitrelux.scr under Wine: a private copy of both programs with its own Vitrelux.ini,
# the desktop picture on the X root window, starts in every mode and the processes they leave.
import contextlib
import shutil
import time
from pathlib import Path

from program import Program, stopped_on_leaving
from project import TEXTS, constant
from waiting import close_then_kill, kill_group, kill_pids, wait_until
from windows import (CODE_PAGE, KEY_FILE, KEY_REPEAT, KEY_SOURCE, RENDERER, RENDERER_TITLE,
                     SCREEN_SAVER, SECTION, SETTINGS_FILE, WM_CLOSE)
from wine import prefix_pids, windows_path
from xserver import START_SIZE, run_x_tool

# The black rows above and below the desktop in the square snapshot; round() rounds half to even too.
BAND = round((START_SIZE[0] - START_SIZE[1]) / 2)


def install(dist, folder, with_renderer=True):
    """A fresh folder holding copies of the programs; returns the front end's path."""
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    for name in [SCREEN_SAVER, RENDERER] if with_renderer else [SCREEN_SAVER]:
        shutil.copy2(Path(dist) / name, folder / name)
    return folder / SCREEN_SAVER


def write_settings(folder, entries):
    """Vitrelux.ini beside the program from (key, value) pairs, in Shift-JIS with CRLF line ends
    as Windows writes it; None leaves no file."""
    path = folder / SETTINGS_FILE
    path.unlink(missing_ok=True)
    if entries is not None:
        lines = [f"[{SECTION}]"] + [f"{key}={value}" for key, value in entries]
        path.write_bytes(("\r\n".join(lines) + "\r\n").encode(CODE_PAGE))
    return path


def music_settings(source=None, music_file=None, repeat=None):
    """Settings entries for the music keys; None leaves a key out."""
    named = [(KEY_SOURCE, source), (KEY_REPEAT, repeat), (KEY_FILE, music_file)]
    return [(key, value) for key, value in named if value is not None]


# The dialog's typeface, which Wine does not have, drawn with the Japanese one installed.
TYPEFACE_REGISTRY = f"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"{constant(TEXTS, 'captionTypeface')}"="IPAPGothic"
"""


def import_registry(wine, folder, text):
    """Adds the entries of a .reg text to the prefix's registry."""
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / "settings.reg"
    path.write_bytes(text.encode("utf-16"))
    code, _ = wine.call("regedit", [windows_path(path)])
    assert code == 0, f"regedit could not import {path}"


def snapshot_folder(helper):
    """The folder of the user's snapshot."""
    return helper.snapshot_path().parent


def remove_snapshot_folder(helper):
    shutil.rmtree(snapshot_folder(helper), ignore_errors=True)


def show_desktop(display, image, folder):
    """Puts the picture on the X root window, which is what Wine's desktop DC reads."""
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / "desktop.png"
    image.save(path)
    # NOTE: ImageMagick's display exits with 1 even when it has set the root window's picture;
    # callers compare a screenshot instead.
    run_x_tool(display, ["display", "-window", "root", str(path)], timeout=30)


def command_name(pid):
    try:
        return Path(f"/proc/{pid}/comm").read_text().strip()
    except OSError:
        return None


def program_pids(wine, name):
    """Linux PIDs of this prefix's processes running the named Windows program."""
    return [pid for pid in prefix_pids(wine.prefix) if command_name(pid) == name]


def renderer_pids(wine):
    return program_pids(wine, RENDERER)


def saver_pids(wine):
    return program_pids(wine, SCREEN_SAVER) + renderer_pids(wine)


def pid_alive(pid):
    """False once the process is gone or a zombie."""
    try:
        state = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[0]
    except OSError:
        return False
    return state != "Z"


class FrontEnd(Program):
    """One start of Vitrelux.scr."""

    def stop(self, helper):
        """Ends whatever this start left: the renderer politely first (so it restores the mode),
        then anything still there by force."""
        close_then_kill(lambda: helper.post(RENDERER_TITLE, WM_CLOSE), lambda: not renderer_pids(self.wine),
                        lambda: kill_pids(renderer_pids(self.wine)), 15)
        close_then_kill(None, self.ended, self.kill, 5)


def running(wine, program, helper, args=(), trace=None, log_name="saver", env=None):
    """A started front end whose processes are ended on leaving, whatever happened inside."""
    return stopped_on_leaving(FrontEnd(wine, program, args, trace=trace, log_name=log_name, env=env),
                              helper)


@contextlib.contextmanager
def hosted_window(wine, helper, title, rect, log_name="host"):
    """A visible top-level window of the helper at rect (x, y, width, height), as the Screen Saver
    settings page hosts a preview; yields its handle and closes it on leaving unless gone."""
    process = wine.start(helper.exe, ["host", title, *map(str, rect)], log_name=log_name)
    output = wine.log_dir / f"{log_name}.out"
    try:
        handle = wait_until(lambda: output.read_text().strip(), 20)
        assert handle, f"the helper's host window did not come up; see {output}"
        yield int(handle), process
    finally:
        close_then_kill(lambda: helper.post(title, WM_CLOSE), lambda: process.poll() is not None,
                        lambda: kill_group(process), 10)


def wait_gone(pids, front_end, timeout):
    """Waits until the processes and the front end have ended; returns when each was first seen
    gone (monotonic seconds, None if not within the time-out), the front end's last."""
    gone = {}

    def look():
        now = time.monotonic()
        for pid in pids:
            if pid not in gone and not pid_alive(pid):
                gone[pid] = now
        if "front end" not in gone and not front_end.running():
            gone["front end"] = now
        return len(gone) == len(pids) + 1
    wait_until(look, timeout, 0.05)
    return [gone.get(pid) for pid in pids] + [gone.get("front end")]
