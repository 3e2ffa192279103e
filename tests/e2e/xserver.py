# X servers for the end-to-end tests: Xorg with the dummy driver (real RandR mode changes), Xvfb
# (no mode changes) or two monitors side by side, each on a free display number that this run
# reserves.
import fcntl
import os
import re
import subprocess
from pathlib import Path

from waiting import close_then_kill, kill_group, wait_until

XORG_TEMPLATE = """\
Section "Device"
    Identifier "dummy-card"
    Driver "dummy"
    VideoRam 256000
EndSection

Section "Monitor"
    Identifier "dummy-monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
{monitor}EndSection

Section "Screen"
    Identifier "dummy-screen"
    Device "dummy-card"
    Monitor "dummy-monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes {modes}
        Virtual {virtual}
    EndSubSection
EndSection

Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
EndSection
"""


def xorg_conf(modelines, modes, virtual, monitor_options=()):
    """An Xorg dummy configuration: (name, timings) Modelines, the mode names it starts with,
    the largest screen. The driver lists modes and rates of its own beside these."""
    monitor = "".join(f"    Option {option}\n" for option in monitor_options)
    monitor += "".join(f'    Modeline "{name}" {timings}\n' for name, timings in modelines)
    return XORG_TEMPLATE.format(monitor=monitor, modes=" ".join(f'"{mode}"' for mode in modes),
                                virtual=" ".join(str(side) for side in virtual))


MODELINE_1024_60 = ("1024x768", "65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync")
MODELINE_1280_60 = ("1280x1024", "108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync")
XORG_CONF = xorg_conf(
    [MODELINE_1024_60, MODELINE_1280_60,
     ("1920x1080", "148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync")],
    ["1280x1024", "1024x768", "1920x1080"], (1920, 1080))
# A 4K desktop at 30 Hz (reduced blanking keeps its pixel clock within what the driver takes) and
# 1024 x 768 at 30 Hz too, so that the show switches at the desktop's rate there.
UHD_SIZE = (3840, 2160)
UHD_XORG_CONF = xorg_conf(
    [("3840x2160", "266.64 3840 3888 3920 4000 2160 2163 2168 2222 +hsync -vsync"),
     ("1024x768", "31.79 1024 1072 1176 1328 768 771 775 798 -hsync +vsync"),
     MODELINE_1024_60, MODELINE_1280_60],
    ["3840x2160", "1280x1024", "1024x768"], UHD_SIZE, ['"ReducedBlanking"'])
DUMMY_OUTPUT = "DUMMY0"

START_SIZE = (1280, 1024)
# The two monitors' rectangles as Wine lists them, primary first.
TWO_MONITORS = ((0, 0, 1024, 768), (1024, 0, 2304, 1024))
XEPHYR_HOST_SIZE = (2400, 1200)
FIRST_DISPLAY = 40
LAST_DISPLAY = 200
RESERVATION_DIR = Path("/tmp")


def display_in_use(number):
    return (Path(f"/tmp/.X11-unix/X{number}").exists()
            or Path(f"/tmp/.X{number}-lock").exists())


def reserve_display():
    """Returns (number, open lock file); the lock keeps other runs off this number."""
    for number in range(FIRST_DISPLAY, LAST_DISPLAY):
        if display_in_use(number):
            continue
        handle = open(RESERVATION_DIR / f".vitrelux-e2e-X{number}.lock", "w")
        try:
            fcntl.flock(handle, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            handle.close()
            continue
        # Checked again under the lock: another run may have started its server meanwhile.
        if not display_in_use(number):
            return number, handle
        handle.close()
    raise RuntimeError("no free X display number")


def run_x_tool(display, args, timeout=20, check=False):
    return subprocess.run(args, env=dict(os.environ, DISPLAY=display), capture_output=True, text=True,
                          timeout=timeout, check=check)


def screen_size(display):
    """Current root window size (width, height) as RandR reports it."""
    result = run_x_tool(display, ["xrandr", "--current"], check=True)
    first = result.stdout.splitlines()[0]
    current = first.split("current", 1)[1].split(",")[0]
    width, height = current.split("x")
    return int(width), int(height)


def root_size(display):
    """(width, height) of the root window, on any server, RandR or not."""
    result = run_x_tool(display, ["xwininfo", "-root"], check=True)
    fields = dict(line.strip().split(":", 1) for line in result.stdout.splitlines() if ":" in line)
    return int(fields["Width"]), int(fields["Height"])


def current_mode(display):
    """((width, height), refresh rate) of the current mode, as RandR lists it."""
    result = run_x_tool(display, ["xrandr", "--current"], check=True)
    for line in result.stdout.splitlines()[1:]:
        words = line.split()
        current = [word for word in words[1:] if "*" in word]
        if current:
            width, height = words[0].split("x")
            return (int(width), int(height)), float(current[0].strip("*+"))
    return None


def wait_for_size(display, size, timeout=10):
    """The screen size once it is the given one, or the last size seen after the time-out."""
    return wait_until(lambda: screen_size(display), timeout, 0.2, until=lambda seen: seen == size)


def wait_for_mode(display, mode, timeout=10):
    return wait_until(lambda: current_mode(display), timeout, 0.2, until=lambda seen: seen == mode)


def set_size(display, size):
    width, height = size
    run_x_tool(display, ["xrandr", "-s", f"{width}x{height}"]).check_returncode()


def set_mode(display, size, rate):
    width, height = size
    run_x_tool(display, ["xrandr", "--output", DUMMY_OUTPUT, "--mode", f"{width}x{height}",
                         "--rate", str(rate)]).check_returncode()


class XServer:
    """An X server process this run started; stop() ends exactly that process."""

    def __init__(self, work_dir, kind="xorg", size=START_SIZE, config=XORG_CONF):
        self.work_dir = Path(work_dir)
        self.kind = kind
        self.size = size
        self.config = config
        self.number = None
        self.display = None
        self.process = None
        self._reservation = None

    def start(self, attempts=3):
        self.work_dir.mkdir(parents=True, exist_ok=True)
        for _ in range(attempts):
            self.number, self._reservation = reserve_display()
            self.display = f":{self.number}"
            self.process = subprocess.Popen(
                self._command(), stdin=subprocess.DEVNULL, env=self._environment(),
                stdout=self._log("out"), stderr=subprocess.STDOUT, start_new_session=True)
            if self._wait_ready():
                if self.has_modes:
                    set_size(self.display, self.size)
                return self
            self.stop()
        raise RuntimeError(f"{self.kind} did not start; see logs in {self.work_dir}")

    @property
    def has_modes(self):
        """Whether the display mode can change (and so must be put back after a test)."""
        return self.kind == "xorg"

    def _environment(self):
        return None

    def _log(self, suffix):
        return open(self.work_dir / f"{self.kind}-{self.number}.{suffix}", "w")

    def _command(self):
        if self.kind == "xvfb":
            width, height = self.size
            return ["Xvfb", self.display, "-screen", "0", f"{width}x{height}x24",
                    "-nolisten", "tcp", "-noreset"]
        config = self.work_dir / f"xorg-{self.number}.conf"
        config.write_text(self.config)
        return ["Xorg", self.display, "-noreset", "-nolisten", "tcp",
                "-config", str(config), "-logfile", str(self.work_dir / f"xorg-{self.number}.log")]

    def _wait_ready(self, timeout=30):
        def ready():
            return run_x_tool(self.display, ["xdpyinfo"], timeout=10).returncode == 0
        return wait_until(lambda: self.process.poll() is not None or ready(), timeout, 0.2) \
            and self.process.poll() is None

    def stop(self):
        if self.process:
            close_then_kill(self.process.terminate, lambda: self.process.poll() is not None,
                            lambda: kill_group(self.process), 10)
        if self._reservation:
            self._reservation.close()
            self._reservation = None


def wine_major_version():
    for loader in ("/usr/lib/wine/wine64", "wine"):
        try:
            text = subprocess.run([loader, "--version"], capture_output=True, text=True, timeout=60).stdout
        except OSError:
            continue
        found = re.match(r"wine-(\d+)", text)
        if found:
            return int(found.group(1))
    return 0


class TwoMonitors(XServer):
    """TWO_MONITORS, the primary already at the show's size, so that the show switches nothing.
    Compare pixels only inside a monitor's rectangle: the screen's area outside both is not shown.

    Made the way the installed Wine lists them (measured): for Wine 8 an Xephyr with two screens
    joined by Xinerama and RandR off, in an Xvfb or in two windows on a host display (the user's);
    Wine 10 lists those screens all at 0, 0, but two RandR outputs of Xorg's dummy driver side by
    side as they are, of which Wine 8 lists only the primary."""

    def __init__(self, work_dir, host_display=None):
        outputs = not host_display and wine_major_version() >= 10
        super().__init__(work_dir, kind="xorg" if outputs else "xephyr", size=TWO_MONITORS[0][2:])
        self.host = None if host_display or outputs else XServer(work_dir, kind="xvfb", size=XEPHYR_HOST_SIZE)
        self.host_display = host_display

    @property
    def has_modes(self):
        return False

    def start(self, attempts=3):
        if self.host:
            self.host_display = self.host.start().display
        super().start(attempts)
        if self.kind == "xorg":
            self._side_by_side()
        return self

    def _side_by_side(self):
        (left, _, right, bottom), (second_left, _, second_right, second_bottom) = TWO_MONITORS
        second_mode = f"{second_right - second_left}x{second_bottom}"
        run_x_tool(self.display, ["xrandr", "--addmode", "DUMMY1", second_mode]).check_returncode()
        run_x_tool(self.display, ["xrandr", "--output", DUMMY_OUTPUT, "--primary", "--mode",
                                  f"{right - left}x{bottom}", "--output", "DUMMY1", "--mode", second_mode,
                                  "--right-of", DUMMY_OUTPUT]).check_returncode()
        # Wine 10 sees the second output only once a client has asked the server for its monitors
        # (measured: a prefix made right after the change lists the primary alone).
        listed = run_x_tool(self.display, ["xrandr", "--listmonitors"])
        assert "Monitors: 2" in listed.stdout, listed.stdout

    def _command(self):
        if self.kind == "xorg":
            return super()._command()
        screens = []
        for left, top, right, bottom in TWO_MONITORS:
            screens += ["-screen", f"{right - left}x{bottom - top}x24"]
        return ["Xephyr", self.display, *screens, "+xinerama", "-extension", "RANDR",
                "-nolisten", "tcp", "-no-host-grab", "-noreset"]

    def _environment(self):
        return dict(os.environ, DISPLAY=self.host_display) if self.host_display else None

    def stop(self):
        super().stop()
        if self.host:
            self.host.stop()
