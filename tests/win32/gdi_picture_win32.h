// The tests' oracle for a snapshot file: the whole picture through GDI's conversion, as packed RGB
// rows, bottom row first.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// False with the message the renderer would show.
bool loadWithGdi(const std::wstring& name, RgbPicture& picture, std::wstring& message);
