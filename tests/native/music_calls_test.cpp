// The music's own thread: calls in order, a watch dropped while a call hangs, an end that waits
// for a media layer only until its deadline.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "saver/music/music_calls.h"

namespace {

// Records every command; the one named in hangOn does not return until released.
class HangingMci : public MciSender {
public:
    std::string hangOn;

    std::uint32_t send(const AnsiText& command, AnsiText* reply, std::size_t) override
    {
        std::unique_lock<std::mutex> lock(mutex_);
        commands_.push_back(command.bytes());
        if (reply)
            *reply = "stopped";
        released_.wait(lock, [&] { return command.bytes() != hangOn || released; });
        return 0;
    }
    bool errorText(std::uint32_t, AnsiText&) override { return false; }

    void release()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        released = true;
        released_.notify_all();
    }
    std::vector<std::string> commands()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return commands_;
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool released = false;
    std::vector<std::string> commands_;
};

class NoSound : public SoundPlayer {
public:
    unsigned waveDeviceCount() override { return 0; }
    void playLooping(const AnsiText&) override {}
    void stopAll() override {}
};

const MusicCall close = [](MusicPlayer& player) { player.Mp3Close(); };
const MusicCall repeat = [](MusicPlayer& player) { player.Mp3Repeat(); };

TEST(MusicThread, RunsTheCallsInOrderAndOneThatHangsHoldsNeitherTheWatchNorTheEnd)
{
    HangingMci mci;
    mci.hangOn = "status MP3Play mode";
    NoSound sound;
    MusicPlayer player(mci, sound);
    MusicThread thread(player);
    thread.run(repeat);
    // Every later watch is dropped while the first one hangs, and the end gives up on its stop.
    for (int tick = 0; tick < 5; ++tick)
        thread.runIfIdle(repeat);
    EXPECT_FALSE(thread.finish(close, std::chrono::milliseconds(50)));
    mci.release();
    EXPECT_TRUE(thread.finish([](MusicPlayer&) {}, std::chrono::seconds(30)));
    EXPECT_EQ(mci.commands(), (std::vector<std::string>{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0",
                                                        "stop MP3Play", "close MP3Play"}));
}

} // namespace
