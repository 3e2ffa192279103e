#!/usr/bin/python3
# Regenerates the pictures taken from the programs: saver/core/preview.bmp, the still picture of
# the settings page's preview, and docs/show.png, the README's picture, from one headless show;
# docs/settings.png, the README's picture of the settings dialog; docs/show-two-monitors.png, the
# show on two monitors side by side.
import sys
from pathlib import Path

from PIL import Image, ImageDraw

import session  # first: it puts tests/e2e on the import path
import analysis
import saver
import screen
import show
import xserver
from windows import PREVIEW_PICTURE, SETTINGS_TITLE, SHOW_SIZE, WM_CLOSE

PREVIEW_SIZE = (152, 112)
FRAMES = show.Shots("frames", 24, 0.25, 2)
TWO_MONITOR_FRAMES = show.Shots("two-monitors", 12, 0.5, 2)
# The two-monitor picture at half size, each monitor outlined (black on black would not show where
# the second one is) and the rest transparent: below the smaller monitor the X server repeats it.
TWO_MONITOR_SCALE = 2
OUTLINE = (96, 96, 96)


def parse_args():
    parser = session.argument_parser(
        "Regenerates the preview picture and the README's picture of the show.", "pictures",
        out_help="work folder: X server, Wine prefix, the recorded frames")
    parser.add_argument("--preview", type=Path, default=PREVIEW_PICTURE)
    parser.add_argument("--picture", type=Path, default=session.ROOT / "docs" / "show.png")
    parser.add_argument("--dialog", type=Path, default=session.ROOT / "docs" / "settings.png")
    parser.add_argument("--two-monitors", type=Path,
                        default=session.ROOT / "docs" / "show-two-monitors.png")
    return session.parse_args(parser)


def record(args):
    """The show as tools/show.sh runs it headless, over the sunset, but without music, and then
    the settings dialog; returns the frames recorded (none if the show did not start) and the
    dialog's picture (None if it did not open)."""
    with session.started(args, show.wine_env(args.out, headless=True)) as (server, wine, helper):
        program = show.install_show(args.dist, args.out, "none")
        recorded = show.record_headless_show(wine, helper, program, args.out, FRAMES)
        dialog = dialog_picture(wine, helper, server.display, program, args.out)
    return (recorded[0] if recorded else []), dialog


def record_two_monitors(args):
    """The frames of the show on two monitors side by side, without music."""
    with session.started(args, show.wine_env(args.out, headless=True),
                         two_monitors=True) as (_, wine, helper):
        program = show.install_show(args.dist, args.out, "none")
        recorded = show.record_headless_show(wine, helper, program, args.out, TWO_MONITOR_FRAMES)
    return recorded[0] if recorded else []


def outlined_half_size(frame):
    width, height = frame.size
    picture = frame.resize((width // TWO_MONITOR_SCALE, height // TWO_MONITOR_SCALE),
                           Image.Resampling.LANCZOS).convert("RGBA")
    shown = Image.new("L", picture.size, 0)
    draw = ImageDraw.Draw(picture)
    for monitor in xserver.TWO_MONITORS:
        corners = [monitor[0] // TWO_MONITOR_SCALE, monitor[1] // TWO_MONITOR_SCALE,
                   monitor[2] // TWO_MONITOR_SCALE - 1, monitor[3] // TWO_MONITOR_SCALE - 1]
        ImageDraw.Draw(shown).rectangle(corners, fill=255)
        draw.rectangle(corners, outline=OUTLINE)
    picture.putalpha(shown)
    return picture


def most_lit(frames):
    return max(range(len(frames)), key=lambda index: analysis.lit_fraction(frames[index]))


def dialog_picture(wine, helper, display, program, out):
    """The settings dialog's client area, the CD chosen with track 3 to repeat."""
    saver.import_registry(wine, out, saver.TYPEFACE_REGISTRY)
    saver.write_settings(program.parent, saver.music_settings(1, None, 3))
    screen.move_pointer(display, 0, 0)
    with saver.running(wine, program, helper, ["/c"], log_name="dialog"):
        client = helper.wait_for(SETTINGS_TITLE) and helper.client(SETTINGS_TITLE)
        picture = screen.screenshot(display, out / "dialog.png").crop(client) if client else None
        helper.post(SETTINGS_TITLE, WM_CLOSE)
    return picture


def main():
    args = parse_args()
    frames, dialog = record(args)
    two_monitors = record_two_monitors(args)
    if not frames or not dialog or not two_monitors:
        print("the show, the dialog or the two monitors did not come; see", args.out / "logs",
              file=sys.stderr)
        return 1
    dialog.save(args.dialog, "PNG", optimize=True)
    outlined_half_size(two_monitors[most_lit(two_monitors)]).save(args.two_monitors, "PNG",
                                                                  optimize=True)
    best = most_lit(frames)
    frame = frames[best]
    if frame.size != SHOW_SIZE:
        print(f"frame {best:02d} is {frame.size}, not the show's {SHOW_SIZE}", file=sys.stderr)
        return 1
    frame.resize(PREVIEW_SIZE, Image.Resampling.LANCZOS).save(args.preview, "BMP")
    frame.save(args.picture, "PNG", optimize=True)
    print(f"frame {best:02d} of {args.out / FRAMES.folder} ({analysis.lit_fraction(frame):.0%} lit)"
          f" saved as {args.preview} and {args.picture}; the dialog as {args.dialog}; two"
          f" monitors as {args.two_monitors}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
