// Copies the desktop into the square snapshot picture and saves it where the renderer reads it.
#pragma once
#include <string>

// Saves the desktop of the given screen size as a W x W 32-bit bitmap, desktop centred vertically on black.
// The file is written beside the old one and swapped in only when complete, readable by its owner alone.
bool SaveDesktopSnapshot(const std::string& path, int screenWidth, int screenHeight);
