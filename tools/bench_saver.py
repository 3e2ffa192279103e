#!/usr/bin/python3
# Benchmark (not a test) of Vitrelux.scr /s under Wine on a private Xorg dummy server: time from
# its start to the renderer's first frame, split into snapshot capture, file write and renderer
# start, and the front end's CPU time while the show runs with music.
import argparse
import statistics
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import renderer  # noqa: E402
import saver  # noqa: E402
import show  # noqa: E402
import xserver  # noqa: E402
from bench_render import cpu_seconds, print_table  # noqa: E402

# Front end stages are milliseconds since its own creation, the renderer's since its own, which
# began at about the front end's renderer-started. Wall time runs from starting the Wine process
# until the first-frame line appeared. CPU time counts 10 ms ticks of /proc/<pid>/stat.
COLUMNS = ("run", "captured at ms", "write ms", "start ms", "to frame ms", "first frame ms",
           "wall ms", "CPU ms/s")


def parse_args():
    build = ROOT / "build" / "windows-x86"
    parser = argparse.ArgumentParser(description="Times Vitrelux.scr from its start to the show.")
    parser.add_argument("--dist", type=Path, default=build / "dist")
    parser.add_argument("--helper", type=Path,
                        default=build / "tests" / "e2e" / "vitrelux_e2e_helper.exe")
    parser.add_argument("--out", type=Path, default=ROOT / "build" / "bench-saver")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=10.0,
                        help="how long the front end's CPU time is measured while the show runs")
    parser.add_argument("--music", choices=("mp3", "wav", "none"), default="mp3")
    return parser.parse_args()


def stages(run):
    return {line[0]: float(line[1]) for line in run.trace_lines() if len(line) == 2}


def wait_first_frame(run, timeout=60):
    """Wall-clock seconds from the start to the first-frame line, or None."""
    seen = renderer.wait_until(lambda: "first-frame" in stages(run) or not run.running(),
                               timeout, interval=0.02)
    if not seen or not run.running():
        return None
    return time.monotonic() - run.started


def measure(wine, helper, program, args, index):
    trace = args.out / f"trace-{index}.txt"
    log_name = f"saver-{index}"
    with saver.running(wine, program, helper, ["/s"], trace=trace, log_name=log_name) as run:
        wall = wait_first_frame(run)
        if wall is None:
            raise RuntimeError(f"no first frame in run {index}; see {args.out / 'logs'}")
        cpu_start = cpu_seconds(run.pid)
        time.sleep(args.seconds)
        cpu_used = cpu_seconds(run.pid) - cpu_start
    return row(str(index), stages(run), 1000 * wall, 1000 * cpu_used / args.seconds)


def row(name, times, wall_ms, cpu_ms_per_second):
    captured, written = times["snapshot-captured"], times["snapshot-written"]
    started, frame = times["renderer-started"], times["first-frame"]
    return (name, *(f"{value:.0f}" for value in (captured, written - captured, started - written,
                                                 frame, started + frame, wall_ms)),
            f"{cpu_ms_per_second:.1f}")


def median_row(rows):
    medians = [statistics.median(float(cells[column]) for cells in rows)
               for column in range(1, len(COLUMNS))]
    return ("median", *(f"{value:.0f}" for value in medians[:-1]), f"{medians[-1]:.1f}")


def main():
    args = parse_args()
    args.out = args.out.resolve()
    args.out.mkdir(parents=True, exist_ok=True)
    server = xserver.XServer(args.out / "x").start()
    wine = None
    try:
        wine = show.open_wine(args.out, server.display, headless=True, dist=args.dist)
        helper = renderer.Helper(wine, args.helper)
        # NOTE: the first Wine start after the prefix came up takes seconds; keep it out of
        # the timings.
        helper.screen()
        saver.show_desktop(server.display, show.sunset(xserver.START_SIZE), args.out)
        program = show.install_show(args.dist, args.out, args.music)
        rows = []
        for index in range(1, args.runs + 1):
            rows.append(measure(wine, helper, program, args, index))
            xserver.set_size(server.display, xserver.START_SIZE)
        print_table(rows + [median_row(rows)], COLUMNS)
    finally:
        if wine:
            wine.close()
        server.stop()


if __name__ == "__main__":
    main()
