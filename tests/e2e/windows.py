# What the end-to-end tests and the tools know of the two programs from outside: their files,
# windows, messages, snapshot and settings, and the Win32 helper that looks at their windows.
import collections
from pathlib import Path

import xserver
from project import CONTRACT, ROOT, TEXTS, constant
from waiting import wait_until

SCREEN_SAVER = constant("saver/core/saver.rc", "PROGRAM_FILE_NAME")
RENDERER = constant(CONTRACT, "rendererFileName")
SETTINGS_FILE = constant("saver/core/settings.cpp", "settingsFileName")
PREVIEW_PICTURE = ROOT / "saver" / "core" / "preview.bmp"

RENDERER_TITLE = constant(CONTRACT, "rendererWindowTitle")
MAIN_TITLE = constant(CONTRACT, "saverWindowTitle")
SETTINGS_TITLE = constant(CONTRACT, "settingsDialogTitle")
# These two are given where the windows are made, unnamed.
ERROR_TITLE = "Error"
PREVIEW_TITLE = "Preview Window"
MESSAGE_TITLE = constant(TEXTS, "messageCaption")
PREVIEW_CLASS = constant("saver/core/preview_win32.cpp", "previewClassName")
# The renderer's black covers over every monitor but the show's.
COVER_CLASS = constant("render/covers_win32.h", "coverWindowName")
MISSING_RENDERER_TEXT = constant(TEXTS, "rendererMissingText")

WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
SC_SCREENSAVE = 0xF140
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"

# The renderer always shows in this mode; CENTRE is where a click gives it the keyboard.
SHOW_SIZE = (constant("render/display_mode.h", "showWidth"), constant("render/display_mode.h", "showHeight"))
CENTRE = (SHOW_SIZE[0] // 2, SHOW_SIZE[1] // 2)
# Where the renderer's window is, and the screen size X and Wine report while it is there.
ShowScreen = collections.namedtuple("ShowScreen", "rect size wine_size")
FULL_SCREEN_SHOW = ShowScreen((0, 0, *SHOW_SIZE), SHOW_SIZE, SHOW_SIZE)

# The user's snapshot, in a folder of the user's local application data (Helper.snapshot_path), and
# the folder at the root of drive C: where older versions kept it.
SNAPSHOT_FOLDER = constant(CONTRACT, "snapshotFolderName")
SNAPSHOT_NAME = constant(CONTRACT, "snapshotFileName")
OLD_SNAPSHOT_FOLDER = Path("j_orvel")
TRACE_VARIABLE = constant(CONTRACT, "traceVariable")

# The programs' texts and settings keys are Shift-JIS: they run as on a Japanese Windows. LC_ALL,
# because Python hands its children LC_CTYPE=C.UTF-8 where no locale is set, and Wine 10 takes its
# code page from that before LANG.
JAPANESE = {"LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8"}
# Under this locale Wine's code page is 1252, as on a Western Windows.
WESTERN = {"LANG": "en_US.UTF-8", "LC_ALL": "en_US.UTF-8"}
CODE_PAGE = "cp932"
SECTION = constant("saver/core/settings.cpp", "settingsSection")
KEY_SOURCE = constant(TEXTS, "keyMusicSource")
KEY_REPEAT = constant(TEXTS, "keyRepeatTrack")
KEY_FILE = constant(TEXTS, "keyMusicFile")


# A top-level window as the helper lists it: screen rectangle, visibility, style, extended style.
TopLevel = collections.namedtuple("TopLevel", "rect visible style ex_style")
WS_EX_TOPMOST = 0x8
WS_EX_TOOLWINDOW = 0x80
WS_EX_NOACTIVATE = 0x08000000
# A child window as the helper lists it: screen rectangle, visibility, text.
Child = collections.namedtuple("Child", "rect visible text")


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
        return self._rects(title)[:4] or None

    def client(self, title):
        """(left, top, right, bottom) of the window's client area on the screen, or None."""
        return self._rects(title)[4:] or None

    def _rects(self, title):
        code, lines = self.run("find", title)
        return tuple(int(n) for n in lines[0].split()[1:]) if code == 0 else ()

    def wait_for(self, title, timeout=30):
        # NOTE: a FindWindowA loop inside one Wine process does not see windows created after
        # it began, so every look-up is a fresh helper process.
        return wait_until(lambda: self.find(title), timeout)

    def child(self, title, class_name, text=""):
        """The window's first Child of the class whose text holds text, or None."""
        code, lines = self.run("children", title)
        for line in lines if code == 0 else []:
            name, left, top, right, bottom, visible, caption = line.split(" ", 6)
            if name == class_name and text in caption:
                return Child((int(left), int(top), int(right), int(bottom)), visible == "1", caption)
        return None

    def post(self, title, message, wparam=0, lparam=0):
        code, _ = self.run("post", title, hex(message), hex(wparam), hex(lparam))
        return code == 0

    def texts(self, title):
        code, lines = self.run("texts", title)
        return lines if code == 0 else []

    def click_ok(self, title):
        return self.run("click-ok", title)[0] == 0

    def lines(self, *args):
        """The output of a call that must succeed."""
        code, lines = self.run(*args)
        assert code == 0, f"helper {' '.join(map(str, args))} failed ({code:#x})"
        return lines

    def screen(self):
        return tuple(int(n) for n in self.lines("screen")[0].split())

    def windows(self, class_name):
        """The TopLevel windows of the class, in Z order."""
        return [TopLevel(tuple(map(int, n[:4])), n[4] == "1", int(n[5], 16), int(n[6], 16))
                for n in (line.split() for line in self.lines("windows", class_name))]

    def monitors(self):
        """[(rect, primary)] as Wine lists the monitors."""
        return [(tuple(map(int, n[:4])), n[4] == "1") for n in (line.split() for line in self.lines("monitors"))]

    def focus(self):
        """(title of the active window, title of the window with the keyboard)."""
        return tuple((self.lines("focus") + ["", ""])[:2])

    def owner(self, title):
        """The title of the window's owner, or None."""
        code, lines = self.run("owner", title)
        return lines[0] if code == 0 else None

    def enabled(self, title):
        """Whether the window takes input."""
        return self.lines("enabled", title)[0] == "1"

    def snapshot_path(self):
        """The Linux path of the user's snapshot, as the programs name it."""
        return self.wine.unix_path(self.lines("snapshot-path")[0])

    def refresh_rate(self):
        """The current display mode's refresh rate in hertz, as Wine reports it."""
        return int(self.lines("refresh-rate")[0])

    def stored_size(self):
        """(width, height) of the mode the system goes back to after a temporary change."""
        return tuple(int(n) for n in self.lines("stored-size")[0].split())


def wait_show_screen(helper, display):
    """The ShowScreen once the renderer's window has come, None if it does not come."""
    rect = helper.wait_for(RENDERER_TITLE)
    return ShowScreen(rect, xserver.screen_size(display), helper.screen()) if rect else None


def primed_helper(wine, exe):
    """The helper, called once: the first Wine start in a prefix takes seconds, paid for here
    rather than inside a wait or a timing."""
    helper = Helper(wine, exe)
    helper.screen()
    return helper
