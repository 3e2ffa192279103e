#!/usr/bin/python3
# Regenerates the pictures taken from the show: saver/core/preview.bmp, the still picture of the
# settings page's preview, and docs/show.png, the README's picture, from one headless show.
import sys
from pathlib import Path

from PIL import Image

import session  # first: it puts tests/e2e on the import path
import analysis
import show
from windows import PREVIEW_PICTURE, SHOW_SIZE

PREVIEW_SIZE = (152, 112)
FRAMES = show.Shots("frames", 24, 0.25, 2)


def parse_args():
    parser = session.argument_parser(
        "Regenerates the preview picture and the README's picture of the show.", "pictures",
        out_help="work folder: X server, Wine prefix, the recorded frames")
    parser.add_argument("--preview", type=Path, default=PREVIEW_PICTURE)
    parser.add_argument("--picture", type=Path, default=session.ROOT / "docs" / "show.png")
    return session.parse_args(parser)


def record_frames(args):
    """The show as tools/show.sh runs it headless, over the sunset, but without music; returns
    the frames recorded, none if it did not start."""
    with session.started(args, show.wine_env(args.out, headless=True)) as (_, wine, helper):
        program = show.install_show(args.dist, args.out, "none")
        recorded = show.record_headless_show(wine, helper, program, args.out, FRAMES)
    return recorded[0] if recorded else []


def main():
    args = parse_args()
    frames = record_frames(args)
    if not frames:
        return 1
    best = max(range(len(frames)), key=lambda index: analysis.lit_fraction(frames[index]))
    frame = frames[best]
    if frame.size != SHOW_SIZE:
        print(f"frame {best:02d} is {frame.size}, not the show's {SHOW_SIZE}", file=sys.stderr)
        return 1
    frame.resize(PREVIEW_SIZE, Image.Resampling.LANCZOS).save(args.preview, "BMP")
    frame.save(args.picture, "PNG", optimize=True)
    print(f"frame {best:02d} of {args.out / FRAMES.folder} ({analysis.lit_fraction(frame):.0%} lit)"
          f" saved as {args.preview} and {args.picture}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
