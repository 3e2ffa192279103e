// End-to-end test helper: looks at and drives the programs' windows from inside Wine, for what
// X tools cannot do (hidden windows, posted messages, message box texts, cursor count, host windows).
// Each subcommand prints its result and exits 0, 1 when the window is not found, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/snapshot_place_win32.h"

namespace {

constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;

unsigned long parse_number(const char* text) {
    return std::strtoul(text, nullptr, 0);
}

HWND find_window(const char* title) {
    return FindWindowA(nullptr, title);
}

int cmd_find(const char* title) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    // Then the client area on the screen, which a window without a drawn frame starts inside.
    RECT client{};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::printf("0x%lx %ld %ld %ld %ld %ld %ld %ld %ld\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)),
                rect.left, rect.top, rect.right, rect.bottom, client.left, client.top, client.right, client.bottom);
    return kOk;
}

int cmd_post(const char* title, const char* msg, const char* wparam, const char* lparam) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    BOOL posted = PostMessageA(hwnd, static_cast<UINT>(parse_number(msg)), parse_number(wparam),
                               static_cast<LPARAM>(parse_number(lparam)));
    std::printf("%s\n", posted ? "posted" : "failed");
    return posted ? kOk : kNotFound;
}

// One line about a child window, or an empty one to leave the window out.
using ChildLine = std::string (*)(HWND child);

struct ChildLines {
    ChildLine format;
    std::vector<std::string> lines;
};

BOOL CALLBACK collect_line(HWND child, LPARAM context) {
    ChildLines& collected = *reinterpret_cast<ChildLines*>(context);
    std::string line = collected.format(child);
    if (!line.empty()) collected.lines.push_back(line);
    return TRUE;
}

int print_children(const char* title, ChildLine format) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    ChildLines collected{format, {}};
    EnumChildWindows(hwnd, collect_line, reinterpret_cast<LPARAM>(&collected));
    for (const std::string& line : collected.lines) std::printf("%s\n", line.c_str());
    return kOk;
}

std::string text_line(HWND child) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    return text;
}

std::string hex(const std::string& bytes) {
    std::string text;
    char pair[3];
    for (unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

// The ANSI bytes (code page dependent) and the UTF-8 of what the window holds, as hex: the test's
// pipe cannot carry them unharmed as text.
std::string text_hex_line(HWND child) {
    char narrow[1024] = {};
    wchar_t wide[1024] = {};
    char utf8[4096] = {};
    GetWindowTextA(child, narrow, sizeof narrow);
    GetWindowTextW(child, wide, 1024);
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    return narrow[0] ? hex(narrow) + " " + hex(utf8) : "";
}

// Class, screen rectangle, visibility and text.
std::string child_line(HWND child) {
    char name[256] = {};
    char text[1024] = {};
    GetClassNameA(child, name, sizeof name);
    GetWindowTextA(child, text, sizeof text);
    RECT rect{};
    GetWindowRect(child, &rect);
    char line[1600];
    std::snprintf(line, sizeof line, "%s %ld %ld %ld %ld %d %s", name, rect.left, rect.top, rect.right,
                  rect.bottom, IsWindowVisible(child) ? 1 : 0, text);
    return line;
}

int cmd_click_ok(const char* title) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    HWND button = GetDlgItem(hwnd, IDOK);
    if (!button) return kNotFound;
    // NOTE: a SendMessage to another process blocks if that process is stuck; a time-out keeps
    // the helper from hanging the test.
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    std::printf("%s\n", sent ? "clicked" : "timeout");
    return sent ? kOk : kNotFound;
}

// The cursor display count belongs to the thread input of the window's thread; attached to that
// input, this thread's ShowCursor answers with the shared count.
int cmd_cursor(const char* title) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    DWORD owner = GetWindowThreadProcessId(hwnd, nullptr);
    if (!AttachThreadInput(GetCurrentThreadId(), owner, TRUE)) return kNotFound;
    ShowCursor(FALSE);
    int count = ShowCursor(TRUE);
    AttachThreadInput(GetCurrentThreadId(), owner, FALSE);
    std::printf("%d\n", count);
    return kOk;
}

// Loaded at run time so that the helper links with the default libraries only.
int cmd_wave_devices() {
    HMODULE winmm = LoadLibraryA("winmm.dll");
    auto count = reinterpret_cast<UINT(WINAPI*)()>(
        reinterpret_cast<void*>(winmm ? GetProcAddress(winmm, "waveOutGetNumDevs") : nullptr));
    if (!count) return kNotFound;
    std::printf("%u\n", count());
    return kOk;
}

LRESULT CALLBACK host_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

// A visible top-level window to host a preview, as the Screen Saver settings page does; it
// prints its handle in decimal and lives until closed (WM_CLOSE destroys it) or killed.
int cmd_host(const char* title, const char* x, const char* y, const char* width, const char* height) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = host_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = "VitreluxE2EHost";
    RegisterClassA(&window_class);
    HWND hwnd = CreateWindowExA(0, window_class.lpszClassName, title, WS_POPUP | WS_VISIBLE,
                                static_cast<int>(parse_number(x)), static_cast<int>(parse_number(y)),
                                static_cast<int>(parse_number(width)), static_cast<int>(parse_number(height)),
                                nullptr, nullptr, window_class.hInstance, nullptr);
    if (!hwnd) return kNotFound;
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)));
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return kOk;
}

int cmd_desktop() {
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(GetDesktopWindow())));
    return kOk;
}

int cmd_screen() {
    std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return kOk;
}

BOOL CALLBACK print_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& rect = info.rcMonitor;
        std::printf("%ld %ld %ld %ld %d\n", rect.left, rect.top, rect.right, rect.bottom,
                    (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    }
    return TRUE;
}

// One line per monitor: its rectangle on the virtual screen and 1 for the primary.
int cmd_monitors() {
    EnumDisplayMonitors(nullptr, nullptr, print_monitor, 0);
    return kOk;
}

BOOL CALLBACK print_if_of_class(HWND hwnd, LPARAM class_name) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == reinterpret_cast<const char*>(class_name)) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        const unsigned long style = static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE));
        const unsigned long ex_style = static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE));
        std::printf("%ld %ld %ld %ld %d 0x%lx 0x%lx\n", rect.left, rect.top, rect.right, rect.bottom,
                    IsWindowVisible(hwnd) ? 1 : 0, style, ex_style);
    }
    return TRUE;
}

// One line per top-level window of the class: rectangle, visibility, style and extended style.
int cmd_windows(const char* class_name) {
    EnumWindows(print_if_of_class, reinterpret_cast<LPARAM>(class_name));
    return kOk;
}

std::string title_of(HWND hwnd) {
    char text[256] = {};
    if (hwnd) GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The title of the window's owner.
int cmd_owner(const char* title) {
    HWND owner = GetWindow(find_window(title), GW_OWNER);
    if (!owner) return kNotFound;
    std::printf("%s\n", title_of(owner).c_str());
    return kOk;
}

// Whether the window takes input: 1 or 0.
int cmd_enabled(const char* title) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    std::printf("%d\n", IsWindowEnabled(hwnd) ? 1 : 0);
    return kOk;
}

// The titles of the active window and of the window with the keyboard focus, one a line.
int cmd_focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info)) return kNotFound;
    std::printf("%s\n%s\n", title_of(info.hwndActive).c_str(), title_of(info.hwndFocus).c_str());
    return kOk;
}

// The current display mode's refresh rate as Wine reports it (0 or 1: the display's default).
int cmd_refresh_rate() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return kNotFound;
    std::printf("%lu\n", static_cast<unsigned long>(mode.dmDisplayFrequency));
    return kOk;
}

// The size of the display mode the system goes back to after a program's temporary change.
int cmd_stored_size() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &mode)) return kNotFound;
    std::printf("%lu %lu\n", static_cast<unsigned long>(mode.dmPelsWidth),
                static_cast<unsigned long>(mode.dmPelsHeight));
    return kOk;
}

// Runs a command line to its end and prints its whole exit code (Wine hands a Linux caller only
// the code modulo 256: 1603 arrives as 67).
int cmd_run(const char* command_line) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = command_line;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return kNotFound;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%lu\n", static_cast<unsigned long>(code));
    return kOk;
}

// The user's snapshot as the programs name it, in UTF-8.
int cmd_snapshot_path() {
    const std::wstring path = snapshotPath();
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (path.empty() || size <= 0) return kNotFound;
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, text.data(), size, nullptr, nullptr);
    std::printf("%s\n", text.c_str());
    return kOk;
}

int usage() {
    std::fprintf(stderr,
                 "usage: e2e_helper find|texts|texts-hex|children|click-ok|cursor|owner|enabled <title>\n"
                 "       e2e_helper windows <class>\n"
                 "       e2e_helper run <command line>\n"
                 "       e2e_helper post <title> <msg> <wparam> <lparam>\n"
                 "       e2e_helper host <title> <x> <y> <width> <height>\n"
                 "       e2e_helper screen|refresh-rate|stored-size|desktop|wave-devices|monitors|focus|snapshot-path\n");
    return kUsage;
}

int run(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "screen" && argc == 2) return cmd_screen();
    if (command == "refresh-rate" && argc == 2) return cmd_refresh_rate();
    if (command == "stored-size" && argc == 2) return cmd_stored_size();
    if (command == "wave-devices" && argc == 2) return cmd_wave_devices();
    if (command == "desktop" && argc == 2) return cmd_desktop();
    if (command == "monitors" && argc == 2) return cmd_monitors();
    if (command == "focus" && argc == 2) return cmd_focus();
    if (command == "snapshot-path" && argc == 2) return cmd_snapshot_path();
    if (argc == 3) {
        if (command == "find") return cmd_find(argv[2]);
        if (command == "texts") return print_children(argv[2], text_line);
        if (command == "texts-hex") return print_children(argv[2], text_hex_line);
        if (command == "click-ok") return cmd_click_ok(argv[2]);
        if (command == "cursor") return cmd_cursor(argv[2]);
        if (command == "children") return print_children(argv[2], child_line);
        if (command == "windows") return cmd_windows(argv[2]);
        if (command == "owner") return cmd_owner(argv[2]);
        if (command == "enabled") return cmd_enabled(argv[2]);
        if (command == "run") return cmd_run(argv[2]);
    }
    if (command == "post" && argc == 6) return cmd_post(argv[2], argv[3], argv[4], argv[5]);
    if (command == "host" && argc == 7) return cmd_host(argv[2], argv[3], argv[4], argv[5], argv[6]);
    return usage();
}

}  // namespace

int main(int argc, char** argv) {
    int code = run(argc, argv);
    std::fflush(stdout);
    return code;
}
