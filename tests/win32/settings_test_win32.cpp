// The settings through the real profile and file functions: the bytes Windows writes, what it
// hands back from a hand-written file, the user's own copy, and which paths count as an existing
// file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

#include "saver/core/settings_win32.h"
#include "tests/settings_compare.h"

namespace {

// Shift-JIS 音楽 and 表; 表 ends in 0x5C, the byte of '\\'.
const std::string ongaku = "\x89\xB9\x8A\x79";
const std::string hyou = "\x95\x5C";

// A folder of its own per test, so no test reads a file another one left behind.
class SettingsFiles : public testing::Test {
protected:
    void SetUp() override
    {
        // Shift-JIS names and keys only mean what they should in code page 932.
        ASSERT_EQ(GetACP(), 932u) << "run under LANG=ja_JP.UTF-8";
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "vitrelux_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        ini_ = folder_ + "\\Vitrelux.ini";
        places_ = {AnsiText(folder_), AnsiText(folder_ + "\\user\\Vitrelux.ini"), AnsiCodePageOf(CP_ACP)};
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made)
            if (!DeleteFileA(made->c_str()))
                RemoveDirectoryA(made->c_str());
        DeleteFileA(ini_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string makeFile(const std::string& name, const std::string& bytes = "")
    {
        const std::string path = folder_ + "\\" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        made_.push_back(path);
        return path;
    }
    std::string makeFolder(const std::string& name)
    {
        const std::string path = folder_ + "\\" + name;
        CreateDirectoryA(path.c_str(), nullptr);
        made_.push_back(path);
        return path;
    }
    std::string iniBytes() const
    {
        std::ifstream in(ini_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void writeIni(const std::string& bytes) const { std::ofstream(ini_, std::ios::binary) << bytes; }

    std::string folder_, ini_;
    SettingsPlaces places_;
    std::vector<std::string> made_;
    SystemProfile profile_;
    SystemFiles files_;
};

TEST_F(SettingsFiles, SaveWritesShiftJisKeysWithCrLfLines)
{
    SaveSettings(profile_, files_, places_, Settings{2, 0, "C:\\Music\\a.mp3", ""});
    // Wine's profile writer strips the blank FormatSettingNumber puts before a value.
    EXPECT_EQ(iniBytes(), "[Section]\r\n"
                          "BGM\x8B\xE6\x95\xAA=2\r\n"
                          "BGM\xD8\xCB\xDF\xB0\xC4=0\r\n"
                          "BGM\xCC\xA7\xB2\xD9=C:\\Music\\a.mp3\r\n");
}

TEST_F(SettingsFiles, SavingAgainReplacesTheValuesInPlaceAndKeepsOtherLines)
{
    writeIni("[Other]\r\nkeep=1\r\n[Section]\r\nBGM\xCC\xA7\xB2\xD9=C:\\old.mp3\r\n");
    SaveSettings(profile_, files_, places_, Settings{-1, 12, "", ""});
    EXPECT_EQ(iniBytes(), "[Other]\r\nkeep=1\r\n"
                          "[Section]\r\n"
                          "BGM\xCC\xA7\xB2\xD9=\r\n"
                          "BGM\x8B\xE6\x95\xAA=-1\r\n"
                          "BGM\xD8\xCB\xDF\xB0\xC4=12\r\n");
}

TEST_F(SettingsFiles, LoadsAHandWrittenFile)
{
    const std::string song = makeFile(makeFolder(ongaku).substr(folder_.size() + 1) + "\\" + hyou + ".mp3");
    // Blanks around a value and quotes around it are taken off by the profile reader.
    writeIni("[Section]\r\n"
             "BGM\x8B\xE6\x95\xAA =  2.5  \r\n"
             "BGM\xD8\xCB\xDF\xB0\xC4=\" 7\"\r\n"
             "BGM\xCC\xA7\xB2\xD9=" + song + "\r\n");
    Settings settings;
    LoadSettings(profile_, files_, places_, settings);
    EXPECT_EQ(settings, (Settings{2, 7, AnsiText(song), AnsiText(folder_ + "\\" + ongaku)}));
}

TEST_F(SettingsFiles, WhatIsSavedLoadsBack)
{
    const std::string song = makeFile("a.mp3");
    SaveSettings(profile_, files_, places_, Settings{2, -32768, AnsiText(song), ""});
    Settings settings;
    LoadSettings(profile_, files_, places_, settings);
    EXPECT_EQ(settings, (Settings{2, -32768, AnsiText(song), AnsiText(folder_)}));
}

TEST_F(SettingsFiles, TheUsersOwnCopyIsReadUntilASaveBesideTheProgramReplacesIt)
{
    makeFolder("user");
    const std::string own = makeFile("user\\Vitrelux.ini", "[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\n");
    writeIni("[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\n");
    Settings settings;
    LoadSettings(profile_, files_, places_, settings);
    EXPECT_EQ(settings.MusicSource, 1);
    EXPECT_TRUE(SaveSettings(profile_, files_, places_, Settings{0, 3, "", ""}));
    EXPECT_EQ(GetFileAttributesA(own.c_str()), INVALID_FILE_ATTRIBUTES) << "the newest choice is the one read";
    EXPECT_EQ(GetFileAttributesA((ini_ + ".new").c_str()), INVALID_FILE_ATTRIBUTES) << "no draft left";
    LoadSettings(profile_, files_, places_, settings);
    EXPECT_EQ(settings, (Settings{0, 3, "", AnsiText(folder_)}));
}

TEST_F(SettingsFiles, MissingFileGivesDefaults)
{
    Settings settings{2, 3, "C:\\old.mp3", "C:\\old"};
    LoadSettings(profile_, files_, places_, settings);
    EXPECT_EQ(settings, (Settings{0, 0, "", AnsiText(folder_)}));
    EXPECT_EQ(GetFileAttributesA(ini_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFiles, LongValuesComeBackWhole)
{
    std::string japanese = "C:";
    for (int i = 0; i < 600; ++i)
        japanese += hyou;
    // The two-byte characters put one across the first buffer's end, which the reader stops short of.
    for (const std::string& stored : {std::string(1023, 'a'), std::string(1024, 'a'), japanese, std::string(5000, 'a')}) {
        writeIni("[Section]\r\nkey=" + stored + "\r\n");
        EXPECT_EQ(profile_.readString({"Section"}, {"key"}, AnsiText(ini_)).bytes(), stored) << stored.size();
    }
}

TEST_F(SettingsFiles, OnlyAnExistingFileOpens)
{
    struct Case {
        const char* what;
        std::string path;
        bool opens;
    };
    const Case cases[] = {
        {"file", makeFile("a.mp3", "ID3"), true},
        {"empty file", makeFile("empty.mp3"), true},
        {"Shift-JIS name ending in 0x5C", makeFile(hyou), true},
        {"folder", makeFolder("music"), false},
        {"missing", folder_ + "\\missing.mp3", false},
        {"device", "NUL", false},
        {"empty path", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(files_.canOpenForReading(AnsiText(c.path)), c.opens) << c.what;
}

} // namespace
