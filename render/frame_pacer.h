// Spaces the frames one display refresh apart where the buffer swap does not wait for the display,
// while every message is still handled the moment it arrives.
#pragma once
#include <cstdint>

#include "render/frame_clock.h"

// The message queue: waits until a message is queued or the time is up.
class MessageWait {
public:
    virtual ~MessageWait() = default;
    // True when a message arrived before the time was up.
    virtual bool waitForMessage(std::uint32_t milliseconds) = 0;
};

class FramePacer {
public:
    FramePacer(TimeSource& time, MessageWait& messages) : time_(time), messages_(messages) {}
    // Chooses the clock and the period; a refresh rate of 0 or 1 is how the system says "the
    // display's default", taken as 60 Hz.
    void start(std::uint32_t refreshRate);
    // Waits out what is left of the refresh period since the last frame began. True when the next
    // frame is due, whose start it then marks; false when a message came first, which the caller
    // handles before it asks again (the wait goes on from where it was, it does not start over).
    bool waitForNextFrame();

private:
    std::int64_t now();

    TimeSource& time_;
    MessageWait& messages_;
    std::int64_t ticksPerSecond_ = 1;
    bool hasCounter_ = false;
    std::int64_t period_ = 0;
    std::int64_t frameStart_ = 0;
    bool started_ = false;
};
