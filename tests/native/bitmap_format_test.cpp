// Tests of the snapshot bitmap parser and the section-to-RGB conversion, on bitmaps
// assembled in memory.
#include "common/bitmap_format.h"
#include "tests/section_rgb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Fields = std::initializer_list<std::uint32_t>;
constexpr std::int32_t minI32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t maxI32 = std::numeric_limits<std::int32_t>::max();

struct Recipe {
    std::uint32_t headerSize = 40;
    std::int32_t width = 5, height = 3;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::size_t entries = 0; // colour entries actually written
    std::size_t gap = 0;     // bytes between the colour table and the pixels
    bool fileHeader = true;
};

void put16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::uint32_t get32(const Bytes& in, std::size_t offset)
{
    return in.at(offset) | in.at(offset + 1) << 8 | in.at(offset + 2) << 16 | std::uint32_t{in.at(offset + 3)} << 24;
}

// Full rows for sane sides; for absurd ones 128 KiB, plenty for a size that wrapped around.
std::size_t pixelDataBytes(const Recipe& recipe)
{
    const std::uint64_t cap = 1 << 17;
    const std::uint64_t width = static_cast<std::uint64_t>(std::llabs(recipe.width));
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(recipe.height));
    if (width > cap || rows > cap)
        return cap;
    return std::min((recipe.bitCount * width + 31) / 32 * 4 * rows, cap);
}

Bytes build(const Recipe& recipe)
{
    Bytes dib;
    put32(dib, recipe.headerSize);
    const bool core = recipe.headerSize == 12;
    if (core) {
        for (std::uint32_t field :
            Fields{std::uint32_t(recipe.width), std::uint32_t(recipe.height), recipe.planes, recipe.bitCount})
            put16(dib, field);
    } else {
        // The image size field lies (0xDEADBEEF); the parser must not pass it on.
        for (std::uint32_t field : Fields{std::uint32_t(recipe.width), std::uint32_t(recipe.height),
                 recipe.planes | std::uint32_t{recipe.bitCount} << 16,
                 recipe.compression, 0xDEADBEEFu, 2835u, 2835u, recipe.coloursUsed, 0u})
            put32(dib, field);
        dib.resize(std::max<std::size_t>(dib.size(), std::min(recipe.headerSize, 256u)));
        if (recipe.compression == 3)
            for (std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu})
                put32(dib, mask);
    }
    for (std::size_t entry = 0; entry < recipe.entries; ++entry) {
        for (std::size_t channel = 0; channel < (core ? 3u : 4u); ++channel)
            dib.push_back(static_cast<std::uint8_t>(channel == 3 ? 0 : entry + 0x40 * channel));
    }
    dib.resize(dib.size() + recipe.gap);
    const std::size_t pixelStart = dib.size();
    dib.resize(pixelStart + pixelDataBytes(recipe));
    for (std::size_t i = pixelStart; i < dib.size(); ++i)
        dib[i] = static_cast<std::uint8_t>(i * 7 + 1);
    if (!recipe.fileHeader)
        return dib;
    Bytes file{'B', 'M'};
    for (std::uint32_t field : {std::uint32_t(dib.size() + 14), 0u, std::uint32_t(pixelStart + 14)})
        put32(file, field);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

// A heap block of exactly the bytes kept, so that ASan sees any read past the end.
std::unique_ptr<std::uint8_t[]> exactCopy(const Bytes& file, std::size_t length)
{
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[length]);
    std::copy_n(file.data(), length, copy.get());
    return copy;
}

DibRefusal parse(const Bytes& file, DibLayout& layout, std::size_t length = SIZE_MAX)
{
    length = std::min(length, file.size());
    return parseDib(exactCopy(file, length).get(), length, layout);
}

DibRefusal parse(const Recipe& recipe)
{
    DibLayout layout;
    return parse(build(recipe), layout);
}

Recipe palette(std::uint16_t bitCount, std::uint32_t coloursUsed, std::size_t entries)
{
    Recipe recipe;
    recipe.bitCount = bitCount;
    recipe.coloursUsed = coloursUsed;
    recipe.entries = entries;
    return recipe;
}

Recipe core(std::uint16_t bitCount, std::size_t entries)
{
    Recipe recipe = palette(bitCount, 0, entries);
    recipe.headerSize = 12;
    return recipe;
}

TEST(DibParse, ReadsTwentyFourBitRowsPaddedToFourBytes)
{
    for (std::int32_t height : {3, -3}) {
        Recipe recipe;
        recipe.height = height;
        const Bytes file = build(recipe);
        DibLayout layout;
        ASSERT_EQ(parse(file, layout), DibRefusal::None) << height;
        EXPECT_EQ(layout.pixelOffset, 54u);
        EXPECT_EQ(layout.pixelBytes, 48u); // 5 pixels of 3 bytes, padded to 16, times 3 rows
        EXPECT_EQ(layout.width, 5);
        EXPECT_EQ(layout.height, height);
        EXPECT_EQ(layout.rows, 3);
        ASSERT_EQ(layout.info.size(), 40u);
        EXPECT_TRUE(std::equal(layout.info.begin(), layout.info.begin() + 20, file.begin() + 14));
        EXPECT_EQ(get32(layout.info, 20), 48u);
    }
}

TEST(DibParse, ColourTableFollowsColoursUsed)
{
    const struct {
        Recipe recipe;
        std::size_t entries;
    } cases[] = {
        {palette(8, 0, 256), 256},       {palette(8, 17, 17), 17},    {palette(8, 0xFFFF, 0xFFFF), 0xFFFF},
        {palette(1, 3, 3), 3},           {palette(24, 5, 5), 5},      {palette(24, 0x10000, 0), 0},
        {palette(4, 0x10011, 17), 17},
    };
    for (const auto& c : cases) {
        const Bytes file = build(c.recipe);
        DibLayout layout;
        ASSERT_EQ(parse(file, layout), DibRefusal::None) << c.recipe.coloursUsed;
        ASSERT_EQ(layout.info.size(), 40 + 4 * c.entries);
        EXPECT_EQ(get32(layout.info, 32), c.entries);
        EXPECT_TRUE(std::equal(layout.info.begin() + 40, layout.info.end(), file.begin() + 54));
        EXPECT_EQ(layout.pixelOffset, 54 + 4 * c.entries);
    }
}

TEST(DibParse, RefusesColourTablesTheFileDoesNotHold)
{
    // 0x10000 colours announce no table, which a palette image cannot do without.
    for (const Recipe& recipe : {palette(24, 0xFFFF, 0), palette(8, 0xFFFF, 0), palette(8, 257, 256),
             palette(8, 0, 255), palette(8, 0x10000, 0), palette(1, 0x10000, 2), core(8, 255), core(4, 15)})
        EXPECT_EQ(parse(recipe), DibRefusal::ConversionError) << recipe.bitCount << " " << recipe.coloursUsed;
}

TEST(DibColourCount, FollowsColoursUsedOrBitCount)
{
    const struct {
        Recipe recipe;
        std::size_t length;
        std::uint16_t expected;
    } cases[] = {
        {core(1, 2), SIZE_MAX, 2}, {core(4, 16), SIZE_MAX, 16}, {core(8, 256), SIZE_MAX, 256},
        {core(24, 0), SIZE_MAX, 0}, {palette(1, 0, 2), SIZE_MAX, 2}, {palette(8, 0, 256), SIZE_MAX, 256},
        {palette(16, 0, 0), SIZE_MAX, 0}, {palette(32, 0, 0), SIZE_MAX, 0}, {palette(8, 17, 17), SIZE_MAX, 17},
        {palette(8, 300, 0), SIZE_MAX, 300}, {palette(8, 0x10000, 0), SIZE_MAX, 0},
        {palette(8, 0x1FFFF, 0), SIZE_MAX, 0xFFFF}, {core(8, 256), 11, 0}, {palette(8, 17, 0), 35, 0},
        {palette(8, 0, 0), 36, 256}, {palette(8, 17, 0), 3, 0}, {palette(8, 17, 0), 0, 0},
    };
    for (const auto& c : cases) {
        Recipe recipe = c.recipe;
        recipe.fileHeader = false;
        const Bytes file = build(recipe);
        const std::size_t length = std::min(c.length, file.size());
        EXPECT_EQ(dibColourCount(exactCopy(file, length).get(), length), c.expected)
            << recipe.bitCount << " bits, " << recipe.coloursUsed << " colours, " << length << " bytes";
    }
}

TEST(DibParse, WidensCoreColourEntries)
{
    Recipe recipe = core(1, 2);
    recipe.height = 2;
    DibLayout layout;
    ASSERT_EQ(parse(build(recipe), layout), DibRefusal::None);
    const Bytes expected{40, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0, 0x40, 0x80, 0, 1, 0x41, 0x81, 0};
    EXPECT_EQ(layout.info, expected);
    EXPECT_EQ(layout.pixelOffset, 32u);
    EXPECT_EQ(layout.pixelBytes, 8u);
}

TEST(DibParse, BitFieldsBringTheirMasks)
{
    const Bytes masks{0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    for (std::uint16_t bits : {16, 32}) {
        Recipe recipe = palette(bits, 0, 0);
        recipe.compression = 3;
        DibLayout layout;
        ASSERT_EQ(parse(build(recipe), layout), DibRefusal::None) << bits;
        ASSERT_EQ(layout.info.size(), 52u);
        EXPECT_EQ(Bytes(layout.info.begin() + 40, layout.info.end()), masks);
        EXPECT_EQ(layout.pixelOffset, 66u);
    }
}

TEST(DibParse, PixelsFollowTheColourTable)
{
    Recipe bitFields16 = palette(16, 2, 2), bitFields32 = palette(32, 0, 0);
    bitFields16.compression = bitFields32.compression = 3;
    const struct {
        Recipe recipe;
        std::size_t offset; // in a bare bitmap
    } cases[] = {
        {palette(8, 4, 4), 56}, {palette(24, 0, 0), 40}, {bitFields16, 60}, {bitFields32, 52}, {core(4, 16), 60}};
    for (const auto& c : cases) {
        for (bool fileHeader : {false, true}) {
            Recipe recipe = c.recipe;
            recipe.fileHeader = fileHeader;
            DibLayout layout;
            ASSERT_EQ(parse(build(recipe), layout), DibRefusal::None) << c.offset;
            EXPECT_EQ(layout.pixelOffset, c.offset + (fileHeader ? 14 : 0));
        }
    }
}

TEST(DibParse, AcceptsOnlyTwelveAndFortyByteHeaders)
{
    const struct {
        std::uint32_t headerSize;
        DibRefusal expected;
    } cases[] = {{12, DibRefusal::None}, {40, DibRefusal::None}, {64, DibRefusal::UnknownFormat},
        {108, DibRefusal::UnknownFormat}, {124, DibRefusal::UnknownFormat}, {0, DibRefusal::UnknownFormat},
        {0xFFFFFFFF, DibRefusal::UnknownFormat}};
    for (const auto& c : cases) {
        Recipe recipe;
        recipe.headerSize = c.headerSize;
        EXPECT_EQ(parse(recipe), c.expected) << c.headerSize;
    }
}

TEST(DibParse, RefusesEveryTruncation)
{
    Recipe bare = core(4, 16), bitFields = palette(16, 2, 2);
    bare.fileHeader = false;
    bitFields.compression = 3;
    for (const Recipe& recipe : {palette(8, 4, 4), bare, bitFields}) {
        const Bytes file = build(recipe);
        DibLayout layout;
        for (std::size_t length = 0; length < file.size(); ++length)
            EXPECT_EQ(parse(file, layout, length), DibRefusal::ConversionError) << length;
        EXPECT_EQ(parse(file, layout), DibRefusal::None);
    }
}

TEST(DibParse, PixelOffsetLiesBetweenColourTableAndEnd)
{
    Recipe recipe = palette(8, 4, 4);
    recipe.gap = 6;
    Bytes file = build(recipe); // colour table ends at 70, 24 bytes of pixels from 76 to 100
    const struct {
        std::uint32_t offset;
        bool accepted;
    } cases[] = {{76, true}, {70, true}, {69, false}, {20, false}, {0, false}, {77, false}, {100, false},
        {0x80000000, false}, {0xFFFFFFFF, false}};
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i)
            file[10 + i] = static_cast<std::uint8_t>(c.offset >> 8 * i);
        DibLayout layout;
        const DibRefusal refusal = parse(file, layout);
        EXPECT_EQ(refusal, c.accepted ? DibRefusal::None : DibRefusal::ConversionError) << c.offset;
        if (c.accepted) {
            EXPECT_EQ(layout.pixelOffset, c.offset);
        }
    }
}

TEST(DibParse, SidesRunFromOneToTheLimit)
{
    // Core sides are unsigned: a core height of 0xFFFF is 65535 rows, not one top-down row.
    const struct {
        std::uint32_t headerSize;
        std::int32_t width, height;
        std::size_t pixelBytes; // 0: refused
    } cases[] = {{40, maxI32, 1, 0}, {40, 1, maxI32, 0}, {40, minI32, 1, 0}, {40, 1, minI32, 0}, {40, 65536, 1, 0},
        {40, 1, 65536, 0}, {40, 1, -65536, 0}, {40, 16385, 1, 0}, {40, 1, 16385, 0}, {40, 1, -16385, 0},
        {40, 0, 1, 0}, {40, 1, 0, 0}, {40, -1, 1, 0}, {40, -5, 3, 0}, {12, 0xFFFF, 1, 0}, {12, 1, 0xFFFF, 0},
        {12, 16385, 1, 0}, {12, 0, 1, 0}, {12, 1, 0, 0}, {40, 16384, 1, 65536}, {40, 1, 16384, 65536},
        {40, 1, -16384, 65536}, {12, 16384, 1, 65536}, {12, 1, 16384, 65536}};
    for (const auto& c : cases) {
        Recipe recipe = palette(32, 0, 0);
        recipe.headerSize = c.headerSize;
        recipe.width = c.width;
        recipe.height = c.height;
        DibLayout layout;
        const DibRefusal refusal = parse(build(recipe), layout);
        EXPECT_EQ(refusal, c.pixelBytes ? DibRefusal::None : DibRefusal::ConversionError) << c.width << "x" << c.height;
        if (c.pixelBytes) {
            EXPECT_EQ(layout.pixelBytes, c.pixelBytes);
            EXPECT_EQ(layout.rows, std::abs(c.height));
        }
    }
}

TEST(DibParse, AcceptsOnlyKnownPixelFormats)
{
    const struct {
        Recipe recipe;
        std::uint32_t compression;
        std::uint16_t planes;
        bool accepted;
    } cases[] = {
        {palette(1, 0, 2), 0, 1, true}, {palette(4, 0, 16), 0, 1, true}, {palette(8, 0, 256), 0, 1, true},
        {palette(16, 0, 0), 0, 1, true}, {palette(24, 0, 0), 0, 1, true}, {palette(32, 0, 0), 0, 1, true},
        {palette(16, 0, 0), 3, 1, true}, {palette(32, 0, 0), 3, 1, true}, {core(8, 256), 0, 1, true},
        {core(24, 0), 0, 1, true}, {palette(0, 0, 0), 0, 1, false}, {palette(2, 4, 4), 0, 1, false},
        {palette(7, 4, 4), 0, 1, false}, {palette(48, 0, 0), 0, 1, false}, {palette(64, 0, 0), 0, 1, false},
        {core(2, 4), 0, 1, false}, {core(64, 0), 0, 1, false}, {palette(24, 0, 0), 0, 0, false},
        {palette(24, 0, 0), 0, 2, false}, {palette(24, 0, 0), 0, 0xFFFF, false}, {core(24, 0), 0, 2, false},
        {palette(8, 0, 256), 1, 1, false}, {palette(4, 0, 16), 2, 1, false}, {palette(24, 0, 0), 3, 1, false},
        {palette(8, 0, 256), 3, 1, false}, {palette(24, 0, 0), 4, 1, false}, {palette(24, 0, 0), 5, 1, false},
    };
    for (const auto& c : cases) {
        Recipe recipe = c.recipe;
        recipe.compression = c.compression;
        recipe.planes = c.planes;
        EXPECT_EQ(parse(recipe), c.accepted ? DibRefusal::None : DibRefusal::ConversionError)
            << recipe.headerSize << ": " << recipe.bitCount << " bits, compression " << c.compression << ", "
            << c.planes << " planes";
    }
}

TEST(ImageBytes, CountsOrRefuses)
{
    constexpr std::uint64_t big = 0x7FFFFFFF;
    const struct {
        std::int32_t width, rows;
        std::uint64_t rgb, section; // 0: refused
    } cases[] = {{5, 3, 45, 48}, {1, 1, 3, 4}, {4, 2, 24, 24}, {maxI32, 1, 3 * big, 3 * big + 3},
        {1, maxI32, 3 * big, 4 * big}, {65536, 65536, 3ull << 32, 3ull << 32}, {maxI32, maxI32, 3 * big * big,
        (3 * big + 3) * big}, {0, 1, 0, 0}, {1, 0, 0, 0}, {-1, 1, 0, 0}, {1, -1, 0, 0}, {minI32, minI32, 0, 0}};
    for (const auto& c : cases) {
        const struct {
            bool (*count)(std::int32_t, std::int32_t, std::size_t&);
            std::uint64_t expected;
        } counts[] = {{rgbImageBytes, c.rgb}, {sectionImageBytes, c.section}};
        for (const auto& count : counts) {
            std::size_t bytes = 0;
            const bool fits = count.expected != 0 && count.expected <= SIZE_MAX;
            ASSERT_EQ(count.count(c.width, c.rows, bytes), fits) << c.width << "x" << c.rows;
            if (fits) {
                EXPECT_EQ(bytes, count.expected) << c.width << "x" << c.rows;
            }
        }
    }
}

TEST(BitmapFileHeaders, WriteWhatTheParserReadsOrNothing)
{
    const struct {
        std::int32_t width, height;
        std::uint16_t bitCount;
        std::size_t pixelBytes; // 0: nothing written
    } cases[] = {{1, 1, 32, 4}, {5, 5, 32, 100}, {1280, 1280, 32, 4u * 1280 * 1280}, {5, 3, 24, 48},
        {0, 5, 32, 0}, {5, -1, 32, 0}, {32768, 32768, 32, 0} /* 4 GiB: no room in 32 bits */};
    for (const auto& c : cases) {
        Bytes file = bitmapFileHeaders(c.width, c.height, c.bitCount);
        if (c.pixelBytes == 0) {
            EXPECT_TRUE(file.empty()) << c.width << "x" << c.height;
            continue;
        }
        ASSERT_EQ(file.size(), 56u);
        file.resize(56 + c.pixelBytes);
        EXPECT_EQ(get32(file, 2), file.size());
        DibLayout layout;
        ASSERT_EQ(parseDib(file.data(), file.size(), layout), DibRefusal::None) << c.width;
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height) << "bottom-up";
        EXPECT_EQ(layout.pixelOffset, 56u);
        EXPECT_EQ(layout.pixelBytes, c.pixelBytes);
    }
}

TEST(CopySectionToRgb, DropsRowPaddingAndPutsRedFirst)
{
    const struct {
        std::int32_t width;
        std::size_t stride;
        Bytes rgb; // two rows
    } cases[] = {
        {1, 4, {3, 2, 1, 6, 5, 4}},
        {2, 8, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
        {3, 12, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
        {4, 12, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16, 21, 20, 19, 24, 23, 22}},
        {5, 16, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13,
                    18, 17, 16, 21, 20, 19, 24, 23, 22, 27, 26, 25, 30, 29, 28}},
    };
    for (const auto& c : cases) {
        // Pixel bytes count up from 1 in (blue, green, red) order; padding is 0xEE.
        std::unique_ptr<std::uint8_t[]> section(new std::uint8_t[2 * c.stride]);
        std::uint8_t next = 1;
        for (std::size_t i = 0; i < 2 * c.stride; ++i)
            section[i] = i % c.stride < 3 * static_cast<std::size_t>(c.width) ? next++ : 0xEE;
        std::size_t sectionBytes = 0, rgbBytes = 0;
        ASSERT_TRUE(sectionImageBytes(c.width, 2, sectionBytes) && rgbImageBytes(c.width, 2, rgbBytes));
        ASSERT_EQ(sectionBytes, 2 * c.stride);
        ASSERT_EQ(rgbBytes, c.rgb.size());
        std::unique_ptr<std::uint8_t[]> rgb(new std::uint8_t[rgbBytes]);
        copySectionToRgb(section.get(), c.width, 2, rgb.get());
        EXPECT_EQ(Bytes(rgb.get(), rgb.get() + rgbBytes), c.rgb) << c.width;
    }
}

} // namespace
