# The settings dialog, Vitrelux.scr /c, as the end-to-end tests drive it: where its parts are, one
# open dialog with clicks, typing and the faces of its buttons, and what "設定" writes.
import contextlib
import time

import saver
import screen
from waiting import wait_until
from windows import CODE_PAGE, SECTION, SETTINGS_FILE, SETTINGS_TITLE

CLIENT_SIZE = (495, 246)
CHOOSER_TITLE = "ﾌｧｲﾙを開く"
ADDRESS = "https://vitrelux.example.org/"
# Places in the dialog's client area. The panel's own area starts inside its 2-pixel sunken edge.
PANEL = (14, 18)
SET_BUTTON = (316, 200)
CANCEL_BUTTON = (400, 200)
FILE_BUTTON = (PANEL[0] + 28, PANEL[1] + 112)
TRACK_BOX = (PANEL[0] + 112, PANEL[1] + 52)
# Each option's glyph cell and caption, by source code.
GLYPHS = {0: (PANEL[0] + 34, PANEL[1] + 82), 1: (PANEL[0] + 34, PANEL[1] + 62), 2: (PANEL[0] + 34, PANEL[1] + 102)}
CAPTIONS = {0: (PANEL[0] + 54, PANEL[1] + 82), 1: (PANEL[0] + 60, PANEL[1] + 62),
            2: (PANEL[0] + 70, PANEL[1] + 102)}
ADDRESS_LABEL = (60, 214)
ELSEWHERE = (5, 5)
# The ring just inside a button's border, 2 pixels in from its left edge, in each state image.
FACE_RING = {"Normal": (244, 244, 241), "HighLight": (250, 195, 87), "Selected": (161, 190, 236),
             "Pressed": (0, 60, 116), "Disable": (245, 244, 234)}
SETTLE = 0.5  # a button's pointer check runs every 100 ms


class Dialog:
    """One open settings dialog: its window, client origin and the X display it is on."""

    def __init__(self, run, helper, display, folder):
        self.run = run
        self.helper = helper
        self.display = display
        self.folder = folder
        self.rect = helper.wait_for(SETTINGS_TITLE)
        client = helper.client(SETTINGS_TITLE) if self.rect else None
        self.origin = client[:2] if client else None

    def at(self, point):
        return self.origin[0] + point[0], self.origin[1] + point[1]

    def click(self, point, button=1):
        screen.click(self.display, *self.at(point), button=button)
        time.sleep(0.3)

    def move(self, point):
        screen.move_pointer(self.display, *self.at(point))
        time.sleep(SETTLE)

    def type(self, text):
        screen.xdotool(self.display, "key", "ctrl+a")
        screen.xdotool(self.display, "type", text)

    def shot(self, name):
        image = screen.screenshot(self.display, self.folder / f"{name}.png")
        left, top = self.origin
        return image.crop((left, top, left + CLIENT_SIZE[0], top + CLIENT_SIZE[1]))

    def face(self, button):
        """The state image a button shows, told by the ring inside its border."""
        ring = self.shot("face").getpixel((button[0] + 2, button[1] + 12))
        return next((name for name, colour in FACE_RING.items() if colour == ring), ring)

    def settings_bytes(self):
        path = self.folder / "Vitrelux" / SETTINGS_FILE
        return path.read_bytes() if path.exists() else None


@contextlib.contextmanager
def open_dialog(wine, dist, helper, x_server, folder, settings=None, env=None, args=("/c",)):
    program = saver.install(dist, folder / "Vitrelux")
    saver.write_settings(program.parent, settings)
    with saver.running(wine, program, helper, args, log_name=folder.name, env=env) as run:
        dialog = Dialog(run, helper, x_server.display, folder)
        assert dialog.origin, "the settings dialog did not open"
        yield dialog


def own_copies(wine):
    """The users' own copies of the settings, which are written where the program's folder cannot be."""
    return list(wine.drive_c.glob(f"users/*/AppData/Roaming/Vitrelux/{SETTINGS_FILE}"))


def ini(*lines):
    """A settings file's bytes as Wine writes them: Shift-JIS, CRLF."""
    return "".join(line + "\r\n" for line in (f"[{SECTION}]", *lines)).encode(CODE_PAGE)


def choose_cd_and_type(text):
    def act(dialog):
        dialog.click(CAPTIONS[1])
        dialog.click((TRACK_BOX[0] + 12, TRACK_BOX[1] + 10))
        dialog.type(text)
    return act


def choose_file(name):
    def act(dialog):
        dialog.click((FILE_BUTTON[0] + 20, FILE_BUTTON[1] + 12))
        assert dialog.helper.wait_for(CHOOSER_TITLE, 20), "the file chooser did not open"
        # NOTE: keys reach the chooser's name box only once it has been clicked.
        name_box = next(line.split() for line in dialog.helper.run("children", CHOOSER_TITLE)[1]
                        if line.startswith("Edit "))
        left, top, right, bottom = map(int, name_box[1:5])
        screen.click(dialog.display, (left + right) // 2, (top + bottom) // 2)
        screen.xdotool(dialog.display, "type", name)
        open_button = next(line.split() for line in dialog.helper.run("children", CHOOSER_TITLE)[1]
                           if line.startswith("Button ") and "(&O)" in line)
        left, top, right, bottom = map(int, open_button[1:5])
        screen.click(dialog.display, (left + right) // 2, (top + bottom) // 2)
        assert wait_until(lambda: not dialog.helper.find(CHOOSER_TITLE), 10), "the chooser stayed"
    return act
