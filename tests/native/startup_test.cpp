// The front end's command line reading and the steps Main takes for each mode.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "saver/core/decimal.h"
#include "saver/core/startup.h"
#include "tests/settings_compare.h"

namespace {

TEST(CommandLine, ModeLetterIsTheSecondCharacterUpperCased)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/s", "S"}, {"/S", "S"}, {"-s", "S"}, {"xs", "S"}, {"/p 1234", "P"}, {"/c:5678", "C"},
        {"/a", "A"}, {"s", ""}, {"", ""}, {"/", ""},
    };
    for (const auto& [line, letter] : cases)
        EXPECT_EQ(ModeLetterOf(line), letter) << '"' << line << '"';
}

TEST(CommandLine, ArgumentsFollowTheProgramsNameQuotedOrNot)
{
    const std::pair<std::u16string, std::string> cases[] = {
        {u"C:\\ｽｸﾘｰﾝ\\Vitrelux.scr /s", "/s"},
        {u"\"C:\\Program Files\\Vitrelux.scr\" /p 1234", "/p 1234"},
        {u"\"C:\\a b\\Vitrelux.scr\"/c:5678", "/c:5678"},
        {u"Vitrelux.scr \t  /S", "/S"},
        {u"Vitrelux.scr", ""},
        {u"\"C:\\a b\\Vitrelux.scr", ""},
        {u"Vitrelux.scr /ｓ", "/?"},
        {u"", ""},
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(ArgumentsOf(line), arguments) << '"' << arguments << '"';
}

TEST(CommandLine, WindowIsReadFromTheFourthCharacterAsAny32BitHandle)
{
    const std::pair<std::string, std::int32_t> cases[] = {
        {"/p 1234", 1234}, {"/p:1234", 1234}, {"/p   77", 77}, {"/p 12ab", 12}, {"/p 12 34", 12},
        {"/p abc", 0}, {"/p", 0}, {"/p ", 0}, {"/p -5", -5}, {"/p 2.5", 2}, {"/p 3.5", 4},
        {"/p 1e3", 1000}, {"/p 2147483647", 2147483647}, {"/p 7.", 7}, {"/p .5", 0}, {"/p 1e", 1},
        // Windows prints handles unsigned; 0x80000000 and 0xFFFFFFFF, however spelled.
        {"/c:2147483648", INT32_MIN}, {"/p 4294967295", -1}, {"/p -1", -1}, {"/p -2147483648", INT32_MIN},
        {"/p 4294967296", 0}, {"/p -2147483649", 0}, {"/p 1e100", 0},
    };
    for (const auto& [line, parent] : cases)
        EXPECT_EQ(WindowArgumentOf(line), parent) << '"' << line << '"';
}

TEST(DecimalPrefix, ReportsWhatItRead)
{
    struct Case {
        std::string text;
        bool number;
        double value;
        std::size_t used;
    };
    const Case cases[] = {
        {" 2", true, 2, 2},       {"2.7", true, 2.7, 3},   {"-1.5", true, -1.5, 4}, {"+3", true, 3, 2},
        {"1e1", true, 10, 3},     {"1E+2x", true, 100, 4}, {"1e-", true, 1, 1},     {"abc", false, 0, 0},
        {"", false, 0, 0},        {"-", false, 0, 0},      {".", false, 0, 0},      {"\t4 ", true, 4, 2},
        {".25", true, 0.25, 3},   {"5.", true, 5, 2},      {"2D3", true, 2000, 3},  {"1e999", true, HUGE_VAL, 5},
    };
    for (const Case& c : cases) {
        double value = -99;
        std::size_t used = 99;
        EXPECT_EQ(ReadDecimalPrefix(c.text, value, &used), c.number) << '"' << c.text << '"';
        if (c.number) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
            EXPECT_EQ(used, c.used) << '"' << c.text << '"';
        }
    }
}

TEST(ProgramFolder, DropsTheFileNameAndTrailingSeparatorButNotARootOne)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Program Files\\Vitrelux\\Vitrelux.scr", "C:\\Program Files\\Vitrelux"},
        {"C:\\Vitrelux.scr", "C:\\"},
        {"Z:\\work\\dist\\Vitrelux.scr", "Z:\\work\\dist"},
        {"\\\\server\\share\\Vitrelux.scr", "\\\\server\\share"},
        // A program renamed 表.scr: its 0x5C is part of the name.
        {"C:\\Saver\\\x95\x5C.scr", "C:\\Saver"},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(ProgramFolderOf(AnsiText(path), ShiftJisCodePage()).bytes(), folder) << path;
}

class RecordingStartup : public StartupPlatform {
public:
    std::set<std::string> openWindows;
    bool rendererPresent = true;
    std::vector<std::string> calls;

    bool windowExists(const char* title) override
    {
        calls.push_back(std::string("find ") + title);
        return openWindows.count(title) != 0;
    }
    void createSnapshotFolder() override { calls.push_back("mkdir snapshot"); }
    void loadSettings() override { calls.push_back("settings"); }
    bool fileExists(const AnsiText& path) override
    {
        calls.push_back("exists " + path.bytes());
        return rendererPresent;
    }
    void showRendererMissing() override { calls.push_back("message"); }
    void showSettingsDialog(std::int32_t owner) override { calls.push_back("settings dialog " + std::to_string(owner)); }
    bool windowMade = true;
    bool startPreview(std::int32_t parent) override
    {
        calls.push_back("preview " + std::to_string(parent));
        return windowMade;
    }
    void declareScalingAware() override { calls.push_back("scaling aware"); }
    void hideCursor() override { calls.push_back("hide cursor"); }
    bool createSaverWindow() override
    {
        calls.push_back("saver window");
        return windowMade;
    }
};

const std::vector<std::string> instanceCheck = {"find Vitrelux_Main", "find <Vitrelux>"};
const std::vector<std::string> preparation = {"mkdir snapshot", "settings", "exists D:\\Saver\\Vitrelux.dll"};
// Scaling awareness comes before the show's first window.
const std::vector<std::string> show = {"scaling aware", "hide cursor", "saver window"};

std::vector<std::string> join(std::vector<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(Main, TakesTheStepsOfEachMode)
{
    struct Case {
        std::string commandLine;
        bool rendererPresent;
        StartupEnd end;
        std::vector<std::string> calls;
        bool windowMade = true;
    };
    const Case cases[] = {
        {"/s", true, StartupEnd::RunWindow, join({instanceCheck, preparation, show})},
        {"-S", true, StartupEnd::RunWindow, join({instanceCheck, preparation, show})},
        // Explorer's Configure.
        {"", true, StartupEnd::Terminate, join({instanceCheck, preparation, {"settings dialog 0"}})},
        {"/a", true, StartupEnd::Terminate, join({instanceCheck, preparation})},
        {"s", true, StartupEnd::Terminate, join({instanceCheck, preparation})},
        {"/c", true, StartupEnd::Terminate, join({instanceCheck, preparation, {"settings dialog 0"}})},
        {"/c:1234", true, StartupEnd::Terminate, join({instanceCheck, preparation, {"settings dialog 1234"}})},
        {"-C", true, StartupEnd::Terminate, join({instanceCheck, preparation, {"settings dialog 0"}})},
        {"/p 1234", true, StartupEnd::RunWindow, join({instanceCheck, {"preview 1234"}})},
        {"/p 1234", false, StartupEnd::RunWindow, join({instanceCheck, {"preview 1234"}})},
        {"/s", false, StartupEnd::Terminate, join({instanceCheck, preparation, {"message"}})},
        {"/c", false, StartupEnd::Terminate, join({instanceCheck, preparation, {"message"}})},
        {"", false, StartupEnd::Terminate, join({instanceCheck, preparation, {"message"}})},
        // Without its window nothing would end the process.
        {"/s", true, StartupEnd::Terminate, join({instanceCheck, preparation, show}), false},
        {"/p 1234", true, StartupEnd::Terminate, join({instanceCheck, {"preview 1234"}}), false},
    };
    for (const Case& c : cases) {
        RecordingStartup platform;
        platform.rendererPresent = c.rendererPresent;
        platform.windowMade = c.windowMade;
        EXPECT_EQ(Main(c.commandLine, "D:\\Saver", platform), c.end) << '"' << c.commandLine << '"';
        EXPECT_EQ(platform.calls, c.calls) << '"' << c.commandLine << "\" renderer " << c.rendererPresent;
    }
}

TEST(Main, EndsAtOnceBesideARunningShowOrOpenSettings)
{
    for (const char* open : {"Vitrelux_Main", "<Vitrelux>"}) {
        for (const char* line : {"/s", "/c", "/p 99", ""}) {
            RecordingStartup platform;
            platform.openWindows.insert(open);
            EXPECT_EQ(Main(line, "D:\\Saver", platform), StartupEnd::Terminate) << open << " " << line;
            for (const std::string& call : platform.calls)
                EXPECT_EQ(call.rfind("find ", 0), 0u) << open << " " << line << ": " << call;
        }
    }
}

} // namespace
