// Vitrelux_S: translates its timers and close into the show's handlers, and does the show's system calls.
#include "saver/core/saver_window_win32.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "common/contract.h"
#include "common/snapshot_place_win32.h"
#include "common/trace_win32.h"
#include "saver/core/desktop_snapshot_win32.h"
#include "saver/core/show.h"
#include "saver/music/music_win32.h"

namespace {

constexpr char saverClassName[] = "Vitrelux_S";
constexpr UINT timerIntervals[3] = {1000, 200, 500};

class SaverWindowPlatform : public ShowPlatform {
public:
    HWND window = nullptr;

    bool saveDesktopSnapshot() override
    {
        RECT client{};
        GetClientRect(window, &client);
        return SaveDesktopSnapshot(snapshotPath(), client.right, client.bottom);
    }

    // The program is named explicitly: with the path alone as the command line, a folder such as
    // "C:\Program Files\..." would first be tried as "C:\Program.exe".
    void startRenderer(const std::string& path) override
    {
        std::string commandLine = "\"" + path + "\"";
        std::vector<char> writable(commandLine.begin(), commandLine.end());
        writable.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(path.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            renderer_ = process.hProcess;
            traceStage("renderer-started");
        }
    }

    bool rendererWindowExists() override { return FindWindowA(nullptr, contract::rendererWindowTitle) != nullptr; }
    bool rendererRunning() override { return renderer_ && WaitForSingleObject(renderer_, 0) == WAIT_TIMEOUT; }

    void setTimer(ShowTimer timer, bool running) override
    {
        const int index = static_cast<int>(timer);
        if (running)
            SetTimer(window, index + 1, timerIntervals[index], nullptr);
        else
            KillTimer(window, index + 1);
    }

    void closeSaverWindow() override { PostMessageA(window, WM_CLOSE, 0, 0); }
    void showCursor() override { ShowCursor(TRUE); }
    // NOTE: not ExitProcess, which runs the media layer's own clean-up and with it waits for a
    // music call that hangs (seen under Wine 10, its "stop" of an MPEGVideo device).
    void terminate() override { TerminateProcess(GetCurrentProcess(), 0); }

private:
    HANDLE renderer_ = nullptr;
};

SaverWindowPlatform platform;
SystemMci mci;
SystemSound sound;
std::unique_ptr<MusicPlayer> music;
std::unique_ptr<MusicThread> musicThread;
std::unique_ptr<SaverShow> show;

DWORD windowThread = 0;

// NOTE: Wine 10's media layer can crash in a worker of its own while it stops an MPEGVideo device
// (an invalid handle closed, seen with the MP3 restarted); the debugger the system then starts
// holds every thread of the process, the show's end with them. A thread other than the window's
// that crashes ends alone, and the show, or its end, goes on without it.
LONG WINAPI endCrashedThread(EXCEPTION_POINTERS* exception)
{
    if (GetCurrentThreadId() != windowThread) {
        const DWORD code = exception->ExceptionRecord->ExceptionCode;
        char text[16];
        std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(code));
        traceNote("thread-crashed", text);
        TerminateThread(GetCurrentThread(), code);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!show)
        return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_TIMER:
        if (wparam == 1)
            show->Timer1_Timer();
        else if (wparam == 2)
            show->Timer2_Timer();
        else if (wparam == 3)
            show->Timer3_Timer();
        return 0;
    case WM_CLOSE:
        show->Form_QueryUnload();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The system may end the process as soon as this returns: the music stops and the cursor
        // comes back now.
        if (wparam)
            show->Form_QueryUnload();
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

bool CreateSaverWindow(HINSTANCE instance, const Settings& settings, const std::string& ModeLetter,
                       const std::string& ProgramFolder)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = saverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = saverClassName;
    RegisterClassA(&windowClass);

    // The window covers the screen, so its client size is the screen's, but it is never shown.
    platform.window = CreateWindowExA(0, saverClassName, contract::saverWindowTitle, WS_POPUP, 0, 0,
                                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      instance, nullptr);
    if (!platform.window)
        return false;
    windowThread = GetCurrentThreadId();
    SetUnhandledExceptionFilter(endCrashedThread);
    music = std::make_unique<MusicPlayer>(mci, sound);
    musicThread = std::make_unique<MusicThread>(*music);
    show = std::make_unique<SaverShow>(platform, *musicThread, settings, ModeLetter, ProgramFolder);
    platform.setTimer(ShowTimer::Timer3, true);
    show->Form_Load();
    return true;
}
