# One start of a Vitrelux program under Wine, optionally writing its start-up trace to a file:
# what the renderer and front end runs have in common.
import contextlib
import subprocess
import time
from pathlib import Path

from waiting import kill_group
from windows import RENDERER_TITLE, TRACE_VARIABLE, WM_CLOSE
from wine import windows_path


class Program:
    """The Popen pid is the program's own Linux process; each kind of program has its own
    stop(helper), which ends whatever the run left."""

    def __init__(self, wine, path, args=(), trace=None, log_name="program", env=None):
        """env adds to the session's environment for this program alone (a locale, say)."""
        self.wine = wine
        self.env = dict(env or {})
        self.program = Path(path)
        self.args = list(args)
        self.trace = Path(trace) if trace else None
        self.log_name = log_name
        self.process = None
        self.started = None

    def start(self):
        extra = dict(self.env)
        if self.trace:
            extra[TRACE_VARIABLE] = windows_path(self.trace)
            self.trace.unlink(missing_ok=True)
        self.started = time.monotonic()
        self.process = self.wine.start(self.program, self.args, extra_env=extra,
                                       log_name=self.log_name)
        return self

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def ended(self):
        return self.process is None or not self.running()

    def kill(self):
        if not self.ended():
            kill_group(self.process)

    def wait_exit(self, timeout):
        """Exit code, or None if still running after the time-out."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self, helper, title=RENDERER_TITLE, timeout=30):
        """Closes the window as a user would; the exit code, None if still running after the time-out."""
        assert helper.post(title, WM_CLOSE), f"no window {title} to close"
        return self.wait_exit(timeout)

    def trace_lines(self):
        if not self.trace or not self.trace.exists():
            return []
        return [line.split() for line in self.trace.read_text().splitlines() if line.strip()]


@contextlib.contextmanager
def stopped_on_leaving(run, helper):
    """Starts the run and ends it on leaving, whatever happened inside."""
    run.start()
    try:
        yield run
    finally:
        run.stop(helper)
