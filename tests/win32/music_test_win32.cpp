// The system MCI on Wine: replies cut to the caller's buffer, failing commands' real codes and texts, and the music module on top.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "saver/music/music_win32.h"
#include "tests/ansi_text_print.h"

namespace {

TEST(SystemMci, RepliesAreCutToTheGivenBufferSize)
{
    SystemMci mci;
    AnsiText reply;
    ASSERT_EQ(mci.send("open new type waveaudio alias vitrelux_test", &reply, 512), 0u);
    AnsiText full;
    EXPECT_EQ(mci.send("info vitrelux_test product", &full, 512), 0u);
    ASSERT_GT(full.size(), 4u);
    AnsiText cut = "earlier text";
    mci.send("info vitrelux_test product", &cut, 5);
    EXPECT_EQ(cut.bytes(), full.bytes().substr(0, 4));
    EXPECT_EQ(mci.send("close vitrelux_test", nullptr, 0), 0u);
}

TEST(SystemMci, FailingCommandsGiveTheSystemsCodeAndText)
{
    SystemMci mci;
    for (const char* command : {"open nosuchdevice", "open cdaudio", "status cdaudio current track"}) {
        const MCIERROR expected = mciSendStringA(command, nullptr, 0, nullptr);
        char expectedText[256] = {};
        ASSERT_TRUE(mciGetErrorStringA(expected, expectedText, sizeof expectedText));
        AnsiText reply = "earlier text";
        const std::uint32_t code = mci.send(AnsiText(command), &reply, 512);
        EXPECT_NE(code, 0u) << command;
        EXPECT_EQ(code, expected) << command;
        EXPECT_EQ(reply.bytes(), "") << command;
        AnsiText text;
        EXPECT_TRUE(mci.errorText(code, text));
        EXPECT_EQ(text.bytes(), expectedText) << command;
    }
}

TEST(SystemMci, UnknownCodesHaveNoText)
{
    SystemMci mci;
    AnsiText text = "earlier text";
    EXPECT_FALSE(mci.errorText(12345, text));
    EXPECT_EQ(text.bytes(), "earlier text");
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
    EXPECT_EQ(player.MciQuery("open nosuchdevice").bytes(), "Error:" + code);
}

} // namespace
