// The system's clock counters, the C runtime's random numbers and the message queue, behind the
// renderer's interfaces.
#pragma once
#include "render/frame_pacer.h"
#include "render/scene.h"

class SystemTimeSource : public TimeSource {
public:
    bool queryFrequency(std::int64_t& frequency) override;
    std::int64_t queryCounter() override;
    std::uint32_t milliseconds() override;
};

class CrtRandomSource : public RandomSource {
public:
    int next() override;
};

// The calling thread's message queue.
class QueueMessageWait : public MessageWait {
public:
    bool waitForMessage(std::uint32_t milliseconds) override;
};
