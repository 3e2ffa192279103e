// The user's wallpaper as Windows' default "Fill" shows it, decoded by the system's own image
// codecs (the Windows Imaging Component).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The picture in the file, whatever its name says (Windows keeps a JPEG as "TranscodedWallpaper"),
// scaled to cover a width x height desktop and centred: top-down rows of blue, green, red, unused.
// Empty when the file cannot be read or decoded.
std::vector<std::uint8_t> FilledPicture(const std::wstring& path, std::int32_t width, std::int32_t height);
// The same for the wallpaper the user has set; empty when there is none.
std::vector<std::uint8_t> FilledWallpaper(std::int32_t width, std::int32_t height);
