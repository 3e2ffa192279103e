// The renderer's one clock: seconds since the scene started and between the last two frames.
#pragma once
#include <cstdint>

// The counters the clock reads: the performance counter, falling back to the millisecond timer.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual bool queryFrequency(std::int64_t& frequency) = 0;
    virtual std::int64_t queryCounter() = 0;
    virtual std::uint32_t milliseconds() = 0;
};

// Readings are taken in extended precision and then rounded to float, so a long show
// sees its totals (and the deltas between them) coarsen the way a float does.
using Extended = long double;

class FrameClock {
public:
    virtual ~FrameClock();
    void start(TimeSource& source);
    void update();
    // Leaves the time between the two out of every later reading: a show that was not drawn while
    // the display was off goes on where it was, without a jump.
    void pause();
    void resume();
    const float& totalSeconds() const { return total_; }
    const float& deltaSeconds() const { return delta_; }

private:
    using Reader = Extended (FrameClock::*)();
    Extended readPerformanceCounter();
    Extended readMilliseconds();
    std::int64_t count() const;

    Reader reader_ = nullptr;
    float startOffset_ = 0;
    float previousTotal_ = 0;
    float secondsPerTick_ = 0;
    float total_ = 0;
    float delta_ = 0;
    std::int64_t baseCount_ = 0;
    std::int64_t currentCount_ = 0;
    TimeSource* source_ = nullptr;
    bool paused_ = false;
    std::int64_t pausedAt_ = 0;
};
