#!/usr/bin/python3
# Runs the full Vitrelux show, Vitrelux.scr /s with music, from a copy under --out: on the user's
# X display if DISPLAY is set (ends with Escape), otherwise on a private Xorg dummy server with a
# generated sunset as the desktop, saving screenshots and ending the show with Escape. With
# --two-monitors the show runs on two monitors side by side, shown as two windows on the user's
# display, or on a private server that the screenshots then show whole.
import collections
import math
import os
import subprocess
import sys
import time

from PIL import Image, ImageDraw

import session  # first: it puts tests/e2e on the import path
import saver
import screen
import sound
import xserver
from windows import CENTRE, JAPANESE, RENDERER_TITLE
from wine import windows_path

# Screenshots of a headless show: into which folder under --out, how many, how far apart, and
# after how long a wait for the sheets to spread over the screen.
Shots = collections.namedtuple("Shots", "folder count interval settle")
SHOTS = Shots("shots", 12, 0.5, 1)
# A C major arpeggio, repeated into about eight seconds of music.
NOTES = ("C4", "E4", "G4", "C5", "G4", "E4")
NOTE_SECONDS = 0.35


def sunset(size):
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
    parser = session.argument_parser("Runs the Vitrelux show with music.", "show")
    parser.add_argument("--music", choices=("mp3", "wav", "none"), default="mp3")
    parser.add_argument("--two-monitors", action="store_true",
                        help="a 1024 x 768 primary with a 1280 x 1024 monitor to its right")
    return session.parse_args(parser)


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


def show_sunset(display, out):
    """Puts the sunset, at the screen's size, on the root window."""
    saver.show_desktop(display, sunset(xserver.root_size(display)), out)


def start_headless_show(wine, helper, program, out):
    """Puts the sunset on the root window and starts the show; returns the run, or None."""
    show_sunset(wine.display, out)
    run = saver.FrontEnd(wine, program, ["/s"], log_name="saver").start()
    if helper.wait_for(RENDERER_TITLE):
        return run
    run.stop(helper)
    print("the renderer window did not appear; see", out / "logs", file=sys.stderr)
    return None


def record_headless_show(wine, helper, program, out, shots):
    """Runs the show, takes the screenshots, then ends the renderer with Escape, which the front
    end follows; returns (screenshots, the front end's exit code or None if it is still running),
    or None if the show did not start."""
    run = start_headless_show(wine, helper, program, out)
    if not run:
        return None
    time.sleep(shots.settle)
    frames = screen.capture_series(wine.display, out / shots.folder, shots.count, shots.interval)
    screen.press_key(wine.display, *CENTRE, "Escape")
    code = run.wait_exit(30)
    if code is None:
        print("30 s after Escape the renderer's window is",
              "still there" if helper.find(RENDERER_TITLE) else "gone", file=sys.stderr)
    run.stop(helper)
    return frames, code


def show_headless(wine, helper, program, out):
    with sound.Listener(sound.SoundCapture(out / "home")) as ear:
        recorded = record_headless_show(wine, helper, program, out, SHOTS)
    if not recorded:
        return 1
    code = recorded[1]
    print("screenshots in", out / SHOTS.folder)
    print(f"music heard: {ear.loud_seconds():.1f} s of sound written")
    if code != 0:
        print("the front end did not end with the show" if code is None
              else f"the front end ended with code {code}", file=sys.stderr)
        return 1
    return 0


def wine_env(out, headless):
    env = dict(JAPANESE)
    if headless:
        # No sound card on a headless machine: the capture gives Wine a device to play into.
        env.update(sound.SoundCapture(out / "home").install().env)
    return env


def main():
    args = parse_args()
    display = os.environ.get("DISPLAY")
    with session.started(args, wine_env(args.out, not display), display,
                         args.two_monitors) as (_, wine, helper):
        program = install_show(args.dist, args.out, args.music)
        if display:
            return show_on_user_display(wine, helper, program)
        return show_headless(wine, helper, program, args.out)


if __name__ == "__main__":
    sys.exit(main())
