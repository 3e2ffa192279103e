// Snapshot loading: the file is mapped, parsed with bounds checks, converted by GDI to 24-bit,
// scaled to the texture's sides and uploaded.
#include "render/snapshot_win32.h"

#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <windows.h>
#include <GL/gl.h>

#include "common/bitmap_format.h"
#include "common/dib_section_win32.h"
#include "common/snapshot_place_win32.h"
#include "common/trace_win32.h"
#include "render/texture_scaling.h"

bool errorPopups = true;
unsigned int textureNames[1] = {0};

namespace {

const wchar_t outOfMemory[] = L"Out of memory.";
const wchar_t unknownFormat[] = L"Unknown DIB file format.";
const wchar_t conversionError[] = L"Image file conversion error.";

// The file's bytes, released in the reverse order of opening.
struct MappedFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const std::uint8_t* view = nullptr;
    std::size_t size = 0;

    explicit MappedFile(const std::wstring& name)
    {
        file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        LARGE_INTEGER length{};
        // An empty file cannot be mapped, and a file too large for the address space cannot be viewed.
        if (!GetFileSizeEx(file, &length) || static_cast<unsigned long long>(length.QuadPart) > SIZE_MAX)
            return;
        mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (!mapping)
            return;
        view = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        size = static_cast<std::size_t>(length.QuadPart);
    }
    ~MappedFile()
    {
        if (view)
            UnmapViewOfFile(view);
        if (mapping)
            CloseHandle(mapping);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
};

const wchar_t* refusalMessage(DibRefusal refusal)
{
    return refusal == DibRefusal::UnknownFormat ? unknownFormat : conversionError;
}

// The mapped file's layout, checked against its size; false after saying what went wrong.
bool parseFile(const std::wstring& name, const MappedFile& file, DibLayout& layout, std::wstring& message)
{
    message.clear();
    if (!file.view) {
        message = L"Failed to open DIB file " + name + L".\n";
        return false;
    }
    DibRefusal refusal = parseDib(file.view, file.size, layout);
    if (refusal != DibRefusal::None)
        message = refusalMessage(refusal);
    return refusal == DibRefusal::None;
}

// The file converted by GDI into a 24-bit bottom-up DIB section, so a top-down file comes out
// upright too; null after saying what went wrong.
std::unique_ptr<DibSection> convertFile(const MappedFile& file, const DibLayout& layout, std::wstring& message)
{
    auto section = std::make_unique<DibSection>(layout.width, layout.rows, 24);
    if (!section->bits()) {
        message = outOfMemory;
        return nullptr;
    }
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(layout.info.data());
    if (SetDIBits(section->dc(), section->bitmap(), 0, static_cast<UINT>(layout.rows), file.view + layout.pixelOffset,
                  info, DIB_RGB_COLORS) == 0) {
        message = conversionError;
        return nullptr;
    }
    GdiFlush();
    return section;
}

PixelRows sectionRows(const DibSection& section)
{
    return {section.bits(), static_cast<std::ptrdiff_t>(section.imageBytes() / static_cast<std::size_t>(section.height())),
            3, section.width(), section.height()};
}

void showError(const std::wstring& message)
{
    if (errorPopups && !message.empty())
        MessageBoxW(GetFocus(), message.c_str(), L"Error", MB_OK);
}

// A missing or unreadable snapshot is no fault: the show then has plain sheets, and no message.
bool canOpen(const std::wstring& name)
{
    FILE* probe = name.empty() ? nullptr : _wfopen(name.c_str(), L"r");
    if (probe)
        std::fclose(probe);
    return probe != nullptr;
}

// What the front end writes is scaled straight from the file; anything else goes through GDI first.
TextureLevel prepareTextureLevel(const std::wstring& name)
{
    TextureLevel level;
    if (!canOpen(name))
        return level;
    const MappedFile file(name);
    DibLayout layout;
    if (!parseFile(name, file, layout, level.message))
        return level;
    PixelRows rows;
    std::unique_ptr<DibSection> section;
    if (!uncompressedRows(file.view, layout, rows)) {
        if (!(section = convertFile(file, layout, level.message)))
            return level;
        rows = sectionRows(*section);
    }
    traceStage("image-decoded");
    level.width = nearestPowerOfTwo(rows.width);
    level.height = nearestPowerOfTwo(rows.height);
    level.pixels = scaleImage(rows, level.width, level.height);
    if (!level.pixels)
        level.message = outOfMemory;
    traceStage("image-scaled");
    return level;
}

// Halves the level until the graphics driver takes its sides, as the utility library's mipmap
// builder does; software OpenGL on some systems takes no more than 1024. A level that cannot be
// halved leaves no pixels.
void fitTextureLimit(TextureLevel& level)
{
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    try {
        while (level.pixels && limit > 0 && (level.width > limit || level.height > limit)) {
            const PixelRows rows{level.pixels.get(), 3 * static_cast<std::ptrdiff_t>(level.width), 3, level.width,
                                 level.height};
            level.width = level.width > 1 ? level.width / 2 : 1;
            level.height = level.height > 1 ? level.height / 2 : 1;
            level.pixels = scaleImage(rows, level.width, level.height);
        }
    } catch (const std::exception&) {
        level.pixels.reset();
    }
}

// The level, or none where preparing it threw (an allocation that failed): the show then has plain
// squares, and the loader's message.
TextureLevel preparedSafely(TextureLevel (*prepare)())
{
    try {
        return prepare();
    } catch (const std::exception&) {
        TextureLevel none;
        none.message = outOfMemory;
        return none;
    }
}

// Read, converted and scaled while the display mode, window and GL context are being made; where no
// thread could be started for it, on the main thread once the context is there.
TextureLevel (*preparation)() = prepareUserSnapshot;
std::future<TextureLevel> preparedLevel;

} // namespace

SnapshotImage* loadDibImage(const std::wstring& name, std::wstring& message)
{
    std::unique_ptr<DibSection> section;
    {
        const MappedFile file(name);
        DibLayout layout;
        if (!parseFile(name, file, layout, message) || !(section = convertFile(file, layout, message)))
            return nullptr;
    }
    std::size_t rgbBytes = 0;
    rgbImageBytes(section->width(), section->height(), rgbBytes);
    auto* rgb = static_cast<unsigned char*>(std::malloc(rgbBytes));
    auto* image = static_cast<SnapshotImage*>(std::malloc(sizeof(SnapshotImage)));
    if (!rgb || !image) {
        std::free(rgb);
        std::free(image);
        message = outOfMemory;
        return nullptr;
    }
    copySectionToRgb(section->bits(), section->width(), section->height(), rgb);
    *image = SnapshotImage{section->width(), section->height(), rgb};
    return image;
}

SnapshotImage* loadDibImage(const std::wstring& name)
{
    std::wstring message;
    SnapshotImage* image = loadDibImage(name, message);
    showError(message);
    return image;
}

SnapshotImage* loadSnapshotImage(const std::wstring& name)
{
    return canOpen(name) ? loadDibImage(name) : nullptr;
}

void freeSnapshotImage(SnapshotImage* image)
{
    if (!image)
        return;
    std::free(image->pixels);
    std::free(image);
}

TextureLevel prepareUserSnapshot()
{
    return prepareTextureLevel(snapshotPath());
}

void prepareSnapshotTexture(TextureLevel (*prepare)())
{
    preparation = prepare;
    try {
        preparedLevel = std::async(std::launch::async, preparedSafely, prepare);
    } catch (const std::exception&) {
        preparedLevel = {};
    }
}

bool snapshotTexturePrepared(std::uint32_t milliseconds)
{
    return !preparedLevel.valid() ||
           preparedLevel.wait_for(std::chrono::milliseconds(milliseconds)) == std::future_status::ready;
}

bool loadSnapshotTexture()
{
    TextureLevel level = preparedLevel.valid() ? preparedLevel.get() : preparedSafely(preparation);
    showError(level.message);
    fitTextureLimit(level);
    if (!level.pixels)
        return true;
    glGenTextures(1, textureNames);
    glBindTexture(GL_TEXTURE_2D, textureNames[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Only level 0 is made: the linear minifying filter samples nothing else.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, level.width, level.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, level.pixels.get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    traceStage("texture-made");
    return true;
}
