// The show's display mode on the primary monitor. The monitor is known by its device name, read
// once at start, so that the mode goes back to the device that was switched whatever becomes
// primary during the show (a laptop undocked, a monitor that drops off).
#pragma once
#include <cstdint>
#include <windows.h>

// Switches the primary monitor to the show's size at a rate it offers, or leaves its mode as it is;
// the trace says which.
void enterFullScreenMode();
// Gives the switched monitor back the whole mode it had before the show.
void leaveFullScreenMode();
// Where the show's monitor lies on the virtual screen, in its current mode.
RECT showMonitorRect();
// The show's monitor's refresh rate in hertz; 0 when the system does not know it.
std::uint32_t displayRefreshRate();
