// The desktop's place in the snapshot, the blank copy's test and the part of a wallpaper that
// "Fill" shows.
#include <gtest/gtest.h>

#include <vector>

#include "saver/core/snapshot_picture.h"

namespace {

TEST(Snapshot, DesktopSitsMidwayRoundedHalfToEvenAndCoversOnlyTheSquaresRows)
{
    struct Case {
        int width, height, top, first, end;
    };
    const Case cases[] = {
        {1280, 1024, 128, 128, 1152}, {1024, 768, 128, 128, 896}, {1920, 1080, 420, 420, 1500},
        {1280, 1280, 0, 0, 1280},
        {5, 2, 2, 2, 4},        // 1.5 rounds to 2
        {7, 2, 2, 2, 4},        // 2.5 rounds to 2
        {9, 2, 4, 4, 6},        // 3.5 rounds to 4
        {768, 1024, -128, 0, 768},  // portrait: the middle rows of the desktop
        {3, 4, 0, 0, 3},        // -0.5 rounds to 0
        {3, 6, -2, 0, 3},       // -1.5 rounds to -2
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SnapshotDesktopTop(c.width, c.height), c.top) << c.width << "x" << c.height;
        const RowSpan rows = SnapshotDesktopRows(c.width, c.height);
        EXPECT_EQ(rows.first, c.first) << c.width << "x" << c.height;
        EXPECT_EQ(rows.end, c.end) << c.width << "x" << c.height;
    }
}

TEST(Snapshot, OneColourOnlyWhenNoPixelDiffersInItsColour)
{
    // Blue, green, red, unused; the unused byte is no part of the colour.
    const std::vector<std::uint8_t> black(4 * 64, 0);
    struct Case {
        const char* what;
        std::size_t pixel;
        int byte;
        bool oneColour;
    };
    const Case cases[] = {
        {"all black", 0, 3, true},   {"the unused byte of one pixel", 17, 3, true},
        {"the first pixel's blue", 0, 0, false}, {"one pixel's green in the middle", 31, 1, false},
        {"the last pixel's red", 63, 2, false},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> pixels = black;
        pixels[4 * c.pixel + c.byte] = 1;
        EXPECT_EQ(IsOneColour(pixels.data(), 64), c.oneColour) << c.what;
    }
    const std::uint8_t one[4] = {9, 8, 7, 0};
    EXPECT_TRUE(IsOneColour(one, 1)) << "one pixel in all";
}

TEST(Snapshot, FillShowsTheLargestCentredPartOfTheDesktopsShape)
{
    struct Case {
        const char* what;
        std::int32_t pictureWidth, pictureHeight, width, height;
        PictureArea shown;
    };
    const Case cases[] = {
        {"wider: its sides cut off", 1920, 1080, 1280, 1024, {285, 0, 1350, 1080}},
        {"taller: its top and bottom", 1080, 1920, 1920, 1080, {0, 656, 1080, 608}},  // 607.5 rounds up
        {"the same shape: all of it", 3840, 2160, 1920, 1080, {0, 0, 3840, 2160}},
        {"smaller, the same shape", 16, 9, 3840, 2160, {0, 0, 16, 9}},
        {"odd sides, the odd pixel on the right", 1001, 1, 3, 3, {500, 0, 1, 1}},
        {"taller, odd", 5, 7, 2, 2, {0, 1, 5, 5}},
        {"a sliver of a picture on a portrait desktop", 1000, 2, 768, 1024, {499, 0, 2, 2}},
    };
    for (const Case& c : cases) {
        const PictureArea area = FillArea(c.pictureWidth, c.pictureHeight, c.width, c.height);
        EXPECT_EQ(area.x, c.shown.x) << c.what;
        EXPECT_EQ(area.y, c.shown.y) << c.what;
        EXPECT_EQ(area.width, c.shown.width) << c.what;
        EXPECT_EQ(area.height, c.shown.height) << c.what;
    }
}

} // namespace
