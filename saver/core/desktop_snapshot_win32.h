// Copies the desktop into the square snapshot picture and saves it where the renderer reads it.
#pragma once
#include <string>

// Saves the desktop of the given screen size as a W x W 32-bit bitmap, desktop centred vertically on
// black; where the desktop cannot be read, the user's wallpaper or the program's own picture in its
// place. The file is written beside the old one and swapped in only when complete, readable by its
// owner alone.
bool SaveDesktopSnapshot(const std::wstring& path, int screenWidth, int screenHeight);
