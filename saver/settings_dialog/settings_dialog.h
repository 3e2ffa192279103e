// Vitrelux_P, the settings dialog: the music source, the CD track to repeat and the music file,
// stored by "設定". Its handlers run here; settings_dialog_win32 owns the window and its widgets.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "saver/core/settings.h"
#include "saver/settings_dialog/dialog_layout.h"

enum class PointerShape { Arrow, Hourglass, Hand };

// What the pointer is over, as the window under it reports it: the dialog's window or its panel
// themselves, or a control on them.
enum class PointerPlace { Window, Panel, Control };

// How the file chooser ended: a file chosen, nothing chosen (cancelled or failed), a file whose
// name the system's code page cannot spell, or one whose path is longer than the system's file
// functions open, so that it could be neither stored nor played.
enum class FileChoice { Chosen, None, Unspellable, TooLong };

// What the dialog tells the user in a message box.
enum class DialogMessage {
    UnspellableName,  // the chosen file's name, which the system's code page cannot spell
    NameTooLong,      // the chosen file's path, longer than a music path is kept
    NotKept,          // the settings, which could not be saved
};

// What the dialog asks of its window and of the system; a call that can fail says so.
class DialogPlatform {
public:
    virtual ~DialogPlatform() = default;
    // The whole window, frame included, in screen coordinates.
    virtual bool windowRect(DialogRect& rect) = 0;
    virtual bool screenSize(int& width, int& height) = 0;
    virtual void moveWindow(int left, int top) = 0;
    // For every Command button of the window: Initialize when initialize, else set Enabled.
    virtual void setAllButtons(bool initialize, bool enable) = 0;
    virtual void tilePanel() = 0;
    virtual void enableTrackBox(bool enabled) = 0;
    virtual void enableFileButton(bool enabled) = 0;
    virtual void showGlyph(int option, bool selected) = 0;
    virtual void setTrackText(const std::string& text) = 0;
    virtual std::string trackText() = 0;
    virtual void addTrackEntry(const std::string& text) = 0;
    // The path as stored: bytes of the system's code page.
    virtual void setFileLabel(const AnsiText& path) = 0;
    virtual bool cursorPosition(int& x, int& y) = 0;
    virtual void animateCaption(const DialogRect& from, const DialogRect& to) = 0;
    virtual void setPointer(PointerShape shape) = 0;
    virtual void openAddress(const std::string& address) = 0;
    // The open-file chooser in initialFolder; chosen is set only for FileChoice::Chosen.
    virtual FileChoice chooseMusicFile(const AnsiText& initialFolder, AnsiText& chosen) = 0;
    virtual void showMessage(DialogMessage message) = 0;
    // The decimal separator of the user's locale, for reading the track box.
    virtual char decimalSeparator() = 0;
    virtual void close() = 0;
};

// "##": no leading zeros, a minus sign for negative values, nothing at all for 0.
std::string TrackText(std::int16_t track);
// The track box's text as a number by the locale's rules (blanks around it, sign, digits, decimal
// separator, exponent), rounded half to even; 0 for anything else, and for what 16 bits cannot hold.
std::int16_t TrackNumber(const std::string& text, char decimalSeparator);

// A stored size in 0.01 mm as pixels at 96 dots per inch; fallback when missing or unreadable.
int ExtentPixels(const std::optional<std::string>& extent, int fallback);

// Where the window goes: centred across, a third of the free height down.
std::pair<int, int> DialogPlacement(int screenWidth, int screenHeight, int windowWidth, int windowHeight);
// The shade v of each row 0..H of the background gradient, drawn in RGB(v, v, v + 30).
std::vector<std::uint8_t> BackgroundShades(double clientHeight);
// Where the tile is copied, column by column, until a column starts beyond the panel; nowhere for
// a tile without size (one that could not be loaded).
std::vector<std::pair<int, int>> TilePositions(int tileWidth, int tileHeight, int panelWidth, int panelHeight);

class SettingsDialog {
public:
    SettingsDialog(DialogPlatform& platform, ProfileAccess& profile, FileStore& files, Settings& settings,
                   SettingsPlaces places);

    void Form_Load();
    void Form_Unload();
    void Img_BGM_MouseDown(int index);
    void lbl_BGM_MouseDown(int index);
    void Cmd_File_Click();
    void Cmd_Set_Click();
    void Cmd_Can_Click();
    void closeBox();
    void lbl_URL_Click();

    // The pointer's shape at (x, y) of the window's client area; none where the control under it
    // keeps its own. The hourglass covers every control while the dialog waits.
    std::optional<PointerShape> pointerAt(PointerPlace place, int x, int y) const;
    // The left button on the window, outside its controls: a press and a release both on the link
    // follow it.
    void windowPressed(int x, int y);
    void windowReleased(int x, int y);

private:
    void selectSource(int index);
    void showSelection(int source);
    void unload();
    DialogRect anchorRect() const;
    void showPointer(PointerShape shape);

    DialogPlatform& platform_;
    ProfileAccess& profile_;
    FileStore& files_;
    Settings& settings_;
    SettingsPlaces places_;
    std::int16_t AnchorPoint[2] = {0, 0};
    bool waiting_ = false;
    bool addressPressed_ = false;
};
