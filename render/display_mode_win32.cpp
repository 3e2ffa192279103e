// The display mode switch of the show's monitor, and its restore.
#include "render/display_mode_win32.h"

#include <cstdio>
#include <vector>

#include "common/trace_win32.h"

namespace {

void readPrimaryDevice(char (&showDevice)[CCHDEVICENAME])
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0); ++index) {
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) {
            lstrcpynA(showDevice, device.DeviceName, sizeof showDevice);
            return;
        }
    }
}

DisplayMode modeOf(const DEVMODEA& mode)
{
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency};
}

void traceMode(const char* choice, const DisplayMode& mode)
{
    char detail[64];
    std::snprintf(detail, sizeof detail, "%s %lux%lux%lu@%lu", choice, static_cast<unsigned long>(mode.width),
                  static_cast<unsigned long>(mode.height), static_cast<unsigned long>(mode.bitsPerPixel),
                  static_cast<unsigned long>(mode.refreshRate));
    traceNote("display-mode", detail);
}

} // namespace

bool ShowDisplayMode::readMode(DWORD which, DEVMODEA& mode) const
{
    mode = DEVMODEA{};
    mode.dmSize = sizeof mode;
    return EnumDisplaySettingsA(deviceName(), which, &mode) != FALSE;
}

std::vector<DisplayMode> ShowDisplayMode::offeredModes() const
{
    std::vector<DisplayMode> modes;
    DEVMODEA mode;
    for (DWORD index = 0; readMode(index, mode); ++index)
        modes.push_back(modeOf(mode));
    return modes;
}

void ShowDisplayMode::enter()
{
    readPrimaryDevice(device_);
    DEVMODEA desktop;
    if (!readMode(ENUM_CURRENT_SETTINGS, desktop))
        return;
    before_ = desktop;
    const DisplayMode current = modeOf(desktop);
    for (const DisplayMode& request : showModeRequests(current, offeredModes(), showWidth, showHeight)) {
        // The desktop's own record, so that nothing but the size and perhaps the rate changes.
        DEVMODEA mode = desktop;
        mode.dmPelsWidth = request.width;
        mode.dmPelsHeight = request.height;
        mode.dmDisplayFrequency = request.refreshRate;
        mode.dmFields |= DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
        if (ChangeDisplaySettingsExA(deviceName(), &mode, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL) {
            switched_ = true;
            traceMode(request.refreshRate == current.refreshRate ? "desktop-rate" : "listed-rate", request);
            return;
        }
    }
    traceMode("kept", current);
}

void ShowDisplayMode::leave()
{
    if (!switched_)
        return;
    switched_ = false;
    ChangeDisplaySettingsExA(deviceName(), nullptr, nullptr, 0, nullptr);
    // NOTE: the stored mode is the one the desktop had, unless it was stored while the show's mode was
    // on (Wine stores the screen's mode when its desktop process starts, which can be after the
    // switch), or it has the desktop's size at another rate; the user gets back the mode from
    // before the show either way.
    DEVMODEA now;
    if (readMode(ENUM_CURRENT_SETTINGS, now) && !(modeOf(now) == modeOf(before_)))
        ChangeDisplaySettingsExA(deviceName(), &before_, nullptr, 0, nullptr);
}

RECT ShowDisplayMode::monitorRect() const
{
    DEVMODEA mode;
    if (!readMode(ENUM_CURRENT_SETTINGS, mode))
        return {0, 0, static_cast<LONG>(showWidth), static_cast<LONG>(showHeight)};
    const POINTL origin = (mode.dmFields & DM_POSITION) ? mode.dmPosition : POINTL{0, 0};
    return {origin.x, origin.y, origin.x + static_cast<LONG>(mode.dmPelsWidth),
            origin.y + static_cast<LONG>(mode.dmPelsHeight)};
}

std::uint32_t ShowDisplayMode::refreshRate() const
{
    DEVMODEA mode;
    return readMode(ENUM_CURRENT_SETTINGS, mode) ? mode.dmDisplayFrequency : 0;
}
