// The show's display mode on the primary monitor. The monitor is known by its device name, read
// once at start, so that the mode goes back to the device that was switched whatever becomes
// primary during the show (a laptop undocked, a monitor that drops off).
#pragma once
#include <cstdint>
#include <vector>
#include <windows.h>

#include "render/display_mode.h"

class ShowDisplayMode {
public:
    // Switches the primary monitor to the show's size at a rate it offers, or leaves its mode as it
    // is; the trace says which.
    void enter();
    // Gives the switched monitor back the whole mode it had before the show; once.
    void leave();
    // Where the show's monitor lies on the virtual screen, in its current mode.
    RECT monitorRect() const;
    // The show's monitor's refresh rate in hertz; 0 when the system does not know it.
    std::uint32_t refreshRate() const;

private:
    // Null, the system's default display, until the primary's name is known.
    const char* deviceName() const { return device_[0] ? device_ : nullptr; }
    bool readMode(DWORD which, DEVMODEA& mode) const;
    std::vector<DisplayMode> offeredModes() const;

    char device_[CCHDEVICENAME] = "";
    DEVMODEA before_{};
    bool switched_ = false;
};
