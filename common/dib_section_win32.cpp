// DIB section creation and its release, context before section.
#include "common/dib_section_win32.h"

#include "common/bitmap_format.h"

DibSection::DibSection(std::int32_t width, std::int32_t height, WORD bitCount, HANDLE fileMapping, DWORD offset)
    : width_(width), height_(height)
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
    void* pixels = nullptr;
    bitmap_ = GdiObject(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &pixels, fileMapping, offset));
    if (dc_.get() && bitmap_) {
        previous_ = SelectObject(dc_.get(), bitmap_.get());
        bits_ = static_cast<std::uint8_t*>(pixels);
    }
}

void DibSection::show(HDC target) const
{
    if (bits_)
        BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

// The section is put out of its context before either goes.
DibSection::~DibSection()
{
    if (previous_)
        SelectObject(dc_.get(), previous_);
}
