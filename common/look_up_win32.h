// Functions that some Windows versions lack, looked up where the program runs.
#pragma once
#include <windows.h>

// The function's address cast to its type, or null when the module or the function is missing.
template <typename Function>
Function lookUp(HMODULE module, const char* name)
{
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// user32, which every program of ours has loaded.
inline HMODULE user32()
{
    return GetModuleHandleA("user32.dll");
}
