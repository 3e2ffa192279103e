// The library's gluScaleImage, step for step: its 8-bit components are widened to 16 bits
// (v * 257), filtered through a box in single precision with its centres computed in double, and cut
// back to 8 bits. The same operations in the same order give its results to the last bit.
#include "render/texture_scaling.h"

#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "common/bitmap_format.h"

namespace {

constexpr int components = 3;
// A box covers at most three source pixels along an axis while it is less than two wide: every
// ratio the texture's sides give (at most 1.5), and any enlargement.
constexpr int maxTaps = 3;

// Every output pixel's taps along one axis, in the order the box filter visits them: the source
// pixels under its box (as byte offsets) and the share of each that the box covers. Each pixel has
// `count` taps, the ones past its own with share 0, which add exactly nothing to the sums.
struct AxisTaps {
    int count = 0;
    std::vector<std::ptrdiff_t> offsets;
    std::vector<float> shares;
};

AxisTaps axisTaps(std::int32_t sourceSize, std::int32_t targetSize, std::ptrdiff_t step)
{
    // Shrinking, the box is an output pixel wide in the source; enlarging, one source pixel.
    const bool shrinking = sourceSize > targetSize;
    AxisTaps axis;
    axis.count = shrinking ? maxTaps : 2;
    axis.offsets.assign(static_cast<std::size_t>(targetSize) * axis.count, 0);
    axis.shares.assign(axis.offsets.size(), 0.0f);
    const float scale = static_cast<float>(sourceSize) / static_cast<float>(targetSize);
    const float halfScale = scale / 2;
    for (std::int32_t target = 0; target < targetSize; ++target) {
        const float centre = static_cast<float>(scale * (target + 0.5));
        const float low = shrinking ? centre - halfScale : static_cast<float>(centre - 0.5);
        const float high = shrinking ? centre + halfScale : static_cast<float>(centre + 0.5);
        const std::size_t first = static_cast<std::size_t>(target) * axis.count;
        float position = low;
        auto cell = static_cast<std::int32_t>(std::floor(position));
        for (int tap = 0; position < high && tap < axis.count; ++tap) {
            const auto cellEnd = static_cast<float>(cell + 1);
            // A box that reaches past an edge wraps to the other side, as the library's does.
            axis.offsets[first + tap] = (cell + sourceSize) % sourceSize * step;
            axis.shares[first + tap] = (high < cellEnd ? high : cellEnd) - position;
            ++cell;
            position = static_cast<float>(cell);
        }
    }
    return axis;
}

using WideTable = std::array<float, 256>;

WideTable wideComponents()
{
    WideTable wide{};
    for (int value = 0; value < 256; ++value)
        wide[value] = static_cast<float>(value * 257);
    return wide;
}

// The tap counts are constants here, so that the loops unroll.
template <int ColumnTaps, int RowTaps>
void filterRows(const PixelRows& source, const AxisTaps& columns, const AxisTaps& rows, std::int32_t height,
                std::int32_t width, std::uint8_t* target)
{
    static const WideTable wide = wideComponents();
    for (std::int32_t y = 0; y < height; ++y) {
        const std::ptrdiff_t* rowOffsets = &rows.offsets[static_cast<std::size_t>(y) * RowTaps];
        const float* rowShares = &rows.shares[static_cast<std::size_t>(y) * RowTaps];
        const std::ptrdiff_t* columnOffsets = columns.offsets.data();
        const float* columnShares = columns.shares.data();
        for (std::int32_t x = 0; x < width; ++x) {
            float totals[components] = {0, 0, 0};
            float area = 0;
            for (int r = 0; r < RowTaps; ++r) {
                const std::uint8_t* line = source.data + rowOffsets[r];
                for (int c = 0; c < ColumnTaps; ++c) {
                    const float share = columnShares[c] * rowShares[r];
                    area += share;
                    const std::uint8_t* pixel = line + columnOffsets[c];
                    for (int k = 0; k < components; ++k)
                        totals[k] += wide[pixel[k]] * share;
                }
            }
            for (int k = 0; k < components; ++k, ++target)
                *target = static_cast<std::uint8_t>(static_cast<std::uint32_t>((totals[k] + 0.5) / area) >> 8);
            columnOffsets += ColumnTaps;
            columnShares += ColumnTaps;
        }
    }
}

using RowFilter = void (*)(const PixelRows&, const AxisTaps&, const AxisTaps&, std::int32_t, std::int32_t,
                           std::uint8_t*);

RowFilter rowFilter(int columnTaps, int rowTaps)
{
    if (columnTaps == 2)
        return rowTaps == 2 ? filterRows<2, 2> : filterRows<2, maxTaps>;
    return rowTaps == 2 ? filterRows<maxTaps, 2> : filterRows<maxTaps, maxTaps>;
}

void boxFilter(const PixelRows& source, std::int32_t width, std::int32_t height, std::uint8_t* target)
{
    const AxisTaps columns = axisTaps(source.width, width, source.bytesPerPixel);
    const AxisTaps rows = axisTaps(source.height, height, source.stride);
    rowFilter(columns.count, rows.count)(source, columns, rows, height, width, target);
}

// Exactly half in both directions: the library averages each 2 x 2 block of widened components.
void halve(const PixelRows& source, std::int32_t width, std::int32_t height, std::uint8_t* target)
{
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* lower = source.data + 2 * y * source.stride;
        const std::uint8_t* upper = lower + source.stride;
        const std::int32_t step = source.bytesPerPixel;
        for (std::int32_t x = 0; x < width; ++x, target += components) {
            const std::int32_t at = 2 * x * step;
            for (int k = 0; k < components; ++k) {
                const std::uint32_t sum =
                    257u * (lower[at + k] + lower[at + step + k] + upper[at + k] + upper[at + step + k]);
                target[k] = static_cast<std::uint8_t>((sum + 2) / 4 >> 8);
            }
        }
    }
}

// The same size: the library gives every pixel back as it was.
void copyRows(const PixelRows& source, std::uint8_t* target)
{
    for (std::int32_t y = 0; y < source.height; ++y) {
        const std::uint8_t* pixel = source.data + y * source.stride;
        for (std::int32_t x = 0; x < source.width; ++x, pixel += source.bytesPerPixel, target += components)
            std::memcpy(target, pixel, components);
    }
}

} // namespace

bool uncompressedRows(const std::uint8_t* file, const DibLayout& layout, PixelRows& rows)
{
    const std::uint16_t bitCount = static_cast<std::uint16_t>(layout.info[14] | layout.info[15] << 8);
    const bool compressed = layout.info[16] | layout.info[17] | layout.info[18] | layout.info[19];
    std::size_t stride = 0;
    if (compressed || (bitCount != 24 && bitCount != 32) || !paddedImageBytes(bitCount, layout.width, 1, stride))
        return false;
    const auto step = static_cast<std::ptrdiff_t>(stride);
    const std::uint8_t* first = file + layout.pixelOffset;
    const bool topDown = layout.height < 0;
    rows = {topDown ? first + (layout.rows - 1) * step : first, topDown ? -step : step, bitCount / 8, layout.width,
            layout.rows};
    return true;
}

std::int32_t nearestPowerOfTwo(std::int32_t side)
{
    if (side <= 0)
        return 0;
    std::int32_t power = 1;
    while (power <= side / 2)
        power *= 2;
    // Its top two bits both set: the library rounds up.
    return power > 1 && side >= power + power / 2 ? 2 * power : power;
}

std::unique_ptr<std::uint8_t[]> scaleImage(const PixelRows& source, std::int32_t width, std::int32_t height)
{
    std::size_t bytes = 0;
    const bool halving = source.width == 2 * width && source.height == 2 * height;
    const bool withinTaps = source.width < 2 * width && source.height < 2 * height;
    if (source.width <= 0 || source.height <= 0 || !rgbImageBytes(width, height, bytes) || !(halving || withinTaps))
        return nullptr;
    std::unique_ptr<std::uint8_t[]> target(new (std::nothrow) std::uint8_t[bytes]);
    if (!target)
        return nullptr;
    if (source.width == width && source.height == height)
        copyRows(source, target.get());
    else if (halving)
        halve(source, width, height, target.get());
    else
        boxFilter(source, width, height, target.get());
    return target;
}
