#!/usr/bin/python3
# Regenerates saver/core/preview.bmp, the still picture of the settings page's preview: the frame
# with most content the renderer drew over the generated sunset desktop, scaled to 152 x 112.
import argparse
import sys
import time
from pathlib import Path

from PIL import Image

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import analysis  # noqa: E402
import renderer  # noqa: E402
import screen  # noqa: E402
import show  # noqa: E402
import xserver  # noqa: E402

PREVIEW_SIZE = (152, 112)
FRAME_COUNT = 24
FRAME_INTERVAL = 0.25
SETTLE_SECONDS = 2   # sheets need a moment to spread over the screen


def parse_args():
    build = ROOT / "build" / "windows-x86"
    parser = argparse.ArgumentParser(description="Regenerates the preview picture.")
    parser.add_argument("--dist", type=Path, default=build / "dist")
    parser.add_argument("--helper", type=Path,
                        default=build / "tests" / "e2e" / "vitrelux_e2e_helper.exe")
    parser.add_argument("--out", type=Path, default=ROOT / "build" / "preview",
                        help="work folder: X server, Wine prefix, the recorded frames")
    parser.add_argument("--output", type=Path, default=ROOT / "saver" / "core" / "preview.bmp")
    return parser.parse_args()


def record_frames(args):
    """A headless show without music; returns the frames recorded, none if it did not start."""
    server = xserver.XServer(args.out / "x").start()
    wine = None
    try:
        wine = show.open_wine(args.out, server.display, headless=True, dist=args.dist)
        helper = renderer.Helper(wine, args.helper)
        helper.screen()
        program = show.install_show(args.dist, args.out, "none")
        run = show.start_headless_show(wine, helper, program, server.display, args.out)
        if not run:
            return []
        time.sleep(SETTLE_SECONDS)
        frames = screen.capture_series(server.display, args.out / "frames", FRAME_COUNT,
                                       FRAME_INTERVAL)
        show.end_with_escape(run, server.display)
        run.stop(helper)
        return frames
    finally:
        if wine:
            wine.close()
        server.stop()


def main():
    args = parse_args()
    args.out = args.out.resolve()
    args.out.mkdir(parents=True, exist_ok=True)
    frames = record_frames(args)
    if not frames:
        return 1
    best = max(range(len(frames)), key=lambda index: analysis.lit_fraction(frames[index]))
    preview = frames[best].resize(PREVIEW_SIZE, Image.Resampling.LANCZOS)
    preview.save(args.output, "BMP")
    print(f"frame {best:02d} of {args.out / 'frames'} "
          f"({analysis.lit_fraction(frames[best]):.0%} lit) saved as {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
