# End-to-end tests of Vitrelux.scr under Wine with code page 932 on a mode-switching X server:
# the show and its desktop snapshot, how it ends, music heard through a captured sound device,
# the preview, the instance check, a missing renderer and hand-written settings files.
import os
import shutil
import signal
import time
from collections import namedtuple
from dataclasses import dataclass, field
from types import SimpleNamespace

import pytest
from PIL import Image, ImageChops, ImageStat

import analysis
import pictures
import saver
import screen
import sound
import xserver
from analysis import BLACK, UNIFORM, lit_frames
from saver import BAND
from sound import HEARD
from waiting import wait_until
from windows import (CENTRE, CODE_PAGE, FULL_SCREEN_SHOW, MAIN_TITLE, MESSAGE_TITLE,
                     MISSING_RENDERER_TEXT, PREVIEW_CLASS, PREVIEW_PICTURE, PREVIEW_TITLE,
                     OLD_SNAPSHOT_FOLDER, RENDERER_TITLE, SETTINGS_TITLE, SNAPSHOT_NAME, WESTERN,
                     WM_CLOSE, ShowScreen, wait_show_screen)
from wine import windows_path

QUICK_EXIT = 8               # seconds for a start that ends at once (a Wine start takes about one)
FOLLOWS = 3.0                # the front end looks for the renderer window every 500 ms
LISTEN = 3.0
WAV_SECONDS = 1.5
MP3_SECONDS = 2.0
MAX_PATH_CHARACTERS = 259
PREVIEW_TOLERANCE = 4        # mean channel difference allowed against the stored picture
MOSTLY = 0.5
HOST_TITLE = "Vitrelux E2E preview host"


@pytest.fixture(scope="module")
def desktop(x_server, work_dir, helper):
    image = pictures.desktop(xserver.START_SIZE)
    folder = work_dir / "saver"
    saver.show_desktop(x_server.display, image, folder)
    shown = screen.screenshot(x_server.display, folder / "desktop-shown.png")
    assert ImageChops.difference(shown, image).getbbox() is None, "desktop picture not shown"
    return image


@pytest.fixture(scope="module")
def sound_device(helper):
    code, lines = helper.run("wave-devices")
    assert code == 0 and int(lines[0]) >= 1, "Wine has no wave device: sound capture not in effect"


def long_japanese_copy(source, folder):
    """A copy whose full Windows path is as long as the system's file functions take, nearly all of
    it in characters that are two bytes in Shift-JIS."""
    target = folder
    while (room := MAX_PATH_CHARACTERS - len(windows_path(target / source.name)) - 1) > 0:
        target = target / ("音" * (room if room <= 60 else 50))
    target.mkdir(parents=True, exist_ok=True)
    target = target / source.name
    target.write_bytes(source.read_bytes())
    assert len(windows_path(target)) == MAX_PATH_CHARACTERS
    return target


@pytest.fixture(scope="module")
def sounds(work_dir):
    folder = work_dir / "sounds"
    folder.mkdir(parents=True, exist_ok=True)
    # An upper-case ending: the front end takes WAV files by their ending in any case.
    wav = sound.write_tone(folder / "loop.WAV", WAV_SECONDS, 440)
    mp3 = sound.write_tone(folder / "tone.mp3", MP3_SECONDS, 660)
    # WAV data under a .mid name: a front end that passed it to PlaySound or MCI would be heard,
    # while a real MIDI file would stay silent anyway for want of a synthesizer under Wine.
    mid = folder / "tone.mid"
    mid.write_bytes(wav.read_bytes())
    # Both characters end in byte 0x5C, a backslash, in Shift-JIS.
    japanese = folder / "ソ表" / "loop.WAV"
    japanese.parent.mkdir(exist_ok=True)
    japanese.write_bytes(wav.read_bytes())
    return SimpleNamespace(wav=wav, mp3=mp3, mid=mid, long_mp3=long_japanese_copy(mp3, folder),
                           japanese=japanese, gone=folder / "gone.wav")


def cursor_count(helper):
    code, lines = helper.run("cursor", MAIN_TITLE)
    return int(lines[0]) if code == 0 else None


# --- The show: snapshot, renderer, cursor, starts while it runs, Escape ---

# The snapshot as a picture and its permission bits (None if there is no file), whether a draft
# was left beside it, and whether the old folder at the root of drive C: was made.
SnapshotFile = namedtuple("SnapshotFile", "image mode partial_left old_folder")


@dataclass
class MainShow:
    args: list
    screen: ShowScreen = None
    main_window: tuple = None
    cursor: int = None
    snapshot: SnapshotFile = SnapshotFile(None, None, None, None)
    frames: list = field(default_factory=list)
    second_starts: list = field(default_factory=list)
    renderers: int = None
    exit_code: int = None
    follows: float = None
    size_after: tuple = None
    main_after: tuple = None
    left_running: list = None


def read_snapshot(wine, helper):
    path = helper.snapshot_path()
    image = mode = None
    if path.exists():
        with Image.open(path) as stored:
            image = stored.convert("RGB")
        mode = path.stat().st_mode & 0o777
    return SnapshotFile(image, mode, any(path.parent.glob("*.new")),
                        (wine.drive_c / OLD_SNAPSHOT_FOLDER).exists())


def record_main_show(wine, helper, display, program, args, shots, second_program):
    show = MainShow(args)
    saver.remove_snapshot_folder(helper)
    shutil.rmtree(wine.drive_c / OLD_SNAPSHOT_FOLDER, ignore_errors=True)
    with saver.running(wine, program, helper, args, log_name=shots.name) as run:
        show.screen = wait_show_screen(helper, display)
        if not show.screen:
            return show
        show.main_window = helper.find(MAIN_TITLE)
        show.cursor = cursor_count(helper)
        show.snapshot = read_snapshot(wine, helper)
        screen.wait_for_sheets(display, shots / "waiting.png", FULL_SCREEN_SHOW.rect)
        time.sleep(1)
        show.frames = screen.capture_series(display, shots, 6, 0.5)
        show.second_starts = starts_while_blocked(wine, helper, second_program)
        pids = saver.renderer_pids(wine)
        show.renderers = len(pids)
        screen.press_key(display, *CENTRE, "Escape")
        *renderers_gone, front_end_gone = saver.wait_gone(pids, run, 30)
        show.exit_code = run.process.poll()
        if front_end_gone and all(renderers_gone):
            show.follows = front_end_gone - max(renderers_gone)
    show.size_after = xserver.wait_for_size(display, xserver.START_SIZE)
    show.main_after = helper.find(MAIN_TITLE)
    show.left_running = saver.saver_pids(wine)
    return show


def starts_while_blocked(wine, helper, program):
    """Starts /s, /c and /p of a copy without the renderer: had they not ended at once, the
    first two would wait in the missing-renderer message and /p would show a preview."""
    desktop_window = helper.run("desktop")[1][0]
    results = []
    for args in (["/s"], ["/c"], ["/p", desktop_window]):
        run = saver.FrontEnd(wine, program, args, log_name="second-" + args[0][1:]).start()
        code = run.wait_exit(QUICK_EXIT)
        results.append(SimpleNamespace(args=args, exit_code=code,
                                       message=helper.find(MESSAGE_TITLE),
                                       preview=helper.find(PREVIEW_TITLE),
                                       renderers=len(saver.renderer_pids(wine))))
        run.kill()
    return results


def assert_ended_at_once(results, renderers):
    for result in results:
        assert result.exit_code == 0, f"{result.args} did not end at once"
        assert result.message is None and result.preview is None, result.args
        assert result.renderers == renderers, result.args


@pytest.fixture(scope="module", params=[
    pytest.param(("Vitrelux", ["/s"]), id="s"),
    # A folder with a space, as under Program Files: the renderer must still start.
    pytest.param(("Program Files/Vitrelux", ["/S"]), id="capital-s-in-program-files"),
])
def main_show(request, wine, dist, helper, x_server, work_dir, desktop):
    folder_name, args = request.param
    base = work_dir / "saver" / f"main-{request.param_index}"
    program = saver.install(dist, base / folder_name)
    saver.write_settings(program.parent, None)
    second = saver.install(dist, base / "second", with_renderer=False)
    return record_main_show(wine, helper, x_server.display, program, args, base / "shots", second)


def test_show_switches_to_1024x768_with_renderer_window(main_show):
    assert main_show.screen == FULL_SCREEN_SHOW, "renderer window missing or not full screen"
    assert main_show.main_window is not None, "no hidden Vitrelux_Main window during the show"


def test_snapshot_is_the_desktop_in_a_black_square(main_show, desktop):
    snapshot = main_show.snapshot.image
    assert snapshot is not None, "no snapshot file"
    width, height = desktop.size
    assert snapshot.size == (width, width)
    middle = snapshot.crop((0, BAND, width, BAND + height))
    assert ImageChops.difference(middle, desktop).getbbox() is None, "desktop not copied upright"
    for band in ((0, 0, width, BAND), (0, BAND + height, width, width)):
        assert snapshot.crop(band).getextrema() == ((0, 0),) * 3, f"band {band} is not black"


def test_snapshot_file_is_private_and_complete(main_show):
    mode = main_show.snapshot.mode
    assert mode is not None, "no snapshot file"
    assert mode & 0o007 == 0, oct(mode)
    assert not main_show.snapshot.partial_left, "a draft left behind"
    assert not main_show.snapshot.old_folder, "C:\\j_orvel made"


def test_renderer_shows_the_snapshot(main_show):
    """Sheets carry the desktop's blocks from both halves; the snapshot file's own orientation is
    checked above, the renderer's drawing of it by the renderer's tests."""
    lit = lit_frames(main_show.frames)
    assert len(lit) >= len(main_show.frames) // 2, "too few frames show sheets"
    uniform = [analysis.uniform_fraction(frame) for frame in lit]
    assert max(uniform) < UNIFORM, f"plain sheets, not the desktop's blocks: {uniform}"
    red_only, green_only = analysis.totals(lit, analysis.dominance_counts)
    assert red_only > 0 and green_only > 0, "the desktop's halves do not both show"


def test_cursor_hidden_during_the_show(main_show):
    # The display count of the front end's thread input: one ShowCursor(FALSE) makes it -1.
    # Shown again at the end is not seen: the count goes with the process right after.
    assert main_show.cursor == -1


def test_escape_ends_renderer_then_front_end(main_show):
    assert main_show.exit_code == 0
    assert main_show.follows is not None and main_show.follows <= FOLLOWS, main_show.follows
    assert main_show.size_after == xserver.START_SIZE
    assert main_show.main_after is None
    assert main_show.left_running == [], "processes left running"


def test_starts_during_a_show_end_at_once(main_show):
    assert [r.args[0] for r in main_show.second_starts] == ["/s", "/c", "/p"]
    assert main_show.renderers == 1
    assert_ended_at_once(main_show.second_starts, renderers=1)


def test_the_screen_is_never_white_before_the_first_sheets(desktop, wine, dist, helper, x_server,
                                                           test_dir):
    program = saver.install(dist, test_dir / "Vitrelux")
    saver.write_settings(program.parent, saver.music_settings(0))

    def look(frame):
        return analysis.white_fraction(frame), screen.shows_sheets(frame, (0, 0, *frame.size))
    with saver.running(wine, program, helper, ["/s"]) as run:
        looks = screen.watch(x_server.display, look, lambda frame: look(frame)[1])
        assert run.close(helper) == 0
    assert looks[-1][1], "no sheets came"
    assert len(looks) >= 5, f"only {len(looks)} screenshots before the sheets"
    whitest = max(white for white, _ in looks)
    assert whitest <= MOSTLY, f"a screenshot {whitest:.0%} white"


def test_open_settings_dialog_blocks_every_start(wine, dist, helper, test_dir):
    program = saver.install(dist, test_dir / "Vitrelux")
    second = saver.install(dist, test_dir / "second", with_renderer=False)
    with saver.running(wine, program, helper, ["/c"], log_name="dialog") as dialog:
        assert helper.wait_for(SETTINGS_TITLE), "the settings dialog did not open"
        saver.remove_snapshot_folder(helper)
        with saver.running(wine, program, helper, ["/s"], log_name="blocked-show") as run:
            show_code = run.wait_exit(QUICK_EXIT)
        results = starts_while_blocked(wine, helper, second)
        dialog_code = dialog.close(helper, SETTINGS_TITLE, 10)
    assert show_code == 0, "/s did not end at once"
    assert dialog_code == 0, "the dialog did not end the front end when it closed"
    assert not saver.snapshot_folder(helper).exists(), "/s went on to create the snapshot folder"
    assert_ended_at_once(results, renderers=0)


def catch_renderer(wine):
    """The renderer's Linux PID as soon as its process shows, well before it has a window."""
    pids = wait_until(lambda: saver.renderer_pids(wine), 30, interval=0.01)
    assert pids, "the renderer did not start"
    return pids[0]


def test_renderer_slow_to_open_its_window_keeps_the_show(wine, dist, helper, test_dir):
    program = saver.install(dist, test_dir / "Vitrelux")
    with saver.running(wine, program, helper, ["/s"]) as run:
        pid = catch_renderer(wine)
        os.kill(pid, signal.SIGSTOP)
        try:
            time.sleep(2)
            window_while_paused = helper.find(RENDERER_TITLE)
            stayed = run.running()
        finally:
            os.kill(pid, signal.SIGCONT)
        came = helper.wait_for(RENDERER_TITLE)
        running_with_it = run.running()
        code = run.close(helper)
    assert window_while_paused is None, "the renderer had its window before it was paused"
    assert stayed, "the show ended while the renderer was starting"
    assert came and running_with_it
    assert code == 0


def test_renderer_ending_before_its_window_ends_the_show(wine, dist, helper, test_dir):
    program = saver.install(dist, test_dir / "Vitrelux")
    with saver.running(wine, program, helper, ["/s"]) as run:
        os.kill(catch_renderer(wine), signal.SIGKILL)
        killed = time.monotonic()
        code = run.wait_exit(10)
        took = time.monotonic() - killed
    assert code == 0
    assert took <= FOLLOWS, took


@pytest.mark.parametrize("args", [["/a"], ["s"]], ids=["a", "s-without-slash"])
def test_other_modes_end_after_creating_folder(args, wine, dist, helper, test_dir):
    program = saver.install(dist, test_dir / "Vitrelux")
    saver.remove_snapshot_folder(helper)
    with saver.running(wine, program, helper, args) as run:
        code = run.wait_exit(QUICK_EXIT)
        renderers = saver.renderer_pids(wine)
    assert code == 0
    assert saver.snapshot_folder(helper).is_dir(), "the snapshot folder was not created"
    assert not (saver.snapshot_folder(helper) / SNAPSHOT_NAME).exists(), "a show started"
    assert renderers == []


# --- A missing renderer ---

# The message reads the same on a Western Windows (code page 1252): the helper reads it back in 932.
@pytest.mark.parametrize("args, env", [(["/s"], None), (["/c"], None), (["/c"], WESTERN)],
                         ids=["s", "c", "c-western-code-page"])
def test_missing_renderer_is_reported_then_ends(args, env, wine, dist, helper, test_dir):
    program = saver.install(dist, test_dir / "Vitrelux", with_renderer=False)
    saver.remove_snapshot_folder(helper)
    with saver.running(wine, program, helper, args, env=env) as run:
        assert helper.wait_for(MESSAGE_TITLE, 20), "no message box"
        texts = helper.run("texts-hex", MESSAGE_TITLE)[1]
        waiting = run.running()
        assert helper.click_ok(MESSAGE_TITLE)
        code = run.wait_exit(10)
        renderers = saver.renderer_pids(wine)
    # ANSI bytes as the program passed them, and what the box shows as UTF-8.
    expected = (MISSING_RENDERER_TEXT.encode(CODE_PAGE).hex() + " "
                + MISSING_RENDERER_TEXT.encode("utf-8").hex())
    assert expected in texts, texts
    assert waiting, "ended before OK was pressed"
    assert code == 0
    assert renderers == []
    assert saver.snapshot_folder(helper).is_dir(), "the snapshot folder was not created before the check"


# --- Preview ---

@pytest.mark.parametrize("size", [(152, 112), (300, 200)], ids=["152x112", "300x200"])
def test_preview_fills_its_parent_and_ends_with_it(size, wine, dist, helper, test_dir):
    """NOTE: Wine 8 draws a child window whose parent belongs to another process nowhere
    (its DC gets drawable 0), so what the preview paints is checked with the desktop as parent
    below; here its place and life as a child of a foreign window."""
    program = saver.install(dist, test_dir / "Vitrelux")
    saver.remove_snapshot_folder(helper)
    left, top = 200, 150
    with saver.hosted_window(wine, helper, HOST_TITLE, (left, top, *size)) as (handle, host):
        with saver.running(wine, program, helper, ["/p", str(handle)]) as run:
            child = wait_until(lambda: helper.child(HOST_TITLE, PREVIEW_CLASS), 20)
            code = run.close(helper, HOST_TITLE, 10)
        host_code = host.wait(timeout=10)
    rect = (left, top, left + size[0], top + size[1])
    assert child is not None, "no Vitrelux_R child in the host window"
    assert child.rect == rect
    assert child.visible and child.text == PREVIEW_TITLE
    assert code == 0, "the preview did not end with its parent window"
    assert host_code == 0
    assert not saver.snapshot_folder(helper).exists(), "the preview did more than preview"


def preview_differences(shot):
    """How far the preview's area is from the stored picture at its top left: the mean channel
    difference there, and the brightest channel beyond it (black)."""
    with Image.open(PREVIEW_PICTURE) as stored:
        picture = stored.convert("RGB")
    width, height = picture.size
    difference = max(ImageStat.Stat(ImageChops.difference(shot.crop((0, 0, width, height)), picture)).mean)
    beyond = max(analysis.brightest(shot, area)
                 for area in ((width, 0, shot.width, shot.height), (0, height, width, shot.height)))
    return difference, beyond


def assert_preview_picture(shot):
    difference, beyond = preview_differences(shot)
    assert difference <= PREVIEW_TOLERANCE, difference
    assert beyond <= BLACK, "not black beyond the picture"


@pytest.mark.parametrize("with_renderer", [True, False],
                         ids=["renderer-present", "renderer-missing"])
def test_preview_paints_picture_top_left_over_black(with_renderer, wine, dist, helper, x_server,
                                                    test_dir):
    program = saver.install(dist, test_dir / "Vitrelux", with_renderer=with_renderer)
    desktop_window = helper.run("desktop")[1][0]
    with saver.running(wine, program, helper, ["/p", desktop_window]) as run:
        assert helper.wait_for(PREVIEW_TITLE, 20), "no preview window"
        time.sleep(1)
        shot = screen.screenshot(x_server.display, test_dir / "preview.png")
        code = run.close(helper, PREVIEW_TITLE, 10)
        renderers = saver.renderer_pids(wine)
    assert_preview_picture(shot)
    assert code == 0
    assert renderers == []


@pytest.mark.skipif(xserver.wine_major_version() < 10,
                    reason="Wine before 10 draws no child window whose parent belongs to another process")
def test_preview_inside_the_settings_pages_window_shows_its_picture(wine, dist, helper, x_server, test_dir):
    program = saver.install(dist, test_dir / "Vitrelux")
    with saver.hosted_window(wine, helper, HOST_TITLE, (200, 150, 300, 200)) as (handle, _):
        with saver.running(wine, program, helper, ["/p", str(handle)]):
            child = wait_until(lambda: helper.child(HOST_TITLE, PREVIEW_CLASS), 20)
            assert child is not None, "no Vitrelux_R child in the host window"
            area = child.rect
            shots = []

            # NOTE: Wine 10 draws the child of another process's window a while after it is shown.
            def preview_shown():
                shots.append(screen.screenshot(x_server.display, test_dir / "preview.png").crop(area))
                return preview_differences(shots[-1])[0] <= PREVIEW_TOLERANCE
            wait_until(preview_shown, 15)
            assert helper.post(HOST_TITLE, WM_CLOSE)
    assert_preview_picture(shots[-1])


# --- Music, and how the show ends ---

@dataclass
class MusicShow:
    ear: sound.Listener
    # Whether the show ran, sign by sign: the renderer window came, the front end and the
    # window stayed.
    signs: dict = field(default_factory=dict)
    trace: list = None
    end_started: float = None
    ended_at: float = None
    exit_code: int = None

    @property
    def ran(self):
        return all(self.signs.values())

    def why_not(self):
        return f"{self.signs}, trace: {self.trace}"


def close_renderer(wine, helper):
    assert helper.post(RENDERER_TITLE, WM_CLOSE)


def kill_renderer(wine, helper):
    pids = saver.renderer_pids(wine)
    assert len(pids) == 1, pids
    os.kill(pids[0], signal.SIGKILL)


def end_session(wine, helper):
    """Signing out as Wine does it: every window is asked WM_QUERYENDSESSION, then told
    WM_ENDSESSION."""
    wine.call("wineboot", ["--end-session"], timeout=60, attempts=1)


def run_music_show(wine, helper, capture, dist, folder, entries, listen=LISTEN, end=close_renderer):
    """A /s show of a copy in folder with the given settings: listened to from the start, for `listen`
    seconds after the renderer window came up, then ended and listened to for a while longer."""
    program = saver.install(dist, folder / "Vitrelux")
    saver.write_settings(program.parent, entries)
    trace = program.parent / "trace.txt"
    with sound.Listener(capture) as ear, \
            saver.running(wine, program, helper, ["/s"], trace=trace) as run:
        show = MusicShow(ear=ear)
        window_came = show.signs["renderer window came"] = bool(helper.wait_for(RENDERER_TITLE))
        time.sleep(listen)
        show.signs["front end stayed"] = run.running()
        show.signs["window stayed"] = bool(helper.find(RENDERER_TITLE))
        if window_came:
            show.end_started = ear.now()
            end(wine, helper)
            show.exit_code = run.wait_exit(30)
            show.ended_at = ear.now()
            time.sleep(1.5)
        show.trace = run.trace_lines()
    return show


def assert_stopped_with_show(show):
    assert show.exit_code == 0
    assert show.ended_at - show.end_started <= FOLLOWS + 2, "front end outlived the renderer"
    assert show.ear.loud_seconds(show.end_started - 2, show.end_started) > 0, "no music at the end"
    assert show.ear.loud_seconds(show.ended_at + 0.3) == 0, "music goes on after the show"


def test_mp3_restarts_and_stops_when_renderer_is_killed(wine, dist, helper, sound_capture,
                                                        sound_device, sounds, test_dir):
    settings = saver.music_settings(2, windows_path(sounds.mp3))
    show = run_music_show(wine, helper, sound_capture, dist, test_dir, settings,
                          listen=3 * MP3_SECONDS, end=kill_renderer)
    assert show.ran, show.why_not()
    first = show.ear.first_loud()
    assert first is not None, "the MP3 was not heard"
    again = show.ear.loud_seconds(first + MP3_SECONDS + 0.5, show.end_started)
    assert again >= HEARD, f"not heard again after it ended ({again:.2f} s)"
    # Killed, the renderer cannot end anything itself: the front end must notice on its own.
    assert show.ended_at - show.end_started <= FOLLOWS, show.ended_at - show.end_started
    assert_stopped_with_show(show)


def test_wav_loops_and_stops_with_the_show(wine, dist, helper, sound_capture, sound_device,
                                            sounds, test_dir):
    settings = saver.music_settings(2, windows_path(sounds.wav))
    show = run_music_show(wine, helper, sound_capture, dist, test_dir, settings,
                          listen=2 * WAV_SECONDS + 1)
    assert show.ran, show.why_not()
    first = show.ear.first_loud()
    assert first is not None, "the WAV was not heard"
    assert show.ear.loud_seconds() > 2 * WAV_SECONDS, "played no more than once"
    assert show.ear.loud_seconds(first + WAV_SECONDS + 1, show.end_started) >= HEARD, \
        "not heard beyond its length"
    assert_stopped_with_show(show)


def test_signing_out_ends_the_show_with_its_music_and_gives_the_display_back(wine, dist, helper, x_server,
                                                                            sound_capture, sound_device,
                                                                            sounds, test_dir):
    settings = saver.music_settings(2, windows_path(sounds.wav))
    show = run_music_show(wine, helper, sound_capture, dist, test_dir, settings, end=end_session)
    assert show.ran, show.why_not()
    assert_stopped_with_show(show)
    # Wine gives no display mode back for a program that ends without doing so itself.
    assert xserver.screen_size(x_server.display) == xserver.START_SIZE


# (source, music file, repeat track) -> heard. None leaves a key out, and all three None leave
# no file; a music file is a sounds attribute, "+suffix" appends to its Windows path. Where a
# misread value would change what is heard, the case says so.
SETTINGS_CASES = [
    pytest.param((None, None, None), False, id="no-settings-file"),
    pytest.param((None, "wav", None), False, id="no-source-key"),
    pytest.param(("abc", "wav", None), False, id="source-abc-is-0"),
    pytest.param(("2.9", "wav", None), True, id="source-2.9-floors-to-2"),
    pytest.param(("3.9", "wav", None), False, id="source-3.9-is-3"),
    pytest.param(("-1.5", "wav", None), False, id="source--1.5-is--2"),
    pytest.param(("99999", "wav", None), False, id="source-99999-is-0"),
    # 65538 would be 2 if it wrapped to 16 bits.
    pytest.param(("65538", "wav", None), False, id="source-65538-is-0-not-2"),
    pytest.param(("2", "gone", None), False, id="music-file-gone"),
    pytest.param(("2", "mid", None), False, id="mid-plays-nothing"),
    pytest.param(("1", None, "abc"), False, id="cd-without-drive"),
    pytest.param(("2", "long_mp3", None), True, id="file-path-of-259-characters"),
    pytest.param(("2", "japanese", None), True, id="file-in-shift-jis-folder"),
    # The file exists, so the source stays 2, but "...WAV\" does not end in a known type.
    pytest.param(("2", "wav+\\", None), False, id="file-with-trailing-backslash"),
]


def case_settings(case, sounds):
    source, music, repeat = case
    if case == (None, None, None):
        return None
    path = None
    if music:
        name, _, suffix = music.partition("+")
        path = windows_path(getattr(sounds, name)) + suffix
    return saver.music_settings(source, path, repeat)


@pytest.mark.parametrize("case, heard", SETTINGS_CASES)
def test_settings_never_stop_the_show(case, heard, wine, dist, helper, sound_capture,
                                      sound_device, sounds, test_dir):
    show = run_music_show(wine, helper, sound_capture, dist, test_dir, case_settings(case, sounds))
    assert show.ran, show.why_not()
    loud = show.ear.loud_seconds(0, show.end_started)
    assert (loud >= HEARD) == heard, f"{loud:.2f} s of loud sound"
    assert show.exit_code == 0
    assert show.ear.loud_seconds(show.ended_at + 0.3) == 0, "sound goes on after the show"
