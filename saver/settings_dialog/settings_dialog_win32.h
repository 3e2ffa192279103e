// The settings dialog's window Vitrelux_P and its widgets, shown modally by /c and by Explorer's Configure.
#pragma once
#include <string>
#include <windows.h>

#include "saver/core/settings.h"

// Creates, loads and shows the dialog, owned by owner where that is a window (which it disables as a
// modal dialog does), and returns once it has closed; settings change in place.
void ShowSettingsDialog(HINSTANCE instance, HWND owner, Settings& settings, ProfileAccess& profile, FileStore& files,
                        const SettingsPlaces& places);
