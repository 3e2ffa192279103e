// The settings dialog's requests done on its window, panel, track box and buttons.
#include "saver/settings_dialog/dialog_platform_win32.h"

#include "saver/button/command_win32.h"
#include "saver/settings_dialog/dialog_resources.h"
#include "saver/settings_dialog/dialog_services_win32.h"
#include "saver/wide_text_win32.h"

WindowsDialogPlatform::WindowsDialogPlatform(HINSTANCE instance, DialogWindows& windows, DialogPainter& painter)
    : instance_(instance), windows_(windows), painter_(painter), hand_(LoadCursorW(instance, MAKEINTRESOURCEW(handCursorId)))
{
}

bool WindowsDialogPlatform::windowRect(DialogRect& rect)
{
    RECT r{};
    if (!GetWindowRect(windows_.window, &r))
        return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

bool WindowsDialogPlatform::screenSize(int& width, int& height)
{
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    return width > 0 && height > 0;
}

void WindowsDialogPlatform::moveWindow(int left, int top)
{
    SetWindowPos(windows_.window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowsDialogPlatform::setAllButtons(bool initialize, bool enable)
{
    for (HWND control : {windows_.fileButton, GetDlgItem(windows_.window, setId), GetDlgItem(windows_.window, cancelId)}) {
        if (initialize)
            initializeCommand(control);
        else
            enableCommand(control, enable);
    }
}

void WindowsDialogPlatform::tilePanel()
{
    RECT outer{};
    GetWindowRect(windows_.panel, &outer);
    painter_.tilePanel(outer.right - outer.left, outer.bottom - outer.top);
    InvalidateRect(windows_.panel, nullptr, FALSE);
}

void WindowsDialogPlatform::enableTrackBox(bool enabled)
{
    EnableWindow(windows_.track, enabled);
}

void WindowsDialogPlatform::enableFileButton(bool enabled)
{
    enableCommand(windows_.fileButton, enabled);
}

void WindowsDialogPlatform::showGlyph(int option, bool selected)
{
    painter_.selectGlyph(option, selected);
    const RECT cell = rectOf(GlyphOf(option));
    InvalidateRect(windows_.panel, &cell, FALSE);
}

void WindowsDialogPlatform::setTrackText(const std::string& text)
{
    SetWindowTextW(windows_.track, wideFromUtf8(text).c_str());
}

std::string WindowsDialogPlatform::trackText()
{
    wchar_t text[256] = {};
    GetWindowTextW(windows_.track, text, 256);
    return utf8FromWide(text);
}

void WindowsDialogPlatform::addTrackEntry(const std::string& text)
{
    SendMessageW(windows_.track, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideFromUtf8(text).c_str()));
}

void WindowsDialogPlatform::setFileLabel(const AnsiText& path)
{
    painter_.setFileText(wideFromCodePage(path));
    const RECT label = rectOf(Part::FileLabel);
    InvalidateRect(windows_.panel, &label, FALSE);
}

bool WindowsDialogPlatform::cursorPosition(int& x, int& y)
{
    POINT pointer{};
    if (!GetCursorPos(&pointer))
        return false;
    x = pointer.x;
    y = pointer.y;
    return true;
}

void WindowsDialogPlatform::animateCaption(const DialogRect& from, const DialogRect& to)
{
    ::animateCaption(windows_.window, from, to);
}

void WindowsDialogPlatform::setPointer(PointerShape shape)
{
    SetCursor(cursorOf(shape));
}

void WindowsDialogPlatform::openAddress(const std::string& address)
{
    ::openAddress(windows_.window, address);
}

FileChoice WindowsDialogPlatform::chooseMusicFile(const AnsiText& initialFolder, AnsiText& chosen)
{
    return ::chooseMusicFile(windows_.window, instance_, initialFolder, chosen);
}

void WindowsDialogPlatform::showMessage(DialogMessage message)
{
    ::showMessage(windows_.window, message);
}

char WindowsDialogPlatform::decimalSeparator()
{
    return localeDecimalSeparator();
}

void WindowsDialogPlatform::close()
{
    if (windows_.owner)
        EnableWindow(windows_.owner, TRUE);
    windows_.owner = nullptr;
    if (windows_.window)
        DestroyWindow(windows_.window);
}

HCURSOR WindowsDialogPlatform::cursorOf(PointerShape shape) const
{
    if (shape == PointerShape::Hand && hand_)
        return hand_;
    return LoadCursorA(nullptr, shape == PointerShape::Hourglass ? IDC_WAIT : IDC_ARROW);
}
