// The music module against a scripted MCI and a recording wave output: the exact commands, reply caps and how replies are read.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "saver/music/music_player.h"
#include "saver/texts.h"
#include "tests/ansi_text_print.h"

namespace {

struct Answer {
    std::uint32_t code = 0;
    std::string reply;
};

struct Sent {
    std::string command;
    bool wantsReply;
    std::size_t replyCapacity;
};

// Unscripted commands succeed with an empty reply.
class ScriptedMci : public MciSender {
public:
    std::map<std::string, Answer> script;
    std::map<std::uint32_t, std::string> errorTexts;
    std::vector<Sent> sent;

    std::uint32_t send(const AnsiText& command, AnsiText* reply, std::size_t replyCapacity) override
    {
        sent.push_back({command.bytes(), reply != nullptr, replyCapacity});
        const Answer answer = script.count(command.bytes()) ? script[command.bytes()] : Answer{};
        if (reply)
            *reply = AnsiText(answer.reply.substr(0, replyCapacity - 1));
        return answer.code;
    }
    bool errorText(std::uint32_t code, AnsiText& text) override
    {
        if (!errorTexts.count(code))
            return false;
        text = AnsiText(errorTexts[code]);
        return true;
    }
    std::vector<std::string> commands() const
    {
        std::vector<std::string> all;
        for (const Sent& s : sent)
            all.push_back(s.command);
        return all;
    }
};

class RecordingSound : public SoundPlayer {
public:
    unsigned devices = 1;
    std::vector<std::string> calls;

    unsigned waveDeviceCount() override { return devices; }
    void playLooping(const AnsiText& file) override { calls.push_back("loop " + file.bytes()); }
    void stopAll() override { calls.push_back("stop"); }
};

class Music : public testing::Test {
protected:
    ScriptedMci mci;
    RecordingSound sound;
    MusicPlayer player{mci, sound};
};

using Commands = std::vector<std::string>;

TEST_F(Music, OperationsSendTheirCommandsInOrderWithoutAReplyBuffer)
{
    struct Case {
        const char* what;
        std::function<void(MusicPlayer&)> operation;
        Commands expected;
    };
    const Case cases[] = {
        {"CdOpen", [](MusicPlayer& p) { p.CdOpen(); }, {"open cdaudio", "set cdaudio time format tmsf"}},
        {"CdStop", [](MusicPlayer& p) { p.CdStop(); }, {"stop cdaudio", "close cdaudio"}},
        {"Mp3OpenAndPlay", [](MusicPlayer& p) { p.Mp3OpenAndPlay("C:\\My Music\\a b.mp3"); },
         {"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}},
        {"Mp3Close", [](MusicPlayer& p) { p.Mp3Close(); }, {"stop MP3Play", "close MP3Play"}},
    };
    for (const Case& c : cases) {
        mci.sent.clear();
        c.operation(player);
        EXPECT_EQ(mci.commands(), c.expected) << c.what;
        for (const Sent& s : mci.sent)
            EXPECT_FALSE(s.wantsReply) << c.what << ": " << s.command;
    }
}

TEST_F(Music, Mp3ThatFailsToOpenIsNotPlayed)
{
    mci.script["open \"x.mp3\" type MPEGVideo Alias MP3Play"] = {277, ""};
    player.Mp3OpenAndPlay("x.mp3");
    EXPECT_EQ(mci.commands(), Commands{"open \"x.mp3\" type MPEGVideo Alias MP3Play"});
}

TEST_F(Music, Mp3RepeatRestartsFromTheBeginningUnlessPlaying)
{
    const Commands restart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
    const std::pair<const char*, Commands> cases[] = {
        {"playing", {"status MP3Play mode"}},
        {"playing and more", {"status MP3Play mode"}},
        {"stopped", restart},
        {"paused", restart},
        {"Playing", restart},
        {"", restart},
    };
    for (const auto& [mode, expected] : cases) {
        mci.sent.clear();
        mci.script["status MP3Play mode"] = {0, mode};
        player.Mp3Repeat();
        EXPECT_EQ(mci.commands(), expected) << mode;
        EXPECT_EQ(mci.sent[0].replyCapacity, 30u);
        EXPECT_EQ(player.Mp3IsPlaying(), expected.size() == 1) << mode;
    }
}

TEST_F(Music, WavPlaysLoopingOnlyWithAWaveDevice)
{
    const std::pair<unsigned, std::vector<std::string>> cases[] = {{0, {}}, {1, {"loop a.wav"}}, {2, {"loop a.wav"}}};
    for (const auto& [devices, expected] : cases) {
        sound.calls.clear();
        sound.devices = devices;
        player.WavPlay("a.wav");
        EXPECT_EQ(sound.calls, expected) << devices << " devices";
    }
    sound.calls.clear();
    player.WavStop();
    EXPECT_EQ(sound.calls, std::vector<std::string>{"stop"});
    EXPECT_TRUE(mci.sent.empty());
}

TEST_F(Music, MciCommandGivesTheReplyOrTheErrorText)
{
    mci.errorTexts[263] = "The device is not open or is not known to MCI.";
    struct Case {
        const char* command;
        Answer answer;
        std::int32_t code;
        std::string result;
    };
    const Case cases[] = {
        {"status cdaudio number of tracks", {0, "12"}, 0, "12"},
        {"play cdaudio", {0, ""}, 0, ""},
        {"open nosuchdevice", {263, "ignored"}, 263, mci.errorTexts[263]},
        {"open cdaudio", {266, ""}, 266, texts::mciNoErrorText.bytes},
    };
    for (const Case& c : cases) {
        mci.sent.clear();
        mci.script[c.command] = c.answer;
        AnsiText result = "earlier text";
        EXPECT_EQ(player.MciCommand(AnsiText(c.command), result), c.code) << c.command;
        EXPECT_EQ(result.bytes(), c.result) << c.command;
        ASSERT_EQ(mci.sent.size(), 1u);
        EXPECT_EQ(mci.sent[0].command, c.command);
        EXPECT_EQ(mci.sent[0].replyCapacity, 512u);
    }
}

TEST_F(Music, EmptyMciCommandIsRefusedWithoutSending)
{
    AnsiText result;
    EXPECT_EQ(player.MciCommand("", result), -1);
    EXPECT_EQ(result.bytes(), texts::mciEmptyCommandText.bytes);
    EXPECT_TRUE(mci.sent.empty());
}

TEST_F(Music, MciQueryGivesTheReplyOrTheErrorCodeAndKeepsTheText)
{
    mci.script["status cdaudio current track"] = {0, "4"};
    EXPECT_EQ(player.MciQuery("status cdaudio current track"), "4");
    mci.script["status cdaudio mode"] = {263, ""};
    mci.errorTexts[263] = "not open";
    EXPECT_EQ(player.MciQuery("status cdaudio mode"), "Error:263");
    EXPECT_EQ(player.ResultText(), "not open");
}

TEST_F(Music, MciPlayAddsOnlyTheGivenRange)
{
    struct Case {
        const char *device, *from, *to, *command;
    };
    const Case cases[] = {
        {"cdaudio", "", "", "play cdaudio"},
        {"cdaudio", "03:00:00:00", "", "play cdaudio from 03:00:00:00"},
        {"MP3Play", "", "5000", "play MP3Play to 5000"},
        {"MP3Play", "0", "5000", "play MP3Play from 0 to 5000"},
    };
    for (const Case& c : cases) {
        mci.sent.clear();
        EXPECT_EQ(player.MciPlay(AnsiText(c.device), AnsiText(c.from), AnsiText(c.to)), 0);
        EXPECT_EQ(mci.commands(), Commands{c.command});
    }
    mci.script["play cdaudio"] = {282, ""};
    mci.errorTexts[282] = "no media";
    EXPECT_EQ(player.MciPlay("cdaudio", "", ""), 282);
    EXPECT_EQ(player.ResultText(), "no media");
}

const std::string currentTrack = "status cdaudio current track";
const std::string trackCount = "status cdaudio number of tracks";
const std::string cdMode = "status cdaudio mode";

class CdWatch : public Music {
protected:
    void SetUp() override
    {
        mci.script["status cdaudio position track 3"] = {0, "03:00:00:00"};
        mci.script["status cdaudio position track 12"] = {0, "12:00:00:00"};
    }
    void watch(std::int16_t repeatTrack, const std::string& track, const std::string& mode)
    {
        mci.sent.clear();
        mci.script[currentTrack] = {0, track};
        mci.script[cdMode] = {0, mode};
        mci.script[trackCount] = {0, "12"};
        player.CdWatch(repeatTrack);
    }
    const Commands looks = {currentTrack, trackCount, cdMode};
    Commands then(const Commands& more) const
    {
        Commands all = looks;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    }
};

TEST_F(CdWatch, ReplaysTheRepeatTrackOnceTheDiscHasMovedOnOrStopped)
{
    struct Case {
        std::int16_t repeatTrack;
        const char *track, *mode;
        Commands expected;
    };
    const Case cases[] = {
        {3, "4", "playing", then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"})},
        {12, "4", "playing", then({"status cdaudio position track 12", "play cdaudio from 12:00:00:00"})},
        {3, "3", "playing", looks},
        {3, "03", "playing", looks},
        {3, "3", "stopped", then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"})},
        {3, "3", "paused", looks},
        {0, "4", "playing", looks},
        {0, "4", "paused", looks},
        {0, "4", "stopped", then({"play cdaudio"})},
        {0, "no number", "stopped", then({"play cdaudio"})},
    };
    for (const Case& c : cases) {
        player.CdAvailable = false;
        watch(c.repeatTrack, c.track, c.mode);
        EXPECT_EQ(mci.commands(), c.expected) << c.repeatTrack << " " << c.track << " " << c.mode;
        EXPECT_TRUE(player.CdAvailable);
    }
}

TEST_F(CdWatch, ReadsTheModeDirectlyInto255Characters)
{
    watch(0, "1", "stopped");
    ASSERT_EQ(mci.sent.size(), 4u);
    EXPECT_EQ(mci.sent[0].replyCapacity, 512u);
    EXPECT_EQ(mci.sent[2].replyCapacity, 255u);
    EXPECT_EQ(mci.sent[3].replyCapacity, 512u);
}

TEST_F(CdWatch, AnErrorReplyOrAnUnreadableTrackEndsTheWatch)
{
    struct Case {
        std::string command;
        Answer answer;
        std::int16_t repeatTrack;
        Commands expected;
    };
    const Commands toCurrent = {currentTrack};
    const Commands toCount = {currentTrack, trackCount};
    const Case cases[] = {
        {currentTrack, {266, ""}, 0, toCurrent},
        {currentTrack, {0, "eRR"}, 0, toCurrent},
        {currentTrack, {0, "Error"}, 3, toCurrent},
        {trackCount, {263, ""}, 0, toCount},
        {trackCount, {0, "terrible"}, 3, toCount},
        {currentTrack, {0, ""}, 3, looks},
        {currentTrack, {0, "three"}, 3, looks},
        {currentTrack, {0, "3a"}, 3, looks},
        {currentTrack, {0, " 3"}, 3, looks},
        {currentTrack, {0, "-3"}, 3, looks},
        {currentTrack, {0, "99999999999999999999"}, 3, looks},
    };
    for (const Case& c : cases) {
        watch(c.repeatTrack, "1", "stopped");
        ASSERT_TRUE(player.CdAvailable);
        mci.script[c.command] = c.answer;
        mci.sent.clear();
        player.CdWatch(c.repeatTrack);
        EXPECT_EQ(mci.commands(), c.expected) << c.command << " -> " << c.answer.reply;
        EXPECT_FALSE(player.CdAvailable) << c.command << " -> " << c.answer.reply;
    }
}

TEST_F(CdWatch, AFailingPositionQueryIsPassedOnAsThePlayStart)
{
    mci.script["status cdaudio position track 3"] = {277, ""};
    watch(3, "4", "playing");
    EXPECT_EQ(mci.commands(), then({"status cdaudio position track 3", "play cdaudio from Error:277"}));
    EXPECT_TRUE(player.CdAvailable);
}

TEST(MusicFileKind, IsTheLastThreeCharactersUpperCased)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.wav", "WAV"}, {"A.Mp3", "MP3"}, {"x.mid", "MID"}, {"C:\\dir.wav\\song.wAv", "WAV"},
        {".wav", "WAV"},  {"abc", "ABC"},   {"ab", "AB"}, {"", ""},
    };
    for (const auto& [file, kind] : cases)
        EXPECT_EQ(MusicFileKind(AnsiText(file)).bytes(), kind) << file;
}

} // namespace
