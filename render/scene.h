// The scene: the sheet list, the bursts that feed it and the per-frame step.
#pragma once
#include "render/frame_clock.h"
#include "render/sheet.h"

// The C runtime's rand (0 to 32767) in the renderer; a fixed sequence in tests.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int next() = 0;
};

constexpr std::int32_t sheetCapacity = 500;

// Adds three to five randomly configured sheets born at now.
void spawnBurst(SheetList& sheets, float now, RandomSource& random);

// The sheets and the bursts that feed them, stepped apart from being drawn.
class Scene {
public:
    explicit Scene(std::int32_t capacity = sheetCapacity) : sheets_(capacity) {}
    // The first burst; it counts as made at 0.
    void start(float now, RandomSource& random);
    // A burst when more than a second has passed since the last, then every sheet stepped and the
    // dead ones dropped.
    void step(float now, float delta, RandomSource& random);
    void draw(SheetPainter& painter) const { sheets_.draw(painter); }

    const SheetList& sheets() const { return sheets_; }
    float lastBurstTime() const { return lastBurstTime_; }

private:
    SheetList sheets_;
    float lastBurstTime_ = 0;
};
