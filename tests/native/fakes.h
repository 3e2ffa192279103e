// Scripted time and random sources, a scripted message queue and a recording painter for the
// renderer's logic.
#pragma once
#include <cstddef>
#include <vector>

#include "render/frame_pacer.h"
#include "render/scene.h"

class FakeTimeSource : public TimeSource {
public:
    bool hasCounter = true;
    std::int64_t frequency = 1000000;
    std::int64_t counter = 0;
    std::uint32_t now = 0;
    int counterReads = 0;

    bool queryFrequency(std::int64_t& value) override
    {
        value = hasCounter ? frequency : 0;
        return hasCounter;
    }
    std::int64_t queryCounter() override
    {
        ++counterReads;
        return counter;
    }
    std::uint32_t milliseconds() override { return now; }
    void advance(std::int64_t microseconds)
    {
        counter += microseconds * frequency / 1000000;
        now += static_cast<std::uint32_t>(microseconds / 1000);
    }
};

// The message queue on a scripted clock: a wait moves the clock on by its whole time, or only up
// to a message scheduled within it. Records every wait asked for.
class FakeMessageWait : public MessageWait {
public:
    explicit FakeMessageWait(FakeTimeSource& time) : time_(time) {}
    std::vector<std::uint32_t> waits;
    // A message arrives this many milliseconds into the next wait; 0 for none.
    std::uint32_t messageAfter = 0;

    bool waitForMessage(std::uint32_t milliseconds) override
    {
        waits.push_back(milliseconds);
        bool message = messageAfter > 0 && messageAfter < milliseconds;
        time_.advance(std::int64_t{message ? messageAfter : milliseconds} * 1000);
        messageAfter = 0;
        return message;
    }

private:
    FakeTimeSource& time_;
};

// Hands out the given values in order, then repeats the last one; counts the draws.
class SequenceRandom : public RandomSource {
public:
    explicit SequenceRandom(std::vector<int> values) : values_(std::move(values)) {}
    int next() override
    {
        int value = values_[draws_ < values_.size() ? draws_ : values_.size() - 1];
        ++draws_;
        return value;
    }
    std::size_t draws() const { return draws_; }

private:
    std::vector<int> values_;
    std::size_t draws_ = 0;
};

struct DrawnStrip {
    float colour[4];
    SheetVertex strip[4];
};

class RecordingPainter : public SheetPainter {
public:
    std::vector<DrawnStrip> strips;
    void drawStrip(const float colour[4], const SheetVertex (&strip)[4]) override
    {
        DrawnStrip drawn{};
        for (int i = 0; i < 4; ++i) {
            drawn.colour[i] = colour[i];
            drawn.strip[i] = strip[i];
        }
        strips.push_back(drawn);
    }
};
