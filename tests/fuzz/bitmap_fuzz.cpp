// libFuzzer target: arbitrary bytes through parseDib. An accepted layout must keep every
// read GDI makes from it inside the input, and must convert without fault. The first bytes also
// choose a size for the header writer, whose file the parser must read back as written.
#include "common/bitmap_format.h"
#include "tests/section_rgb.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

std::uint64_t field(const std::vector<std::uint8_t>& info, std::size_t offset, std::size_t bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = bytes; i-- > 0;)
        value = value << 8 | info.at(offset + i);
    return value;
}

// What GDI reads, worked out again from the info block alone.
void checkInfo(const DibLayout& layout, std::size_t fileSize)
{
    const std::vector<std::uint8_t>& info = layout.info;
    require(info.size() >= 40 && field(info, 0, 4) == 40);
    const std::uint64_t masks = field(info, 16, 4) == 3 ? 12 : 0;
    require(info.size() >= 40 + masks + 4 * field(info, 32, 4));
    const std::uint64_t width = field(info, 4, 4);
    const std::uint64_t bits = field(info, 14, 2);
    require(static_cast<std::int32_t>(width) == layout.width && width >= 1 && width <= maxDibSide);
    require(static_cast<std::int32_t>(field(info, 8, 4)) == layout.height);
    require(layout.rows >= 1 && layout.rows <= maxDibSide);
    const std::uint64_t rowBytes = (bits * width + 31) / 32 * 4;
    require(layout.pixelBytes >= rowBytes * static_cast<std::uint64_t>(layout.rows));
    require(layout.pixelOffset <= fileSize && layout.pixelBytes <= fileSize - layout.pixelOffset);
}

void convert(const DibLayout& layout)
{
    std::size_t sectionBytes = 0;
    std::size_t rgbBytes = 0;
    require(sectionImageBytes(layout.width, layout.rows, sectionBytes));
    require(rgbImageBytes(layout.width, layout.rows, rgbBytes));
    // Big sections only cost time: the conversion does the same for every row.
    if (sectionBytes >= (4u << 20))
        return;
    const std::vector<std::uint8_t> section(sectionBytes);
    std::vector<std::uint8_t> rgb(rgbBytes);
    copySectionToRgb(section.data(), layout.width, layout.rows, rgb.data());
}

std::int32_t signedField(const std::uint8_t* data, std::size_t offset)
{
    return static_cast<std::int32_t>(data[offset] | data[offset + 1] << 8 | data[offset + 2] << 16
                                     | static_cast<std::uint32_t>(data[offset + 3]) << 24);
}

void writeAndReadBack(const std::uint8_t* data, std::size_t size)
{
    if (size < 10)
        return;
    const std::int32_t width = signedField(data, 0);
    const std::int32_t height = signedField(data, 4);
    const std::uint16_t bitCount = static_cast<std::uint16_t>(data[8] | data[9] << 8);
    std::vector<std::uint8_t> file = bitmapFileHeaders(width, height, bitCount);
    std::size_t pixelBytes = 0;
    const bool sized = paddedImageBytes(bitCount, width, height, pixelBytes);
    require(file.empty() || (sized && file.size() == 56));
    // Files too large to build here prove nothing more than their headers.
    if (file.empty() || pixelBytes > (1u << 20))
        return;
    file.resize(file.size() + pixelBytes);
    DibLayout layout;
    const bool known = bitCount == 16 || bitCount == 24 || bitCount == 32;
    if (!known || width > maxDibSide || height > maxDibSide)
        return;
    require(parseDib(file.data(), file.size(), layout) == DibRefusal::None);
    require(layout.width == width && layout.height == height && layout.pixelOffset == 56);
    require(layout.pixelBytes == pixelBytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeAndReadBack(data, size);
    DibLayout layout;
    if (parseDib(data, size, layout) != DibRefusal::None)
        return 0;
    checkInfo(layout, size);
    convert(layout);
    return 0;
}
