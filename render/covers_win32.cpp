// Cover windows and monitor enumeration for the renderer.
#include "render/covers_win32.h"

#include <windows.h>

namespace {

LRESULT CALLBACK coverWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A click leaves the keyboard with the show, so that Escape still ends it.
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_CLOSE:
        // A close request to any window of the show ends the show, in the renderer's own order.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// Registers the class on first use; returns the instance it belongs to.
HINSTANCE coverClassInstance()
{
    static const HINSTANCE instance = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = coverWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = coverWindowName;
        RegisterClassA(&windowClass);
        return windowClass.hInstance;
    }();
    return instance;
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& rect = info.rcMonitor;
        reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back({rect.left, rect.top, rect.right, rect.bottom});
    }
    return TRUE;
}

} // namespace

std::vector<ScreenRect> SystemCoverWindows::monitors()
{
    std::vector<ScreenRect> list;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

void* SystemCoverWindows::createCover(const ScreenRect& rect)
{
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, coverWindowName,
                                 coverWindowName, WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, nullptr, nullptr, coverClassInstance(), nullptr);
    if (cover) {
        ShowWindow(cover, SW_SHOWNOACTIVATE);
        // Painted black now: the show's thread takes no messages until its GL start-up is done.
        UpdateWindow(cover);
    }
    return cover;
}

void SystemCoverWindows::moveCover(void* cover, const ScreenRect& rect)
{
    SetWindowPos(static_cast<HWND>(cover), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOACTIVATE);
}

void SystemCoverWindows::destroyCover(void* cover)
{
    DestroyWindow(static_cast<HWND>(cover));
}
