// The renderer's frame pacing: one frame per display refresh, whatever the buffer swap does.
#include "render/frame_pacer.h"

#include <algorithm>

namespace {

constexpr std::uint32_t defaultRefreshRate = 60;
// The millisecond timer is read in microseconds, so that a period keeps its fraction of a millisecond.
constexpr std::int64_t microsecondsPerSecond = 1000000;

} // namespace

void FramePacer::start(std::uint32_t refreshRate)
{
    std::int64_t frequency = 0;
    hasCounter_ = time_.queryFrequency(frequency) && frequency > 0;
    ticksPerSecond_ = hasCounter_ ? frequency : microsecondsPerSecond;
    period_ = ticksPerSecond_ / (refreshRate > 1 ? refreshRate : defaultRefreshRate);
    started_ = false;
}

std::int64_t FramePacer::now()
{
    return hasCounter_ ? time_.queryCounter() : static_cast<std::int64_t>(time_.milliseconds()) * 1000;
}

bool FramePacer::waitForNextFrame()
{
    std::int64_t current = now();
    // Never more than a period away, so a clock that went back (the millisecond timer wraps after
    // 49.7 days) cannot stall the show.
    std::int64_t due = std::min(frameStart_, current) + period_;
    // Rounded down: a swap that already waited for the display leaves less than a millisecond, and
    // then no frame is held back and none is missed.
    std::int64_t milliseconds = (due - current) * 1000 / ticksPerSecond_;
    if (!started_ || milliseconds <= 0) {
        started_ = true;
        frameStart_ = current;
        return true;
    }
    if (messages_.waitForMessage(static_cast<std::uint32_t>(milliseconds)))
        return false;
    // Counted from when the frame was due, not from when the wait ended, so that neither the
    // rounding nor a late wake-up adds up over the frames.
    frameStart_ = due;
    return true;
}
