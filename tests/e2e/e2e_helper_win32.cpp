// End-to-end test helper: looks at and drives the renderer's windows from inside Wine,
// for what X tools cannot do (hidden windows, posted messages, message box texts).
// Each subcommand prints one result and exits 0, 1 when the window is not found, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
    std::printf("0x%lx %ld %ld %ld %ld\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)),
                rect.left, rect.top, rect.right, rect.bottom);
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

BOOL CALLBACK collect_text(HWND child, LPARAM lines) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) reinterpret_cast<std::vector<std::string>*>(lines)->push_back(text);
    return TRUE;
}

int cmd_texts(const char* title) {
    HWND hwnd = find_window(title);
    if (!hwnd) return kNotFound;
    std::vector<std::string> lines;
    EnumChildWindows(hwnd, collect_text, reinterpret_cast<LPARAM>(&lines));
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    return kOk;
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

int cmd_screen() {
    std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return kOk;
}

int usage() {
    std::fprintf(stderr,
                 "usage: e2e_helper find|texts|click-ok <title>\n"
                 "       e2e_helper post <title> <msg> <wparam> <lparam>\n"
                 "       e2e_helper screen\n");
    return kUsage;
}

int run(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "screen" && argc == 2) return cmd_screen();
    if (argc == 3) {
        if (command == "find") return cmd_find(argv[2]);
        if (command == "texts") return cmd_texts(argv[2]);
        if (command == "click-ok") return cmd_click_ok(argv[2]);
    }
    if (command == "post" && argc == 6) return cmd_post(argv[2], argv[3], argv[4], argv[5]);
    return usage();
}

}  // namespace

int main(int argc, char** argv) {
    int code = run(argc, argv);
    std::fflush(stdout);
    return code;
}
