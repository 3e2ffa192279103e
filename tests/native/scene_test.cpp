// The spawner's use of random numbers, burst sizes and burst timing.
#include <gtest/gtest.h>

#include "render/projection.h"
#include "tests/native/fakes.h"

namespace {

struct SceneFixture : testing::Test {
    void SetUp() override
    {
        sceneTime = frameDelta = lastBurstTime = 0;
        sheetList = new SheetList(sheetCapacity);
    }
    void TearDown() override { releaseScene(); }
    std::vector<Sheet*> sheets() const
    {
        std::vector<Sheet*> all;
        for (Sheet* s = sheetList->head; s; s = s->next)
            all.push_back(s);
        return all;
    }
};

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

using SpawnerTest = SceneFixture;

TEST_F(SpawnerTest, FourteenDrawsGoToTheTableRowsInOrder)
{
    // Distinct draws per row, chosen so that each formula's modulus matters.
    const std::vector<int> draws = {85, 3, 27, 13, 7, 45, 199, 0, 37, 23, 9, 44, 17, 11};
    sceneTime = 2.5f;
    SequenceRandom random(threeSheetBurst(draws));
    spawnBurst(random);
    EXPECT_EQ(random.draws(), 3u * 15 + 1);
    ASSERT_EQ(sheetList->count, 3);
    const Sheet* s = sheetList->head;
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

TEST_F(SpawnerTest, HalfSizeOffsetIsTheWidenedFloatTenth)
{
    // (k mod 10) - 5 = -1: -0.1 + 0.1f widened is not zero, -0.1 + 0.1 would be.
    std::vector<int> draws(14, 0);
    draws[12] = 4;
    SequenceRandom random(threeSheetBurst(draws));
    spawnBurst(random);
    EXPECT_EQ(sheetList->head->halfSize, static_cast<float>(-0.1 + static_cast<double>(0.1f)));
    EXPECT_NE(sheetList->head->halfSize, 0.0f);
}

TEST_F(SpawnerTest, BoundIsDrawnBeforeEachSheet)
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
        releaseScene();
        sheetList = new SheetList(sheetCapacity);
        std::vector<int> values;
        for (std::size_t i = 0; i < c.bounds.size(); ++i) {
            values.push_back(c.bounds[i]);
            // Sheet draws: 99 everywhere, so a bound value is never mistaken for one.
            if (static_cast<int>(i) < c.sheets)
                values.insert(values.end(), 14, 99);
        }
        SequenceRandom random(values);
        spawnBurst(random);
        EXPECT_EQ(sheetList->count, c.sheets);
        EXPECT_EQ(random.draws(), static_cast<std::size_t>(c.sheets * 15 + 1));
    }
}

TEST_F(SpawnerTest, FullListDropsTheNewSheets)
{
    releaseScene();
    sheetList = new SheetList(4);
    SequenceRandom random({0});
    spawnBurst(random);
    spawnBurst(random);
    EXPECT_EQ(sheetList->count, 4);
    EXPECT_EQ(random.draws(), 2u * (3 * 15 + 1));
}

using BurstTimingTest = SceneFixture;

TEST_F(BurstTimingTest, BurstsFollowTheFirstFrameMoreThanOneSecondAfterTheLast)
{
    FakeTimeSource time;
    time.frequency = 1024;
    FrameClock clock;
    releaseScene();
    SequenceRandom random({0});
    initScene(clock, time, random);
    EXPECT_EQ(sheetList->count, 3);
    EXPECT_EQ(clock.deltaSeconds(), clock.totalSeconds());
    EXPECT_EQ(sceneTime, 0.0f);

    struct Frame {
        std::int64_t counter;
        int sheets;
        float lastBurst;
    };
    // The start-up burst counts as made at 0; exactly 1.0 s after a burst does not spawn.
    const Frame frames[] = {
        {512, 3, 0}, {1024, 3, 0}, {1025, 6, 1025.0f / 1024}, {2049, 6, 1025.0f / 1024}, {2050, 9, 2050.0f / 1024},
    };
    RecordingPainter painter;
    for (const Frame& frame : frames) {
        time.counter = frame.counter;
        clock.update();
        copyClockReadings(clock);
        advanceScene(clock, random, painter);
        EXPECT_EQ(sheetList->count, frame.sheets) << "at count " << frame.counter;
        EXPECT_EQ(lastBurstTime, frame.lastBurst);
        EXPECT_EQ(sceneTime, clock.totalSeconds());
        EXPECT_EQ(frameDelta, clock.deltaSeconds());
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
        sheetList = new SheetList(sheetCapacity);
        spawnBurst(random);
        ASSERT_GE(sheetList->count, 3);
        ASSERT_LE(sheetList->count, 5);
        ++sizes[sheetList->count];
        releaseScene();
    }
    EXPECT_NEAR(sizes[3], bursts / 3, bursts / 30);
    EXPECT_NEAR(sizes[4], bursts * 4 / 9, bursts / 30);
    EXPECT_NEAR(sizes[5], bursts * 2 / 9, bursts / 30);
}

TEST(SceneRelease, DestroysTheListAndClearsThePointer)
{
    sheetList = new SheetList(sheetCapacity);
    SequenceRandom random({0});
    spawnBurst(random);
    releaseScene();
    EXPECT_EQ(sheetList, nullptr);
}

TEST(Projection, AspectIsTheExactQuotientAndZeroHeightCountsAsOne)
{
    EXPECT_EQ(perspectiveAspect(1024, 768), 1024.0 / 768.0);
    EXPECT_EQ(perspectiveAspect(640, 0), 640.0);
}

} // namespace
