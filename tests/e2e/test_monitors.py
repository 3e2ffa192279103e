# End-to-end tests of the show on two monitors side by side: the other monitor is black while the
# show runs, a click there leaves the keyboard with the show, and no window of the show outlives it.
import time

import pytest

import analysis
import pictures
import renderer
import saver
import screen
import xserver
from analysis import BLACK
from waiting import wait_until
from windows import (CENTRE, COVER_CLASS, RENDERER_TITLE, WM_CLOSE, WS_EX_NOACTIVATE,
                     WS_EX_TOOLWINDOW, WS_EX_TOPMOST)

PRIMARY, SECOND = xserver.TWO_MONITORS
# The test's own white window across both monitors (x, y, width, height): black on the second can
# only mean covered, and on the primary it gives the snapshot something to show (the root window is
# black).
TEST_WINDOW = "Vitrelux test window"
TEST_WINDOW_AREA = (200, 100, 1800, 600)
ON_SECOND = (SECOND[0], 100, 2000, 700)
ON_PRIMARY = (200, 100, PRIMARY[2], 600)
WHITE = 247
# NOTE: Wine may put a new window's surface on the screen once before its first paint: a few
# dozen stray pixels of whatever the memory held, for a few milliseconds.
STRAY = 0.001
# The X server can be caught drawing the cover still, a strip of rows, in the first screenshot
# that shows the show; a cover made late leaves the whole monitor shown for many.
FIRST_STRAY = 0.05
AFTER_SHOWN = 4  # screenshots looked at after the first that shows the show


@pytest.fixture(scope="session")
def x_server(work_dir):
    """Here the programs run on two monitors."""
    server = xserver.TwoMonitors(work_dir / "x").start()
    yield server
    server.stop()


@pytest.fixture
def test_window(wine, helper):
    with saver.hosted_window(wine, helper, TEST_WINDOW, TEST_WINDOW_AREA) as window:
        assert helper.wait_for(TEST_WINDOW), "the test's window did not come"
        yield window


def darkest(image, rect):
    return min(image.crop(rect).convert("L").getextrema()[0], 255)


def covers(helper):
    return helper.windows(COVER_CLASS)


def test_wine_lists_both_monitors(helper):
    assert helper.monitors() == [(PRIMARY, True), (SECOND, False)]


def test_show_blacks_out_the_other_monitor_and_keeps_the_keyboard(wine, dist, helper, x_server,
                                                                  test_window, test_dir):
    display = x_server.display
    program = saver.install(dist, test_dir / "Vitrelux")
    saver.write_settings(program.parent, saver.music_settings(0))
    assert darkest(screen.screenshot(display, test_dir / "before.png"), ON_SECOND) >= WHITE
    with saver.running(wine, program, helper, ["/s"]) as run:
        assert helper.wait_for(RENDERER_TITLE), "the show did not start"
        shown = wait_until(lambda: covers(helper), 20)
        assert [cover.rect for cover in shown] == [SECOND]
        wanted = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE
        assert shown[0].visible and shown[0].ex_style & wanted == wanted
        assert screen.wait_for_sheets(display, test_dir / "waiting.png", PRIMARY), "no sheets"
        frames = screen.capture_series(display, test_dir / "show", 8, 0.5)
        second = max(analysis.brightest(frame, SECOND) for frame in frames)
        assert second <= BLACK, f"the second monitor shows (up to {second})"
        lit = analysis.lit_frames([frame.crop(PRIMARY) for frame in frames])
        assert len(lit) >= len(frames) // 2, "too few frames show sheets on the primary"

        screen.click(display, *screen.centre(SECOND))
        time.sleep(1)
        assert helper.focus() == (RENDERER_TITLE, RENDERER_TITLE), "the click moved the keyboard"
        screen.press_key_over(display, *CENTRE, "Escape")
        assert run.wait_exit(30) == 0, "Escape did not end the show"
    assert covers(helper) == [] and helper.find(RENDERER_TITLE) is None
    after = screen.screenshot(display, test_dir / "after.png")
    assert darkest(after, ON_SECOND) >= WHITE, "the test's window does not show again"


def test_other_monitor_is_black_from_the_moment_the_show_is_there(wine, dist, helper, x_server,
                                                                  test_window):
    """The show's window hides the primary's part of the test's white window; from the first
    screenshot where none of that is left, the second monitor must never show. (A screenshot can
    catch the X server half-way through drawing, the same rows on both monitors.)"""
    renderer.put_snapshot(helper, pictures.two_tone())
    assert wait_until(lambda: all(darkest(screen.quick_screenshot(x_server.display), area) >= WHITE
                                  for area in (ON_PRIMARY, ON_SECOND)), 10), "the test's window is not drawn"

    def look(frame):
        return (analysis.white_fraction(frame.crop(ON_PRIMARY)) == 0,
                analysis.lit_fraction(frame.crop(ON_SECOND), BLACK))
    with renderer.running(wine, dist, helper) as run:
        looks = screen.watch(x_server.display, look,
                             lambda frame: look(frame)[0] and screen.shows_sheets(frame, PRIMARY))
        looks += [look(screen.quick_screenshot(x_server.display)) for _ in range(AFTER_SHOWN)]
        shows = helper.windows(RENDERER_TITLE)
        assert run.close(helper) == 0
    shown_at = next((index for index, (show_there, _) in enumerate(looks) if show_there), None)
    assert shown_at is not None, "no screenshot shows the show"
    during = [second for _, second in looks[shown_at:]]
    assert during[0] <= FIRST_STRAY and max(during[1:]) <= STRAY, \
        f"the second monitor shows while the show is there: {during}"
    assert shows and shows[0].ex_style & WS_EX_TOPMOST, "the show's window is not top-most"


def close_show(run, helper):
    assert helper.post(RENDERER_TITLE, WM_CLOSE)


def close_cover(run, helper):
    assert helper.post(COVER_CLASS, WM_CLOSE)


def kill(run, helper):
    run.kill()


@pytest.mark.parametrize("end", [
    pytest.param(close_show, id="show-closed"),
    pytest.param(close_cover, id="cover-closed"),
    pytest.param(kill, id="killed"),
])
def test_no_cover_outlives_the_show(end, wine, dist, helper):
    renderer.put_snapshot(helper, pictures.two_tone())
    with renderer.running(wine, dist, helper) as run:
        assert wait_until(lambda: covers(helper), 20), "no cover came"
        end(run, helper)
        assert run.wait_exit(30) is not None, "the show did not end"
    assert wait_until(lambda: not covers(helper), 10), "a cover is left"
    assert helper.find(RENDERER_TITLE) is None
