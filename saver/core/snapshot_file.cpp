// Bitmap file headers for the snapshot.
#include "saver/core/snapshot_file.h"

namespace {

void put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::uint32_t BitmapPixelBytes(std::int32_t width, std::int32_t height, std::uint16_t bitCount)
{
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bitCount + 31) / 32 * 4;
    return stride * static_cast<std::uint32_t>(height);
}

std::vector<std::uint8_t> BitmapFileHeaders(std::int32_t width, std::int32_t height, std::uint16_t bitCount)
{
    constexpr std::uint32_t headersSize = 14 + 40;
    const std::uint32_t pixelBytes = BitmapPixelBytes(width, height, bitCount);
    std::vector<std::uint8_t> bytes = {'B', 'M'};
    put(bytes, headersSize + pixelBytes, 4);
    put(bytes, 0, 4);
    put(bytes, headersSize, 4);
    put(bytes, 40, 4);
    put(bytes, static_cast<std::uint32_t>(width), 4);
    put(bytes, static_cast<std::uint32_t>(height), 4);
    put(bytes, 1, 2);
    put(bytes, bitCount, 2);
    put(bytes, 0, 4);
    put(bytes, pixelBytes, 4);
    // 96 dots per inch, in dots per metre.
    put(bytes, 3780, 4);
    put(bytes, 3780, 4);
    put(bytes, 0, 4);
    put(bytes, 0, 4);
    return bytes;
}
