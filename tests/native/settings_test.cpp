// The settings' rules against a recording profile and scripted file checks: stored numbers,
// the music file, the dialog folder, Shift-JIS paths and what is written back.
#include <gtest/gtest.h>

#include <map>
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

    std::string readString(const std::string& section, const std::string& key, const std::string& file) override
    {
        reads.push_back({section, key, "", file});
        auto found = values.find(key);
        return found == values.end() ? "" : found->second;
    }
    void writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override
    {
        writes.push_back({section, key, value, file});
    }
};

class FakeFileChecks : public FileChecks {
public:
    std::set<std::string> openable;
    std::vector<std::string> asked;

    bool canOpenForReading(const std::string& path) override
    {
        asked.push_back(path);
        return openable.count(path) > 0;
    }
};

TEST(LoadSettings, ReadsTheThreeKeysFromTheIniNextToTheProgram)
{
    FakeProfile profile;
    FakeFileChecks files;
    Settings settings;
    LoadSettings(profile, files, programFolder, settings);
    const std::vector<ProfileCall> expected = {
        {"Section", musicSourceKey, "", iniFile},
        {"Section", repeatTrackKey, "", iniFile},
        {"Section", musicFileKey, "", iniFile},
    };
    EXPECT_EQ(profile.reads, expected);
    EXPECT_TRUE(profile.writes.empty());
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
        // Read as a double first, as BASIC does: this rounds to 32768 before it is floored.
        {"32767.99999999999999999", 0},
        {"32768", 0}, {"99999", 0}, {"-32769", 0}, {"-32768.5", 0}, {"1e5", 0},
        // Past a double's range: infinity is out of range, and the tiny value underflows to 0.
        {"1e99999999999999999999", 0}, {"-1e-99999999999999999999", 0},
        // Not numbers: BASIC's hex prefix, a comma, full-width ２, a blank after the sign.
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
        LoadSettings(profile, files, programFolder, settings);
        EXPECT_EQ(settings.MusicSource, c.expected) << "\"" << c.stored << "\"";
        EXPECT_EQ(settings.RepeatTrack, c.expected) << "\"" << c.stored << "\"";
    }
}

TEST(LoadSettings, MissingKeysGiveDefaultsOverWhateverWasHeld)
{
    FakeProfile profile;
    FakeFileChecks files;
    Settings settings{5, 9, "C:\\old.mp3", "C:\\old"};
    LoadSettings(profile, files, programFolder, settings);
    EXPECT_EQ(settings, (Settings{0, 0, "", programFolder}));
    EXPECT_TRUE(files.asked.empty());
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
        Settings settings;
        LoadSettings(profile, files, programFolder, settings);
        EXPECT_EQ(settings.MusicSource, c.musicSource) << c.what;
        EXPECT_EQ(settings.MusicFile, c.musicFile) << c.what;
        EXPECT_EQ(settings.FileDialogFolder, c.dialogFolder) << c.what;
        EXPECT_EQ(files.asked, c.asked) << c.what;
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
        EXPECT_EQ(FileExists(files, c.path), c.expected) << c.path;
        EXPECT_EQ(files.asked, c.asked) << c.path;
    }
}

TEST(FolderOfPath, CutsAtTheLastSeparatorThatIsAWholeCharacter)
{
    struct Case {
        std::string path, folder;
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
        // The price of reading paths as Shift-JIS: Latin-1 é (E9) swallows the '\\' after it.
        {"C:\\Caf\xE9\\a.mp3", "C:"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

TEST(FormatSettingNumber, PutsABlankWhereTheSignWouldBe)
{
    struct Case {
        std::int16_t value;
        std::string text;
    };
    const Case cases[] = {{2, " 2"}, {0, " 0"}, {-1, "-1"}, {32767, " 32767"}, {-32768, "-32768"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatSettingNumber(c.value), c.text) << c.value;
}

TEST(SaveSettings, WritesTheThreeKeysInOrderAndNotTheDialogFolder)
{
    FakeProfile profile;
    SaveSettings(profile, programFolder, Settings{2, -1, "C:\\Music\\a.mp3", "C:\\Music"});
    SaveSettings(profile, programFolder, Settings{0, 12, "", "C:\\Saver"});
    const std::vector<ProfileCall> expected = {
        {"Section", musicSourceKey, " 2", iniFile}, {"Section", repeatTrackKey, "-1", iniFile},
        {"Section", musicFileKey, "C:\\Music\\a.mp3", iniFile}, {"Section", musicSourceKey, " 0", iniFile},
        {"Section", repeatTrackKey, " 12", iniFile}, {"Section", musicFileKey, "", iniFile},
    };
    EXPECT_EQ(profile.writes, expected);
    EXPECT_TRUE(profile.reads.empty());
}

} // namespace
