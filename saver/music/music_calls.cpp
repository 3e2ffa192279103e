// The music thread: a queue of calls served in order, and an end that waits for them only so long.
#include "saver/music/music_calls.h"

MusicThread::MusicThread(MusicPlayer& player) : player_(player), thread_([this] { serve(); }) {}

MusicThread::~MusicThread()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void MusicThread::run(MusicCall call)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(std::move(call));
    }
    changed_.notify_all();
}

void MusicThread::runIfIdle(MusicCall call)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (calling_ || !calls_.empty())
            return;
        calls_.push_back(std::move(call));
    }
    changed_.notify_all();
}

bool MusicThread::finish(MusicCall call, std::chrono::milliseconds deadline)
{
    run(std::move(call));
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, deadline, [this] { return !calling_ && calls_.empty(); });
}

void MusicThread::serve()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !calls_.empty(); });
        if (calls_.empty())
            return;
        MusicCall call = std::move(calls_.front());
        calls_.pop_front();
        calling_ = true;
        lock.unlock();
        call(player_);
        lock.lock();
        calling_ = false;
        changed_.notify_all();
    }
}
