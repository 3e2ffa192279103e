// The installer's screen-saver decisions: which stored saver is ours, and when installing sets it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/saver_choice.h"

namespace {

const std::vector<std::string> ours = {"C:\\Windows\\system32\\Vitrelux.scr", "C:\\Windows\\SysWOW64\\Vitrelux.scr"};

TEST(SaverChoice, OnlyOurFileInAnyLetterCaseIsOurs)
{
    struct Case {
        std::string stored;
        bool ours;
    };
    const Case cases[] = {
        {"C:\\Windows\\system32\\Vitrelux.scr", true},
        {"C:\\WINDOWS\\SYSTEM32\\VITRELUX.SCR", true},
        {"c:\\windows\\syswow64\\vitrelux.scr", true},
        {"C:\\Windows\\system32\\Mystify.scr", false},
        {"C:\\Program Files\\Vitrelux\\Vitrelux.scr", false},
        {"C:\\Windows\\system32\\Vitrelux.scr.old", false},
        {"C:\\Windows\\system32\\Vitrelux.sc", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NamesSaver(c.stored, ours), c.ours) << c.stored;
    EXPECT_FALSE(NamesSaver(ours[0], {})) << "no file of ours";
}

TEST(SaverChoice, InstallingSetsTheSaverWhenAskedOrWhenItWasOurs)
{
    struct Case {
        const char* what;
        bool asked;
        std::string before;
        bool sets;
    };
    const Case cases[] = {
        {"asked, none before", true, "", true},
        {"asked over another saver", true, "C:\\Windows\\system32\\Mystify.scr", true},
        {"not asked, none before", false, "", false},
        {"not asked, another saver kept", false, "C:\\Windows\\system32\\Mystify.scr", false},
        {"not asked, ours before (an upgrade)", false, "C:\\WINDOWS\\system32\\Vitrelux.scr", true},
        {"not asked, the other build's before", false, "C:\\Windows\\SysWOW64\\Vitrelux.scr", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetsSaver(c.asked, c.before, ours), c.sets) << c.what;
}

} // namespace
