// Loads the desktop snapshot that the front end saved and uploads it as the sheets' texture.
#pragma once
#include <cstdint>
#include <string>

// Packed RGB rows, bottom row first; malloc'd, freed by the caller (pixels, then the record).
struct SnapshotImage {
    std::int32_t width;
    std::int32_t height;
    unsigned char* pixels;
};

extern bool errorPopups;
extern unsigned int textureNames[1];

// Starts reading, converting and scaling the user's snapshot on a thread of its own.
void prepareSnapshotTexture();
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
