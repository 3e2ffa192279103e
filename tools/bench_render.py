#!/usr/bin/python3
# Benchmark (not a test) of Vitrelux under Wine on a private Xorg dummy server: start-up stages
# to the first frame per snapshot size, then frame rate, CPU time per frame and per second of show,
# and peak memory.
import os
import statistics
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
# created. The picture is decoded and scaled on a thread of its own while the display mode,
# window, covers of other monitors and GL context are made; the texture waits for both.
STAGES = ("entry", "image-decoded", "image-scaled", "mode-switched", "covers-shown", "window-shown",
          "pixel-format-set", "context-made", "texture-made", "first-frame")
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
STAGE_COLUMNS = ("side", *STAGES)
DRAWING_COLUMNS = ("side", "fps", "CPU ms/frame", "CPU ms/s", "peak MiB")
# What a large snapshot may cost against the smallest: first frame and peak memory.
FIRST_FRAME_RATIO = 1.2
MEMORY_RATIO = 2.0
SETTLE_SECONDS = 2


def parse_args():
    parser = session.argument_parser("Times Vitrelux start-up and drawing.", "bench")
    parser.add_argument("--seconds", type=float, default=10.0, help="drawing time measured")
    parser.add_argument("--sides", type=int, nargs="+", default=list(SIDES))
    parser.add_argument("--runs", type=int, default=3, help="runs per side; medians are shown")
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


def measure(wine, args, helper, side, index):
    """(stages, (fps, CPU ms per frame, CPU ms per second, peak MiB)) of one run with a snapshot
    of the given side."""
    renderer.put_snapshot(helper, pictures.two_tone(side))
    trace = args.out / f"trace-{side}-{index}.txt"
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
    return stage_times(run), (fps, 1000 * cpu_used / (fps * args.seconds), 1000 * cpu_used / args.seconds,
                              peak / 1024)


def medians(runs):
    """The median of each stage and each drawing figure over the runs of one side."""
    stages = {stage: statistics.median(times[stage] for times, _ in runs)
              for stage in STAGES if all(stage in times for times, _ in runs)}
    drawing = tuple(statistics.median(figures[column] for _, figures in runs) for column in range(4))
    return stages, drawing


def print_ratios(results):
    small, large = min(results), max(results)
    (small_stages, small_drawing), (large_stages, large_drawing) = results[small], results[large]
    first_frame = large_stages["first-frame"] / small_stages["first-frame"]
    memory = large_drawing[3] / small_drawing[3]
    print(f"First frame with {large} against {small}: {first_frame:.2f} (target at most {FIRST_FRAME_RATIO})")
    print(f"Peak memory with {large} against {small}: {memory:.2f} (target at most {MEMORY_RATIO})")


def number(value):
    return "-" if value is None else f"{value:.0f}"


def print_table(rows, columns):
    widths = [max(len(cell) for cell in column) for column in zip(columns, *rows)]
    for cells in (columns, *rows):
        print("  ".join(cell.rjust(width) for cell, width in zip(cells, widths)))


def main():
    args = parse_args()
    with session.started(args) as (server, wine, helper):
        # The first starts in a new Wine session are slower in every stage; a run that is not
        # counted takes that, and the sides take turns so that none gets the session's best.
        measure(wine, args, helper, min(args.sides), "warm-up")
        xserver.set_size(server.display, xserver.START_SIZE)
        time.sleep(SETTLE_SECONDS)
        runs = {side: [] for side in args.sides}
        for index in range(args.runs):
            for side in args.sides:
                runs[side].append(measure(wine, args, helper, side, index))
                xserver.set_size(server.display, xserver.START_SIZE)
                # The run before is still being taken down for a moment (its mode, its memory).
                time.sleep(SETTLE_SECONDS)
        results = {side: medians(side_runs) for side, side_runs in runs.items()}
        print(f"Start-up: ms since the renderer's process was created (medians of {args.runs} runs)")
        print_table([(str(side), *(number(stages.get(stage)) for stage in STAGES))
                     for side, (stages, _) in results.items()], STAGE_COLUMNS)
        print("Drawing")
        print_table([(str(side), f"{fps:.1f}", f"{per_frame:.2f}", f"{per_second:.0f}", f"{peak:.1f}")
                     for side, (_, (fps, per_frame, per_second, peak)) in results.items()], DRAWING_COLUMNS)
        if len(results) > 1:
            print_ratios(results)


if __name__ == "__main__":
    main()
