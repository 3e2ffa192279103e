# Drives renderer runs under Wine: the snapshot file, and starting and ending the renderer.
from pathlib import Path

from program import Program, stopped_on_leaving
from project import constant
from waiting import close_then_kill
from windows import RENDERER, RENDERER_TITLE, WM_CLOSE

SNAPSHOT_CODE = "render/dib_file_win32.cpp"
UNKNOWN_FORMAT = constant(SNAPSHOT_CODE, "unknownFormat")
CONVERSION_ERROR = constant(SNAPSHOT_CODE, "conversionError")


def put_snapshot(helper, picture):
    """Saves the user's snapshot: a PIL image as a 24-bit BMP, or the bytes of a file; None removes it."""
    path = helper.snapshot_path()
    path.parent.mkdir(parents=True, exist_ok=True)
    path.unlink(missing_ok=True)
    if isinstance(picture, bytes):
        path.write_bytes(picture)
    elif picture is not None:
        picture.convert("RGB").save(path, "BMP")
    return path


class Renderer(Program):
    """One run of Vitrelux.dll on its own, as the front end would start it."""

    def __init__(self, wine, dist, trace=None, log_name="renderer"):
        super().__init__(wine, Path(dist) / RENDERER, trace=trace, log_name=log_name)

    def stop(self, helper):
        """Ends the run if still going: politely first (so it restores the mode), then by force."""
        close_then_kill(lambda: helper.post(RENDERER_TITLE, WM_CLOSE), self.ended, self.kill, 15)

    def display_mode(self):
        """(choice, mode) from the trace: "desktop-rate", "listed-rate" or "kept", and the mode
        as WIDTHxHEIGHTxBITS@HZ."""
        for line in self.trace_lines():
            if line[0] == "display-mode":
                return line[1], line[2]
        return None

    def frames(self):
        """(frames, seconds of drawing) from the trace's frames line, written at exit."""
        for line in reversed(self.trace_lines()):
            if line[0] == "frames":
                return int(line[1]), float(line[2])
        raise RuntimeError("the trace has no frames line")


def running(wine, dist, helper, trace=None, log_name="renderer"):
    """A started renderer that is ended on leaving, whatever happened inside."""
    return stopped_on_leaving(Renderer(wine, dist, trace=trace, log_name=log_name), helper)
