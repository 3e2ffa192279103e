# Sound capture without a sound card: an ALSA configuration in a private HOME makes Wine write
# what it plays as raw 16-bit stereo PCM files, and a listener tells loud from silent over time.
import array
import math
import subprocess
import threading
import time
from pathlib import Path

RATE = 44100
FRAME_BYTES = 4             # 16-bit stereo: the plug below converts everything to it
BLOCK_BYTES = RATE // 100 * FRAME_BYTES  # loudness is judged per 10 ms of sound
SAMPLE_STEP = 4             # every fourth sample is enough to tell a tone from silence
LOUD_RMS = 500              # the test tones are at half scale (RMS about 11000); gaps are zeros
HEARD = 0.3                 # seconds of loud sound that count as music being heard

# "truncate false": a second opening of the device writes a new numbered file instead of
# truncating the first, so the sizes seen by the listener only ever grow.
ASOUNDRC = """\
pcm.!default {{
    type plug
    slave {{
        pcm "capture"
        format S16_LE
        rate {rate}
        channels 2
    }}
}}
pcm.capture {{
    type file
    slave.pcm "null"
    file "{output}"
    format "raw"
    truncate false
}}
"""


def write_tone(path, seconds, frequency=440):
    """A sine tone at half scale, 16-bit stereo: a WAV file, or where the name ends in .mp3 (in any
    case) an MP3 file made from one."""
    path = Path(path)
    mp3 = path.suffix.lower() == ".mp3"
    wav = path.with_suffix(".source.wav") if mp3 else path
    # Into a file, not a pipe: a WAV header written to a pipe cannot give the length.
    subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "2", "-b", "16", "-t", "wav", str(wav), "synth",
                    str(seconds), "sine", str(frequency), "vol", "0.5"], check=True, capture_output=True, timeout=60)
    if mp3:
        subprocess.run(["lame", "--quiet", "-b", "128", str(wav), str(path)], check=True, capture_output=True,
                       timeout=60)
    return path


class SoundCapture:
    """A HOME for the Wine processes whose .asoundrc sends all sound to files."""

    def __init__(self, home):
        self.home = Path(home)
        self.output = self.home / "played.raw"

    def install(self):
        self.home.mkdir(parents=True, exist_ok=True)
        (self.home / ".asoundrc").write_text(ASOUNDRC.format(rate=RATE, output=self.output))
        return self

    @property
    def env(self):
        return {"HOME": str(self.home)}

    def files(self):
        return sorted(self.home.glob(self.output.name + "*"))

    def clear(self):
        for path in self.files():
            path.unlink()


def loud_seconds_in(data):
    """Seconds of loud sound in raw 16-bit stereo bytes."""
    loud_blocks = 0
    for start in range(0, len(data) - BLOCK_BYTES + 1, BLOCK_BYTES):
        samples = array.array("h", data[start:start + BLOCK_BYTES])[::SAMPLE_STEP]
        if math.sqrt(sum(s * s for s in samples) / len(samples)) > LOUD_RMS:
            loud_blocks += 1
    return loud_blocks * BLOCK_BYTES / (RATE * FRAME_BYTES)


class Listener:
    """Samples the capture files' sizes in a thread while a show runs; afterwards (or meanwhile)
    tells how much loud sound was written in a stretch of time.

    NOTE: Wine writes to the null device faster than real time and pads with silence, so the
    position in the file says little; when the bytes were written says when they were played.
    """

    def __init__(self, capture, interval=0.05):
        self.capture = capture
        self.interval = interval
        self.samples = []
        self._loudness = {}
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self.started = None

    def __enter__(self):
        self.capture.clear()
        self.started = time.monotonic()
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join(timeout=5)

    def now(self):
        """Seconds since listening began."""
        return time.monotonic() - self.started

    def _run(self):
        while not self._stop.is_set():
            sizes = {}
            for path in self.capture.files():
                try:
                    sizes[path] = path.stat().st_size
                except FileNotFoundError:
                    pass
            self.samples.append((self.now(), sizes))
            self._stop.wait(self.interval)

    def loud_seconds(self, start=0.0, end=math.inf):
        """Seconds of loud sound written between the two times (seconds since listening began)."""
        samples = list(self.samples)
        total = 0.0
        for index in range(1, len(samples)):
            if start < samples[index][0] <= end:
                total += self._interval_loudness(index, samples[index - 1][1], samples[index][1])
        return total

    def first_loud(self):
        """When loud sound was first written, or None."""
        samples = list(self.samples)
        for index in range(1, len(samples)):
            if self._interval_loudness(index, samples[index - 1][1], samples[index][1]) > 0:
                return samples[index][0]
        return None

    def _interval_loudness(self, index, before, after):
        if index not in self._loudness:
            self._loudness[index] = sum(loud_seconds_in(read_range(path, before.get(path, 0), size))
                                        for path, size in after.items())
        return self._loudness[index]


def read_range(path, start, end):
    start -= start % FRAME_BYTES
    end -= end % FRAME_BYTES
    if end <= start:
        return b""
    with open(path, "rb") as file:
        file.seek(start)
        return file.read(end - start)
