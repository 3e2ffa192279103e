// The snapshot bitmap file (.bmp) that both programs share: the front end writes its headers, the
// renderer reads it into the pieces SetDIBits needs and turns a 24-bit DIB section into RGB rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum class DibRefusal { None, UnknownFormat, ConversionError };

struct DibLayout {
    // What SetDIBits reads: a 40-byte BITMAPINFOHEADER, the three 32-bit colour masks when
    // compression is 3, then the colour entries as (blue, green, red, reserved).
    std::vector<std::uint8_t> info;
    std::size_t pixelOffset = 0; // where the pixel rows start in the file
    std::size_t pixelBytes = 0;  // all pixel rows, each padded to 4 bytes
    std::int32_t width = 0;
    std::int32_t height = 0; // negative for a top-down bitmap
    std::int32_t rows = 0;   // |height|
};

constexpr std::int32_t maxDibSide = 16384;

// Colour entries the bitmap header announces; 0 when the fields it needs lie past size,
// the count of bytes from the header start to the end of the file.
std::uint16_t dibColourCount(const std::uint8_t* header, std::size_t size);

// The file may be hostile: a layout is only produced when the header, masks, colour table
// and every pixel row lie inside the size bytes at data.
DibRefusal parseDib(const std::uint8_t* data, std::size_t size, DibLayout& layout);

// Bytes of rows of bitsPerPixel-bit pixels, each padded to a whole 32-bit word; false when a side
// is not positive or the count overflows size_t.
bool paddedImageBytes(std::size_t bitsPerPixel, std::int32_t width, std::int32_t rows, std::size_t& bytes);

// File header and 40-byte information header of an uncompressed bottom-up bitmap of the given size
// and bit depth, and two bytes of padding: its pixel rows start at byte 56, a 32-bit boundary, so
// that a DIB section can be made on the file itself. Empty when a side is not positive or the file
// would be too large for the header.
std::vector<std::uint8_t> bitmapFileHeaders(std::int32_t width, std::int32_t height, std::uint16_t bitCount);

// Bytes of a packed RGB image; false when a side is not positive or the count overflows size_t.
bool rgbImageBytes(std::int32_t width, std::int32_t rows, std::size_t& bytes);

// Bytes of a 24-bit DIB section, whose rows are padded to a multiple of 4 bytes; false as above.
bool sectionImageBytes(std::int32_t width, std::int32_t rows, std::size_t& bytes);
