// Snapshot loading: the file is mapped, parsed with bounds checks, converted by GDI to 24-bit and uploaded.
#include "render/snapshot_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "common/bitmap_format.h"
#include "common/dib_section_win32.h"
#include "common/trace_win32.h"

const char snapshotFileNames[2][255] = {"c:\\j_orvel\\Vitrelux.bmp", "c:\\j_orvel\\Vitrelux.bmp"};
bool errorPopups = true;
unsigned int textureNames[1] = {0};

namespace {

const char outOfMemory[] = "Out of memory.";
const char unknownFormat[] = "Unknown DIB file format.";
const char conversionError[] = "Image file conversion error.";

// The file's bytes, released in the reverse order of opening.
struct MappedFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const std::uint8_t* view = nullptr;
    std::size_t size = 0;

    explicit MappedFile(const char* name)
    {
        file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

const char* refusalMessage(DibRefusal refusal)
{
    return refusal == DibRefusal::UnknownFormat ? unknownFormat : conversionError;
}

// Converts a parsed file; the result is always bottom-up, so a top-down file comes out upright too.
SnapshotImage* convert(const MappedFile& file, const DibLayout& layout, std::string& message)
{
    std::size_t rgbBytes = 0;
    DibSection section(layout.width, layout.rows, 24);
    if (!section.bits() || !rgbImageBytes(layout.width, layout.rows, rgbBytes)) {
        message = outOfMemory;
        return nullptr;
    }
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(layout.info.data());
    if (SetDIBits(section.dc(), section.bitmap(), 0, static_cast<UINT>(layout.rows), file.view + layout.pixelOffset, info,
                  DIB_RGB_COLORS) == 0) {
        message = conversionError;
        return nullptr;
    }
    GdiFlush();
    auto* rgb = static_cast<unsigned char*>(std::malloc(rgbBytes));
    auto* image = static_cast<SnapshotImage*>(std::malloc(sizeof(SnapshotImage)));
    if (!rgb || !image) {
        std::free(rgb);
        std::free(image);
        message = outOfMemory;
        return nullptr;
    }
    copySectionToRgb(section.bits(), layout.width, layout.rows, rgb);
    *image = SnapshotImage{layout.width, layout.rows, rgb};
    return image;
}

void showError(const std::string& message)
{
    if (errorPopups && !message.empty())
        MessageBoxA(GetFocus(), message.c_str(), "Error", MB_OK);
}

} // namespace

SnapshotImage* loadDibImage(const char* name, std::string& message)
{
    message.clear();
    MappedFile file(name);
    if (!file.view) {
        char text[256];
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", name);
        message = text;
        return nullptr;
    }
    DibLayout layout;
    DibRefusal refusal = parseDib(file.view, file.size, layout);
    if (refusal != DibRefusal::None) {
        message = refusalMessage(refusal);
        return nullptr;
    }
    return convert(file, layout, message);
}

SnapshotImage* loadDibImage(const char* name)
{
    std::string message;
    SnapshotImage* image = loadDibImage(name, message);
    showError(message);
    return image;
}

SnapshotImage* loadSnapshotImage(const char* name)
{
    if (!name)
        return nullptr;
    FILE* probe = std::fopen(name, "r");
    if (!probe)
        return nullptr;
    std::fclose(probe);
    return loadDibImage(name);
}

void freeSnapshotImage(SnapshotImage* image)
{
    if (!image)
        return;
    std::free(image->pixels);
    std::free(image);
}

bool loadSnapshotTexture()
{
    char name[256];
    std::memcpy(name, snapshotFileNames[0], sizeof snapshotFileNames[0]);
    name[255] = '\0';
    SnapshotImage* image = loadSnapshotImage(name);
    traceStage("image-mapped");
    if (image) {
        glGenTextures(1, textureNames);
        glBindTexture(GL_TEXTURE_2D, textureNames[0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image->width, image->height, GL_RGB, GL_UNSIGNED_BYTE, image->pixels);
        traceStage("mipmaps-built");
    }
    freeSnapshotImage(image);
    return true;
}
