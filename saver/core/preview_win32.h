// The preview window Vitrelux_R: a still picture of the show inside the control panel's preview area.
#pragma once
#include <windows.h>

// Creates the window as a child of parent, sized to it, and shows it; false when it cannot be made.
bool StartPreview(HINSTANCE instance, HWND parent);
