// The renderer's frame clock.
#include "render/frame_clock.h"

FrameClock::~FrameClock()
{
    reader_ = nullptr;
}

void FrameClock::start(TimeSource& source)
{
    source_ = &source;
    std::int64_t frequency = 0;
    if (source.queryFrequency(frequency) && frequency != 0) {
        baseCount_ = source.queryCounter();
        secondsPerTick_ = static_cast<float>(1.0 / static_cast<double>(frequency));
        reader_ = &FrameClock::readPerformanceCounter;
    } else {
        baseCount_ = static_cast<std::int64_t>(source.milliseconds());
        secondsPerTick_ = 0.001f;
        reader_ = &FrameClock::readMilliseconds;
    }
}

Extended FrameClock::readPerformanceCounter()
{
    currentCount_ = source_->queryCounter();
    return static_cast<Extended>(currentCount_ - baseCount_) * secondsPerTick_;
}

// NOTE: after the millisecond timer wraps (about 49.7 days) the difference turns negative.
Extended FrameClock::readMilliseconds()
{
    std::int64_t now = static_cast<std::int64_t>(source_->milliseconds());
    return static_cast<Extended>(now - baseCount_) * secondsPerTick_;
}

void FrameClock::update()
{
    Extended elapsed = (this->*reader_)() - startOffset_;
    total_ = static_cast<float>(elapsed);
    delta_ = total_ - previousTotal_;
    previousTotal_ = total_;
}

// The raw count that the chosen reader takes its readings from.
std::int64_t FrameClock::count() const
{
    if (reader_ == &FrameClock::readPerformanceCounter)
        return source_->queryCounter();
    return static_cast<std::int64_t>(source_->milliseconds());
}

void FrameClock::pause()
{
    if (!reader_ || paused_)
        return;
    pausedAt_ = count();
    paused_ = true;
}

void FrameClock::resume()
{
    if (!paused_)
        return;
    baseCount_ += count() - pausedAt_;
    paused_ = false;
}
