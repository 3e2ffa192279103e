# What the tools share: their --dist, --helper and --out options, and an X server, a Wine prefix
# and a primed window helper that last as long as one run of a tool.
import argparse
import contextlib
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import xserver  # noqa: E402
from windows import RENDERER, primed_helper  # noqa: E402
from wine import Wine, program_bits  # noqa: E402


def tested_preset():
    return subprocess.run([str(ROOT / "tools" / "tested-preset.sh")], capture_output=True, text=True,
                          check=True).stdout.strip()


def argument_parser(description, out_name, out_help=None):
    """A parser holding the options every tool takes; out_name is the work folder in build/. The
    programs default to the build this machine's Wine can start, as tools/show.sh chooses it."""
    build = ROOT / "build" / tested_preset()
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--dist", type=Path, default=build / "dist")
    parser.add_argument("--helper", type=Path,
                        default=build / "tests" / "e2e" / "vitrelux_e2e_helper.exe")
    parser.add_argument("--out", type=Path, default=ROOT / "build" / out_name, help=out_help)
    return parser


def parse_args(parser):
    """The parsed options, with --out made absolute and created."""
    args = parser.parse_args()
    args.out = args.out.resolve()
    args.out.mkdir(parents=True, exist_ok=True)
    return args


@contextlib.contextmanager
def started(args, wine_env=None, display=None, two_monitors=False, xorg_config=xserver.XORG_CONF,
            size=xserver.START_SIZE):
    """Yields (X server, Wine, helper) for the programs in args.dist, with work files under
    args.out. The programs run on the display if one is given (the server is then None), else on
    a private Xorg dummy server of the given configuration and starting size; with two_monitors,
    on a private server with two monitors side by side, which shows in two windows on the display
    if one is given. Everything is ended on leaving."""
    server = wine = None
    try:
        if two_monitors:
            server = xserver.TwoMonitors(args.out / "x", host_display=display).start()
        elif not display:
            server = xserver.XServer(args.out / "x", size=size, config=xorg_config).start()
        if server:
            display = server.display
        wine = Wine(args.out / "prefix", display, args.out / "logs", wine_env,
                    program_bits(args.dist / RENDERER))
        wine.open_prefix()
        yield server, wine, primed_helper(wine, args.helper)
    finally:
        if wine:
            wine.close()
        if server:
            server.stop()
