# End-to-end tests of the settings dialog, Vitrelux.scr /c, under Wine on a real X server: where it
# opens and what it paints, the buttons' faces under the real pointer, what "設定" writes to
# Vitrelux.ini after clicks and typing, the file chooser, the link, and a Western code page.
import time

import pytest
from PIL import ImageChops, ImageStat

import saver
import screen
import xserver
from dialog import (ADDRESS, ADDRESS_LABEL, CANCEL_BUTTON, ELSEWHERE, FILE_BUTTON,
                    GLYPHS, PANEL, SET_BUTTON, SETTLE, choose_cd_and_type, choose_file, ini,
                    open_dialog, own_copies)
from waiting import wait_until
from windows import (KEY_FILE, KEY_REPEAT, KEY_SOURCE, MAIN_TITLE, RENDERER_TITLE, SETTINGS_TITLE,
                     SC_CLOSE, WESTERN, WM_SYSCOMMAND)
from wine import windows_path

OWNER_TITLE = "Vitrelux test Screen Saver settings"
BROWSER_REGISTRY = """
[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="{recorder}"
"""


@pytest.fixture(scope="module")
def urls(wine, work_dir):
    """The dialog's typeface mapped to an installed Japanese one, and a recorder instead of a
    browser; yields the file the recorder writes the addresses it is given to."""
    folder = work_dir / "dialog"
    folder.mkdir(parents=True, exist_ok=True)
    recorded = folder / "urls.txt"
    recorder = folder / "record-url.sh"
    recorder.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{recorded}"\n')
    recorder.chmod(0o755)
    saver.import_registry(wine, folder, saver.TYPEFACE_REGISTRY + BROWSER_REGISTRY.format(recorder=recorder))
    return recorded


def test_opens_centred_a_third_down_over_its_gradient_and_tiles(wine, dist, helper, x_server, test_dir, urls):
    with open_dialog(wine, dist, helper, x_server, test_dir) as dialog:
        client = dialog.shot("dialog")
    left, top, right, bottom = dialog.rect
    width, height = xserver.START_SIZE
    assert (left, top) == ((width - (right - left)) // 2, (height - (bottom - top)) // 3)
    # Row i is RGB(v, v, v + 30), v = |sin(i / (246 / 3.142))| * 220 rounded.
    for row, shade in ((0, 0), (41, 110), (123, 220), (245, 3)):
        assert client.getpixel((4, row)) == (shade, shade, shade + 30), row
    tiles = client.crop((PANEL[0] + 252, PANEL[1] + 4, PANEL[0] + 442, PANEL[1] + 48))
    low, high = zip(*tiles.getextrema())
    assert min(low) >= 160 and max(high) <= 224, tiles.getextrema()
    assert max(ImageStat.Stat(tiles).stddev) > 2, "the panel is flat, not the grain tile"


def test_faces_follow_the_pointer(wine, dist, helper, x_server, test_dir, urls):
    with open_dialog(wine, dist, helper, x_server, test_dir, saver.music_settings(0)) as dialog:
        faces = [dialog.face(SET_BUTTON), dialog.face(FILE_BUTTON)]
        dialog.move(SET_BUTTON)
        faces.append(dialog.face(SET_BUTTON))
        screen.xdotool(x_server.display, "mousedown", "1")
        time.sleep(SETTLE)
        faces.append(dialog.face(SET_BUTTON))
        # Dragged off while held: the pointer check leaves the hover, the release there is no Click.
        dialog.move(ELSEWHERE)
        screen.xdotool(x_server.display, "mouseup", "1")
        time.sleep(SETTLE)
        faces.append(dialog.face(SET_BUTTON))
        still_open = dialog.run.running()
    assert faces == ["Normal", "Disable", "HighLight", "Pressed", "Selected"]
    assert still_open, "a release off the button closed the dialog"
    assert dialog.settings_bytes() == ini(f"{KEY_SOURCE}=0"), "a release off the button stored"


def pick_none_with_the_right_button(dialog):
    dialog.click(GLYPHS[0], button=3)


def leave_alone(dialog):
    pass


@pytest.fixture(scope="module")
def music(work_dir):
    """Two music files the dialog can name (the dialog only needs them to exist)."""
    folder = work_dir / "dialog" / "music"
    folder.mkdir(parents=True, exist_ok=True)
    for name in ("a.wav", "b.mp3"):
        (folder / name).write_bytes(b"RIFF")
    return {name: windows_path(folder / name) for name in ("a.wav", "b.mp3")}


def cd(track):
    return ini(f"{KEY_SOURCE}=1", f"{KEY_REPEAT}={track}", f"{KEY_FILE}=")


# (stored settings, what is done, the settings file after "設定"), the files named through music.
# NOTE: Wine writes the value " 2" as "2"; a key the file did not hold is added at its end.
STORE_CASES = [
    pytest.param(lambda music: None, choose_cd_and_type("7"), lambda music: cd(7), id="cd-track-7"),
    pytest.param(lambda music: None, choose_cd_and_type("3.5"), lambda music: cd(4), id="cd-track-3.5-is-4"),
    pytest.param(lambda music: None, choose_cd_and_type("99999"), lambda music: cd(0),
                 id="cd-track-beyond-16-bits-is-0"),
    pytest.param(lambda music: saver.music_settings(2, music["a.wav"], 12), pick_none_with_the_right_button,
                 lambda music: ini(f"{KEY_SOURCE}=0", f"{KEY_REPEAT}=12", f"{KEY_FILE}={music['a.wav']}"),
                 id="none-keeps-the-file"),
    pytest.param(lambda music: saver.music_settings(5, None, -3), leave_alone,
                 lambda music: ini(f"{KEY_SOURCE}=5", f"{KEY_REPEAT}=-3", f"{KEY_FILE}="), id="unknown-source-kept"),
    pytest.param(lambda music: saver.music_settings(2, music["a.wav"]), choose_file("b.mp3"),
                 lambda music: ini(f"{KEY_SOURCE}=2", f"{KEY_FILE}={music['b.mp3']}", f"{KEY_REPEAT}=0"),
                 id="file-chooser"),
]


@pytest.mark.parametrize("stored, act, written", STORE_CASES)
def test_set_stores_what_was_chosen(stored, act, written, wine, dist, helper, x_server, test_dir, urls, music):
    with open_dialog(wine, dist, helper, x_server, test_dir, stored(music)) as dialog:
        act(dialog)
        dialog.click(SET_BUTTON)
        code = dialog.run.wait_exit(10)
    assert code == 0, "設定 did not close the dialog and end the front end"
    assert dialog.settings_bytes() == written(music)
    assert own_copies(wine) == [], "a copy of the user's own beside a writable program folder"


def click_cancel(dialog):
    dialog.click(CANCEL_BUTTON)


def close_box(dialog):
    # NOTE: without a window manager no frame is drawn, so the close box is asked for by message.
    assert dialog.helper.post(SETTINGS_TITLE, WM_SYSCOMMAND, SC_CLOSE)


def test_configure_and_the_screen_saver_page_open_the_settings_and_no_show(wine, dist, helper, x_server,
                                                                          test_dir, urls):
    """Explorer's Configure starts a saver with no argument; the Screen Saver settings pass
    /c:<their window>, which then owns the dialog and takes no input until it has closed."""
    with open_dialog(wine, dist, helper, x_server, test_dir / "configure", args=()) as dialog:
        assert helper.find(RENDERER_TITLE) is None and helper.find(MAIN_TITLE) is None
        assert helper.owner(SETTINGS_TITLE) is None
        assert dialog.run.close(helper, SETTINGS_TITLE, 10) == 0
    with saver.hosted_window(wine, helper, OWNER_TITLE, (0, 0, 200, 100)) as (handle, _):
        with open_dialog(wine, dist, helper, x_server, test_dir / "owned", args=(f"/c:{handle}",)) as dialog:
            assert helper.owner(SETTINGS_TITLE) == OWNER_TITLE
            assert not helper.enabled(OWNER_TITLE), "the owner takes input beside its modal dialog"
            assert dialog.run.close(helper, SETTINGS_TITLE, 10) == 0
        assert helper.enabled(OWNER_TITLE), "the owner is left without input"


@pytest.mark.parametrize("close", [click_cancel, close_box], ids=["cancel", "close-box"])
def test_cancel_and_close_box_write_nothing(close, wine, dist, helper, x_server, test_dir, urls):
    with open_dialog(wine, dist, helper, x_server, test_dir) as dialog:
        choose_cd_and_type("5")(dialog)
        close(dialog)
        code = dialog.run.wait_exit(10)
    assert code == 0
    assert dialog.settings_bytes() is None


def test_link_opens_the_address(wine, dist, helper, x_server, test_dir, urls):
    urls.unlink(missing_ok=True)
    with open_dialog(wine, dist, helper, x_server, test_dir) as dialog:
        dialog.click(ADDRESS_LABEL)
        opened = wait_until(lambda: urls.exists() and urls.read_text().split(), 15)
        still_open = dialog.run.running()
    assert opened == [ADDRESS]
    assert still_open


def test_reads_the_same_under_a_western_code_page(wine, dist, helper, x_server, test_dir, urls):
    shots = []
    for env in (None, WESTERN):
        with open_dialog(wine, dist, helper, x_server, test_dir / ("western" if env else "japanese"),
                         saver.music_settings(1, None, 12), env=env) as dialog:
            dialog.move(ELSEWHERE)
            shots.append(dialog.shot("dialog"))
    difference = ImageChops.difference(*shots).getbbox()
    assert difference is None, f"the dialogs differ in {difference}"
