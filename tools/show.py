#!/usr/bin/python3
# Runs the full Vitrelux show, Vitrelux.scr /s with music, from a copy under --out: on the user's
# X display if DISPLAY is set (ends with Escape), otherwise on a private Xorg dummy server with a
# generated sunset as the desktop, saving screenshots and ending the show with Escape.
import argparse
import math
import os
import subprocess
import sys
import time
from pathlib import Path

from PIL import Image, ImageDraw

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import renderer  # noqa: E402
import saver  # noqa: E402
import screen  # noqa: E402
import sound  # noqa: E402
import xserver  # noqa: E402
from wine import Wine, program_bits, windows_path  # noqa: E402

SHOT_COUNT = 12
SHOT_INTERVAL = 0.5
CENTRE = (512, 384)
JAPANESE = {"LANG": "ja_JP.UTF-8"}
# A C major arpeggio, repeated into about eight seconds of music.
NOTES = ("C4", "E4", "G4", "C5", "G4", "E4")
NOTE_SECONDS = 0.35


def sunset(size=xserver.START_SIZE):
    """Warm sky, a sun and three layers of hills; warm colours suit the red-green tints."""
    width, height = size
    sky = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / height
        sky.putpixel((0, y), (int(60 + 195 * t), int(20 + 150 * t ** 1.5), int(90 + 40 * (1 - t))))
    image = sky.resize(size)
    draw = ImageDraw.Draw(image)
    sun_x, sun_y, scale = width * 0.62, height * 0.55, min(size)
    for radius in range(int(scale * 0.16), int(scale * 0.09), -4):
        glow = 1 - (radius - scale * 0.09) / (scale * 0.07)
        draw.ellipse([sun_x - radius, sun_y - radius, sun_x + radius, sun_y + radius],
                     fill=(255, int(150 + 80 * glow), int(60 + 90 * glow)))
    for layer, colour in enumerate([(120, 50, 70), (80, 30, 55), (40, 15, 35)]):
        draw.polygon(hill_outline(size, layer), fill=colour)
    return image


def hill_outline(size, layer):
    width, height = size
    base = height * (0.62 + 0.1 * layer)
    points = [(x, base - height * 0.05 * math.sin(x / width * math.tau * (1.3 + layer) + layer))
              for x in range(0, width + 1, 8)]
    return points + [(width, height), (0, height)]


def sox(*args):
    subprocess.run(["sox", *map(str, args)], check=True, capture_output=True, timeout=60)


def make_music(folder, kind):
    """A few seconds of a plucked arpeggio as WAV or MP3 (sox, then lame for MP3)."""
    folder.mkdir(parents=True, exist_ok=True)
    notes = []
    for index, note in enumerate(NOTES):
        notes.append(folder / f"note-{index}.wav")
        sox("-n", "-r", sound.RATE, "-c", 2, "-b", 16, notes[-1],
            "synth", NOTE_SECONDS, "pluck", note, "fade", 0, NOTE_SECONDS, 0.1, "vol", 0.6)
    wav = folder / "arpeggio.wav"
    sox(*notes, wav, "repeat", 3)
    if kind == "wav":
        return wav
    mp3 = folder / "arpeggio.mp3"
    subprocess.run(["lame", "--quiet", "-b", "160", str(wav), str(mp3)], check=True, timeout=60)
    return mp3


def parse_args():
    build = ROOT / "build" / "windows-x86"
    parser = argparse.ArgumentParser(description="Runs the Vitrelux show with music.")
    parser.add_argument("--dist", type=Path, default=build / "dist")
    parser.add_argument("--helper", type=Path,
                        default=build / "tests" / "e2e" / "vitrelux_e2e_helper.exe")
    parser.add_argument("--out", type=Path, default=ROOT / "build" / "show")
    parser.add_argument("--music", choices=("mp3", "wav", "none"), default="mp3")
    return parser.parse_args()


def install_show(dist, out, music_kind):
    """The programs under out with a Vitrelux.ini choosing the generated music."""
    program = saver.install(dist, out / "Vitrelux")
    if music_kind == "none":
        saver.write_settings(program.parent, saver.music_settings(0))
    else:
        music = make_music(out / "music", music_kind)
        saver.write_settings(program.parent, saver.music_settings(2, windows_path(music)))
    return program


def show_on_user_display(wine, helper, program):
    """Runs until the show ends; Ctrl-C closes the renderer politely so the mode comes back."""
    with saver.running(wine, program, helper, ["/s"], log_name="saver") as run:
        print("Vitrelux is running; press Escape to end it.")
        try:
            run.wait_exit(None)
        except KeyboardInterrupt:
            pass
    return run.process.returncode


def start_headless_show(wine, helper, program, display, out):
    """Puts the sunset on the root window and starts the show; returns the run, or None."""
    saver.show_desktop(display, sunset(xserver.screen_size(display)), out)
    run = saver.FrontEnd(wine, program, ["/s"], log_name="saver").start()
    if helper.wait_for(renderer.WINDOW_TITLE):
        return run
    run.stop(helper)
    print("the renderer window did not appear; see", out / "logs", file=sys.stderr)
    return None


def end_with_escape(run, display):
    """Escape ends the renderer and the front end follows it; returns the front end's exit code,
    or None if it is still running."""
    screen.press_key(display, *CENTRE, "Escape")
    return run.wait_exit(30)


def show_headless(wine, helper, program, display, args):
    with sound.Listener(sound.SoundCapture(args.out / "home")) as ear:
        run = start_headless_show(wine, helper, program, display, args.out)
        if not run:
            return 1
        time.sleep(1)
        screen.capture_series(display, args.out / "shots", SHOT_COUNT, SHOT_INTERVAL)
        code = end_with_escape(run, display)
        run.stop(helper)
    print("screenshots in", args.out / "shots")
    print(f"music heard: {ear.loud_seconds():.1f} s of sound written")
    if code != 0:
        print("the front end did not end with the show" if code is None
              else f"the front end ended with code {code}", file=sys.stderr)
        return 1
    return 0


def open_wine(out, display, headless, dist):
    env = dict(JAPANESE)
    if headless:
        # No sound card on a headless machine: the capture gives Wine a device to play into.
        env.update(sound.SoundCapture(out / "home").install().env)
    return Wine(out / "prefix", display, out / "logs", env,
                program_bits(dist / "Vitrelux.dll")).open_prefix()


def main():
    args = parse_args()
    args.out = args.out.resolve()
    args.out.mkdir(parents=True, exist_ok=True)
    headless = not os.environ.get("DISPLAY")
    server = xserver.XServer(args.out / "x").start() if headless else None
    wine = None
    try:
        wine = open_wine(args.out, server.display if headless else os.environ["DISPLAY"], headless,
                         args.dist)
        helper = renderer.Helper(wine, args.helper)
        helper.screen()
        program = install_show(args.dist, args.out, args.music)
        if headless:
            return show_headless(wine, helper, program, server.display, args)
        return show_on_user_display(wine, helper, program)
    finally:
        if wine:
            wine.close()
        if server:
            server.stop()


if __name__ == "__main__":
    sys.exit(main())
