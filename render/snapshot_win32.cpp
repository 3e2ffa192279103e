// The sheets' texture: the desktop snapshot that the front end saved, read, scaled to the texture's
// sides on a thread of its own and uploaded.
#include "render/snapshot_win32.h"

#include <cstdio>
#include <windows.h>
#include <GL/gl.h>

#include "common/snapshot_place_win32.h"
#include "common/trace_win32.h"
#include "render/dib_file_win32.h"
#include "render/texture_scaling.h"

namespace {

PixelRows sectionRows(const DibSection& section)
{
    return {section.bits(), static_cast<std::ptrdiff_t>(section.imageBytes() / static_cast<std::size_t>(section.height())),
            3, section.width(), section.height()};
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

} // namespace

TextureLevel prepareUserSnapshot()
{
    return prepareTextureLevel(snapshotPath());
}

SnapshotTexture::SnapshotTexture(TextureLevel (*prepare)()) : prepare_(prepare)
{
    try {
        level_ = std::async(std::launch::async, preparedSafely, prepare);
    } catch (const std::exception&) {
        level_ = {};
    }
}

bool SnapshotTexture::prepared(std::uint32_t milliseconds) const
{
    return !level_.valid() || level_.wait_for(std::chrono::milliseconds(milliseconds)) == std::future_status::ready;
}

unsigned SnapshotTexture::make(std::wstring& message)
{
    TextureLevel level = level_.valid() ? level_.get() : preparedSafely(prepare_);
    message = level.message;
    fitTextureLimit(level);
    if (!level.pixels)
        return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Only level 0 is made: the linear minifying filter samples nothing else.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, level.width, level.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, level.pixels.get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    traceStage("texture-made");
    return name;
}
