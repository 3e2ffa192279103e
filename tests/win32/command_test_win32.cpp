// The Command button's window: messages in, faces painted and Clicks out, as sequences.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

#include "saver/button/button_resources.h"
#include "saver/button/command_win32.h"

namespace {

constexpr int buttonId = 7;
const char* const faceNames[] = {"Normal", "HighLight", "Selected", "Pressed", "HighLight", "Disable"};
int clicks = 0;

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_COMMAND && LOWORD(wparam) == buttonId && HIWORD(wparam) == BN_CLICKED)
        ++clicks;
    return DefWindowProcA(window, message, wparam, lparam);
}

// Two pixels of the left edge tell the state images apart (HighLight and HighLightSelect are one picture).
std::vector<COLORREF> edgePixels(HDC dc)
{
    return {GetPixel(dc, 1, 12), GetPixel(dc, 2, 12)};
}

// A host window with one 81 x 25 button, initialised as the dialog does.
class ButtonRig {
public:
    ButtonRig()
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA hostClass{};
        hostClass.lpfnWndProc = hostProc;
        hostClass.hInstance = instance;
        hostClass.lpszClassName = "CommandTestHost";
        RegisterClassA(&hostClass);
        host_ = CreateWindowExA(0, "CommandTestHost", "host", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                instance, nullptr);
        PropertyBag bag;
        bag.set("caption", "OK");
        button_ = createCommand(host_, buttonId, 10, 10, 81, 25, bag, defaultCaptionFont());
        initializeCommand(button_);
        for (int image = 0; image < 6; ++image)
            images_.push_back(imagePixels(instance, firstStateImageId + image));
        clicks = 0;
        SetFocus(host_);
    }
    ~ButtonRig() { DestroyWindow(host_); }
    ButtonRig(const ButtonRig&) = delete;
    ButtonRig& operator=(const ButtonRig&) = delete;

    std::vector<COLORREF> imagePixels(HINSTANCE instance, int id)
    {
        HBITMAP image = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, image);
        std::vector<COLORREF> pixels = edgePixels(dc);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(image);
        return pixels;
    }

    // The face as the button prints it: the state image it shows, and where its dark colour lies.
    std::string face()
    {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 81, 25);
        ReleaseDC(nullptr, screen);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageA(button_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        const std::vector<COLORREF> pixels = edgePixels(dc);
        const bool darkOnTop = GetGValue(GetPixel(dc, 20, 5)) < GetGValue(GetPixel(dc, 20, 19));
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        for (int image = 0; image < 6; ++image)
            if (pixels == images_[image])
                return std::string(faceNames[image]) + (darkOnTop ? "^" : "v");
        return "unknown";
    }

    // Clicks are posted to the host: they arrive once the queue is served.
    void pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }

    void send(const std::string& event)
    {
        const LPARAM inside = MAKELPARAM(40, 12);
        const LPARAM outside = MAKELPARAM(300, 12);
        if (event == "move") SendMessageA(button_, WM_MOUSEMOVE, 0, inside);
        else if (event == "down") SendMessageA(button_, WM_LBUTTONDOWN, MK_LBUTTON, inside);
        else if (event == "up") SendMessageA(button_, WM_LBUTTONUP, 0, inside);
        else if (event == "up-outside") SendMessageA(button_, WM_LBUTTONUP, 0, outside);
        else if (event == "right-down") SendMessageA(button_, WM_RBUTTONDOWN, MK_RBUTTON, inside);
        else if (event == "right-up") SendMessageA(button_, WM_RBUTTONUP, 0, inside);
        // The left button let go while the right one is still held.
        else if (event == "up-held") SendMessageA(button_, WM_LBUTTONUP, MK_RBUTTON, inside);
        else if (event == "enter") SendMessageA(button_, WM_KEYDOWN, VK_RETURN, 0);
        else if (event == "space") SendMessageA(button_, WM_KEYDOWN, VK_SPACE, 0);
        else if (event == "blur") SetFocus(host_);
        else if (event == "off") enableCommand(button_, false);
        else if (event == "on") enableCommand(button_, true);
        // Another window takes the capture, as a message box does.
        else if (event == "steal") SetCapture(host_);
        else if (event == "tick") {
            // The pointer parked far from the button: the check finds another window under it.
            SetCursorPos(5, 700);
            SendMessageA(button_, WM_TIMER, 1, 0);
        } else ADD_FAILURE() << event;
    }

    HWND host_ = nullptr;
    HWND button_ = nullptr;

private:
    std::vector<std::vector<COLORREF>> images_;
};

TEST(CommandWindow, MessagesMoveTheFaceAndRaiseClicks)
{
    struct Case {
        const char* events;
        const char* face;
        int clicks;
        bool capture;
        bool focus;
    };
    const Case cases[] = {
        {"move", "HighLight^", 0, false, false},
        {"move tick", "Normalv", 0, false, false},
        // The press takes the focus first, and the capture keeps the release ours.
        {"move down", "Pressed^", 0, true, true},
        {"move down up", "HighLight^", 1, false, true},
        {"move down up-outside", "HighLight^", 1, false, true},
        {"move down tick up-outside", "Selectedv", 0, false, true},
        // A press whose capture another window takes ends as a release outside would.
        {"move down steal", "Selectedv", 0, false, true},
        {"move down steal up", "Selectedv", 0, false, true},
        {"move right-up", "HighLight^", 1, false, false},
        // A right press on the focused button changes nothing on its face.
        {"move down up right-down", "HighLight^", 1, true, true},
        // The click waits until the last button is up and the capture given back.
        {"move down right-down up-held", "HighLight^", 0, true, true},
        {"move down right-down up-held right-up", "HighLight^", 1, false, true},
        {"move down up blur", "Normalv", 1, false, false},
        {"move enter space", "HighLight^", 0, false, false},
        // A disabled button takes neither the focus nor the capture.
        {"off move down", "Disablev", 0, false, false},
        {"off move down up", "Disablev", 0, false, false},
        // Disabled with the focus and enabled again, it clicks as before.
        {"move down up off on move down up", "HighLight^", 2, false, true},
    };
    for (const Case& c : cases) {
        ButtonRig rig;
        ASSERT_NE(rig.button_, nullptr);
        std::istringstream events(c.events);
        for (std::string event; events >> event;)
            rig.send(event);
        EXPECT_EQ(GetCapture() == rig.button_, c.capture) << c.events;
        EXPECT_EQ(clicks, 0) << c.events << ": a click is posted, never sent from the button's own message";
        rig.pump();
        EXPECT_EQ(rig.face(), c.face) << c.events;
        EXPECT_EQ(clicks, c.clicks) << c.events;
        EXPECT_EQ(GetFocus() == rig.button_, c.focus) << c.events;
    }
}

TEST(CommandWindow, ADisabledButtonsWindowIsDisabled)
{
    ButtonRig rig;
    EXPECT_TRUE(IsWindowEnabled(rig.button_));
    SetFocus(rig.button_);
    enableCommand(rig.button_, false);
    EXPECT_FALSE(IsWindowEnabled(rig.button_)) << "screen readers and the keyboard see it as unavailable";
    EXPECT_EQ(GetFocus(), rig.host_) << "the focus goes to the dialog, where Escape still reaches it";
    enableCommand(rig.button_, true);
    EXPECT_TRUE(IsWindowEnabled(rig.button_));
}

TEST(CommandWindow, CaptionSizeAndWindowTextComeFromTheStoredProperties)
{
    ButtonRig rig;
    wchar_t text[16] = {};
    GetWindowTextW(rig.button_, text, 16);
    EXPECT_STREQ(text, L"OK") << "screen readers name the button by its window text";
    EXPECT_FALSE(enableCommand(rig.host_, false)) << "only a button window takes a button's calls";
    RECT size{};
    GetClientRect(rig.button_, &size);
    EXPECT_EQ(size.right, 81);
    EXPECT_EQ(size.bottom, 25);
}

} // namespace
