// The settings dialog's handlers against a recording platform: what loading shows, what a selection
// enables, what "設定" writes, and the numbers of the painted background and the window's place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/settings_dialog/settings_dialog.h"

namespace {

// One log for the window, the system and the settings file, so the order across them shows. Every
// file step works, so the keys go into the draft beside the program.
class RecordingDialog : public DialogPlatform, public ProfileAccess, public FileStore {
public:
    std::vector<std::string> log;
    bool rectWorks = true;
    bool cursorWorks = true;
    std::string typed;
    char separator = '.';
    FileChoice chooserResult = FileChoice::Chosen;
    std::string chooserAnswer = "C:\\Music\\a.mp3";
    bool replaceWorks = true;

    bool windowRect(DialogRect& rect) override
    {
        rect = {40, 30, 541, 301};
        return rectWorks;
    }
    bool screenSize(int& width, int& height) override
    {
        width = 1024;
        height = 768;
        return true;
    }
    void moveWindow(int left, int top) override { add("move " + std::to_string(left) + " " + std::to_string(top)); }
    void setAllButtons(bool initialize, bool enable) override
    {
        add(std::string("buttons ") + (initialize ? "initialize" : enable ? "enable" : "disable"));
    }
    void tilePanel() override { add("tile"); }
    void enableTrackBox(bool enabled) override { add(std::string("track ") + (enabled ? "on" : "off")); }
    void enableFileButton(bool enabled) override { add(std::string("file ") + (enabled ? "on" : "off")); }
    void showGlyph(int option, bool selected) override
    {
        add("glyph " + std::to_string(option) + (selected ? " on" : " off"));
    }
    void setTrackText(const std::string& text) override { add("track text '" + text + "'"); }
    std::string trackText() override { return typed; }
    void addTrackEntry(const std::string& text) override { add("entry '" + text + "'"); }
    void setFileLabel(const AnsiText& path) override { add("label " + path.bytes()); }
    bool cursorPosition(int& x, int& y) override
    {
        x = 700;
        y = 10;
        return cursorWorks;
    }
    void animateCaption(const DialogRect& from, const DialogRect& to) override
    {
        add("zoom " + text(from) + " to " + text(to));
    }
    void setPointer(PointerShape shape) override { add(shape == PointerShape::Arrow ? "arrow" : "hourglass"); }
    void openAddress(const std::string& address) override
    {
        add("open " + address);
        // What the pointer is over a control while the address opens.
        if (dialog && dialog->pointerAt(PointerPlace::Control, 0, 0) == PointerShape::Hourglass)
            add("hourglass over controls");
    }
    const SettingsDialog* dialog = nullptr;
    FileChoice chooseMusicFile(const AnsiText& initialFolder, AnsiText& chosen) override
    {
        add("choose in " + initialFolder.bytes());
        if (chooserResult == FileChoice::Chosen)
            chosen = AnsiText(chooserAnswer);
        return chooserResult;
    }
    void showMessage(DialogMessage message) override
    {
        add(message == DialogMessage::UnspellableName ? "unspellable"
                : message == DialogMessage::NameTooLong ? "too long"
                                                        : "not kept");
    }
    char decimalSeparator() override { return separator; }
    void close() override { add("close"); }

    AnsiText readString(ShiftJisText, ShiftJisText, const AnsiText&) override { return AnsiText(); }
    bool writeString(ShiftJisText section, ShiftJisText key, const AnsiText& value, const AnsiText& file) override
    {
        add("write [" + std::string(section.bytes) + "] " + key.bytes + "=" + value.bytes() + " " + file.bytes());
        return true;
    }
    bool canOpenForReading(const AnsiText&) override { return false; }
    bool copyOrCreate(const AnsiText&, const AnsiText&) override { return true; }
    bool flush(const AnsiText&) override { return true; }
    Replacement replace(const AnsiText&, const AnsiText&, const AnsiText&) override
    {
        return replaceWorks ? Replacement::Whole : Replacement::NotAtAll;
    }
    bool move(const AnsiText&, const AnsiText&) override { return false; }
    bool remove(const AnsiText&) override { return true; }
    void createFolder(const AnsiText&) override {}

private:
    void add(const std::string& line) { log.push_back(line); }
    static std::string text(const DialogRect& r)
    {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
            + std::to_string(r.bottom);
    }
};

const std::string iniFile = "D:\\Saver\\Vitrelux.ini.new";
const std::string writeSource = "write [Section] BGM\x8B\xE6\x95\xAA=";
const std::string writeTrack = "write [Section] BGM\xD8\xCB\xDF\xB0\xC4=";
const std::string writeFile = "write [Section] BGM\xCC\xA7\xB2\xD9=";

struct Rig {
    RecordingDialog platform;
    Settings settings;
    SettingsDialog dialog;
    Rig(std::int16_t source, std::int16_t track, const std::string& file)
        : settings{source, track, AnsiText(file), "C:\\Start"}, dialog(platform, platform, platform, settings, {"D:\\Saver", "", {}})
    {
        platform.dialog = &dialog;
    }
    // The log since the last call.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(platform.log);
        return taken;
    }
};

std::vector<std::string> trackEntries()
{
    std::vector<std::string> entries = {"entry ''"};
    for (int i = 1; i <= 30; ++i)
        entries.push_back("entry '" + std::to_string(i) + "'");
    return entries;
}

TEST(SettingsDialogLoad, RunsItsStepsInOrder)
{
    Rig rig(2, 0, "C:\\Music\\a.mp3");
    rig.dialog.Form_Load();
    std::vector<std::string> expected = {"move 261 165", "buttons initialize", "tile", "track off", "glyph 0 off",
                                         "glyph 1 off", "glyph 2 off", "glyph 2 on", "file on", "track text ''"};
    for (const std::string& entry : trackEntries())
        expected.push_back(entry);
    for (const char* last : {"label C:\\Music\\a.mp3", "zoom 700,10,700,10 to 40,30,541,301", "arrow"})
        expected.push_back(last);
    EXPECT_EQ(rig.take(), expected);
}

TEST(SettingsDialogLoad, ShowsTheStoredSourceAndTrack)
{
    struct Case {
        std::int16_t source, track;
        std::vector<std::string> shown;  // glyph, track box and file button calls, and the track text
    };
    const Case cases[] = {
        {0, 0, {"track off", "glyph 0 on", "file off", "track text ''"}},
        {1, 12, {"track off", "glyph 1 on", "track on", "file off", "track text '12'"}},
        {1, -3, {"track off", "glyph 1 on", "track on", "file off", "track text '-3'"}},
        // A hand-edited source selects nothing and leaves both controls disabled.
        {5, 7, {"track off", "file off", "track text '7'"}},
        {-1, 0, {"track off", "file off", "track text ''"}},
    };
    for (const Case& c : cases) {
        Rig rig(c.source, c.track, "");
        rig.dialog.Form_Load();
        std::vector<std::string> shown;
        for (const std::string& line : rig.take())
            if (line.rfind("track", 0) == 0 || line.rfind("file", 0) == 0
                || (line.rfind("glyph", 0) == 0 && line.find(" on") != std::string::npos))
                shown.push_back(line);
        EXPECT_EQ(shown, c.shown) << c.source;
    }
}

TEST(SettingsDialogLoad, StepsThatFailAreSkipped)
{
    Rig rig(0, 0, "");
    rig.platform.rectWorks = false;
    rig.platform.cursorWorks = false;
    rig.dialog.Form_Load();
    const std::vector<std::string> log = rig.take();
    EXPECT_EQ(log.front(), "buttons initialize") << "no placement without the window's size";
    EXPECT_EQ(log.back(), "arrow");
    rig.platform.rectWorks = true;
    rig.dialog.Cmd_Can_Click();
    EXPECT_EQ(rig.take(), (std::vector<std::string>{"zoom 40,30,541,301 to 0,0,0,0", "close"}))
        << "an unreadable pointer anchors both animations at the top-left corner";
}

TEST(SettingsDialogSelection, FollowsTheLastOptionPressedAndWritesNothing)
{
    Rig rig(1, 4, "C:\\Music\\a.mp3");
    rig.dialog.Form_Load();
    rig.take();
    rig.dialog.Img_BGM_MouseDown(2);
    EXPECT_EQ(rig.take(), (std::vector<std::string>{"file off", "track off", "glyph 0 off", "glyph 1 off", "glyph 2 off",
                                                    "glyph 2 on", "file on"}));
    rig.dialog.lbl_BGM_MouseDown(1);
    EXPECT_EQ(rig.take(), (std::vector<std::string>{"file off", "track off", "glyph 0 off", "glyph 1 off", "glyph 2 off",
                                                    "glyph 1 on", "track on"}));
    rig.dialog.lbl_BGM_MouseDown(0);
    EXPECT_EQ(rig.settings.MusicSource, 0);
    EXPECT_EQ(rig.settings.MusicFile.bytes(), "C:\\Music\\a.mp3");
    for (const std::string& line : rig.take())
        EXPECT_EQ(line.find("write"), std::string::npos) << line;
}

TEST(SettingsDialogStore, WritesTheThreeKeysThenCloses)
{
    struct Case {
        std::string typed;
        char separator;
        std::string track;
    };
    const Case cases[] = {
        {"7", '.', " 7"}, {"2.5", '.', " 2"}, {"3.5", '.', " 4"}, {"abc", '.', " 0"}, {"45", '.', " 45"},
        {"", '.', " 0"}, {"-3", '.', "-3"}, {" 6 ", '.', " 6"}, {"1e1", '.', " 10"}, {"2,5", ',', " 2"},
        {"2.5", ',', " 0"}, {"32767", '.', " 32767"}, {"-32768.4", '.', "-32768"},
        // Beyond 16 bits the conversion has no result: 0 is stored and the other keys still are.
        {"99999", '.', " 0"}, {"32767.5", '.', " 0"}, {"1e400", '.', " 0"},
    };
    for (const Case& c : cases) {
        Rig rig(5, 9, "");
        rig.platform.typed = c.typed;
        rig.platform.separator = c.separator;
        rig.dialog.Cmd_Set_Click();
        const std::vector<std::string> expected = {writeSource + " 5 " + iniFile, writeTrack + c.track + " " + iniFile,
                                                   writeFile + " " + iniFile, "zoom 40,30,541,301 to 0,0,0,0", "close"};
        EXPECT_EQ(rig.take(), expected) << '"' << c.typed << '"';
    }
}

TEST(SettingsDialogStore, CancelAndTheCloseBoxWriteNothing)
{
    for (bool closeBox : {false, true}) {
        Rig rig(1, 4, "");
        rig.dialog.Form_Load();
        rig.dialog.Img_BGM_MouseDown(2);
        rig.dialog.Cmd_File_Click();
        rig.take();
        closeBox ? rig.dialog.closeBox() : rig.dialog.Cmd_Can_Click();
        EXPECT_EQ(rig.take(), (std::vector<std::string>{"zoom 40,30,541,301 to 700,10,700,10", "close"}));
    }
}

TEST(SettingsDialogFile, ChosenFileIsShownStoredAndOpensTheNextChooser)
{
    Rig rig(2, 0, "");
    rig.dialog.Cmd_File_Click();
    rig.platform.chooserAnswer = "C:\\Other\\b.wav";
    for (FileChoice unused : {FileChoice::None, FileChoice::Unspellable, FileChoice::TooLong}) {
        rig.platform.chooserResult = unused;
        rig.dialog.Cmd_File_Click();
    }
    EXPECT_EQ(rig.take(), (std::vector<std::string>{"choose in C:\\Start", "label C:\\Music\\a.mp3", "choose in C:\\Music",
                                                    "choose in C:\\Music", "unspellable", "choose in C:\\Music",
                                                    "too long"}));
    EXPECT_EQ(rig.settings.MusicFile.bytes(), "C:\\Music\\a.mp3") << "a cancelled or refused choice changes nothing";
    EXPECT_EQ(rig.settings.FileDialogFolder.bytes(), "C:\\Music");
    rig.dialog.Cmd_Set_Click();
    EXPECT_EQ(rig.take()[2], writeFile + "C:\\Music\\a.mp3 " + iniFile);
}

TEST(SettingsDialogStore, ASaveThatFailsSaysSoAndStaysOpen)
{
    Rig rig(2, 0, "C:\\Music\\a.mp3");
    rig.platform.replaceWorks = false;
    rig.dialog.Cmd_Set_Click();
    EXPECT_EQ(rig.take().back(), "not kept");
    rig.platform.replaceWorks = true;
    rig.dialog.Cmd_Set_Click();
    EXPECT_EQ(rig.take().back(), "close") << "a second try that works closes it";
}

// The link lies at (12, 208) to (231, 221) of the window.
TEST(SettingsDialogLink, OpensOnAPressAndAReleaseBothOnItUnderTheHourglass)
{
    const std::vector<std::string> opened = {"hourglass", "open https://vitrelux.example.org/", "hourglass over controls", "arrow"};
    struct Case {
        const char* what;
        std::pair<int, int> press, release;
        bool opens;
    };
    const Case cases[] = {
        {"on the link", {20, 210}, {200, 220}, true},
        {"released beside it", {20, 210}, {231, 214}, false},
        {"pressed beside it", {12, 207}, {20, 210}, false},
    };
    for (const Case& c : cases) {
        Rig rig(0, 0, "");
        rig.dialog.windowPressed(c.press.first, c.press.second);
        rig.dialog.windowReleased(c.release.first, c.release.second);
        EXPECT_EQ(rig.take(), c.opens ? opened : std::vector<std::string>{}) << c.what;
        rig.dialog.windowReleased(c.release.first, c.release.second);
        EXPECT_TRUE(rig.take().empty()) << c.what << ": a release without its press";
    }
}

TEST(SettingsDialogLink, ThePointerIsAHandOverTheLinkAndTheControlsKeepTheirOwn)
{
    struct Case {
        PointerPlace place;
        int x, y;
        std::optional<PointerShape> shape;
    };
    const Case cases[] = {
        {PointerPlace::Window, 12, 208, PointerShape::Hand}, {PointerPlace::Window, 231, 214, PointerShape::Arrow},
        {PointerPlace::Panel, 20, 210, PointerShape::Arrow}, {PointerPlace::Control, 20, 210, std::nullopt},
    };
    Rig rig(0, 0, "");
    for (const Case& c : cases)
        EXPECT_EQ(rig.dialog.pointerAt(c.place, c.x, c.y), c.shape) << static_cast<int>(c.place) << " " << c.x;
}

TEST(SettingsDialogLayout, PlacementShadesAndTiles)
{
    EXPECT_EQ(DialogPlacement(1024, 768, 501, 271), std::make_pair(261, 165));
    EXPECT_EQ(DialogPlacement(400, 300, 501, 271), std::make_pair(-50, 9)) << "truncated toward zero";

    const std::vector<std::uint8_t> shades = BackgroundShades(246);
    ASSERT_EQ(shades.size(), 247u);
    EXPECT_EQ(shades[0], 0);
    EXPECT_EQ(shades[123], 220);
    EXPECT_EQ(shades[246], 0);
    EXPECT_EQ(shades[109], 217) << "216.5002 with 3.142; pi would give 216";
    EXPECT_EQ(shades[164], 190) << "190.4957 with 3.142; pi would give 191";
    EXPECT_EQ(BackgroundShades(2.5).size(), 3u) << "2.5 rows round to 2";

    const std::vector<std::pair<int, int>> tiles = TilePositions(556, 20, 469, 165);
    ASSERT_EQ(tiles.size(), 20u);
    EXPECT_EQ(tiles[9], std::make_pair(0, 180));
    EXPECT_EQ(tiles[10], std::make_pair(556, 0));
    EXPECT_EQ(tiles[19], std::make_pair(556, 180));
    EXPECT_TRUE(TilePositions(0, 0, 469, 165).empty()) << "a tile that did not load is copied nowhere";
}

} // namespace
