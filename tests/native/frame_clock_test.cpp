// The frame clock's two readers, its float rounding, its deltas and the dark spells it leaves out.
#include <gtest/gtest.h>

#include "render/display_watch.h"
#include "tests/native/fakes.h"

namespace {

// A source without a performance counter, its millisecond timer at now.
FakeTimeSource millisecondsOnly(std::uint32_t now)
{
    FakeTimeSource time;
    time.hasCounter = false;
    time.now = now;
    return time;
}

TEST(FrameClock, FirstUpdateGivesDeltaEqualToTotal)
{
    FakeTimeSource time;
    time.counter = 5000;
    FrameClock clock;
    clock.start(time);
    time.counter = 5000 + 250000;
    clock.update();
    EXPECT_FLOAT_EQ(clock.totalSeconds(), 0.25f);
    EXPECT_EQ(clock.deltaSeconds(), clock.totalSeconds());
}

TEST(FrameClock, LaterUpdatesGiveTimeSinceThePreviousUpdate)
{
    FakeTimeSource time;
    FrameClock clock;
    clock.start(time);
    const std::int64_t counts[] = {100000, 300000, 300000, 1300000};
    const float deltas[] = {0.1f, 0.2f, 0.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        time.counter = counts[i];
        clock.update();
        EXPECT_NEAR(clock.deltaSeconds(), deltas[i], 1e-6) << "update " << i;
    }
    EXPECT_NEAR(clock.totalSeconds(), 1.3f, 1e-6);
}

TEST(FrameClock, TotalsAreRoundedToFloatAndCoarsenOverALongShow)
{
    FakeTimeSource time;
    time.frequency = 1 << 20;
    FrameClock clock;
    clock.start(time);
    // 9000 s in, a float steps in 2^-10 s: 0.3 ms more rounds back to the same total.
    time.counter = std::int64_t{9000} << 20;
    clock.update();
    EXPECT_EQ(clock.totalSeconds(), 9000.0f);
    time.counter += (std::int64_t{1} << 20) * 3 / 10000;
    clock.update();
    EXPECT_EQ(clock.totalSeconds(), 9000.0f);
    EXPECT_EQ(clock.deltaSeconds(), 0.0f);
    time.counter += (std::int64_t{1} << 20) / 1000;
    clock.update();
    EXPECT_EQ(clock.deltaSeconds(), 1.0f / 1024);
}

TEST(FrameClock, FallsBackToMillisecondsWithoutACounter)
{
    FakeTimeSource time = millisecondsOnly(4000000000u);
    FrameClock clock;
    clock.start(time);
    struct Step {
        std::uint32_t now;
        float delta;
    };
    // A frame shorter than a millisecond has delta 0.
    const Step steps[] = {{4000000016u, 0.016f}, {4000000016u, 0.0f}, {4000000017u, 0.001f}};
    for (const Step& step : steps) {
        time.now = step.now;
        clock.update();
        EXPECT_NEAR(clock.deltaSeconds(), step.delta, 1e-6);
    }
    EXPECT_EQ(time.counterReads, 0);
    EXPECT_NEAR(clock.totalSeconds(), 0.017f, 1e-6);
}

TEST(FrameClock, ADarkSpellIsLeftOutOfTheTimeOnBothReaders)
{
    for (bool counter : {true, false}) {
        FakeTimeSource time;
        time.hasCounter = counter;
        FrameClock clock;
        DisplayWatch display(clock);
        clock.start(time);
        time.advance(1000000);
        clock.update();
        time.advance(20000);
        display.displayChanged(0);
        EXPECT_FALSE(display.drawing());
        time.advance(3600000000);  // an hour off
        display.displayChanged(0);
        display.displayChanged(7);  // says nothing
        EXPECT_FALSE(display.drawing());
        display.displayChanged(2);  // dimmed is seen
        EXPECT_TRUE(display.drawing());
        time.advance(10000);
        clock.update();
        EXPECT_NEAR(clock.totalSeconds(), 1.03f, 1e-6) << (counter ? "counter" : "milliseconds");
        EXPECT_NEAR(clock.deltaSeconds(), 0.03f, 1e-6) << (counter ? "counter" : "milliseconds");
        display.displayChanged(1);
        time.advance(20000);
        clock.update();
        EXPECT_NEAR(clock.deltaSeconds(), 0.02f, 1e-6) << "on again after on counts nothing twice";
    }
}

TEST(FrameClock, MillisecondWrapTurnsTheTotalNegative)
{
    FakeTimeSource time = millisecondsOnly(0xFFFFFF00u);
    FrameClock clock;
    clock.start(time);
    time.now = 0x10;
    clock.update();
    EXPECT_LT(clock.totalSeconds(), 0.0f);
}

} // namespace
