// The settings dialog's handlers, each a fixed sequence of steps, and the numbers behind its
// painted background.
#include "saver/settings_dialog/settings_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "saver/core/decimal.h"
#include "saver/texts.h"

namespace {

constexpr int trackEntries = 31;
// The background's bands follow sin(i / k) with k = H / 3.142: the constant is 3.142, not pi.
constexpr double halfTurn = 3.142;

} // namespace

std::string TrackText(std::int16_t track)
{
    return track == 0 ? "" : std::to_string(track);
}

std::int16_t TrackNumber(const std::string& text, char decimalSeparator)
{
    // The locale's separator takes the place of the point the literal reader knows; where it is
    // another character, a point is no separator at all.
    std::string literal = text;
    if (decimalSeparator != '.') {
        if (literal.find('.') != std::string::npos)
            return 0;
        std::replace(literal.begin(), literal.end(), decimalSeparator, '.');
    }
    double value = 0;
    // Rounded half to even, as the platform's conversion to a 16-bit integer rounds.
    return ReadDecimal(literal, value) ? SixteenBitsOrZero(std::nearbyint(value)) : 0;
}

int ExtentPixels(const std::optional<std::string>& extent, int fallback)
{
    if (!extent)
        return fallback;
    char* end = nullptr;
    const long hundredths = std::strtol(extent->c_str(), &end, 10);
    if (extent->empty() || *end != '\0' || hundredths < 0 || hundredths > 1000000)
        return fallback;
    return static_cast<int>(std::lround(hundredths * 96.0 / 2540));
}

std::pair<int, int> DialogPlacement(int screenWidth, int screenHeight, int windowWidth, int windowHeight)
{
    // Integer division, truncated toward zero: a window larger than the screen goes up and left.
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

std::vector<std::uint8_t> BackgroundShades(double clientHeight)
{
    const double k = clientHeight / halfTurn;
    const long rows = std::lrint(clientHeight);
    std::vector<std::uint8_t> shades;
    for (long i = 0; i <= rows; ++i)
        shades.push_back(static_cast<std::uint8_t>(std::nearbyint(std::fabs(std::sin(i / k)) * 220)));
    return shades;
}

std::vector<std::pair<int, int>> TilePositions(int tileWidth, int tileHeight, int panelWidth, int panelHeight)
{
    std::vector<std::pair<int, int>> positions;
    if (tileWidth <= 0 || tileHeight <= 0)
        return positions;
    int x = 0;
    int y = 0;
    for (;;) {
        positions.emplace_back(x, y);
        if (y > panelHeight) {
            if (x > panelWidth)
                return positions;
            x += tileWidth;
            y = 0;
        } else {
            y += tileHeight;
        }
    }
}

SettingsDialog::SettingsDialog(DialogPlatform& platform, ProfileAccess& profile, FileStore& files, Settings& settings,
                               SettingsPlaces places)
    : platform_(platform), profile_(profile), files_(files), settings_(settings), places_(std::move(places))
{
}

void SettingsDialog::Form_Load()
{
    DialogRect window{};
    int screenWidth = 0, screenHeight = 0;
    if (platform_.windowRect(window) && platform_.screenSize(screenWidth, screenHeight)) {
        const auto [left, top] = DialogPlacement(screenWidth, screenHeight, window.right - window.left,
                                                 window.bottom - window.top);
        platform_.moveWindow(left, top);
    }
    platform_.setAllButtons(true, true);
    platform_.tilePanel();
    platform_.enableTrackBox(false);
    showSelection(settings_.MusicSource);
    platform_.enableFileButton(settings_.MusicSource == 2);
    platform_.setTrackText(TrackText(settings_.RepeatTrack));
    for (std::int16_t entry = 0; entry < trackEntries; ++entry)
        platform_.addTrackEntry(TrackText(entry));
    platform_.setFileLabel(settings_.MusicFile);
    int x = 0, y = 0;
    const bool read = platform_.cursorPosition(x, y);
    const bool fits = x >= INT16_MIN && x <= INT16_MAX && y >= INT16_MIN && y <= INT16_MAX;
    AnchorPoint[0] = static_cast<std::int16_t>(read && fits ? x : 0);
    AnchorPoint[1] = static_cast<std::int16_t>(read && fits ? y : 0);
    if (platform_.windowRect(window))
        platform_.animateCaption(anchorRect(), window);
    showPointer(PointerShape::Arrow);
}

// Steps 5 to 7 of loading, which a selection repeats: every glyph unselected, then the chosen one.
void SettingsDialog::showSelection(int source)
{
    for (int option = 0; option < optionCount; ++option)
        platform_.showGlyph(option, false);
    // A source outside the three options (a hand-edited file) selects none of them.
    if (source >= 0 && source < optionCount)
        platform_.showGlyph(source, true);
    if (source == 1)
        platform_.enableTrackBox(true);
}

void SettingsDialog::Img_BGM_MouseDown(int index)
{
    selectSource(index);
}

void SettingsDialog::lbl_BGM_MouseDown(int index)
{
    selectSource(index);
}

void SettingsDialog::selectSource(int index)
{
    settings_.MusicSource = static_cast<std::int16_t>(index);
    platform_.enableFileButton(false);
    platform_.enableTrackBox(false);
    showSelection(index);
    if (index == 2)
        platform_.enableFileButton(true);
}

void SettingsDialog::Cmd_File_Click()
{
    AnsiText chosen;
    const FileChoice choice = platform_.chooseMusicFile(settings_.FileDialogFolder, chosen);
    if (choice == FileChoice::Unspellable)
        platform_.showMessage(DialogMessage::UnspellableName);
    if (choice == FileChoice::TooLong)
        platform_.showMessage(DialogMessage::NameTooLong);
    if (choice != FileChoice::Chosen)
        return;
    settings_.MusicFile = chosen;
    platform_.setFileLabel(settings_.MusicFile);
    settings_.FileDialogFolder = places_.codePage.folderOf(settings_.MusicFile);
}

void SettingsDialog::Cmd_Set_Click()
{
    settings_.RepeatTrack = TrackNumber(platform_.trackText(), platform_.decimalSeparator());
    // The dialog stays open, so that the user can try again or cancel knowing that the next start
    // will not read this choice.
    if (!SaveSettings(profile_, files_, places_, settings_)) {
        platform_.showMessage(DialogMessage::NotKept);
        return;
    }
    unload();
}

void SettingsDialog::Cmd_Can_Click()
{
    unload();
}

void SettingsDialog::closeBox()
{
    unload();
}

void SettingsDialog::unload()
{
    Form_Unload();
    platform_.close();
}

void SettingsDialog::Form_Unload()
{
    DialogRect window{};
    if (platform_.windowRect(window))
        platform_.animateCaption(window, anchorRect());
}

void SettingsDialog::lbl_URL_Click()
{
    showPointer(PointerShape::Hourglass);
    platform_.openAddress(texts::projectAddress);
    showPointer(PointerShape::Arrow);
}

void SettingsDialog::showPointer(PointerShape shape)
{
    waiting_ = shape == PointerShape::Hourglass;
    platform_.setPointer(shape);
}

std::optional<PointerShape> SettingsDialog::pointerAt(PointerPlace place, int x, int y) const
{
    if (waiting_)
        return PointerShape::Hourglass;
    switch (place) {
    case PointerPlace::Window: return OnAddress(x, y) ? PointerShape::Hand : PointerShape::Arrow;
    case PointerPlace::Panel: return PointerShape::Arrow;
    case PointerPlace::Control: break;
    }
    return std::nullopt;
}

void SettingsDialog::windowPressed(int x, int y)
{
    addressPressed_ = OnAddress(x, y);
}

void SettingsDialog::windowReleased(int x, int y)
{
    const bool click = addressPressed_ && OnAddress(x, y);
    addressPressed_ = false;
    if (click)
        lbl_URL_Click();
}

DialogRect SettingsDialog::anchorRect() const
{
    return {AnchorPoint[0], AnchorPoint[1], AnchorPoint[0], AnchorPoint[1]};
}
