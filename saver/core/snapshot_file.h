// The headers of the snapshot bitmap file that the show saves for the renderer.
#pragma once
#include <cstdint>
#include <vector>

// File header and 40-byte information header of an uncompressed bottom-up bitmap of the given size and bit depth.
std::vector<std::uint8_t> BitmapFileHeaders(std::int32_t width, std::int32_t height, std::uint16_t bitCount);
// Bytes of the pixel rows, each padded to four bytes.
std::uint32_t BitmapPixelBytes(std::int32_t width, std::int32_t height, std::uint16_t bitCount);
