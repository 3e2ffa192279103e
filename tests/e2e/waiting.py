# Waiting for something to hold, and ending processes: politely first, then by force.
import os
import signal
import time
from contextlib import suppress


def wait_until(read, timeout, interval=0.3, until=bool):
    """Calls read() until until(its value) holds or the time is up; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if until(value) or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def close_then_kill(close, ended, kill, timeout):
    """Unless ended(): close() (a renderer asked to close puts the display mode back, a killed one
    does not), then kill() if it has not ended within the time-out."""
    if ended():
        return
    if close:
        close()
    if not wait_until(ended, timeout, 0.05):
        kill()


def kill_group(process):
    with suppress(ProcessLookupError):
        os.killpg(process.pid, signal.SIGKILL)
    process.wait(timeout=10)


def kill_pids(pids):
    for pid in pids:
        with suppress(ProcessLookupError):
            os.kill(pid, signal.SIGKILL)
