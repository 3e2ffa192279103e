#!/usr/bin/python3
# Regenerates the pictures taken from the programs: saver/core/preview.bmp, the still picture of
# the settings page's preview, and docs/show.png, the README's picture, from one headless show;
# docs/settings.png, the README's picture of the settings dialog.
import sys
from pathlib import Path

from PIL import Image

import session  # first: it puts tests/e2e on the import path
import analysis
import saver
import screen
import show
from windows import PREVIEW_PICTURE, SETTINGS_TITLE, SHOW_SIZE, WM_CLOSE

PREVIEW_SIZE = (152, 112)
FRAMES = show.Shots("frames", 24, 0.25, 2)


def parse_args():
    parser = session.argument_parser(
        "Regenerates the preview picture and the README's picture of the show.", "pictures",
        out_help="work folder: X server, Wine prefix, the recorded frames")
    parser.add_argument("--preview", type=Path, default=PREVIEW_PICTURE)
    parser.add_argument("--picture", type=Path, default=session.ROOT / "docs" / "show.png")
    parser.add_argument("--dialog", type=Path, default=session.ROOT / "docs" / "settings.png")
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
    if not frames or not dialog:
        print("the show or the dialog did not come; see", args.out / "logs", file=sys.stderr)
        return 1
    dialog.save(args.dialog, "PNG", optimize=True)
    best = max(range(len(frames)), key=lambda index: analysis.lit_fraction(frames[index]))
    frame = frames[best]
    if frame.size != SHOW_SIZE:
        print(f"frame {best:02d} is {frame.size}, not the show's {SHOW_SIZE}", file=sys.stderr)
        return 1
    frame.resize(PREVIEW_SIZE, Image.Resampling.LANCZOS).save(args.preview, "BMP")
    frame.save(args.picture, "PNG", optimize=True)
    print(f"frame {best:02d} of {args.out / FRAMES.folder} ({analysis.lit_fraction(frame):.0%} lit)"
          f" saved as {args.preview} and {args.picture}; the dialog as {args.dialog}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
