#!/usr/bin/python3
# Benchmark (not a test) of Vitrelux.scr /s under Wine on a private Xorg dummy server, on a
# 1280 x 1024 desktop and on a 3840 x 2160 one: time from its start to the renderer's first frame,
# split into snapshot capture, file write and renderer start, and the front end's CPU time while
# the show runs with music.
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
DESKTOPS = (xserver.START_SIZE, xserver.UHD_SIZE)
# What the 4K desktop may cost against the small one, from /s to the first frame.
FIRST_FRAME_RATIO = 1.5
SETTLE_SECONDS = 2


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
    env = show.wine_env(args.out, headless=True)
    with session.started(args, env, xorg_config=xserver.UHD_XORG_CONF) as (server, wine, helper):
        program = show.install_show(args.dist, args.out, args.music)
        first_frames = {}
        for width, height in DESKTOPS:
            xserver.set_size(server.display, (width, height))
            show.show_sunset(server.display, args.out)
            rows = []
            for index in range(1, args.runs + 1):
                rows.append(measure(wine, helper, program, args, f"{width}x{height}-{index}"))
                xserver.set_size(server.display, (width, height))
                time.sleep(SETTLE_SECONDS)
            medians = median_row(rows)
            first_frames[width, height] = float(medians[COLUMNS.index("first frame ms")])
            print(f"Desktop {width} x {height}")
            print_table(rows + [medians], COLUMNS)
        small, large = DESKTOPS
        ratio = first_frames[large] / first_frames[small]
        print(f"/s to the first frame on {large[0]} x {large[1]} against {small[0]} x {small[1]}: "
              f"{ratio:.2f} (target at most {FIRST_FRAME_RATIO})")


if __name__ == "__main__":
    main()
