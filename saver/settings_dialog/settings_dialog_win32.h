// The settings dialog's window Vitrelux_P and its widgets, shown modally by /c.
#pragma once
#include <string>
#include <windows.h>

#include "saver/core/settings.h"

// Creates, loads and shows the dialog, and returns once it has closed; settings change in place.
void ShowSettingsDialog(HINSTANCE instance, Settings& settings, ProfileAccess& profile, FileStore& files,
                        const SettingsPlaces& places);
