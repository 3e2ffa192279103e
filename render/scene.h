// The scene: the one sheet list, the bursts that feed it and the per-frame step.
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

extern SheetList* sheetList;
extern float lastBurstTime;

// Creates the list, starts the clock and launches the first burst.
void initScene(FrameClock& clock, TimeSource& time, RandomSource& random);
// Adds three to five randomly configured sheets.
void spawnBurst(RandomSource& random);
// Copies the clock's latest readings into sceneTime and frameDelta.
void copyClockReadings(const FrameClock& clock);
// One frame of the scene after the screen was cleared: maybe a burst, then every sheet.
void advanceScene(const FrameClock& clock, RandomSource& random, SheetPainter& painter);
// Destroys the list and every sheet still in it.
void releaseScene();
