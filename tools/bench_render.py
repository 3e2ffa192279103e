#!/usr/bin/python3
# Benchmark (not a test) of Vitrelux under Wine on a private Xorg dummy server: start-up stages
# to the first frame per snapshot size, then frame rate, CPU time per frame and per second of show,
# and peak memory.
import os
import time
from pathlib import Path

import session  # first: it puts tests/e2e on the import path
import pictures
import renderer
import xserver
from windows import RENDERER_TITLE, WM_CLOSE, wait_until

# 3840: a real-pixel snapshot of a 3840 x 2160 desktop.
SIDES = (1024, 1280, 1920, 2560, 3840)
# The renderer's start-up stages in order, each traced in milliseconds since its process was
# created; "covers-shown" comes after the first frame (the covers of other monitors).
STAGES = ("entry", "mode-switched", "window-shown", "pixel-format-set", "context-made",
          "image-mapped", "mipmaps-built", "first-frame", "covers-shown")
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
STAGE_COLUMNS = ("side", *STAGES)
DRAWING_COLUMNS = ("side", "fps", "CPU ms/frame", "CPU ms/s", "peak MiB")


def parse_args():
    parser = session.argument_parser("Times Vitrelux start-up and drawing.", "bench")
    parser.add_argument("--seconds", type=float, default=10.0, help="drawing time measured")
    parser.add_argument("--sides", type=int, nargs="+", default=list(SIDES))
    return session.parse_args(parser)


def cpu_seconds(pid):
    """utime + stime of all threads of the process."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def peak_memory_kib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    return 0


def stage_times(run):
    return {line[0]: float(line[1]) for line in run.trace_lines() if line[0] in STAGES}


def wait_first_frame(run, timeout=60):
    return wait_until(lambda: "first-frame" in stage_times(run) or not run.running(),
                      timeout, interval=0.05)


def measure(wine, args, helper, side):
    """(stage row, drawing row) of one run with a snapshot of the given side."""
    renderer.put_snapshot(wine, pictures.two_tone(side))
    trace = args.out / f"trace-{side}.txt"
    with renderer.running(wine, args.dist, helper, trace=trace, log_name=f"renderer-{side}") as run:
        if not wait_first_frame(run) or not run.running():
            raise RuntimeError(f"no first frame at side {side}; see {args.out}")
        cpu_start = cpu_seconds(run.pid)
        time.sleep(args.seconds)
        cpu_used = cpu_seconds(run.pid) - cpu_start
        peak = peak_memory_kib(run.pid)
        helper.post(RENDERER_TITLE, WM_CLOSE)
        run.wait_exit(30)
    frames, drawing_seconds = run.frames()
    fps = frames / drawing_seconds
    # CPU time was sampled over the first `seconds` of drawing; frames at the run's mean rate.
    cpu_ms_per_frame = 1000 * cpu_used / (fps * args.seconds)
    cpu_ms_per_second = 1000 * cpu_used / args.seconds
    stages = stage_times(run)
    return ((str(side), *(number(stages.get(stage)) for stage in STAGES)),
            (str(side), f"{fps:.1f}", f"{cpu_ms_per_frame:.2f}", f"{cpu_ms_per_second:.0f}",
             f"{peak / 1024:.1f}"))


def number(value):
    return "-" if value is None else f"{value:.0f}"


def print_table(rows, columns):
    widths = [max(len(cell) for cell in column) for column in zip(columns, *rows)]
    for cells in (columns, *rows):
        print("  ".join(cell.rjust(width) for cell, width in zip(cells, widths)))


def main():
    args = parse_args()
    with session.started(args) as (server, wine, helper):
        rows = []
        for side in args.sides:
            rows.append(measure(wine, args, helper, side))
            xserver.set_size(server.display, xserver.START_SIZE)
        print("Start-up: ms since the renderer's process was created")
        print_table([stages for stages, _ in rows], STAGE_COLUMNS)
        print("Drawing")
        print_table([drawing for _, drawing in rows], DRAWING_COLUMNS)


if __name__ == "__main__":
    main()
