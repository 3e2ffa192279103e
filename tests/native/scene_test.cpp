// The spawner's use of random numbers, burst sizes, and the scene's bursts as it is stepped.
#include <gtest/gtest.h>

#include "render/projection.h"
#include "tests/native/fakes.h"

namespace {

// Bound draw that stops the burst after three sheets (r mod 3 = 0 when i = 3).
std::vector<int> threeSheetBurst(const std::vector<int>& sheetDraws)
{
    std::vector<int> values;
    for (int sheet = 0; sheet < 3; ++sheet) {
        values.push_back(0);
        values.insert(values.end(), sheetDraws.begin(), sheetDraws.end());
    }
    values.push_back(0);
    return values;
}

TEST(Spawner, FourteenDrawsGoToTheTableRowsInOrder)
{
    // Distinct draws per row, chosen so that each formula's modulus matters.
    const std::vector<int> draws = {85, 3, 27, 13, 7, 45, 199, 0, 37, 23, 9, 44, 17, 11};
    SheetList list(sheetCapacity);
    SequenceRandom random(threeSheetBurst(draws));
    spawnBurst(list, 2.5f, random);
    EXPECT_EQ(random.draws(), 3u * 15 + 1);
    ASSERT_EQ(list.count, 3);
    const Sheet* s = list.head;
    EXPECT_EQ(s->position[0], 85 % 80 - 50);
    EXPECT_EQ(s->position[1], 3 - 50);
    EXPECT_EQ(s->position[2], 27 % 20 - 160);
    EXPECT_EQ(s->velocity[0], static_cast<float>(3 - 0.005));
    EXPECT_EQ(s->velocity[1], static_cast<float>(7 - 0.005));
    EXPECT_EQ(s->velocity[2], static_cast<float>(5 - 0.001));
    EXPECT_EQ(s->colour[0], static_cast<float>(100 * 0.02));
    EXPECT_EQ(s->colour[1], static_cast<float>(1 * 0.02));
    EXPECT_EQ(s->colour[2], 0.0f);
    EXPECT_EQ(s->colour[3], 1.0f);
    EXPECT_EQ(s->colourVelocity[0], static_cast<float>((37 % 16 - 8) * 0.1));
    EXPECT_EQ(s->colourVelocity[1], static_cast<float>((23 % 12 - 5) * 0.1));
    EXPECT_EQ(s->colourVelocity[2], 0.0f);
    EXPECT_EQ(s->colourVelocity[3], 0.0f);
    EXPECT_EQ(s->fadeOutRate, static_cast<float>(4 * 0.1 + 0.5));
    EXPECT_EQ(s->lifetime, static_cast<float>(14 * 0.1 + 4.5));
    EXPECT_EQ(s->halfSize, static_cast<float>((17 % 10 - 5) * 0.1 + 0.10000000149011612));
    EXPECT_EQ(s->growth, static_cast<float>((11 % 6 - 3) * 0.1));
    EXPECT_EQ(s->birthTime, 2.5f);
    EXPECT_TRUE(s->fadingIn);
}

TEST(Spawner, HalfSizeOffsetIsTheWidenedFloatTenth)
{
    // (k mod 10) - 5 = -1: -0.1 + 0.1f widened is not zero, -0.1 + 0.1 would be.
    std::vector<int> draws(14, 0);
    draws[12] = 4;
    SheetList list(sheetCapacity);
    SequenceRandom random(threeSheetBurst(draws));
    spawnBurst(list, 0, random);
    EXPECT_EQ(list.head->halfSize, static_cast<float>(-0.1 + static_cast<double>(0.1f)));
    EXPECT_NE(list.head->halfSize, 0.0f);
}

TEST(Spawner, BoundIsDrawnBeforeEachSheet)
{
    struct Case {
        std::vector<int> bounds;  // the bound draw before sheets 1, 2, 3, ... and the final one
        int sheets;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 3},
        {{0, 0, 0, 1, 0}, 4},        // r mod 3 = 1 before the fourth allows it, then 0 stops
        {{0, 0, 0, 2, 2, 0}, 5},
        {{0, 0, 0, 2, 2, 2}, 5},     // never more than five
        {{2, 2, 2, 1, 1}, 4},        // a large bound early does not carry over
        {{32767, 32766, 32765, 32764, 32763}, 4},
    };
    for (const Case& c : cases) {
        SheetList list(sheetCapacity);
        std::vector<int> values;
        for (std::size_t i = 0; i < c.bounds.size(); ++i) {
            values.push_back(c.bounds[i]);
            // Sheet draws: 99 everywhere, so a bound value is never mistaken for one.
            if (static_cast<int>(i) < c.sheets)
                values.insert(values.end(), 14, 99);
        }
        SequenceRandom random(values);
        spawnBurst(list, 0, random);
        EXPECT_EQ(list.count, c.sheets);
        EXPECT_EQ(random.draws(), static_cast<std::size_t>(c.sheets * 15 + 1));
    }
}

TEST(Spawner, FullListDropsTheNewSheets)
{
    SheetList list(4);
    SequenceRandom random({0});
    spawnBurst(list, 0, random);
    spawnBurst(list, 0, random);
    EXPECT_EQ(list.count, 4);
    EXPECT_EQ(random.draws(), 2u * (3 * 15 + 1));
}

// Stepped as the renderer steps it, with nothing drawn.
TEST(SceneSteps, BurstsFollowTheFirstFrameMoreThanOneSecondAfterTheLast)
{
    FakeTimeSource time;
    time.frequency = 1024;
    FrameClock clock;
    clock.start(time);
    clock.update();
    SequenceRandom random({0});
    Scene scene;
    scene.start(clock.totalSeconds(), random);
    EXPECT_EQ(scene.sheets().count, 3);
    EXPECT_EQ(scene.sheets().head->birthTime, 0.0f);

    struct Frame {
        std::int64_t counter;
        int sheets;
        float lastBurst;
    };
    // The start-up burst counts as made at 0; exactly 1.0 s after a burst does not spawn.
    const Frame frames[] = {
        {512, 3, 0}, {1024, 3, 0}, {1025, 6, 1025.0f / 1024}, {2049, 6, 1025.0f / 1024}, {2050, 9, 2050.0f / 1024},
    };
    for (const Frame& frame : frames) {
        time.counter = frame.counter;
        clock.update();
        scene.step(clock.totalSeconds(), clock.deltaSeconds(), random);
        EXPECT_EQ(scene.sheets().count, frame.sheets) << "at count " << frame.counter;
        EXPECT_EQ(scene.lastBurstTime(), frame.lastBurst);
        EXPECT_EQ(scene.sheets().tail->birthTime, frame.lastBurst) << "the newest sheets are born at the burst";
    }
}

TEST(SpawnerStatistics, BurstsHoldThreeToFiveSheetsInTheExpectedShares)
{
    // A deterministic stand-in for rand: every residue of the bound draw is equally likely.
    struct Lcg : RandomSource {
        unsigned state = 12345;
        int next() override
        {
            state = state * 214013u + 2531011u;
            return static_cast<int>((state >> 16) & 0x7FFF);
        }
    } random;
    int sizes[6] = {};
    const int bursts = 9000;
    for (int b = 0; b < bursts; ++b) {
        SheetList list(sheetCapacity);
        spawnBurst(list, 0, random);
        ASSERT_GE(list.count, 3);
        ASSERT_LE(list.count, 5);
        ++sizes[list.count];
    }
    EXPECT_NEAR(sizes[3], bursts / 3, bursts / 30);
    EXPECT_NEAR(sizes[4], bursts * 4 / 9, bursts / 30);
    EXPECT_NEAR(sizes[5], bursts * 2 / 9, bursts / 30);
}

TEST(Projection, AspectIsTheExactQuotientAndZeroHeightCountsAsOne)
{
    EXPECT_EQ(perspectiveAspect(1024, 768), 1024.0 / 768.0);
    EXPECT_EQ(perspectiveAspect(640, 0), 640.0);
}

} // namespace
