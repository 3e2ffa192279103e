// The system's reports of the display's state, asked for where the system has them.
#pragma once
#include <cstdint>
#include <windows.h>

// Asks for WM_POWERBROADCAST reports of the display's state to the window: its own session's
// display, or where that is refused the console's. Null when neither can be had.
HANDLE registerDisplayReports(HWND window);
void unregisterDisplayReports(HANDLE registration);
// The state a PBT_POWERSETTINGCHANGE report of the display carries; false for any other report.
bool displayStateOf(LPARAM report, std::uint32_t& state);
