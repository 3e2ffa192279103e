// The saver show's handlers: what the show starts, what its timers do and how it ends.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "saver/core/show.h"

namespace {

// One log for the platform, the MCI device and the sound player, so the order across them shows.
struct Log {
    std::vector<std::string> lines;
};

class LoggingMci : public MciSender {
public:
    explicit LoggingMci(Log& log) : log_(log) {}
    std::map<std::string, std::string> replies;
    std::uint32_t send(const AnsiText& command, AnsiText* reply, std::size_t) override
    {
        log_.lines.push_back("mci " + command.bytes());
        if (reply)
            *reply = AnsiText(replies[command.bytes()]);
        return 0;
    }
    bool errorText(std::uint32_t, AnsiText&) override { return false; }

private:
    Log& log_;
};

class LoggingSound : public SoundPlayer {
public:
    explicit LoggingSound(Log& log) : log_(log) {}
    unsigned waveDeviceCount() override { return 1; }
    void playLooping(const AnsiText& file) override { log_.lines.push_back("wav loop " + file.bytes()); }
    void stopAll() override { log_.lines.push_back("wav stop"); }

private:
    Log& log_;
};

// The music's calls made at once, on the show's own thread; an end whose media layer hangs runs
// nothing and reports so.
class InlineMusicCalls : public MusicCalls {
public:
    explicit InlineMusicCalls(MusicPlayer& player) : player_(player) {}
    bool hangs = false;
    void run(MusicCall call) override { call(player_); }
    void runIfIdle(MusicCall call) override { call(player_); }
    bool finish(MusicCall call, std::chrono::milliseconds) override
    {
        if (!hangs)
            call(player_);
        return !hangs;
    }

private:
    MusicPlayer& player_;
};

class LoggingShowPlatform : public ShowPlatform {
public:
    explicit LoggingShowPlatform(Log& log) : log_(log) {}
    bool windowShown = true;
    bool processRunning = true;
    bool saveDesktopSnapshot() override
    {
        log_.lines.push_back("snapshot");
        return false;
    }
    void startRenderer(const AnsiText& path) override { log_.lines.push_back("start " + path.bytes()); }
    bool rendererWindowExists() override { return windowShown; }
    bool rendererRunning() override { return processRunning; }
    void setTimer(const ShowTimerEntry& timer, bool running) override
    {
        log_.lines.push_back(timer.name + std::string(running ? " on" : " off"));
    }
    void closeSaverWindow() override { log_.lines.push_back("close"); }
    void showCursor() override { log_.lines.push_back("show cursor"); }

private:
    Log& log_;
};

struct ShowRig {
    Log log;
    LoggingMci mci{log};
    LoggingSound sound{log};
    MusicPlayer music{mci, sound};
    InlineMusicCalls calls{music};
    LoggingShowPlatform platform{log};
    Settings settings;
    ShowRig(std::int16_t source, std::string file, std::int16_t track = 0)
    {
        settings.MusicSource = source;
        settings.MusicFile = AnsiText(std::move(file));
        settings.RepeatTrack = track;
    }
};

const std::vector<std::string> showStart = {"Timer3 on", "snapshot", "start E:\\Saver\\Vitrelux.dll"};
const std::string mp3Open = "mci open \"C:\\m\\a.MP3\" type MPEGVideo Alias MP3Play";

std::vector<std::string> after(const std::vector<std::string>& start, std::vector<std::string> rest)
{
    std::vector<std::string> all = start;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

TEST(SaverShow, LoadStartsSnapshotRendererAndTheChosenMusic)
{
    struct Case {
        std::int16_t source;
        std::string file;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {0, "C:\\m\\a.mp3", showStart},
        {1, "", after(showStart, {"mci open cdaudio", "mci set cdaudio time format tmsf", "Timer2 on"})},
        {2, "C:\\m\\a.MP3", after(showStart, {mp3Open, "mci play MP3Play", "Timer1 on"})},
        {2, "C:\\m\\b.wav", after(showStart, {"wav loop C:\\m\\b.wav"})},
        {2, "C:\\m\\c.mid", showStart},
        {3, "C:\\m\\b.wav", showStart},
        {-1, "C:\\m\\b.wav", showStart},
    };
    for (const Case& c : cases) {
        ShowRig rig(c.source, c.file);
        SaverShow show(rig.platform, rig.calls, rig.settings, "S", "E:\\Saver");
        show.Form_Load();
        EXPECT_EQ(rig.log.lines, c.log) << "source " << c.source << " " << c.file;
        EXPECT_TRUE(show.timerRunning(ShowTimer::Timer3)) << "the renderer watch runs from the start";
    }
}

TEST(SaverShow, EndsWhenTheRendererWindowHasGoneOrTheRendererHasEnded)
{
    struct Tick {
        bool window;
        bool process;
        bool ends;
    };
    struct Case {
        const char* what;
        std::vector<Tick> ticks;
    };
    const Case cases[] = {
        {"window closed", {{true, true, false}, {true, true, false}, {false, false, true}}},
        {"window gone, process still ending", {{true, true, false}, {false, true, true}}},
        {"slow to start", {{false, true, false}, {false, true, false}, {true, true, false}, {false, false, true}}},
        {"never started", {{false, false, true}}},
        {"ended before its window was seen", {{false, true, false}, {false, false, true}}},
    };
    for (const Case& c : cases) {
        ShowRig rig(0, "");
        SaverShow show(rig.platform, rig.calls, rig.settings, "S", "E:\\Saver");
        show.Form_Load();
        for (std::size_t i = 0; i < c.ticks.size(); ++i) {
            rig.log.lines.clear();
            rig.platform.windowShown = c.ticks[i].window;
            rig.platform.processRunning = c.ticks[i].process;
            EXPECT_TRUE(show.TimerTick(showTimerEntry(ShowTimer::Timer3).id));
            const std::vector<std::string> expected =
                c.ticks[i].ends ? std::vector<std::string>{"Timer3 off", "close"} : std::vector<std::string>{};
            EXPECT_EQ(rig.log.lines, expected) << c.what << ", tick " << i;
        }
        EXPECT_FALSE(show.timerRunning(ShowTimer::Timer3)) << c.what;
        EXPECT_FALSE(show.TimerTick(4)) << "no timer of the show's";
    }
}

TEST(SaverShow, QueryUnloadStopsTheMusicThenShowsTheCursorOnlyInModeSAndOnlyOnce)
{
    struct Case {
        std::int16_t source;
        std::string file;
        std::string mode;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {1, "", "S", {"Timer2 off", "mci stop cdaudio", "mci close cdaudio", "show cursor"}},
        {2, "C:\\m\\a.MP3", "S", {"Timer1 off", "mci stop MP3Play", "mci close MP3Play", "show cursor"}},
        {2, "C:\\m\\b.Wav", "S", {"wav stop", "show cursor"}},
        {2, "C:\\m\\b.wav", "", {"wav stop"}},
        {0, "", "", {}},
        {2, "C:\\m\\c.mid", "S", {"show cursor"}},
    };
    for (const Case& c : cases) {
        ShowRig rig(c.source, c.file);
        SaverShow show(rig.platform, rig.calls, rig.settings, c.mode, "E:\\Saver");
        show.Form_Load();
        rig.log.lines.clear();
        show.Form_QueryUnload();
        show.Form_QueryUnload();
        EXPECT_EQ(rig.log.lines, c.log) << "source " << c.source << " " << c.file << " mode " << c.mode;
    }
}

TEST(SaverShow, AMediaLayerThatNeverStopsEndsTheShowAllTheSame)
{
    ShowRig rig(2, "C:\\m\\a.MP3");
    rig.calls.hangs = true;
    SaverShow show(rig.platform, rig.calls, rig.settings, "S", "E:\\Saver");
    show.Form_Load();
    rig.log.lines.clear();
    show.Form_QueryUnload();
    EXPECT_EQ(rig.log.lines, (std::vector<std::string>{"Timer1 off", "show cursor"}));
}

TEST(SaverShow, CdWatchThatGaveUpLeavesTheDriveAloneAtTheEnd)
{
    ShowRig rig(1, "", 0);
    rig.mci.replies["status cdaudio current track"] = "Error:266";
    SaverShow show(rig.platform, rig.calls, rig.settings, "S", "E:\\Saver");
    show.Form_Load();
    show.Timer2_Timer();
    EXPECT_FALSE(show.timerRunning(ShowTimer::Timer2));
    rig.log.lines.clear();
    show.Form_QueryUnload();
    EXPECT_EQ(rig.log.lines, (std::vector<std::string>{"show cursor"}));
}

TEST(SaverShow, Mp3TimerRestartsAStoppedFile)
{
    ShowRig rig(2, "C:\\m\\a.MP3");
    rig.mci.replies["status MP3Play mode"] = "stopped";
    SaverShow show(rig.platform, rig.calls, rig.settings, "S", "E:\\Saver");
    show.Form_Load();
    rig.log.lines.clear();
    show.Timer1_Timer();
    EXPECT_EQ(rig.log.lines,
              (std::vector<std::string>{"mci status MP3Play mode", "mci stop MP3Play", "mci play MP3Play from 0"}));
}

} // namespace
