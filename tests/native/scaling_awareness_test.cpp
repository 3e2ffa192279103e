// Which declaration of scaling awareness a program makes on each kind of Windows.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/scaling_awareness.h"

namespace {

// A Windows that takes the declarations it offers, and records each one asked for.
struct OfferingAwareness : ScalingAwarenessApi {
    std::set<std::string> offered;
    std::vector<std::string> asked;

    bool ask(const char* what)
    {
        asked.push_back(what);
        return offered.count(what) != 0;
    }
    bool declarePerMonitorV2() override { return ask("per monitor v2"); }
    bool declarePerMonitor() override { return ask("per monitor"); }
    bool declareSystemWide() override { return ask("system wide"); }
};

TEST(ScalingAwareness, TheNewestDeclarationOfferedIsMadeAndNoneAfterIt)
{
    const std::vector<std::string> all = {"per monitor v2", "per monitor", "system wide"};
    struct Case {
        const char* windows;
        std::set<std::string> offered;
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {"Windows 10 1703 and later", {all.begin(), all.end()}, {"per monitor v2"}},
        {"Windows 8.1", {"per monitor", "system wide"}, {"per monitor v2", "per monitor"}},
        {"Vista and 7", {"system wide"}, all},
        {"none of them", {}, all},
    };
    for (const Case& c : cases) {
        OfferingAwareness system;
        system.offered = c.offered;
        declareScalingAware(system);
        EXPECT_EQ(system.asked, c.asked) << c.windows;
    }
}

} // namespace
