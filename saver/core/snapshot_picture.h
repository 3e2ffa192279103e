// The desktop's place in the square snapshot, and what stands in for the desktop where it cannot be
// read: the test that finds a blank copy, the part of a wallpaper that Windows' "Fill" shows, and
// the program's own picture.
#pragma once
#include <cstddef>
#include <cstdint>

// Where the desktop's top row lands in the square snapshot: (W - H) / 2 rounded half to even.
int SnapshotDesktopTop(int width, int height);

// Rows of the W x W snapshot, counted from its top, that the W x H desktop covers: first to end.
struct RowSpan {
    int first;
    int end;
};
RowSpan SnapshotDesktopRows(int width, int height);

// Whether each of the 32-bit pixels (blue, green, red, unused) has the first one's colour.
bool IsOneColour(const std::uint8_t* pixels, std::size_t count);

struct PictureArea {
    std::int32_t x, y, width, height;
};
// The part of a picture that Windows' "Fill" shows on a desktop: the largest part of the desktop's
// shape, centred, which is then scaled to cover the desktop.
PictureArea FillArea(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t desktopWidth,
                     std::int32_t desktopHeight);

// The program's own picture as top-down 32-bit rows: tiles in reds, greens and yellows (the sheets'
// tints have no blue, so blue would never show), with dark lines between them for the sheets to carry.
void DrawOwnPicture(std::uint8_t* pixels, std::int32_t width, std::int32_t height);
