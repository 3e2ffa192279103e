# End-to-end tests of where the show's picture comes from and where it is kept: a desktop that
# cannot be read (all black, as Windows' secure desktop gives it) shows the user's wallpaper, or
# the program's own picture; the snapshot lives in the user's local application data, also under
# a name the system code page cannot spell.
import contextlib
from types import SimpleNamespace

import pytest
from PIL import Image, ImageChops, ImageStat

import analysis
import pictures
import saver
import screen
import xserver
from saver import BAND
from windows import DESKTOP_KEY, FULL_SCREEN_SHOW, RENDERER_TITLE, SNAPSHOT_FOLDER, WESTERN
from wine import windows_path

WIDTH, HEIGHT = xserver.START_SIZE
SHELL_FOLDERS_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
# Cut off by "Fill" on either side of a wallpaper wider than the desktop.
CUT = 160
CUT_COLOUR = (0, 0, 255)
JPEG_LOSS = 6                # mean channel difference a JPEG of quality 95 may bring
JAPANESE_FOLDER = "ローカル設定"  # not one character of it in code page 1252


@contextlib.contextmanager
def registry_value(wine, key, name, value, kind="REG_SZ"):
    """The value set for as long as the block runs, then none, which Wine reads as its default
    (the prefix outlives the test file)."""
    assert wine.call("reg", ["add", key, "/v", name, "/t", kind, "/d", value, "/f"])[0] == 0
    try:
        yield
    finally:
        wine.call("reg", ["delete", key, "/v", name, "/f"])


def record_show(wine, helper, display, dist, folder, env=None):
    """The show as /s starts it, its sheets carrying a picture: which picture it took, and the
    snapshot's size, desktop part and path."""
    program = saver.install(dist, folder / "Vitrelux")
    saver.write_settings(program.parent, None)
    saver.remove_snapshot_folder(helper)
    shots = folder / "shots"
    with saver.running(wine, program, helper, ["/s"], trace=folder / "trace.txt", env=env) as run:
        assert helper.wait_for(RENDERER_TITLE), "no show"
        path = helper.snapshot_path()
        with Image.open(path) as stored:
            size = stored.size
            desktop_part = stored.convert("RGB").crop((0, BAND, WIDTH, BAND + HEIGHT))
        assert screen.wait_for_sheets(display, shots / "waiting.png", FULL_SCREEN_SHOW.rect), "no sheets"
        lit = analysis.lit_frames(screen.capture_series(display, shots, 4, 0.5))
    assert lit, "no frame shows sheets"
    uniform = max(analysis.uniform_fraction(frame) for frame in lit)
    assert uniform < analysis.UNIFORM, f"plain sheets, not a picture: {uniform:.2f}"
    taken = [line[1] for line in run.trace_lines() if line[0] == "snapshot"]
    return SimpleNamespace(taken=taken, size=size, desktop_part=desktop_part, path=path)


@pytest.mark.parametrize("with_wallpaper", [True, False], ids=["wallpaper", "none"])
def test_a_black_desktop_gives_the_wallpaper_as_fill_shows_it_or_the_programs_own_picture(
        with_wallpaper, wine, helper, x_server, dist, test_dir):
    saver.show_desktop(x_server.display, Image.new("RGB", xserver.START_SIZE), test_dir)
    # A JPEG under the name Windows gives its copy of the wallpaper, wider than the desktop.
    middle = pictures.desktop(xserver.START_SIZE)
    wallpaper = Image.new("RGB", (WIDTH + 2 * CUT, HEIGHT), CUT_COLOUR)
    wallpaper.paste(middle, (CUT, 0))
    path = test_dir / "TranscodedWallpaper"
    wallpaper.save(path, "JPEG", quality=95, subsampling=0)
    with registry_value(wine, DESKTOP_KEY, "Wallpaper", windows_path(path) if with_wallpaper else ""):
        show = record_show(wine, helper, x_server.display, dist, test_dir)
    if with_wallpaper:
        assert show.taken == ["wallpaper"]
        difference = max(ImageStat.Stat(ImageChops.difference(show.desktop_part, middle)).mean)
        assert difference < JPEG_LOSS, "not the middle of the wallpaper"
        return
    assert show.taken == ["own"]
    (red_low, red_high), (green_low, green_high), (_, blue_high) = show.desktop_part.getextrema()
    assert red_high - red_low > 200 and green_high - green_low > 200, "not colourful in red and green"
    assert blue_high == 0, "blue, which no sheet shows"


def test_a_local_application_data_folder_the_code_page_cannot_spell(wine, helper, x_server, dist, test_dir):
    desktop = pictures.desktop(xserver.START_SIZE)
    saver.show_desktop(x_server.display, desktop, test_dir)
    (wine.drive_c / JAPANESE_FOLDER).mkdir(exist_ok=True)
    with registry_value(wine, SHELL_FOLDERS_KEY, "Local AppData", "C:\\" + JAPANESE_FOLDER, "REG_EXPAND_SZ"):
        show = record_show(wine, helper, x_server.display, dist, test_dir, env=WESTERN)
    assert show.path.parent == wine.drive_c / JAPANESE_FOLDER / SNAPSHOT_FOLDER
    assert show.taken == ["desktop"]
    assert ImageChops.difference(show.desktop_part, desktop).getbbox() is None, "not the desktop"


@pytest.mark.skipif(xserver.wine_major_version() < 10,
                    reason="Wine before 10 scales no program, aware of scaling or not")
def test_at_150_percent_the_snapshot_is_in_real_pixels(wine, helper, x_server, dist, test_dir):
    """An unaware program would see a 1280-wide screen as 853 pixels wide."""
    desktop = pictures.desktop(xserver.START_SIZE)
    saver.show_desktop(x_server.display, desktop, test_dir)
    fonts_key = r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"
    with registry_value(wine, DESKTOP_KEY, "LogPixels", "144", "REG_DWORD"), \
            registry_value(wine, fonts_key, "LogPixels", "144", "REG_DWORD"):
        # Read by the session's first process only.
        wine.stop_server()
        try:
            show = record_show(wine, helper, x_server.display, dist, test_dir)
        finally:
            wine.stop_server()
    assert show.size == (WIDTH, WIDTH)
    assert ImageChops.difference(show.desktop_part, desktop).getbbox() is None, "not the desktop in real pixels"

