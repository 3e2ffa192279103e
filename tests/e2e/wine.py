# A Wine prefix owned by one test run: creation (once, under a lock), programs started in it,
# helper calls with time-out and retry, and shutdown of everything running in the prefix.
import fcntl
import os
import shutil
import subprocess
from pathlib import Path

from waiting import close_then_kill, kill_group, kill_pids

READY_MARK = ".vitrelux-prefix-ready"
# Wine's loader and prefix kind by the programs' word size. The 64-bit loader is called directly:
# the usual "wine" starts the 32-bit one first, which a kernel without 32-bit support refuses.
LOADERS = {32: ("wine", "win32"), 64: ("/usr/lib/wine/wine64", "win64")}
PE_MACHINES = {0x014C: 32, 0x8664: 64}


def program_bits(path):
    """32 or 64: the word size of a Windows program, from its PE header."""
    data = Path(path).read_bytes()[:4096]
    pe_offset = int.from_bytes(data[0x3C:0x40], "little")
    return PE_MACHINES[int.from_bytes(data[pe_offset + 4:pe_offset + 6], "little")]


def windows_path(path):
    """Z: is the Linux root inside Wine."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class Wine:
    def __init__(self, prefix, display, log_dir, session_env=None, bits=32, user=None):
        """session_env (such as LANG or HOME) applies to every Wine process of this session;
        bits is the word size of the programs it runs; user, a Unix user that every process of
        the session runs as (its prefix then belongs to that user)."""
        self.loader, self.arch = LOADERS[bits]
        self.as_user = {"user": user, "group": user, "extra_groups": []} if user else {}
        self.prefix = Path(prefix)
        self.display = display
        self.log_dir = Path(log_dir)
        self.session_env = dict(session_env or {})
        self.processes = []
        self._lock = None

    def env(self, extra=None):
        # A prefix of the programs' own word size: a 32-bit one is half the size of a 64-bit one.
        env = dict(os.environ, WINEPREFIX=str(self.prefix), DISPLAY=self.display,
                   WINEARCH=self.arch, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        env.update(self.session_env)
        env.update(extra or {})
        return env

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def unix_path(self, path):
        """The Linux path of a path on drive C: or Z:."""
        drive, rest = path.split(":\\", 1)
        root = {"C": self.drive_c, "Z": Path("/")}[drive.upper()]
        return root.joinpath(*rest.split("\\"))

    def open_prefix(self):
        """Takes the prefix for this run and creates it unless a finished one of the programs' word
        size is there.

        The lock is held until close(): a second run with the same work dir waits instead of
        sharing the wineserver (and the windows) of this one.
        """
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        self.log_dir.mkdir(parents=True, exist_ok=True)
        self._lock = open(self.prefix.parent / (self.prefix.name + ".lock"), "w")
        fcntl.flock(self._lock, fcntl.LOCK_EX)
        mark = self.prefix / READY_MARK
        if mark.exists() and mark.read_text() == self.arch:
            return self
        # A prefix of the other word size, left by a run on a machine that has since lost 32-bit
        # support, cannot start these programs.
        shutil.rmtree(self.prefix, ignore_errors=True)
        with open(self.log_dir / "wineboot.log", "w") as log:
            subprocess.run([self.loader, "wineboot", "-i"], env=self.env(), stdin=subprocess.DEVNULL,
                           stdout=log, stderr=subprocess.STDOUT, timeout=300, check=True,
                           **self.as_user)
        self.stop_server()
        mark.write_text(self.arch)
        return self

    def close(self):
        self.stop_server()
        if self._lock:
            self._lock.close()
            self._lock = None

    def start(self, program, args=(), extra_env=None, log_name="program"):
        """Starts a program; its output goes to files (a full pipe would stall it)."""
        self.log_dir.mkdir(parents=True, exist_ok=True)
        with open(self.log_dir / f"{log_name}.out", "w") as out, open(self.log_dir / f"{log_name}.err", "w") as err:
            process = self._popen(program, args, self.env(extra_env), stdout=out, stderr=err)
        self.processes.append(process)
        return process

    def _popen(self, program, args, env, **streams):
        return subprocess.Popen([self.loader, str(program), *args], env=env, stdin=subprocess.DEVNULL,
                                start_new_session=True, **self.as_user, **streams)

    def call(self, program, args, timeout=20, attempts=3):
        """Runs a short program; returns (exit code, stdout).

        NOTE: a Wine process started while another one switches the display mode sometimes
        hangs; such a call is killed and tried again.
        """
        for _ in range(attempts):
            process = self._popen(program, args, self.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                  text=True, encoding="utf-8", errors="replace")
            try:
                out, _ = process.communicate(timeout=timeout)
                return process.returncode, out
            except subprocess.TimeoutExpired:
                kill_group(process)
        raise TimeoutError(f"{program} {' '.join(args)} hung {attempts} times")

    def stop_server(self):
        """Ends every process of this prefix: wineserver -k, then by force whatever is left."""
        def kill_server():
            subprocess.run(["wineserver", "-k"], env=self.env(), stdin=subprocess.DEVNULL, capture_output=True,
                           timeout=60, **self.as_user)
        close_then_kill(kill_server, lambda: not prefix_pids(self.prefix),
                        lambda: kill_pids(prefix_pids(self.prefix)), 25)
        self.processes = [p for p in self.processes if p.poll() is None]


def opened_session(prefix, display, log_dir, session_env, program, user=None):
    """For a fixture to yield from: a Wine session in the prefix for programs of the given one's
    word size, closed when the fixture ends."""
    wine = Wine(prefix, display, log_dir, session_env, program_bits(program), user)
    try:
        yield wine.open_prefix()
    finally:
        wine.close()


def prefix_pids(prefix):
    """PIDs of processes running with this WINEPREFIX (wineserver, services, the programs)."""
    marker = f"WINEPREFIX={prefix}".encode() + b"\0"
    pids = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            environ = (entry / "environ").read_bytes()
        except OSError:
            continue
        if marker in environ:
            pids.append(int(entry.name))
    return pids
