// The wallpaper's decoding by the system's codecs, whatever the file's name, and the part of it
// that "Fill" shows.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "saver/core/wallpaper_win32.h"

namespace {

// The colours of tests/win32/wallpapers.py's bands, upper case in the upper half, lower case
// (half as bright) in the lower.
int channel(char band, int index)
{
    static const std::string names = "BRG";
    // Each band's blue, green and red bytes.
    static const int colours[3][3] = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    const int bright = colours[names.find(static_cast<char>(std::toupper(band)))][index];
    return std::isupper(band) ? bright : bright / 2;
}

TEST(FilledPicture, DecodesJpegPngAndBmpWhateverTheirNamesAsFillShowsThem)
{
    // The picture is 64 x 32; each row of letters is one half of the desktop, each letter an equal
    // part of it, as far as the desktop's shape lets the picture be seen.
    const struct {
        int width, height;
        const char* upper;
        const char* lower;
    } desktops[] = {
        {32, 32, "RG", "rg"},      // squarer: the middle, left and right cut off
        {64, 32, "BRGB", "brgb"},  // the same shape: all of it
        {32, 8, "BRGB", "brgb"},   // wider: the middle rows, shrunk to half
    };
    const std::wstring folder = std::wstring(VITRELUX_TEST_PICTURES) + L"\\";
    for (const wchar_t* name : {L"TranscodedWallpaper", L"wallpaper.png", L"wallpaper.bmp"}) {
        for (const auto& desktop : desktops) {
            SCOPED_TRACE(testing::Message() << std::wstring(name).c_str() << " on " << desktop.width << "x"
                                            << desktop.height);
            const std::vector<std::uint8_t> pixels = FilledPicture(folder + name, desktop.width, desktop.height);
            ASSERT_EQ(pixels.size(), 4u * desktop.width * desktop.height);
            const int parts = static_cast<int>(std::string(desktop.upper).size());
            for (int half = 0; half < 2; ++half)
                for (int part = 0; part < parts; ++part) {
                    const int x = desktop.width * (2 * part + 1) / (2 * parts);
                    const int y = desktop.height * (2 * half + 1) / 4;
                    const std::uint8_t* pixel = &pixels[4 * (static_cast<std::size_t>(y) * desktop.width + x)];
                    const char band = (half ? desktop.lower : desktop.upper)[part];
                    for (int index = 0; index < 3; ++index)
                        EXPECT_NEAR(pixel[index], channel(band, index), 12) << "at " << x << ", " << y;
                }
        }
    }
    for (const wchar_t* name : {L"missing.jpg", L"not-a-picture"})
        EXPECT_TRUE(FilledPicture(folder + name, 32, 32).empty()) << std::wstring(name).c_str();
}

} // namespace
