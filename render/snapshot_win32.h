// Loads the desktop snapshot that the front end saved and uploads it as the sheets' texture.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

// Packed RGB rows, bottom row first; malloc'd, freed by the caller (pixels, then the record).
struct SnapshotImage {
    std::int32_t width;
    std::int32_t height;
    unsigned char* pixels;
};

extern bool errorPopups;
extern unsigned int textureNames[1];

// The texture's one level in packed (blue, green, red) rows, bottom row first; no pixels when there
// is no texture, and then perhaps a message for the main thread to show.
struct TextureLevel {
    std::unique_ptr<std::uint8_t[]> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::wstring message;
};

// Reads, converts and scales the user's snapshot.
TextureLevel prepareUserSnapshot();
// Starts prepare on a thread of its own. Neither a thread that cannot be started nor an exception of
// prepare's costs the show: the first has the texture prepared on the main thread, the second
// costs the texture.
void prepareSnapshotTexture(TextureLevel (*prepare)() = prepareUserSnapshot);
// Whether what was started is ready (or nothing was), after waiting for it up to the given time.
bool snapshotTexturePrepared(std::uint32_t milliseconds);
// Makes the texture from what was prepared (or prepares it now), or leaves texture name 0 when the
// file cannot be read; needs the GL context.
bool loadSnapshotTexture();
// Null without a message when the file cannot even be opened (or no name is given).
SnapshotImage* loadSnapshotImage(const std::wstring& name);
// Null after showing what went wrong (while errorPopups is on).
SnapshotImage* loadDibImage(const std::wstring& name);
// As above, also handing back the message it showed (empty when it succeeded).
SnapshotImage* loadDibImage(const std::wstring& name, std::wstring& message);
void freeSnapshotImage(SnapshotImage* image);
