// The snapshot file as bytes, read with its layout checked, and GDI's conversion of the layouts that
// are not read directly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <windows.h>

#include "common/bitmap_format.h"
#include "common/dib_section_win32.h"

extern const wchar_t outOfMemory[];

// The file's bytes, mapped; no view when it cannot be opened or mapped (an empty file cannot).
struct MappedFile {
    explicit MappedFile(const std::wstring& name);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const std::uint8_t* view = nullptr;
    std::size_t size = 0;
};

// The mapped file's layout, checked against its size; false with the message the user sees.
bool parseFile(const std::wstring& name, const MappedFile& file, DibLayout& layout, std::wstring& message);
// The file converted by GDI into a 24-bit bottom-up DIB section, so a top-down file comes out
// upright too; null with the message the user sees.
std::unique_ptr<DibSection> convertFile(const MappedFile& file, const DibLayout& layout, std::wstring& message);
