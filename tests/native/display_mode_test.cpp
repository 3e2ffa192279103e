// The show's display mode: what it asks for on the displays people own, and when it asks for nothing.
#include <gtest/gtest.h>

#include <ostream>

#include "render/display_mode.h"

std::ostream& operator<<(std::ostream& out, const DisplayMode& mode)
{
    return out << mode.width << 'x' << mode.height << 'x' << mode.bitsPerPixel << '@' << mode.refreshRate;
}

namespace {

using Modes = std::vector<DisplayMode>;

TEST(ShowModeRequests, TheShowsSizeAtARateTheDisplayOffersOrNothing)
{
    struct Case {
        const char* what;
        DisplayMode desktop;
        Modes offered;
        Modes requests;
    };
    const Case cases[] = {
        {"60 Hz desktop", {1920, 1080, 32, 60},
         {{1920, 1080, 32, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 75}},
         {{1024, 768, 32, 60}, {1024, 768, 32, 75}}},
        {"75 Hz desktop, 1024 x 768 at 75 Hz", {1280, 1024, 32, 75},
         {{1280, 1024, 32, 75}, {1024, 768, 32, 60}, {1024, 768, 32, 75}},
         {{1024, 768, 32, 75}, {1024, 768, 32, 60}}},
        {"75 Hz desktop, 1024 x 768 at 60 Hz only", {1400, 1050, 32, 75},
         {{1400, 1050, 32, 75}, {1400, 1050, 32, 60}, {1024, 768, 32, 60}},
         {{1024, 768, 32, 60}}},
        {"144 Hz desktop, 1024 x 768 at 144 Hz", {2560, 1440, 32, 144},
         {{1024, 768, 32, 60}, {1024, 768, 32, 144}, {1024, 768, 32, 120}},
         {{1024, 768, 32, 144}, {1024, 768, 32, 120}, {1024, 768, 32, 60}}},
        {"144 Hz desktop, fastest listed rate first, each once", {2560, 1440, 32, 144},
         {{1024, 768, 32, 60}, {1024, 768, 32, 120}, {1024, 768, 32, 60}, {1024, 768, 32, 100}},
         {{1024, 768, 32, 120}, {1024, 768, 32, 100}, {1024, 768, 32, 60}}},
        {"240 Hz desktop, 1024 x 768 at 240 Hz", {1920, 1080, 32, 240},
         {{1024, 768, 32, 240}, {1024, 768, 32, 60}},
         {{1024, 768, 32, 240}, {1024, 768, 32, 60}}},
        {"240 Hz desktop without it", {1920, 1080, 32, 240},
         {{1920, 1080, 32, 240}, {1024, 768, 32, 60}, {1024, 768, 32, 75}},
         {{1024, 768, 32, 75}, {1024, 768, 32, 60}}},
        {"no 1024 x 768 listed", {3840, 2160, 32, 60},
         {{3840, 2160, 32, 60}, {2560, 1440, 32, 60}, {1280, 720, 32, 60}}, {}},
        {"portrait desktop", {1080, 1920, 32, 60},
         {{1080, 1920, 32, 60}, {768, 1024, 32, 60}}, {}},
        {"16-bit desktop", {1280, 1024, 16, 60},
         {{1024, 768, 32, 60}, {1024, 768, 16, 60}, {1024, 768, 16, 75}},
         {{1024, 768, 16, 60}, {1024, 768, 16, 75}}},
        {"16-bit desktop, 1024 x 768 only at 32 bits", {1280, 1024, 16, 60},
         {{1280, 1024, 16, 60}, {1024, 768, 32, 60}}, {}},
        {"the display's default rate", {1280, 1024, 32, 1},
         {{1024, 768, 32, 1}}, {{1024, 768, 32, 1}}},
        {"nothing listed", {1280, 1024, 32, 75}, {}, {{1024, 768, 32, 75}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(showModeRequests(c.desktop, c.offered, 1024, 768), c.requests) << c.what;
}

} // namespace
