#!/usr/bin/python3
# Benchmark (not a test) of Vitrelux.scr /s under Wine on a private Xorg dummy server: time from
# its start to the renderer's first frame, split into snapshot capture, file write and renderer
# start, and the front end's CPU time while the show runs with music.
import statistics
import time

import session  # first: it puts tests/e2e on the import path
import saver
import show
import xserver
from bench_render import cpu_seconds, print_table
from windows import wait_until

# Front end stages are milliseconds since its own creation, the renderer's since its own, which
# began at about the front end's renderer-started. Wall time runs from starting the Wine process
# until the first-frame line appeared. CPU time counts 10 ms ticks of /proc/<pid>/stat.
COLUMNS = ("run", "captured at ms", "write ms", "start ms", "to frame ms", "first frame ms",
           "wall ms", "CPU ms/s")


def parse_args():
    parser = session.argument_parser("Times Vitrelux.scr from its start to the show.",
                                     "bench-saver")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=10.0,
                        help="how long the front end's CPU time is measured while the show runs")
    parser.add_argument("--music", choices=("mp3", "wav", "none"), default="mp3")
    return session.parse_args(parser)


def stages(run):
    return {line[0]: float(line[1]) for line in run.trace_lines() if len(line) == 2}


def wait_first_frame(run, timeout=60):
    """Wall-clock seconds from the start to the first-frame line, or None."""
    seen = wait_until(lambda: "first-frame" in stages(run) or not run.running(),
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
    with session.started(args, show.wine_env(args.out, headless=True)) as (server, wine, helper):
        show.show_sunset(server.display, args.out)
        program = show.install_show(args.dist, args.out, args.music)
        rows = []
        for index in range(1, args.runs + 1):
            rows.append(measure(wine, helper, program, args, index))
            xserver.set_size(server.display, xserver.START_SIZE)
        print_table(rows + [median_row(rows)], COLUMNS)


if __name__ == "__main__":
    main()
