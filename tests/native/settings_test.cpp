// The settings' rules against a recording profile and scripted file checks: stored numbers,
// the music file, the dialog folder, Shift-JIS paths and what is written back.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "saver/core/settings.h"
#include "tests/settings_compare.h"

namespace {

// The key bytes spelled out, so a change to the stored keys shows up here.
const std::string musicSourceKey = "BGM\x8B\xE6\x95\xAA";
const std::string repeatTrackKey = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string musicFileKey = "BGM\xCC\xA7\xB2\xD9";
const std::string programFolder = "C:\\Saver";
const std::string iniFile = "C:\\Saver\\Vitrelux.ini";
const std::string userFolder = "C:\\Users\\u\\AppData\\Roaming\\Vitrelux";
const std::string userFile = userFolder + "\\Vitrelux.ini";

const AnsiCodePage shiftJis = ShiftJisCodePage();
// Code page 1252 has no lead bytes.
const AnsiCodePage western;
const SettingsPlaces places = {AnsiText(programFolder), AnsiText(userFile), shiftJis};

// Shift-JIS: 音楽 and ソフト; 表 and ソ end in 0x5C, the byte of '\\'.
const std::string ongaku = "\x89\xB9\x8A\x79";
const std::string hyou = "\x95\x5C";
const std::string sofuto = "\x83\x5C\x83\x74\x83\x67";

struct ProfileCall {
    std::string section, key, value, file;
    bool operator==(const ProfileCall& o) const
    {
        return section == o.section && key == o.key && value == o.value && file == o.file;
    }
};

std::ostream& operator<<(std::ostream& out, const ProfileCall& c)
{
    return out << "[" << c.section << "] " << c.key << "=" << c.value << " in " << c.file;
}

// Values by key, whatever the section or file.
class FakeProfile : public ProfileAccess {
public:
    std::map<std::string, std::string> values;
    std::vector<ProfileCall> reads, writes;

    AnsiText readString(ShiftJisText section, ShiftJisText key, const AnsiText& file) override
    {
        reads.push_back({section.bytes, key.bytes, "", file.bytes()});
        auto found = values.find(key.bytes);
        return AnsiText(found == values.end() ? "" : found->second);
    }
    bool writeString(ShiftJisText section, ShiftJisText key, const AnsiText& value, const AnsiText& file) override
    {
        writes.push_back({section.bytes, key.bytes, value.bytes(), file.bytes()});
        return true;
    }
};

// Files as key-value pairs by path, with folders that cannot be written and a disk that fills up.
// The keys stand for the three settings keys, so a saved file reads at a glance.
class MemoryFiles : public ProfileAccess, public FileStore {
public:
    using Entries = std::map<std::string, std::string>;
    using Files = std::map<std::string, Entries>;
    Files files;
    std::set<std::string> readOnlyFolders;
    // Files that stay when removed (open in another program, say).
    std::set<std::string> stuck;
    // How many values can still be written; negative for no end.
    int writesBeforeFull = -1;
    // The step of putting a draft in place that fails, and how far the system's replace then got.
    bool flushFails = false;
    std::optional<Replacement> replaceStops;
    std::set<std::string> unmovable;

    AnsiText readString(ShiftJisText, ShiftJisText key, const AnsiText& file) override
    {
        const auto found = files.find(file.bytes());
        if (found == files.end())
            return AnsiText();
        const auto value = found->second.find(shortKey(key));
        return AnsiText(value == found->second.end() ? "" : value->second);
    }
    bool writeString(ShiftJisText, ShiftJisText key, const AnsiText& value, const AnsiText& file) override
    {
        if (!writable(file) || files.count(file.bytes()) == 0 || writesBeforeFull == 0)
            return false;
        --writesBeforeFull;
        files[file.bytes()][shortKey(key)] = value.bytes();
        return true;
    }
    bool canOpenForReading(const AnsiText& path) override { return files.count(path.bytes()) > 0; }
    bool copyOrCreate(const AnsiText& from, const AnsiText& to) override
    {
        if (!writable(to))
            return false;
        auto found = files.find(from.bytes());
        files[to.bytes()] = found == files.end() ? Entries{} : found->second;
        return true;
    }
    bool flush(const AnsiText& path) override { return !flushFails && files.count(path.bytes()) > 0; }
    Replacement replace(const AnsiText& from, const AnsiText& to, const AnsiText& backup) override
    {
        if (!writable(to) || replaceStops == Replacement::NotAtAll)
            return Replacement::NotAtAll;
        if (files.count(to.bytes()) == 0)
            return Replacement::NothingThere;
        move(to, backup);
        if (replaceStops == Replacement::OldAside)
            return Replacement::OldAside;
        move(from, to);
        return Replacement::Whole;
    }
    bool move(const AnsiText& from, const AnsiText& to) override
    {
        if (!writable(to) || unmovable.count(from.bytes()) > 0 || files.count(from.bytes()) == 0)
            return false;
        files[to.bytes()] = files[from.bytes()];
        files.erase(from.bytes());
        return true;
    }
    bool remove(const AnsiText& path) override
    {
        if (stuck.count(path.bytes()) > 0)
            return files.count(path.bytes()) == 0;
        files.erase(path.bytes());
        return true;
    }
    void createFolder(const AnsiText&) override {}

private:
    bool writable(const AnsiText& path) const { return readOnlyFolders.count(western.folderOf(path).bytes()) == 0; }
    static std::string shortKey(ShiftJisText key)
    {
        return key.bytes == musicSourceKey ? "source" : key.bytes == repeatTrackKey ? "repeat" : "file";
    }
};

class FakeFileChecks : public FileChecks {
public:
    std::set<std::string> openable;
    std::vector<std::string> asked;

    bool canOpenForReading(const AnsiText& path) override
    {
        asked.push_back(path.bytes());
        return openable.count(path.bytes()) > 0;
    }
};

TEST(LoadSettings, ReadsTheThreeKeysFromTheUsersOwnCopyElseFromBesideTheProgram)
{
    struct Case {
        const char* what;
        SettingsPlaces places;
        std::set<std::string> openable;
        std::string read;
    };
    const Case cases[] = {
        {"no copy of the user's", places, {iniFile}, iniFile},
        {"the user's copy", places, {iniFile, userFile}, userFile},
        {"only the user's copy", places, {userFile}, userFile},
        {"the user's folder unknown", {AnsiText(programFolder), "", shiftJis}, {iniFile}, iniFile},
    };
    for (const Case& c : cases) {
        FakeProfile profile;
        FakeFileChecks files;
        files.openable = c.openable;
        Settings settings;
        LoadSettings(profile, files, c.places, settings);
        const std::vector<ProfileCall> expected = {
            {"Section", musicSourceKey, "", c.read},
            {"Section", repeatTrackKey, "", c.read},
            {"Section", musicFileKey, "", c.read},
        };
        EXPECT_EQ(profile.reads, expected) << c.what;
        EXPECT_TRUE(profile.writes.empty()) << c.what;
    }
}

TEST(LoadSettings, StoredNumbersFloorToSixteenBitsOrReadAsZero)
{
    struct Case {
        std::string stored;
        std::int16_t expected;
    };
    const Case cases[] = {
        {"", 0}, {"2", 2}, {" 2", 2}, {"2 ", 2}, {"\t2\t", 2}, {"+2", 2},
        {"2.7", 2}, {"3.9", 3}, {"-1.5", -2}, {"-0.5", -1}, {"-2.0", -2}, {"-0", 0},
        {"1.", 1}, {".5", 0}, {"-.5", -1},
        {"1e1", 10}, {"1E+1", 10}, {"15e-1", 1}, {"1d1", 10},
        {"32767", 32767}, {"-32768", -32768}, {"000000000032767", 32767}, {"327670e-1", 32767},
        {"0.00032767e8", 32767},
        {"32767.9", 32767},
        // Read as a double first: this rounds to 32768 before it is floored.
        {"32767.99999999999999999", 0},
        {"32768", 0}, {"99999", 0}, {"-32769", 0}, {"-32768.5", 0}, {"1e5", 0},
        // Past a double's range: infinity is out of range, and the tiny value underflows to 0.
        {"1e99999999999999999999", 0}, {"-1e-99999999999999999999", 0},
        // Not numbers: a hex prefix, a comma, full-width ２, a blank after the sign.
        {"abc", 0}, {"2x", 0}, {"1 2", 0}, {"   ", 0}, {".", 0}, {"+", 0}, {"--2", 0}, {"- 2", 0},
        {"1e", 0}, {"e1", 0}, {"1e 1", 0}, {"1e1.5", 0}, {"&H10", 0}, {"1,5", 0}, {"\x82\x51", 0},
        // At 255 bytes, the most the Windows profile reader hands back.
        {std::string(254, ' ') + "7", 7}, {std::string(250, '0') + "12345", 12345},
        {"1" + std::string(254, '0'), 0}, {"-0." + std::string(252, '0'), 0},
    };
    for (const Case& c : cases) {
        FakeProfile profile;
        FakeFileChecks files;
        profile.values = {{musicSourceKey, c.stored}, {repeatTrackKey, c.stored}, {musicFileKey, "C:\\a.mp3"}};
        files.openable = {"C:\\a.mp3"};
        Settings settings;
        LoadSettings(profile, files, places, settings);
        EXPECT_EQ(settings.MusicSource, c.expected) << "\"" << c.stored << "\"";
        EXPECT_EQ(settings.RepeatTrack, c.expected) << "\"" << c.stored << "\"";
    }
}

TEST(LoadSettings, MissingKeysGiveDefaultsOverWhateverWasHeld)
{
    FakeProfile profile;
    FakeFileChecks files;
    Settings settings{5, 9, "C:\\old.mp3", "C:\\old"};
    LoadSettings(profile, files, places, settings);
    EXPECT_EQ(settings, (Settings{0, 0, "", AnsiText(programFolder)}));
    const std::vector<std::string> settingsPlaces = {userFile, userFile + ".new", userFile + ".bak",
                                                     iniFile,  iniFile + ".new",  iniFile + ".bak"};
    EXPECT_EQ(files.asked, settingsPlaces) << "only where the settings, or what a save left of them, are";
}

TEST(LoadSettings, MusicFileIsKeptOnlyWhileItCanBeOpened)
{
    struct Case {
        const char* what;
        std::string source, file;
        std::vector<std::string> openable;
        std::int16_t musicSource;
        std::string musicFile, dialogFolder;
        std::vector<std::string> asked;
    };
    const std::string song = "C:\\Music\\a.mp3";
    const Case cases[] = {
        {"file there", "2", song, {song}, 2, song, "C:\\Music", {song}},
        {"file gone", "2", song, {}, 0, "", programFolder, {song}},
        {"no file stored", "2", "", {}, 0, "", programFolder, {}},
        {"CD without a file", "1", "", {}, 1, "", programFolder, {}},
        {"CD with a gone file", "1", song, {}, 1, "", programFolder, {song}},
        {"no music, file kept", "0", song, {song}, 0, song, "C:\\Music", {song}},
        {"unknown source kept", "3", song, {song}, 3, song, "C:\\Music", {song}},
        // Checked without the trailing '\\' but kept as stored; its folder is then the file itself.
        {"trailing backslash", "2", song + "\\", {song}, 2, song + "\\", song, {song}},
        {"only a backslash", "2", "\\", {}, 0, "", programFolder, {}},
    };
    for (const Case& c : cases) {
        FakeProfile profile;
        FakeFileChecks files;
        profile.values = {{musicSourceKey, c.source}, {musicFileKey, c.file}};
        files.openable.insert(c.openable.begin(), c.openable.end());
        files.openable.insert(iniFile);
        Settings settings;
        // Without a copy of the user's to look for, only the music file is looked at besides.
        LoadSettings(profile, files, {AnsiText(programFolder), "", shiftJis}, settings);
        EXPECT_EQ(settings.MusicSource, c.musicSource) << c.what;
        EXPECT_EQ(settings.MusicFile.bytes(), c.musicFile) << c.what;
        EXPECT_EQ(settings.FileDialogFolder.bytes(), c.dialogFolder) << c.what;
        std::vector<std::string> asked = {iniFile};
        asked.insert(asked.end(), c.asked.begin(), c.asked.end());
        EXPECT_EQ(files.asked, asked) << c.what;
    }
}

TEST(FileExists, DropsOneTrailingBackslashAndNeverAsksAboutNothing)
{
    struct Case {
        std::string path;
        bool expected;
        std::vector<std::string> asked;
    };
    const std::string song = "C:\\" + ongaku + "\\a.mp3";
    const std::string endsInHyou = "C:\\" + ongaku + "\\" + hyou;
    const Case cases[] = {
        {song, true, {song}},
        {song + "\\", true, {song}},
        {song + "\\\\", false, {song + "\\"}},
        {"C:\\missing.mp3", false, {"C:\\missing.mp3"}},
        {"", false, {}},
        {"\\", false, {}},
        // The 0x5C closing 表 is part of the name, not a separator to drop.
        {endsInHyou, true, {endsInHyou}},
        {endsInHyou + "\\", true, {endsInHyou}},
    };
    for (const Case& c : cases) {
        FakeFileChecks files;
        files.openable = {song, endsInHyou};
        EXPECT_EQ(FileExists(files, AnsiText(c.path), shiftJis), c.expected) << c.path;
        EXPECT_EQ(files.asked, c.asked) << c.path;
    }
}

TEST(AnsiCodePage, CutsTheFolderAtTheLastSeparatorThatIsAWholeCharacter)
{
    struct Case {
        std::string path, folder;
        const AnsiCodePage* codePage = &shiftJis;
    };
    const Case cases[] = {
        {"C:\\Music\\a.mp3", "C:\\Music"}, {"C:\\a.mp3", "C:"}, {"C:a.mp3", "C:"}, {"a.mp3", ""}, {"", ""},
        {"C:\\", "C:"}, {"C:", "C:"}, {"\\a.mp3", ""}, {"\\\\server\\share\\a.mp3", "\\\\server\\share"},
        {"C:\\Music\\\\a.mp3", "C:\\Music\\"},
        {"C:\\" + ongaku + "\\" + hyou + ".mp3", "C:\\" + ongaku},
        {"C:\\" + hyou + "\\a.mp3", "C:\\" + hyou},
        {"C:\\" + sofuto + "\\a.mp3", "C:\\" + sofuto},
        {hyou + ".mp3", ""},
        {"C:\\" + ongaku + "\\" + hyou, "C:\\" + ongaku},
        // Half-width katakana (ﾌｫﾙﾀﾞ) are single bytes.
        {"C:\\\xCC\xAB\xD9\xC0\xDE\\a.mp3", "C:\\\xCC\xAB\xD9\xC0\xDE"},
        // The edges of the lead-byte ranges, each before 5C: ― 歃 濬, and FC, which leads even unassigned.
        {"C:\\a\\\x81\x5C.mp3", "C:\\a"}, {"C:\\a\\\x9F\x5C.mp3", "C:\\a"},
        {"C:\\a\\\xE0\x5C.mp3", "C:\\a"}, {"C:\\a\\\xFC\x5C.mp3", "C:\\a"},
        // Just outside them a byte stands alone.
        {"C:\\\x80\\a.mp3", "C:\\\x80"}, {"C:\\\xA0\\a.mp3", "C:\\\xA0"}, {"C:\\\xDF\\a.mp3", "C:\\\xDF"},
        {"C:\\\xFD\\a.mp3", "C:\\\xFD"},
        // A lead byte with nothing after it is taken alone.
        {"C:\\Music\\\x95", "C:\\Music"},
        // In code page 1252 every byte is a character: é (E9) is no lead byte there.
        {"C:\\Caf\xE9\\a.mp3", "C:\\Caf\xE9", &western},
        {"C:\\a\\\x81\\b.mp3", "C:\\a\\\x81", &western},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.codePage->folderOf(AnsiText(c.path)).bytes(), c.folder) << c.path;
}

TEST(FormatSettingNumber, PutsABlankWhereTheSignWouldBe)
{
    struct Case {
        std::int16_t value;
        std::string text;
    };
    const Case cases[] = {{2, " 2"}, {0, " 0"}, {-1, "-1"}, {32767, " 32767"}, {-32768, "-32768"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatSettingNumber(c.value).bytes(), c.text) << c.value;
}

TEST(SaveSettings, WritesTheThreeKeysInOrderAndNotTheDialogFolder)
{
    FakeProfile profile;
    MemoryFiles files;
    SaveSettings(profile, files, places, Settings{2, -1, "C:\\Music\\a.mp3", "C:\\Music"});
    SaveSettings(profile, files, places, Settings{0, 12, "", "C:\\Saver"});
    const std::string draft = iniFile + ".new";
    const std::vector<ProfileCall> expected = {
        {"Section", musicSourceKey, " 2", draft}, {"Section", repeatTrackKey, "-1", draft},
        {"Section", musicFileKey, "C:\\Music\\a.mp3", draft}, {"Section", musicSourceKey, " 0", draft},
        {"Section", repeatTrackKey, " 12", draft}, {"Section", musicFileKey, "", draft},
    };
    EXPECT_EQ(profile.writes, expected);
    EXPECT_TRUE(profile.reads.empty());
}

TEST(SaveSettings, BesideTheProgramWhereItCanElseTheUsersOwnCopyAndNeverHalfAFile)
{
    using Files = MemoryFiles::Files;
    // What else a file holds shows which file the saved one was copied from.
    const MemoryFiles::Entries older = {{"other", "beside"}, {"source", " 1"}};
    const MemoryFiles::Entries mine = {{"other", "mine"}, {"source", " 9"}};
    const MemoryFiles::Entries saved = {{"other", "beside"}, {"source", " 2"}, {"repeat", " 0"}, {"file", ""}};
    const MemoryFiles::Entries savedAlone = {{"source", " 2"}, {"repeat", " 0"}, {"file", ""}};
    const MemoryFiles::Entries mineSaved = {{"other", "mine"}, {"source", " 2"}, {"repeat", " 0"}, {"file", ""}};
    struct Case {
        const char* what;
        Files before;
        std::set<std::string> readOnly;
        std::string userFile;
        int writesBeforeFull;
        bool saved;
        Files after;
        bool userCopyStuck = false;
    };
    const Case cases[] = {
        {"beside the program", {{iniFile, older}}, {}, userFile, -1, true, {{iniFile, saved}}},
        {"beside, the user's copy goes", {{iniFile, older}, {userFile, mine}}, {}, userFile, -1, true,
         {{iniFile, saved}}},
        {"no file yet", {}, {}, userFile, -1, true, {{iniFile, savedAlone}}},
        {"folder read-only: a copy of the user's own", {{iniFile, older}}, {programFolder}, userFile, -1, true,
         {{iniFile, older}, {userFile, saved}}},
        {"folder read-only, the user's copy there", {{iniFile, older}, {userFile, mine}}, {programFolder}, userFile,
         -1, true, {{iniFile, older}, {userFile, mineSaved}}},
        {"nowhere to write", {{iniFile, older}}, {programFolder, userFolder}, userFile, -1, false, {{iniFile, older}}},
        {"user's folder unknown", {{iniFile, older}}, {programFolder}, "", -1, false, {{iniFile, older}}},
        {"beside, the user's copy stays and takes the choice too", {{iniFile, older}, {userFile, mine}}, {},
         userFile, -1, true, {{iniFile, saved}, {userFile, mineSaved}}, true},
        {"beside, the user's copy stays and cannot be written", {{iniFile, older}, {userFile, mine}}, {userFolder},
         userFile, -1, false, {{iniFile, saved}, {userFile, mine}}, true},
        {"disk full after one key", {{iniFile, older}}, {}, userFile, 1, false, {{iniFile, older}}},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files = c.before;
        files.readOnlyFolders = c.readOnly;
        files.writesBeforeFull = c.writesBeforeFull;
        if (c.userCopyStuck)
            files.stuck = {userFile};
        EXPECT_EQ(SaveSettings(files, files, {AnsiText(programFolder), AnsiText(c.userFile), shiftJis},
                               Settings{2, 0, "", "C:\\Music"}),
                  c.saved)
            << c.what;
        EXPECT_EQ(files.files, c.after) << c.what;
    }
}

TEST(SaveSettings, EveryStepOfPuttingTheDraftInPlaceCanFailAndTheChoiceIsStillTheNextStartsToRead)
{
    using Files = MemoryFiles::Files;
    const std::string draft = iniFile + ".new", backup = iniFile + ".bak";
    const MemoryFiles::Entries older = {{"source", " 1"}, {"repeat", " 7"}};
    const MemoryFiles::Entries saved = {{"source", " 1"}, {"repeat", " 3"}, {"file", ""}};
    struct Case {
        const char* what;
        Files before;
        bool flushFails;
        std::optional<Replacement> replaceStops;
        std::set<std::string> unmovable;
        bool saved;
        Files after;
    };
    const Case cases[] = {
        {"nothing fails", {{iniFile, older}}, false, {}, {}, true, {{iniFile, saved}}},
        {"the draft cannot be flushed", {{iniFile, older}}, true, {}, {}, false, {{iniFile, older}}},
        {"the replace changes nothing", {{iniFile, older}}, false, Replacement::NotAtAll, {}, false,
         {{iniFile, older}}},
        {"the old file aside, the draft moved in afterwards", {{iniFile, older}}, false, Replacement::OldAside, {},
         true, {{iniFile, saved}}},
        {"the old file aside, the draft held, the old file back", {{iniFile, older}}, false, Replacement::OldAside,
         {draft}, false, {{iniFile, older}}},
        {"the old file aside, neither moves: both stay", {{iniFile, older}}, false, Replacement::OldAside,
         {draft, backup}, false, {{backup, older}, {draft, saved}}},
        {"a first save whose draft cannot be moved in keeps it", {}, false, {}, {draft}, false, {{draft, saved}}},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.files = c.before;
        files.flushFails = c.flushFails;
        files.replaceStops = c.replaceStops;
        files.unmovable = c.unmovable;
        const SettingsPlaces beside = {AnsiText(programFolder), "", western};
        EXPECT_EQ(SaveSettings(files, files, beside, Settings{1, 3, "", ""}), c.saved) << c.what;
        EXPECT_EQ(files.files, c.after) << c.what;
        Settings next;
        LoadSettings(files, files, beside, next);
        EXPECT_EQ(next.RepeatTrack, c.saved || c.after.count(draft) ? 3 : 7) << c.what << ": the next start reads";
    }
}

} // namespace
