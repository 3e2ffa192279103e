// What the settings dialog asks of its window, done on the windows it is made of.
#pragma once
#include <string>
#include <windows.h>

#include "saver/settings_dialog/dialog_painter_win32.h"
#include "saver/settings_dialog/settings_dialog.h"

// The windows the dialog is made of; null where they are not made yet or gone.
struct DialogWindows {
    HWND window = nullptr;
    HWND panel = nullptr;
    HWND track = nullptr;
    HWND fileButton = nullptr;
    // Disabled while the dialog is open, as a modal dialog's owner is.
    HWND owner = nullptr;
};

class WindowsDialogPlatform : public DialogPlatform {
public:
    WindowsDialogPlatform(HINSTANCE instance, DialogWindows& windows, DialogPainter& painter);

    bool windowRect(DialogRect& rect) override;
    bool screenSize(int& width, int& height) override;
    void moveWindow(int left, int top) override;
    void setAllButtons(bool initialize, bool enable) override;
    void tilePanel() override;
    void enableTrackBox(bool enabled) override;
    void enableFileButton(bool enabled) override;
    void showGlyph(int option, bool selected) override;
    void setTrackText(const std::string& text) override;
    std::string trackText() override;
    void addTrackEntry(const std::string& text) override;
    void setFileLabel(const AnsiText& path) override;
    bool cursorPosition(int& x, int& y) override;
    void animateCaption(const DialogRect& from, const DialogRect& to) override;
    void setPointer(PointerShape shape) override;
    void openAddress(const std::string& address) override;
    FileChoice chooseMusicFile(const AnsiText& initialFolder, AnsiText& chosen) override;
    void showMessage(DialogMessage message) override;
    char decimalSeparator() override;
    // The owner takes input again before the dialog goes, so that it is the window activated next.
    void close() override;

    HCURSOR cursorOf(PointerShape shape) const;

private:
    HINSTANCE instance_;
    DialogWindows& windows_;
    DialogPainter& painter_;
    HCURSOR hand_;
};
