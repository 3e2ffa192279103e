// The system's clock counters and the C runtime's random numbers, behind the renderer's interfaces.
#pragma once
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
