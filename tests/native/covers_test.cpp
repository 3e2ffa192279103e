// Covers of the monitors beside the show: where they go for a monitor list, and how the windows
// follow when the list changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/covers.h"

// Beside ScreenRect, where the test's failure messages look for it.
std::ostream& operator<<(std::ostream& out, const ScreenRect& rect)
{
    return out << '(' << rect.left << ',' << rect.top << ")-(" << rect.right << ',' << rect.bottom << ')';
}

namespace {

using Rects = std::vector<ScreenRect>;

const ScreenRect show = {0, 0, 1024, 768};

TEST(CoverRectangles, CoverEveryMonitorButTheShows)
{
    struct Case {
        const char* what;
        Rects monitors;
        Rects covers;
    };
    const Case cases[] = {
        {"one monitor", {show}, {}},
        {"none listed", {}, {}},
        {"two side by side", {show, {1024, 0, 2304, 1024}}, {{1024, 0, 2304, 1024}}},
        {"one left of the primary", {show, {-1280, 0, 0, 1024}}, {{-1280, 0, 0, 1024}}},
        {"one above", {show, {0, -1080, 1920, 0}}, {{0, -1080, 1920, 0}}},
        {"three", {{-1920, 0, 0, 1080}, show, {1024, 0, 2304, 1024}}, {{-1920, 0, 0, 1080}, {1024, 0, 2304, 1024}}},
        {"a portrait one", {show, {1024, -300, 2104, 1620}}, {{1024, -300, 2104, 1620}}},
        {"a mirror of the primary", {show, show}, {}},
        {"two mirroring each other", {show, {1024, 0, 2048, 768}, {1024, 0, 2048, 768}}, {{1024, 0, 2048, 768}}},
        {"a larger mirror: the bands around the show",
         {show, {0, 0, 1280, 1024}},
         {{0, 768, 1280, 1024}, {1024, 0, 1280, 768}}},
        {"a monitor the show sits inside", {{-100, -50, 1200, 900}},
         {{-100, -50, 1200, 0}, {-100, 768, 1200, 900}, {-100, 0, 0, 768}, {1024, 0, 1200, 768}}},
        {"an empty rectangle", {show, {1024, 0, 1024, 768}}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(coverRectangles(c.monitors, show), c.covers) << c.what;
}

// Numbers the windows it makes from 1; cannot make one whose left edge is failingLeft.
class RecordingCovers : public CoverSystem {
public:
    Rects monitorList;
    std::int32_t failingLeft = -1;
    std::vector<std::string> calls;

    Rects monitors() override { return monitorList; }
    void* createCover(const ScreenRect& rect) override
    {
        if (rect.left == failingLeft) {
            calls.push_back("create failed");
            return nullptr;
        }
        ++made_;
        calls.push_back("create " + std::to_string(made_) + " at " + std::to_string(rect.left));
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(made_));
    }
    void moveCover(void* cover, const ScreenRect& rect) override
    {
        calls.push_back("move " + name(cover) + " to " + std::to_string(rect.left));
    }
    void destroyCover(void* cover) override { calls.push_back("destroy " + name(cover)); }

private:
    static std::string name(void* cover) { return std::to_string(reinterpret_cast<std::uintptr_t>(cover)); }
    int made_ = 0;
};

TEST(Covers, FollowTheMonitorListAndGoWithTheShow)
{
    const ScreenRect right = {1024, 0, 2304, 1024};
    const ScreenRect movedRight = {1920, 0, 3200, 1024};
    const ScreenRect left = {-1280, 0, 0, 1024};
    struct Step {
        const char* what;
        Rects monitors;
        std::int32_t failingLeft;
        std::vector<std::string> calls;
    };
    const Step steps[] = {
        {"one monitor", {show}, -1, {}},
        {"a second one plugged in", {show, right}, -1, {"create 1 at 1024"}},
        {"the same list again", {show, right}, -1, {"move 1 to 1024"}},
        {"moved by a mode switch", {show, movedRight}, -1, {"move 1 to 1920"}},
        {"a third that cannot be covered", {left, show, movedRight}, 1920, {"move 1 to -1280", "create failed"}},
        {"the third again", {left, show, movedRight}, -1, {"move 1 to -1280", "create 2 at 1920"}},
        {"two unplugged", {show}, -1, {"destroy 2", "destroy 1"}},
        {"one plugged in again", {show, right}, -1, {"create 3 at 1024"}},
    };
    RecordingCovers system;
    {
        Covers covers(system);
        for (const Step& step : steps) {
            system.monitorList = step.monitors;
            system.failingLeft = step.failingLeft;
            system.calls.clear();
            covers.layOut(show);
            EXPECT_EQ(system.calls, step.calls) << step.what;
        }
        system.calls.clear();
        covers.remove();
        EXPECT_EQ(system.calls, std::vector<std::string>{"destroy 3"}) << "removed with the show";
        system.calls.clear();
        covers.layOut(show);
        system.calls.clear();
    }
    EXPECT_EQ(system.calls, std::vector<std::string>{"destroy 4"}) << "what is left goes with its owner";
}

} // namespace
