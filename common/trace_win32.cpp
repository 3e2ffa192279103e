// Developer trace of both programs' start-up stages.
#include "common/trace_win32.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
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

void appendLine(const char* line)
{
    const char* path = std::getenv(contract::traceVariable);
    if (!path || !*path)
        return;
    // The renderer traces from two threads; the C runtime's appends are not atomic.
    static std::mutex appending;
    std::lock_guard<std::mutex> lock(appending);
    if (FILE* file = std::fopen(path, "a")) {
        std::fputs(line, file);
        std::fclose(file);
    }
}

} // namespace

void traceStage(const char* stage)
{
    char line[96];
    std::snprintf(line, sizeof line, "%s %.1f\n", stage, millisecondsSinceCreation());
    appendLine(line);
}

void traceFrames(long count, double seconds)
{
    char line[64];
    std::snprintf(line, sizeof line, "frames %ld %.3f\n", count, seconds);
    appendLine(line);
}

void traceNote(const char* what, const char* detail)
{
    char line[160];
    std::snprintf(line, sizeof line, "%s %s\n", what, detail);
    appendLine(line);
}
