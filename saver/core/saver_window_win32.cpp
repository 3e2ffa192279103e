// Vitrelux_S: translates its timers and close into the show's handlers, and does the show's system calls.
#include "saver/core/saver_window_win32.h"

#include <cstdio>
#include <vector>

#include "common/contract.h"
#include "common/snapshot_place_win32.h"
#include "common/trace_win32.h"
#include "saver/core/desktop_snapshot_win32.h"
#include "saver/core/show.h"
#include "saver/music/music_win32.h"

namespace {

constexpr char saverClassName[] = "Vitrelux_S";

class SaverWindowPlatform : public ShowPlatform {
public:
    explicit SaverWindowPlatform(HWND window) : window(window) {}
    HWND window;

    bool saveDesktopSnapshot() override
    {
        RECT client{};
        GetClientRect(window, &client);
        return SaveDesktopSnapshot(snapshotPath(), client.right, client.bottom);
    }

    // The program is named explicitly: with the path alone as the command line, a folder such as
    // "C:\Program Files\..." would first be tried as "C:\Program.exe".
    void startRenderer(const AnsiText& path) override
    {
        const std::string commandLine = "\"" + path.bytes() + "\"";
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

    void setTimer(const ShowTimerEntry& timer, bool running) override
    {
        if (running)
            SetTimer(window, timer.id, timer.milliseconds, nullptr);
        else
            KillTimer(window, timer.id);
    }

    void closeSaverWindow() override { PostMessageA(window, WM_CLOSE, 0, 0); }
    void showCursor() override { ShowCursor(TRUE); }

private:
    HANDLE renderer_ = nullptr;
};

// The show and what it runs on, owned by the saver window.
struct SaverWindow {
    SaverWindow(HWND window, const Settings& settings, const std::string& ModeLetter, const AnsiText& ProgramFolder)
        : platform(window), show(platform, musicThread, settings, ModeLetter, ProgramFolder)
    {
    }
    SaverWindowPlatform platform;
    SystemMci mci;
    SystemSound sound;
    MusicPlayer music{mci, sound};
    MusicThread musicThread{music};
    SaverShow show;
};

// The exception filter is the process's: it knows the window's thread from here.
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

// The end of the show is the end of the message loop, which WinMain turns into the process's end.
void endShow(SaverShow& show)
{
    show.Form_QueryUnload();
    PostQuitMessage(0);
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    auto* saver = reinterpret_cast<SaverWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!saver)
        return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_TIMER:
        saver->show.TimerTick(wparam);
        return 0;
    case WM_CLOSE:
        endShow(saver->show);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The system may end the process as soon as this returns: the music stops and the cursor
        // comes back now.
        if (wparam)
            endShow(saver->show);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete saver;
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

bool CreateSaverWindow(HINSTANCE instance, const Settings& settings, const std::string& ModeLetter,
                       const AnsiText& ProgramFolder)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = saverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = saverClassName;
    RegisterClassA(&windowClass);

    // The window covers the screen, so its client size is the screen's, but it is never shown.
    HWND window = CreateWindowExA(0, saverClassName, contract::saverWindowTitle, WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return false;
    windowThread = GetCurrentThreadId();
    SetUnhandledExceptionFilter(endCrashedThread);
    auto* saver = new SaverWindow(window, settings, ModeLetter, ProgramFolder);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(saver));
    saver->show.Form_Load();
    return true;
}
