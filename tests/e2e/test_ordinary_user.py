# End-to-end tests of the settings of a user without administrator rights, whose program folder
# cannot be written (root's, as an installed system folder is): "設定" keeps the choice in the
# user's own copy, which the next show plays and the next dialog shows; where that copy cannot be
# written either, the dialog says so and stays open. Run as root, Wine writes
# into a read-only file or folder anyway, so the programs run as another Unix user, with a prefix
# and a HOME of its own under a folder that user can reach.
import os
import pwd
import shutil
import subprocess
import tempfile
from pathlib import Path

import pytest

import saver
import screen
import sound
from dialog import (CANCEL_BUTTON, CAPTIONS, FILE_BUTTON, NOT_KEPT_TEXT, OWN_FOLDER, SET_BUTTON, choose_file, ini,
                    opened, own_copies)
from waiting import wait_until
from windows import (CENTRE, JAPANESE, KEY_FILE, KEY_REPEAT, KEY_SOURCE, MESSAGE_TITLE, RENDERER,
                     RENDERER_TITLE, primed_helper)
from wine import opened_session, windows_path

USER = "vitrelux-e2e"


def ensure_user():
    try:
        pwd.getpwnam(USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--user-group", "--no-create-home", USER], check=True)
    return pwd.getpwnam(USER)


@pytest.fixture(scope="module")
def world():
    """A folder every user can reach: the user's HOME and Wine folder (the user's), and the
    programs, the music and the helper (root's)."""
    if os.geteuid() != 0:
        pytest.skip("running the programs as another user needs root, as CI has")
    user = ensure_user()
    base = Path(tempfile.mkdtemp(prefix="vitrelux-user-"))
    base.chmod(0o755)
    for mine in ("home", "wine"):
        (base / mine).mkdir()
        os.chown(base / mine, user.pw_uid, user.pw_gid)
    try:
        yield base
    finally:
        shutil.rmtree(base, ignore_errors=True)


@pytest.fixture(scope="module")
def capture(world):
    return sound.SoundCapture(world / "home").install()


@pytest.fixture(scope="module")
def user_wine(world, capture, x_server, dist):
    yield from opened_session(world / "wine" / "prefix", x_server.display, world / "logs",
                              {**JAPANESE, **capture.env}, dist / RENDERER, user=USER)


@pytest.fixture(scope="module")
def user_helper(user_wine, world, helper_exe):
    copy = world / "bin" / Path(helper_exe).name
    copy.parent.mkdir()
    shutil.copy(helper_exe, copy)
    return primed_helper(user_wine, copy)


def test_set_keeps_the_choice_in_the_users_own_copy_for_the_next_show_and_dialog(
        world, capture, user_wine, user_helper, x_server, dist):
    program = saver.install(dist, world / "Vitrelux")
    beside = saver.write_settings(program.parent, saver.music_settings(0))
    music = sound.write_tone(world / "music.wav", 2)
    with opened(user_wine, program, user_helper, x_server.display, world, log_name="dialog") as dialog:
        dialog.click(CAPTIONS[2])
        choose_file(windows_path(music))(dialog)
        dialog.click(SET_BUTTON)
        assert dialog.run.wait_exit(10) == 0, "設定 did not close the dialog"
    assert beside.read_bytes() == ini(f"{KEY_SOURCE}=0"), "the file beside the program changed"
    copies = own_copies(user_wine)
    assert [copy.parent.parent.parent.parent.name for copy in copies] == [USER]
    assert copies[0].read_bytes() == ini(f"{KEY_SOURCE}=2", f"{KEY_REPEAT}=0",
                                         f"{KEY_FILE}={windows_path(music)}")

    with sound.Listener(capture) as ear, \
            saver.running(user_wine, program, user_helper, ["/s"], log_name="show") as run:
        assert user_helper.wait_for(RENDERER_TITLE), "the show did not start"
        heard = wait_until(lambda: ear.loud_seconds() >= sound.HEARD, 20)
        screen.press_key(x_server.display, *CENTRE, "Escape")
        run.wait_exit(30)
    assert heard, "the show did not play the music chosen"

    with opened(user_wine, program, user_helper, x_server.display, world, log_name="dialog-again") as dialog:
        assert dialog.face(FILE_BUTTON) == "Normal", "the dialog does not show the music file chosen"


def test_a_choice_kept_nowhere_is_said_and_the_dialog_stays_open(world, user_wine, user_helper, x_server, dist):
    program = saver.install(dist, world / "Nowhere")
    beside = saver.write_settings(program.parent, saver.music_settings(0))
    # A file of root's where the user's own folder would be made.
    blocker = user_wine.drive_c / "users" / USER / OWN_FOLDER
    shutil.rmtree(blocker, ignore_errors=True)
    blocker.write_bytes(b"")
    try:
        with opened(user_wine, program, user_helper, x_server.display, world, log_name="dialog-nowhere") as dialog:
            dialog.click(CAPTIONS[1])
            dialog.click(SET_BUTTON)
            assert user_helper.wait_for(MESSAGE_TITLE, 10), "no message"
            # The box's text as UTF-8, in hex.
            texts = user_helper.run("texts-hex", MESSAGE_TITLE)[1]
            assert any(NOT_KEPT_TEXT.encode("utf-8").hex() in line for line in texts), texts
            assert user_helper.click_ok(MESSAGE_TITLE)
            assert dialog.run.wait_exit(2) is None, "the dialog closed as if the settings were kept"
            dialog.click(CANCEL_BUTTON)
            assert dialog.run.wait_exit(10) == 0
    finally:
        blocker.unlink()
    assert beside.read_bytes() == ini(f"{KEY_SOURCE}=0")
