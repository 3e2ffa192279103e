// The snapshot texture's one level: the picture scaled to power-of-two sides as the GL utility
// library scales it (the sides gluBuild2DMipmaps picks, the box filter of gluScaleImage), made
// without a GL context so that it can be ready before there is one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

// The library's "nearest" power of two: a side of 1.5 times a power of two or more rounds up.
std::int32_t nearestPowerOfTwo(std::int32_t side);

struct DibLayout;

// Pixels whose first three bytes are their components, in either order, bytesPerPixel apart. Row r
// starts at data + r * stride: a negative stride walks a top-down bitmap from its bottom row.
struct PixelRows {
    const std::uint8_t* data = nullptr;
    std::ptrdiff_t stride = 0;
    std::int32_t bytesPerPixel = 3;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The rows of a parsed file as they lie in it, bottom row first, where they need no conversion:
// uncompressed 24- and 32-bit pixels, what the front end writes. False for every other kind.
bool uncompressedRows(const std::uint8_t* file, const DibLayout& layout, PixelRows& rows);

// The source at width x height, in packed rows of three bytes a pixel, in the same component order
// and row order; null when a side is not positive, when the source is twice as large or more
// without being exactly twice (a box would cover more taps than the filter keeps), or when the
// memory cannot be had.
std::unique_ptr<std::uint8_t[]> scaleImage(const PixelRows& source, std::int32_t width, std::int32_t height);
