# The settings dialog, Vitrelux.scr /c, as the end-to-end tests drive it: where its parts are, one
# open dialog with clicks, typing and the faces of its buttons, and what "設定" writes.
import contextlib
import time

import project
import saver
import screen
from project import TEXTS, constant
from waiting import wait_until
from windows import CODE_PAGE, SECTION, SETTINGS_FILE, SETTINGS_TITLE

LAYOUT_CODE = "saver/settings_dialog/dialog_layout.h"
CLIENT_SIZE = (constant(LAYOUT_CODE, "dialogClientWidth"), constant(LAYOUT_CODE, "dialogClientHeight"))
CHOOSER_TITLE = constant(TEXTS, "fileChooserTitle")
ADDRESS = constant(TEXTS, "projectAddress")
NOT_KEPT_TEXT = constant(TEXTS, "notKeptText")
# The parts' rectangles in the dialog's client area; a click on one lands in its middle.
LAYOUT = project.layout()
PANEL = LAYOUT["Panel"]
SET_BUTTON, CANCEL_BUTTON, FILE_BUTTON = LAYOUT["SetButton"], LAYOUT["CancelButton"], LAYOUT["FileButton"]
# The track box's edit field, at the top of the box and its list.
TRACK_FIELD = (LAYOUT["TrackBox"][0] + 12, LAYOUT["TrackBox"][1] + 10)
# Each option's glyph cell and caption, by source code.
GLYPHS = {option: LAYOUT[f"Glyph{option}"] for option in range(3)}
CAPTIONS = {option: LAYOUT[f"Option{option}"] for option in range(3)}
ADDRESS_LABEL = LAYOUT["Address"]
ELSEWHERE = (5, 5)
# The users' own copies of the settings, in %APPDATA%\\Vitrelux (settings.cpp's UserSettingsFile).
OWN_FOLDER = "AppData/Roaming/Vitrelux"
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

    def at(self, place):
        """The screen point of a point of the client area, or of the middle of a part's rectangle."""
        x, y = place if len(place) == 2 else screen.centre(place)
        return self.origin[0] + x, self.origin[1] + y

    def click(self, place, button=1):
        screen.click(self.display, *self.at(place), button=button)
        time.sleep(0.3)

    def move(self, place):
        screen.move_pointer(self.display, *self.at(place))
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
        ring = self.shot("face").getpixel((button[0] + 2, screen.centre(button)[1]))
        return next((name for name, colour in FACE_RING.items() if colour == ring), ring)

    def settings_bytes(self):
        path = self.folder / "Vitrelux" / SETTINGS_FILE
        return path.read_bytes() if path.exists() else None


@contextlib.contextmanager
def opened(wine, program, helper, display, folder, args=("/c",), env=None, log_name=None):
    """The dialog of a front end started for it, which is ended on leaving."""
    with saver.running(wine, program, helper, args, log_name=log_name or folder.name, env=env) as run:
        dialog = Dialog(run, helper, display, folder)
        assert dialog.origin, "the settings dialog did not open"
        yield dialog


def open_dialog(wine, dist, helper, x_server, folder, settings=None, env=None, args=("/c",)):
    """The dialog of a fresh copy of the programs in folder, with the settings beside them."""
    program = saver.install(dist, folder / "Vitrelux")
    saver.write_settings(program.parent, settings)
    return opened(wine, program, helper, x_server.display, folder, args, env)


def own_copies(wine):
    """The users' own copies of the settings, which are written where the program's folder cannot be."""
    return list(wine.drive_c.glob(f"users/*/{OWN_FOLDER}/{SETTINGS_FILE}"))


def ini(*lines):
    """A settings file's bytes as Wine writes them: Shift-JIS, CRLF."""
    return "".join(line + "\r\n" for line in (f"[{SECTION}]", *lines)).encode(CODE_PAGE)


def choose_cd_and_type(text):
    def act(dialog):
        dialog.click(CAPTIONS[1])
        dialog.click(TRACK_FIELD)
        dialog.type(text)
    return act


def choose_file(name):
    def act(dialog):
        dialog.click(FILE_BUTTON)
        assert dialog.helper.wait_for(CHOOSER_TITLE, 20), "the file chooser did not open"
        # NOTE: keys reach the chooser's name box only once it has been clicked.
        screen.click(dialog.display, *screen.centre(dialog.helper.child(CHOOSER_TITLE, "Edit").rect))
        screen.xdotool(dialog.display, "type", name)
        screen.click(dialog.display, *screen.centre(dialog.helper.child(CHOOSER_TITLE, "Button", "(&O)").rect))
        assert wait_until(lambda: not dialog.helper.find(CHOOSER_TITLE), 10), "the chooser stayed"
    return act
