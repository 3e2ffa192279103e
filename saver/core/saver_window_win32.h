// The hidden saver window Vitrelux_S that hosts the show.
#pragma once
#include <string>
#include <windows.h>

#include "saver/core/settings.h"

// Creates the window (never shown) and runs its load handler; false when the window could not be made.
bool CreateSaverWindow(HINSTANCE instance, const Settings& settings, const std::string& ModeLetter,
                       const AnsiText& ProgramFolder);
