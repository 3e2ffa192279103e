// Where the show's music calls run: one after another on a thread of their own, so that a media
// layer that hangs (a codec or driver that never returns) holds neither the show's window nor its end.
#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "saver/music/music_player.h"

using MusicCall = std::function<void(MusicPlayer&)>;

class MusicCalls {
public:
    virtual ~MusicCalls() = default;
    // Runs the call after those before it.
    virtual void run(MusicCall call) = 0;
    // Runs the call only when no other is waiting or running: a watch that comes round again
    // while the one before it hangs is dropped.
    virtual void runIfIdle(MusicCall call) = 0;
    // Runs the last call after those before it and waits for it, for the deadline at most; false
    // when it had not run by then.
    virtual bool finish(MusicCall call, std::chrono::milliseconds deadline) = 0;
};

class MusicThread : public MusicCalls {
public:
    explicit MusicThread(MusicPlayer& player);
    // Waits for the calls still queued; a thread that hangs is waited for too, so the program
    // ends its process rather than destroy this.
    ~MusicThread() override;
    MusicThread(const MusicThread&) = delete;
    MusicThread& operator=(const MusicThread&) = delete;

    void run(MusicCall call) override;
    void runIfIdle(MusicCall call) override;
    bool finish(MusicCall call, std::chrono::milliseconds deadline) override;

private:
    void serve();

    MusicPlayer& player_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<MusicCall> calls_;
    bool calling_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
