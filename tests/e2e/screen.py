# Screen access for the end-to-end tests: root window screenshots into PIL images,
# pointer moves, clicks and key presses through xdotool (XTEST, so the X server sees real input).
import os
import struct
import subprocess
import time

from PIL import Image

import analysis
from waiting import wait_until
from xserver import run_x_tool

SHEETS_AT_MOST = 0.5  # share of lit pixels in the show's first seconds


def screenshot(display, path):
    run_x_tool(display, ["import", "-window", "root", f"png:{path}"], timeout=30, check=True)
    with Image.open(path) as image:
        return image.convert("RGB")


def quick_screenshot(display):
    """The root window through xwd, several times quicker than a PNG: for watching the screen
    change from one moment to the next."""
    # NOTE: xwd now and then fails with BadWindow when a window goes while it reads the screen.
    for attempt in range(3):
        done = subprocess.run(["xwd", "-root", "-silent"], env=dict(os.environ, DISPLAY=display),
                              capture_output=True, timeout=30)
        if done.returncode == 0 or attempt == 2:
            break
    done.check_returncode()
    dump = done.stdout
    # 25 big-endian 32-bit fields, then the colour table (12 bytes an entry), then the pixels.
    fields = struct.unpack(">25I", dump[:100])
    header_size, width, height, byte_order = fields[0], fields[4], fields[5], fields[7]
    bits_per_pixel, bytes_per_line, colours = fields[11], fields[12], fields[19]
    layouts = {(32, 0): "BGRX", (32, 1): "XRGB", (24, 0): "BGR", (24, 1): "RGB"}
    layout = layouts.get((bits_per_pixel, byte_order))
    assert layout, f"xwd gave {bits_per_pixel} bits a pixel in byte order {byte_order}"
    pixels = dump[header_size + 12 * colours:]
    return Image.frombuffer("RGB", (width, height), pixels, "raw", layout, bytes_per_line, 1)


def watch(display, measure, until, timeout=30):
    """measure(screenshot) of screenshots taken one after another, until until(screenshot) holds
    or the time is up (only the measures are kept: a screenshot is megabytes)."""
    measures = []

    def look():
        frame = quick_screenshot(display)
        measures.append(measure(frame))
        return until(frame)
    wait_until(look, timeout, 0)
    return measures


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def xdotool(display, *args):
    run_x_tool(display, ["xdotool", *args]).check_returncode()


def move_pointer(display, x, y):
    xdotool(display, "mousemove", str(x), str(y))


def click(display, x, y, button=1):
    xdotool(display, "mousemove", str(x), str(y), "click", str(button))


def press_key(display, x, y, key):
    """NOTE: without a window manager a Wine window gets keyboard focus only from a click,
    and synthetic events (xdotool key --window) are ignored, so click first, then type."""
    click(display, x, y)
    xdotool(display, "key", key)


def press_key_over(display, x, y, key):
    """Without a window manager keys go to the X window under the pointer: the pointer is moved
    there first, and nothing is clicked."""
    move_pointer(display, x, y)
    xdotool(display, "key", key)


def capture_series(display, folder, count, interval):
    """count screenshots about interval seconds apart, also kept as files to look at later."""
    folder.mkdir(parents=True, exist_ok=True)
    frames = []
    for index in range(count):
        started = time.monotonic()
        frames.append(screenshot(display, folder / f"{index:02d}.png"))
        time.sleep(max(0.0, interval - (time.monotonic() - started)))
    return frames


def wait_for_sheets(display, path, area, timeout=30):
    """The show starts dark and builds up its sheets; a slow machine takes seconds to get there.
    True once area (x0, y0, x1, y1) shows some, and not the plain white of a window that has not
    been drawn into yet."""
    path.parent.mkdir(parents=True, exist_ok=True)

    return wait_until(lambda: shows_sheets(screenshot(display, path), area), timeout)


def shows_sheets(image, area):
    fraction = analysis.lit_fraction(image.crop(area))
    return analysis.LIT_FRAME < fraction < SHEETS_AT_MOST
