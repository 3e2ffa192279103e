// Performance counter, multimedia timer and rand for the renderer.
#include "render/system_win32.h"

#include <cstdlib>
#include <windows.h>
#include <mmsystem.h>

bool SystemTimeSource::queryFrequency(std::int64_t& frequency)
{
    LARGE_INTEGER value{};
    bool ok = QueryPerformanceFrequency(&value) != 0;
    frequency = value.QuadPart;
    return ok;
}

std::int64_t SystemTimeSource::queryCounter()
{
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

std::uint32_t SystemTimeSource::milliseconds()
{
    return timeGetTime();
}

int CrtRandomSource::next()
{
    return std::rand();
}
