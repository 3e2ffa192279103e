// Developer trace of both programs' start-up stages.
#include "common/trace_win32.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

#include "common/contract.h"

namespace {

double millisecondsSinceCreation()
{
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a{}, b{};
    a.LowPart = created.dwLowDateTime;
    a.HighPart = created.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    return static_cast<double>(b.QuadPart - a.QuadPart) / 10000.0;
}

void appendLine(const char* format, const char* word, double value)
{
    const char* path = std::getenv(contract::traceVariable);
    if (!path || !*path)
        return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, format, word, value);
        std::fclose(file);
    }
}

} // namespace

void traceStage(const char* stage)
{
    appendLine("%s %.1f\n", stage, millisecondsSinceCreation());
}

void traceFrames(long count, double seconds)
{
    char frames[32];
    std::snprintf(frames, sizeof frames, "frames %ld", count);
    appendLine("%s %.3f\n", frames, seconds);
}
