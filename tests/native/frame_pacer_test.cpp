// Frame pacing: how long the loop waits after a frame, the rate that results, and a message that
// arrives during a wait.
#include <gtest/gtest.h>

#include "tests/native/fakes.h"

namespace {

using Waits = std::vector<std::uint32_t>;

struct Paced {
    explicit Paced(bool hasCounter = true, std::uint32_t refreshRate = 60)
    {
        time.hasCounter = hasCounter;
        // Just before the millisecond timer wraps; the counter is far from it.
        time.now = 0xFFFFFFF0u;
        pacer.start(refreshRate);
    }
    FakeTimeSource time;
    FakeMessageWait messages{time};
    FramePacer pacer{time, messages};
};

TEST(FramePacer, WaitsOnlyWhatIsLeftOfTheRefreshPeriod)
{
    struct Case {
        const char* what;
        bool hasCounter;
        std::uint32_t refreshRate;
        std::int64_t frameMicroseconds;
        Waits waits;
    };
    const Case cases[] = {
        {"short frame", true, 60, 5000, {11}},
        {"frame longer than the period", true, 60, 20000, {}},
        {"swap that waited for the display", true, 60, 16600, {}},
        {"rate 0 is 60 Hz", true, 0, 0, {16}},
        {"rate 1 is 60 Hz", true, 1, 0, {16}},
        {"75 Hz", true, 75, 3000, {10}},
        {"millisecond timer that wrapped", false, 60, 21000, {16}},
    };
    for (const Case& c : cases) {
        Paced paced(c.hasCounter, c.refreshRate);
        EXPECT_TRUE(paced.pacer.waitForNextFrame()) << c.what;
        EXPECT_EQ(paced.messages.waits, Waits{}) << c.what << ": the first frame is drawn at once";
        paced.time.advance(c.frameMicroseconds);
        EXPECT_TRUE(paced.pacer.waitForNextFrame()) << c.what;
        EXPECT_EQ(paced.messages.waits, c.waits) << c.what;
    }
}

TEST(FramePacer, DrawsAtTheRefreshRateOrAsFastAsTheFramesAllow)
{
    struct Case {
        std::uint32_t refreshRate;
        std::int64_t frameMicroseconds;
        int framesPerSecond;
    };
    for (const Case& c : {Case{60, 4000, 60}, Case{75, 12000, 75}, Case{60, 25000, 40}}) {
        Paced paced(true, c.refreshRate);
        int frames = 0;
        while (paced.time.counter < 10 * paced.time.frequency) {
            if (paced.pacer.waitForNextFrame()) {
                ++frames;
                paced.time.advance(c.frameMicroseconds);
            }
        }
        EXPECT_NEAR(frames, 10 * c.framesPerSecond, 1) << c.refreshRate << " Hz, frames of " << c.frameMicroseconds;
    }
}

TEST(FramePacer, HandsAMessageOverAtOnceAndThenWaitsOnlyTheRest)
{
    Paced paced;
    ASSERT_TRUE(paced.pacer.waitForNextFrame());
    paced.time.advance(5000);
    paced.messages.messageAfter = 4;
    EXPECT_FALSE(paced.pacer.waitForNextFrame()) << "the message waits for no frame";
    EXPECT_EQ(paced.time.counter, 9000);
    EXPECT_TRUE(paced.pacer.waitForNextFrame());
    // The frame after keeps the beat: due one period after the one that was interrupted.
    paced.time.advance(4000);
    EXPECT_TRUE(paced.pacer.waitForNextFrame());
    EXPECT_EQ(paced.messages.waits, (Waits{11, 7, 13}));
}

} // namespace
