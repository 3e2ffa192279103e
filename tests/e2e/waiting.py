# Waiting for something to hold.
import time


def wait_until(read, timeout, interval=0.3, until=bool):
    """Calls read() until until(its value) holds or the time is up; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if until(value) or time.monotonic() >= deadline:
            return value
        time.sleep(interval)
