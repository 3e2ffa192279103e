// A 24-bit DIB section's rows of (blue, green, red) pixels as packed (red, green, blue) rows, in
// the same order: how the tests compare what GDI made of a picture with what they expect.
#pragma once
#include <cstddef>
#include <cstdint>

inline void copySectionToRgb(const std::uint8_t* section, std::int32_t width, std::int32_t rows, std::uint8_t* rgb)
{
    if (width <= 0 || rows <= 0)
        return;
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    // 3 * width + width % 4 is always a multiple of 4: the padding is width % 4 bytes.
    const std::size_t stride = rowBytes + static_cast<std::size_t>(width % 4);
    for (std::int32_t row = 0; row < rows; ++row, section += stride) {
        for (std::size_t x = 0; x < rowBytes; x += 3, rgb += 3) {
            rgb[0] = section[x + 2];
            rgb[1] = section[x + 1];
            rgb[2] = section[x];
        }
    }
}
