// Performance counter, multimedia timer, rand and the message queue for the renderer.
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

bool QueueMessageWait::waitForMessage(std::uint32_t milliseconds)
{
    // Any queued message wakes the wait, also one that an earlier look at the queue left in it.
    return MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0;
}
