// The snapshot bitmap format: every read is bounds-checked and every size overflow-checked,
// because any local user can write the file the renderer loads.
#include "common/bitmap_format.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t pixelOffsetField = 10;
constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::size_t maskBytes = 12;
constexpr std::uint32_t rgbCompression = 0;
constexpr std::uint32_t bitFieldsCompression = 3;

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
};

bool fits(Bytes bytes, std::size_t offset, std::size_t count)
{
    return offset <= bytes.size && count <= bytes.size - offset;
}

bool readU16(Bytes bytes, std::size_t offset, std::uint16_t& value)
{
    if (!fits(bytes, offset, 2))
        return false;
    value = static_cast<std::uint16_t>(bytes.data[offset] | bytes.data[offset + 1] << 8);
    return true;
}

bool readU32(Bytes bytes, std::size_t offset, std::uint32_t& value)
{
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!readU16(bytes, offset, low) || !readU16(bytes, offset + 2, high))
        return false;
    value = static_cast<std::uint32_t>(high) << 16 | low;
    return true;
}

bool readI32(Bytes bytes, std::size_t offset, std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!readU32(bytes, offset, raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

void putU16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint16_t value)
{
    out[offset] = static_cast<std::uint8_t>(value);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value)
{
    putU16(out, offset, static_cast<std::uint16_t>(value));
    putU16(out, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t paletteSize(std::uint16_t bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

struct Header {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = rgbCompression;
    std::uint16_t colours = 0;
};

// Core headers hold 16-bit sides, which are unsigned: a core bitmap is never top-down.
bool readCoreHeader(Bytes header, Header& out)
{
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    if (!readU16(header, 4, width) || !readU16(header, 6, height) || !readU16(header, 8, out.planes)
        || !readU16(header, 10, out.bitCount))
        return false;
    out.width = width;
    out.height = height;
    return true;
}

bool readInfoHeader(Bytes header, Header& out)
{
    return readI32(header, 4, out.width) && readI32(header, 8, out.height) && readU16(header, 12, out.planes)
        && readU16(header, 14, out.bitCount) && readU32(header, 16, out.compression);
}

bool readHeader(Bytes header, Header& out)
{
    out.colours = dibColourCount(header.data, header.size);
    return out.size == coreHeaderSize ? readCoreHeader(header, out) : readInfoHeader(header, out);
}

bool sideInRange(std::int64_t side)
{
    return side >= 1 && side <= maxDibSide;
}

// Widened first: the height of a top-down bitmap may be INT32_MIN.
std::int64_t magnitude(std::int32_t value)
{
    return value < 0 ? -std::int64_t{value} : value;
}

bool supported(const Header& header)
{
    const std::uint16_t bits = header.bitCount;
    const bool knownBits = paletteSize(bits) != 0 || bits == 16 || bits == 24 || bits == 32;
    const bool knownCompression = header.compression == rgbCompression
        || (header.compression == bitFieldsCompression && (bits == 16 || bits == 32));
    const bool hasPalette = paletteSize(bits) == 0 || header.colours != 0;
    return header.planes == 1 && knownBits && knownCompression && hasPalette && sideInRange(header.width)
        && sideInRange(magnitude(header.height));
}

std::size_t masksAfter(const Header& header)
{
    return header.compression == bitFieldsCompression ? maskBytes : 0;
}

std::size_t entryBytes(const Header& header)
{
    return header.size == coreHeaderSize ? 3 : 4;
}

// Core colour entries are three bytes; GDI is given four-byte entries like an info header's.
std::vector<std::uint8_t> coreInfo(const Header& header, Bytes table)
{
    std::vector<std::uint8_t> info(infoHeaderSize + 4 * std::size_t{header.colours});
    putU32(info, 0, infoHeaderSize);
    putU32(info, 4, static_cast<std::uint32_t>(header.width));
    putU32(info, 8, static_cast<std::uint32_t>(header.height));
    putU16(info, 12, header.planes);
    putU16(info, 14, header.bitCount);
    putU32(info, 36, header.colours);
    for (std::size_t entry = 0; entry < header.colours; ++entry)
        std::copy_n(table.data + 3 * entry, 3, info.data() + infoHeaderSize + 4 * entry);
    return info;
}

// Header, masks and colour table lie back to back in an info bitmap, so one copy takes them all.
std::vector<std::uint8_t> infoBlock(const Header& header, Bytes headerOn, Bytes table)
{
    if (header.size == coreHeaderSize)
        return coreInfo(header, table);
    return std::vector<std::uint8_t>(headerOn.data, table.data + table.size);
}

bool findPixels(Bytes file, bool hasFileHeader, std::size_t tableEnd, std::size_t& offset)
{
    if (!hasFileHeader) {
        offset = tableEnd;
        return true;
    }
    std::uint32_t stored = 0;
    if (!readU32(file, pixelOffsetField, stored) || stored < tableEnd)
        return false;
    offset = stored;
    return true;
}

} // namespace

bool paddedImageBytes(std::size_t bitsPerPixel, std::int32_t width, std::int32_t rows, std::size_t& bytes)
{
    if (width <= 0 || rows <= 0)
        return false;
    std::size_t rowBits = 0;
    if (__builtin_mul_overflow(bitsPerPixel, static_cast<std::size_t>(width), &rowBits)
        || __builtin_add_overflow(rowBits, std::size_t{31}, &rowBits))
        return false;
    const std::size_t stride = rowBits / 32 * 4;
    return !__builtin_mul_overflow(stride, static_cast<std::size_t>(rows), &bytes);
}

std::uint16_t dibColourCount(const std::uint8_t* header, std::size_t size)
{
    const Bytes bytes{header, size};
    std::uint32_t headerSize = 0;
    std::uint16_t bitCount = 0;
    if (!readU32(bytes, 0, headerSize))
        return 0;
    if (headerSize == coreHeaderSize)
        return readU16(bytes, 10, bitCount) ? paletteSize(bitCount) : 0;
    std::uint32_t used = 0;
    if (!readU32(bytes, 32, used))
        return 0;
    // Only the low 16 bits count, so a count of 0x10000 announces no table at all.
    if (used != 0)
        return static_cast<std::uint16_t>(used & 0xFFFF);
    return readU16(bytes, 14, bitCount) ? paletteSize(bitCount) : 0;
}

DibRefusal parseDib(const std::uint8_t* data, std::size_t size, DibLayout& layout)
{
    const Bytes file{data, size};
    const bool hasFileHeader = size >= 2 && data[0] == 'B' && data[1] == 'M';
    const std::size_t headerStart = hasFileHeader ? fileHeaderSize : 0;
    Header header;
    if (!readU32(file, headerStart, header.size))
        return DibRefusal::ConversionError;
    if (header.size != coreHeaderSize && header.size != infoHeaderSize)
        return DibRefusal::UnknownFormat;
    if (!fits(file, headerStart, header.size))
        return DibRefusal::ConversionError;

    const Bytes headerOn{data + headerStart, size - headerStart};
    if (!readHeader(headerOn, header) || !supported(header))
        return DibRefusal::ConversionError;

    const std::size_t tableStart = headerStart + header.size + masksAfter(header);
    const std::size_t tableBytes = entryBytes(header) * header.colours;
    DibLayout result;
    result.width = header.width;
    result.height = header.height;
    result.rows = static_cast<std::int32_t>(magnitude(header.height));
    if (!fits(file, tableStart, tableBytes)
        || !findPixels(file, hasFileHeader, tableStart + tableBytes, result.pixelOffset)
        || !paddedImageBytes(header.bitCount, result.width, result.rows, result.pixelBytes)
        || !fits(file, result.pixelOffset, result.pixelBytes))
        return DibRefusal::ConversionError;

    result.info = infoBlock(header, headerOn, Bytes{data + tableStart, tableBytes});
    // GDI sizes its reads from these two fields, so they must describe what was checked above.
    putU32(result.info, 20, static_cast<std::uint32_t>(result.pixelBytes));
    putU32(result.info, 32, header.colours);
    layout = std::move(result);
    return DibRefusal::None;
}

bool rgbImageBytes(std::int32_t width, std::int32_t rows, std::size_t& bytes)
{
    std::size_t pixels = 0;
    return width > 0 && rows > 0
        && !__builtin_mul_overflow(static_cast<std::size_t>(width), static_cast<std::size_t>(rows), &pixels)
        && !__builtin_mul_overflow(pixels, std::size_t{3}, &bytes);
}

bool sectionImageBytes(std::int32_t width, std::int32_t rows, std::size_t& bytes)
{
    return paddedImageBytes(24, width, rows, bytes);
}

std::vector<std::uint8_t> bitmapFileHeaders(std::int32_t width, std::int32_t height, std::uint16_t bitCount)
{
    // Two bytes of padding put the rows on a 32-bit boundary, where a DIB section can lie.
    constexpr std::size_t headersSize = fileHeaderSize + infoHeaderSize + 2;
    std::size_t pixelBytes = 0;
    if (!paddedImageBytes(bitCount, width, height, pixelBytes) || pixelBytes > UINT32_MAX - headersSize)
        return {};
    std::vector<std::uint8_t> headers(headersSize);
    headers[0] = 'B';
    headers[1] = 'M';
    putU32(headers, 2, static_cast<std::uint32_t>(headersSize + pixelBytes));
    putU32(headers, pixelOffsetField, headersSize);
    putU32(headers, fileHeaderSize, infoHeaderSize);
    putU32(headers, fileHeaderSize + 4, static_cast<std::uint32_t>(width));
    putU32(headers, fileHeaderSize + 8, static_cast<std::uint32_t>(height));
    putU16(headers, fileHeaderSize + 12, 1);
    putU16(headers, fileHeaderSize + 14, bitCount);
    putU32(headers, fileHeaderSize + 20, static_cast<std::uint32_t>(pixelBytes));
    // 96 dots per inch, in dots per metre.
    putU32(headers, fileHeaderSize + 24, 3780);
    putU32(headers, fileHeaderSize + 28, 3780);
    return headers;
}
