// SetProcessDpiAwarenessContext, SetProcessDpiAwareness and SetProcessDPIAware, each where it exists.
#include "common/scaling_awareness_win32.h"

#include <windows.h>

#include "common/look_up_win32.h"

bool SystemScalingAwareness::declarePerMonitorV2()
{
    using SetContext = BOOL(WINAPI*)(HANDLE);
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, a pseudo handle that older headers lack.
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    auto set = lookUp<SetContext>(user32(), "SetProcessDpiAwarenessContext");
    return set && set(perMonitorV2);
}

bool SystemScalingAwareness::declarePerMonitor()
{
    using SetAwareness = HRESULT(WINAPI*)(int);
    constexpr int processPerMonitorDpiAware = 2;
    // Only from the system folder: a shcore.dll beside the program must not be loaded instead.
    HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto set = lookUp<SetAwareness>(shcore, "SetProcessDpiAwareness");
    bool declared = set && SUCCEEDED(set(processPerMonitorDpiAware));
    if (shcore)
        FreeLibrary(shcore);
    return declared;
}

bool SystemScalingAwareness::declareSystemWide()
{
    using SetAware = BOOL(WINAPI*)();
    auto set = lookUp<SetAware>(user32(), "SetProcessDPIAware");
    return set && set();
}
