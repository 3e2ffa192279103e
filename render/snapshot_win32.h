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

extern const char snapshotFileNames[2][255];
extern bool errorPopups;
extern unsigned int textureNames[1];

// Starts reading, converting and scaling entry 0 of snapshotFileNames on a thread of its own.
void prepareSnapshotTexture();
// Makes the texture from what was prepared (or prepares it now), or leaves texture name 0 when the
// file cannot be read; needs the GL context.
bool loadSnapshotTexture();
// Null without a message when the file cannot even be opened.
SnapshotImage* loadSnapshotImage(const char* name);
// Null after showing what went wrong (while errorPopups is on).
SnapshotImage* loadDibImage(const char* name);
// As above, also handing back the message it showed (empty when it succeeded).
SnapshotImage* loadDibImage(const char* name, std::string& message);
void freeSnapshotImage(SnapshotImage* image);
