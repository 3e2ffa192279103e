// Snapshot geometry, the one-colour test, the "Fill" crop and the program's own picture.
#include "saver/core/snapshot_picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

int SnapshotDesktopTop(int width, int height)
{
    return static_cast<int>(std::nearbyint((static_cast<double>(width) - height) / 2));
}

RowSpan SnapshotDesktopRows(int width, int height)
{
    const int top = SnapshotDesktopTop(width, height);
    return {std::max(0, top), std::min(width, top + height)};
}

bool IsOneColour(const std::uint8_t* pixels, std::size_t count)
{
    for (std::size_t i = 1; i < count; ++i) {
        if (std::memcmp(pixels, pixels + 4 * i, 3) != 0)
            return false;
    }
    return true;
}

namespace {

// a * b / c rounded to the nearest, at least 1 and at most limit.
std::int32_t scaledSide(std::int64_t a, std::int64_t b, std::int64_t c, std::int32_t limit)
{
    const std::int64_t side = (2 * a * b + c) / (2 * c);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(side, 1, limit));
}

} // namespace

PictureArea FillArea(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t desktopWidth,
                     std::int32_t desktopHeight)
{
    if (std::int64_t{pictureWidth} * desktopHeight > std::int64_t{pictureHeight} * desktopWidth) {
        const std::int32_t width = scaledSide(pictureHeight, desktopWidth, desktopHeight, pictureWidth);
        return {(pictureWidth - width) / 2, 0, width, pictureHeight};
    }
    const std::int32_t height = scaledSide(pictureWidth, desktopHeight, desktopWidth, pictureHeight);
    return {0, (pictureHeight - height) / 2, pictureWidth, height};
}

void DrawOwnPicture(std::uint8_t* pixels, std::int32_t width, std::int32_t height)
{
    // Red and green of each tile's colour; neighbours never share one (steps of 3 and 5 in 7).
    static const std::uint8_t palette[7][2] = {{255, 40}, {40, 255}, {255, 200}, {255, 110},
                                               {150, 255}, {200, 60}, {60, 200}};
    const std::int32_t tile = std::max(8, height / 9);
    const std::int32_t line = std::max(1, tile / 16);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = pixels + std::size_t{4} * static_cast<std::size_t>(width) * static_cast<std::size_t>(y);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::int32_t across = x % tile, down = y % tile;
            const std::uint8_t* colour = palette[(x / tile * 3 + y / tile * 5) % 7];
            // Brighter towards each tile's lower right: the tiles read as raised.
            const int shade = across < line || down < line ? 0 : 150 + 105 * (across + down) / (2 * tile);
            std::uint8_t* pixel = row + 4 * static_cast<std::size_t>(x);
            pixel[0] = 0;
            pixel[1] = static_cast<std::uint8_t>(colour[1] * shade / 255);
            pixel[2] = static_cast<std::uint8_t>(colour[0] * shade / 255);
            pixel[3] = 0;
        }
    }
}
