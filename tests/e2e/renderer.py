# Drives renderer runs under Wine: the snapshot file, starting and ending the renderer,
# and window look-ups and messages through the Win32 helper.
import contextlib
import subprocess
import time
from pathlib import Path

from wine import kill_group, windows_path

WINDOW_TITLE = "Vitrelux_VC"
ERROR_TITLE = "Error"
WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
SC_SCREENSAVE = 0xF140
SNAPSHOT = Path("j_orvel") / "Vitrelux.bmp"


def wait_until(predicate, timeout, interval=0.3):
    """Polls predicate until it holds; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class Helper:
    """The Win32 helper program; each call is a new Wine process."""

    def __init__(self, wine, exe):
        self.wine = wine
        self.exe = exe

    def run(self, *args):
        code, out = self.wine.call(self.exe, [str(a) for a in args])
        return code, out.splitlines()

    def find(self, title):
        """(left, top, right, bottom) of the window, or None."""
        code, lines = self.run("find", title)
        if code != 0:
            return None
        return tuple(int(n) for n in lines[0].split()[1:])

    def wait_for(self, title, timeout=30):
        # NOTE: a FindWindowA loop inside one Wine process does not see windows created after
        # it began, so every look-up is a fresh helper process.
        return wait_until(lambda: self.find(title), timeout)

    def post(self, title, message, wparam=0, lparam=0):
        code, _ = self.run("post", title, hex(message), hex(wparam), hex(lparam))
        return code == 0

    def texts(self, title):
        code, lines = self.run("texts", title)
        return lines if code == 0 else []

    def click_ok(self, title):
        return self.run("click-ok", title)[0] == 0

    def screen(self):
        code, lines = self.run("screen")
        assert code == 0, "helper screen failed"
        width, height = lines[0].split()
        return int(width), int(height)

    def refresh_rate(self):
        """The current display mode's refresh rate in hertz, as Wine reports it."""
        code, lines = self.run("refresh-rate")
        assert code == 0, "helper refresh-rate failed"
        return int(lines[0])


def put_snapshot(wine, image):
    """Saves a PIL image as the 24-bit BMP snapshot, or removes the snapshot for None."""
    path = wine.drive_c / SNAPSHOT
    path.parent.mkdir(parents=True, exist_ok=True)
    path.unlink(missing_ok=True)
    if image is not None:
        image.convert("RGB").save(path, "BMP")
    return path


def put_snapshot_bytes(wine, data):
    path = wine.drive_c / SNAPSHOT
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    return path


class Renderer:
    """One run of Vitrelux.dll; the Popen pid is the renderer's own Linux process."""

    def __init__(self, wine, dist, trace=None, log_name="renderer"):
        self.wine = wine
        self.program = Path(dist) / "Vitrelux.dll"
        self.trace = Path(trace) if trace else None
        self.log_name = log_name
        self.process = None

    def start(self):
        extra = {"VITRELUX_TRACE": windows_path(self.trace)} if self.trace else None
        if self.trace:
            self.trace.unlink(missing_ok=True)
        self.process = self.wine.start(self.program, extra_env=extra, log_name=self.log_name)
        return self

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout):
        """Exit code, or None if still running after the time-out."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self, helper):
        """Ends the run if still going: politely first (so it restores the mode), then by force."""
        if self.process is None or not self.running():
            return
        helper.post(WINDOW_TITLE, WM_CLOSE)
        if self.wait_exit(15) is None:
            kill_group(self.process)

    def trace_lines(self):
        if not self.trace or not self.trace.exists():
            return []
        return [line.split() for line in self.trace.read_text().splitlines() if line.strip()]

    def frames(self):
        """(frames, seconds of drawing) from the trace's frames line, written at exit."""
        for line in reversed(self.trace_lines()):
            if line[0] == "frames":
                return int(line[1]), float(line[2])
        raise RuntimeError("the trace has no frames line")


@contextlib.contextmanager
def running(wine, dist, helper, trace=None, log_name="renderer"):
    """A started renderer that is ended on leaving, whatever happened inside."""
    run = Renderer(wine, dist, trace=trace, log_name=log_name).start()
    try:
        yield run
    finally:
        run.stop(helper)
