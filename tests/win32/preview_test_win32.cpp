// The preview window inside a stand-in for the control panel's preview area: its place, size and end.
#include <gtest/gtest.h>

#include <windows.h>

#include "saver/core/preview_win32.h"

namespace {

HWND makeArea(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "area", WS_POPUP | WS_VISIBLE, 40, 30, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

bool quitPosted()
{
    MSG message;
    bool quit = false;
    // Dispatched, not just taken: a WM_PAINT that nobody serves comes back for ever.
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || message.message == WM_QUIT;
        DispatchMessageA(&message);
    }
    return quit;
}

TEST(Preview, FillsItsAreaAsAChildAndEndsWithIt)
{
    const SIZE sizes[] = {{152, 112}, {300, 200}, {50, 40}};
    for (const SIZE& size : sizes) {
        HWND area = makeArea(size.cx, size.cy);
        ASSERT_NE(area, nullptr);
        StartPreview(GetModuleHandleA(nullptr), area);
        HWND preview = FindWindowExA(area, nullptr, "Vitrelux_R", "Preview Window");
        ASSERT_NE(preview, nullptr) << size.cx << "x" << size.cy;
        EXPECT_TRUE(GetWindowLongA(preview, GWL_STYLE) & WS_CHILD);
        EXPECT_TRUE(IsWindowVisible(preview));
        RECT placed;
        GetWindowRect(preview, &placed);
        MapWindowPoints(nullptr, area, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 0);
        EXPECT_EQ(placed.top, 0);
        EXPECT_EQ(placed.right, size.cx);
        EXPECT_EQ(placed.bottom, size.cy);
        EXPECT_FALSE(quitPosted());

        DestroyWindow(area);
        EXPECT_FALSE(IsWindow(preview));
        EXPECT_TRUE(quitPosted()) << "the process ends with its preview";
    }
}

TEST(Preview, WithoutAnAreaTheWindowHasNoSize)
{
    StartPreview(GetModuleHandleA(nullptr), nullptr);
    HWND preview = FindWindowA("Vitrelux_R", "Preview Window");
    ASSERT_NE(preview, nullptr);
    RECT placed;
    GetWindowRect(preview, &placed);
    EXPECT_EQ(placed.right - placed.left, 0);
    EXPECT_EQ(placed.bottom - placed.top, 0);
    DestroyWindow(preview);
    quitPosted();
}

} // namespace
