// DIB section creation and its release, context before section.
#include "common/dib_section_win32.h"

#include "common/bitmap_format.h"

DibSection::DibSection(std::int32_t width, std::int32_t height, WORD bitCount) : width_(width), height_(height)
{
    if (!paddedImageBytes(bitCount, width, height, imageBytes_) || imageBytes_ > MAXDWORD)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(imageBytes_);
    dc_ = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (dc_ && bitmap_) {
        previous_ = SelectObject(dc_, bitmap_);
        bits_ = static_cast<std::uint8_t*>(pixels);
    }
}

void DibSection::show(HDC target) const
{
    if (bits_)
        BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

DibSection::~DibSection()
{
    if (previous_)
        SelectObject(dc_, previous_);
    if (dc_)
        DeleteDC(dc_);
    if (bitmap_)
        DeleteObject(bitmap_);
}
