// The system MCI on Wine: replies cut to the caller's buffer, failing commands' real codes and texts, and the music module on top.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "saver/music/music_win32.h"

namespace {

TEST(SystemMci, RepliesAreCutToTheGivenBufferSize)
{
    SystemMci mci;
    std::string reply;
    ASSERT_EQ(mci.send("open new type waveaudio alias vitrelux_test", &reply, 512), 0u);
    std::string full;
    EXPECT_EQ(mci.send("info vitrelux_test product", &full, 512), 0u);
    ASSERT_GT(full.size(), 4u);
    std::string cut = "earlier text";
    mci.send("info vitrelux_test product", &cut, 5);
    EXPECT_EQ(cut, full.substr(0, 4));
    EXPECT_EQ(mci.send("close vitrelux_test", nullptr, 0), 0u);
}

TEST(SystemMci, FailingCommandsGiveTheSystemsCodeAndText)
{
    SystemMci mci;
    for (const char* command : {"open nosuchdevice", "open cdaudio", "status cdaudio current track"}) {
        const MCIERROR expected = mciSendStringA(command, nullptr, 0, nullptr);
        char expectedText[256] = {};
        ASSERT_TRUE(mciGetErrorStringA(expected, expectedText, sizeof expectedText));
        std::string reply = "earlier text";
        const std::uint32_t code = mci.send(command, &reply, 512);
        EXPECT_NE(code, 0u) << command;
        EXPECT_EQ(code, expected) << command;
        EXPECT_EQ(reply, "") << command;
        std::string text;
        EXPECT_TRUE(mci.errorText(code, text));
        EXPECT_EQ(text, expectedText) << command;
    }
}

TEST(SystemMci, UnknownCodesHaveNoText)
{
    SystemMci mci;
    std::string text = "earlier text";
    EXPECT_FALSE(mci.errorText(12345, text));
    EXPECT_EQ(text, "earlier text");
}

TEST(MusicPlayerOnSystemMci, WithoutACdDriveTheWatchFindsNoCd)
{
    SystemMci mci;
    SystemSound sound;
    MusicPlayer player(mci, sound);
    player.CdAvailable = true;
    player.CdWatch(0);
    EXPECT_FALSE(player.CdAvailable);
    const std::string code = std::to_string(mciSendStringA("open nosuchdevice", nullptr, 0, nullptr));
    EXPECT_EQ(player.MciQuery("open nosuchdevice"), "Error:" + code);
}

} // namespace
