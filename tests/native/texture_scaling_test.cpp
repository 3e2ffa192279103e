// The texture's sides and scaling: the utility library's rounding to powers of two and the traits of
// its box filter that a plainer scaler gets wrong. The Win32 tests compare whole pictures with the
// library itself.
#include <gtest/gtest.h>

#include <vector>

#include "render/texture_scaling.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(NearestPowerOfTwo, RoundsUpFromOneAndAHalfTimesAPower)
{
    const std::int32_t cases[][2] = {{1, 1},       {2, 2},       {3, 4},       {5, 4},       {6, 8},
                                     {1023, 1024}, {1280, 1024}, {1366, 1024}, {1535, 1024}, {1536, 2048},
                                     {1920, 2048}, {2560, 2048}, {3840, 4096}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(nearestPowerOfTwo(c[0]), c[1]) << c[0];
}

Bytes grey(std::initializer_list<std::uint8_t> values)
{
    Bytes pixels;
    for (std::uint8_t value : values)
        pixels.insert(pixels.end(), {value, value, value});
    return pixels;
}

TEST(ScaleImage, FiltersAsTheLibraryDoes)
{
    struct Case {
        const char* what;
        Bytes source;
        std::ptrdiff_t stride;
        std::int32_t width, height, targetWidth, targetHeight;
        Bytes expected;
    };
    const Bytes flat(3 * 3 * 3, 200);
    const Case cases[] = {
        // A truncating 8-bit filter, like the library's own mipmap builder, darkens this to 199.
        {"flat grey shrunk", flat, 9, 3, 3, 2, 2, Bytes(2 * 2 * 3, 200)},
        {"flat grey enlarged", flat, 9, 3, 3, 4, 4, Bytes(4 * 4 * 3, 200)},
        // Averaged in 16 bits and rounded: 254.75 comes out as 255, not 254.
        {"exact half", grey({255, 255, 255, 254}), 6, 2, 2, 1, 1, grey({255})},
        // The box of an edge pixel reaches round to the far side of the picture.
        {"edges wrap round", grey({0, 255}), 6, 2, 1, 4, 1, grey({64, 64, 191, 191})},
        {"the same size: rows packed", {1, 2, 3, 9, 9, 4, 5, 6, 9, 9}, 5, 1, 2, 1, 2, {1, 2, 3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        const PixelRows source{c.source.data(), c.stride, 3, c.width, c.height};
        auto scaled = scaleImage(source, c.targetWidth, c.targetHeight);
        ASSERT_NE(scaled, nullptr) << c.what;
        EXPECT_EQ(Bytes(scaled.get(), scaled.get() + c.expected.size()), c.expected) << c.what;
    }
    EXPECT_EQ(scaleImage({flat.data(), 9, 3, 3, 3}, 0, 4), nullptr);
}

} // namespace
