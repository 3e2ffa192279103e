// RegisterPowerSettingNotification, looked up at run time, and the reports it brings.
#include "render/display_power_win32.h"

#include <cstring>

#include "common/look_up_win32.h"

namespace {

// GUID_SESSION_DISPLAY_STATUS and GUID_CONSOLE_DISPLAY_STATE, which older headers lack.
const GUID sessionDisplay = {0x2B84C20E, 0xAD23, 0x4DDF, {0x93, 0xDB, 0x05, 0xFF, 0xBD, 0x7E, 0xFC, 0xA5}};
const GUID consoleDisplay = {0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};

} // namespace

HANDLE registerDisplayReports(HWND window)
{
    using Register = HANDLE(WINAPI*)(HANDLE, LPCGUID, DWORD);
    auto registerReports = lookUp<Register>(user32(), "RegisterPowerSettingNotification");
    if (!registerReports)
        return nullptr;
    HANDLE registration = registerReports(window, &sessionDisplay, DEVICE_NOTIFY_WINDOW_HANDLE);
    return registration ? registration : registerReports(window, &consoleDisplay, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void unregisterDisplayReports(HANDLE registration)
{
    using Unregister = BOOL(WINAPI*)(HANDLE);
    auto unregisterReports = lookUp<Unregister>(user32(), "UnregisterPowerSettingNotification");
    if (registration && unregisterReports)
        unregisterReports(registration);
}

bool displayStateOf(LPARAM report, std::uint32_t& state)
{
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(report);
    if (!setting || setting->DataLength != sizeof state ||
        (!IsEqualGUID(setting->PowerSetting, sessionDisplay) && !IsEqualGUID(setting->PowerSetting, consoleDisplay)))
        return false;
    std::memcpy(&state, setting->Data, sizeof state);
    return true;
}
