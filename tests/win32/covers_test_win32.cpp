// The covers' windows: how they are made, and that a click on one leaves the keyboard with the show.
#include <gtest/gtest.h>

#include <windows.h>

#include "render/covers_win32.h"
#include "render/renderer_win32.h"

namespace {

const ScreenRect coverRect = {400, 300, 700, 600};

// What the thread's queue held while it was pumped.
struct Pumped {
    bool quit = false;
    HWND pressed = nullptr;
};

// Dispatches the thread's messages for a while (a cover's paint too, which would otherwise stay
// queued), noting a quit request and the window a left button press went to.
Pumped pump(DWORD milliseconds)
{
    Pumped seen;
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            seen.quit = seen.quit || message.message == WM_QUIT;
            if (message.message == WM_LBUTTONDOWN)
                seen.pressed = message.hwnd;
            if (message.message != WM_QUIT)
                DispatchMessageA(&message);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
    return seen;
}

void clickAt(int x, int y)
{
    SetCursorPos(x, y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// A top-level window that takes the activation on a click, as most windows do.
HWND createOrdinaryWindow(const ScreenRect& rect)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CoversTestOrdinary";
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "ordinary", WS_POPUP | WS_VISIBLE, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

// The renderer's window, windowed in the top left corner, active and with the keyboard.
class ShowWithCover : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(renderer_.createWindow(320, 240));
        show_ = renderer_.window();
        SetForegroundWindow(show_);
        SetFocus(show_);
        pump(100);
    }
    void TearDown() override
    {
        renderer_.shutdown();
        pump(50);
    }
    Renderer renderer_{GetModuleHandleA(nullptr), false};
    HWND show_ = nullptr;
    SystemCoverWindows system_;
};

TEST_F(ShowWithCover, CoverIsABlackTopMostToolWindowWithoutPointerThatEndsTheShowWhenClosed)
{
    HWND cover = static_cast<HWND>(system_.createCover(coverRect));
    ASSERT_NE(cover, nullptr);
    EXPECT_EQ(FindWindowA("Vitrelux_Cover", "Vitrelux_Cover"), cover);
    const LONG_PTR extended = GetWindowLongPtrA(cover, GWL_EXSTYLE);
    for (LONG_PTR bit : {WS_EX_TOPMOST, WS_EX_TOOLWINDOW, WS_EX_NOACTIVATE})
        EXPECT_EQ(extended & bit, bit) << std::hex << bit;
    EXPECT_EQ(GetWindowLongPtrA(cover, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION), WS_POPUP | WS_VISIBLE);
    RECT rect;
    GetWindowRect(cover, &rect);
    EXPECT_EQ(rect.left, 400);
    EXPECT_EQ(rect.bottom, 600);
    EXPECT_EQ(GetForegroundWindow(), show_) << "made without taking the show's place";
    EXPECT_EQ(GetClassLongPtrA(cover, GCLP_HBRBACKGROUND), reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
    SendMessageA(cover, WM_SETCURSOR, reinterpret_cast<WPARAM>(cover), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), nullptr) << "the pointer shows over a cover";
    pump(0);
    SendMessageA(cover, WM_CLOSE, 0, 0);
    EXPECT_TRUE(pump(0).quit) << "a close request to a cover ends the show";
    EXPECT_TRUE(IsWindow(cover)) << "the renderer's shutdown, not the cover, removes it";
    system_.destroyCover(cover);
    EXPECT_FALSE(IsWindow(cover));
}

TEST_F(ShowWithCover, AClickOnACoverLeavesTheKeyboardWithTheShow)
{
    // An ordinary window in the same place shows that the click would move the keyboard.
    struct Case {
        const char* what;
        bool cover;
    };
    for (const Case& c : {Case{"ordinary window", false}, Case{"cover", true}}) {
        HWND window = c.cover ? static_cast<HWND>(system_.createCover(coverRect)) : createOrdinaryWindow(coverRect);
        ASSERT_NE(window, nullptr) << c.what;
        SetForegroundWindow(show_);
        SetFocus(show_);
        pump(100);
        clickAt(550, 450);
        EXPECT_EQ(pump(500).pressed, window) << c.what << ": the click went elsewhere";
        EXPECT_EQ(GetForegroundWindow() == show_, c.cover) << c.what;
        EXPECT_EQ(GetFocus() == show_, c.cover) << c.what;
        DestroyWindow(window);
    }
}

} // namespace
