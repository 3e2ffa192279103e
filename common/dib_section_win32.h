// A memory device context with an uncompressed bottom-up DIB section selected into it: the
// picture the show copies the desktop into, the 24-bit target of the renderer's conversion, and
// the surfaces the settings dialog and its buttons keep their painting on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <windows.h>

#include "common/gdi_objects_win32.h"

class DibSection {
public:
    DibSection(std::int32_t width, std::int32_t height, WORD bitCount) : DibSection(width, height, bitCount, nullptr, 0)
    {
    }
    // The pixels in a file mapping from byte offset on, a multiple of four: whatever is drawn lands
    // in the file itself.
    DibSection(std::int32_t width, std::int32_t height, WORD bitCount, HANDLE fileMapping, DWORD offset);
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    // Null when the context or the section could not be made.
    std::uint8_t* bits() const { return bits_; }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.bitmap(); }
    // Copies the whole picture to target's top-left corner.
    void show(HDC target) const;
    // The pixel rows, each padded to four bytes.
    std::size_t imageBytes() const { return imageBytes_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

private:
    // Declared in this order so that the context goes before the section.
    GdiObject bitmap_;
    MemoryDc dc_{nullptr};
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::size_t imageBytes_ = 0;
    std::int32_t width_;
    std::int32_t height_;
};
