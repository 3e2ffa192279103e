#!/usr/bin/python3
# Shows Vitrelux with a generated sunset picture as its snapshot: on the user's X display if
# DISPLAY is set (ends with Escape), otherwise on a private Xorg dummy server, saving screenshots.
import argparse
import math
import os
import sys
import time
from pathlib import Path

from PIL import Image, ImageDraw

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import renderer  # noqa: E402
import screen  # noqa: E402
import xserver  # noqa: E402
from wine import Wine  # noqa: E402

SIDE = 1280
SHOT_COUNT = 12
SHOT_INTERVAL = 0.5


def sunset(side=SIDE):
    """Warm sky, a sun and three layers of hills; warm colours suit the red-green tints."""
    sky = Image.new("RGB", (1, side))
    for y in range(side):
        t = y / side
        sky.putpixel((0, y), (int(60 + 195 * t), int(20 + 150 * t ** 1.5), int(90 + 40 * (1 - t))))
    image = sky.resize((side, side))
    draw = ImageDraw.Draw(image)
    sun_x, sun_y = side * 0.62, side * 0.55
    for radius in range(int(side * 0.16), int(side * 0.09), -4):
        glow = 1 - (radius - side * 0.09) / (side * 0.07)
        draw.ellipse([sun_x - radius, sun_y - radius, sun_x + radius, sun_y + radius],
                     fill=(255, int(150 + 80 * glow), int(60 + 90 * glow)))
    for layer, colour in enumerate([(120, 50, 70), (80, 30, 55), (40, 15, 35)]):
        draw.polygon(hill_outline(side, layer), fill=colour)
    return image


def hill_outline(side, layer):
    base = side * (0.62 + 0.1 * layer)
    points = [(x, base - side * 0.05 * math.sin(x / side * math.tau * (1.3 + layer) + layer))
              for x in range(0, side + 1, 8)]
    return points + [(side, side), (0, side)]


def parse_args():
    build = ROOT / "build" / "windows-x86"
    parser = argparse.ArgumentParser(description="Shows Vitrelux with a generated snapshot.")
    parser.add_argument("--dist", type=Path, default=build / "dist")
    parser.add_argument("--helper", type=Path,
                        default=build / "tests" / "e2e" / "vitrelux_e2e_helper.exe")
    parser.add_argument("--out", type=Path, default=ROOT / "build" / "show")
    return parser.parse_args()


def show_on_user_display(wine, args):
    """Runs until the renderer ends; Ctrl-C closes it politely so the mode comes back."""
    with renderer.running(wine, args.dist, renderer.Helper(wine, args.helper)) as run:
        print("Vitrelux is running; press Escape to end it.")
        try:
            run.wait_exit(None)
        except KeyboardInterrupt:
            pass
    return run.process.returncode


def show_headless(wine, display, args):
    helper = renderer.Helper(wine, args.helper)
    helper.screen()
    with renderer.running(wine, args.dist, helper, log_name="renderer") as run:
        if not helper.wait_for(renderer.WINDOW_TITLE):
            print("the renderer window did not appear; see", args.out / "logs", file=sys.stderr)
            return 1
        time.sleep(1)
        screen.capture_series(display, args.out / "shots", SHOT_COUNT, SHOT_INTERVAL)
        helper.post(renderer.WINDOW_TITLE, renderer.WM_CLOSE)
        code = run.wait_exit(30)
    print("screenshots in", args.out / "shots")
    return code


def main():
    args = parse_args()
    args.out = args.out.resolve()
    args.out.mkdir(parents=True, exist_ok=True)
    display = os.environ.get("DISPLAY")
    server = None if display else xserver.XServer(args.out / "x").start()
    wine = Wine(args.out / "prefix", display or server.display, args.out / "logs")
    try:
        wine.open_prefix()
        renderer.put_snapshot(wine, sunset())
        if display:
            return show_on_user_display(wine, args)
        return show_headless(wine, server.display, args)
    finally:
        wine.close()
        if server:
            server.stop()


if __name__ == "__main__":
    sys.exit(main())
