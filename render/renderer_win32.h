// The renderer: its window, display mode, covers, GL context, texture, clock, pacing and scene.
// WinMain builds the process's one; its window procedure reaches it through the window's user data.
#pragma once
#include <windows.h>

#include "render/covers.h"
#include "render/covers_win32.h"
#include "render/display_mode_win32.h"
#include "render/display_watch.h"
#include "render/frame_clock.h"
#include "render/frame_pacer.h"
#include "render/scene.h"
#include "render/snapshot_win32.h"
#include "render/system_win32.h"

// The colour and depth bits the show asks of OpenGL.
constexpr int showColourBits = 16;

// A double-buffered RGBA format for OpenGL on the device context.
bool setupPixelFormat(HDC dc);

class Renderer {
public:
    // Starts preparing the picture at once: it is read and scaled while the display mode, the window
    // and the GL context are made.
    Renderer(HINSTANCE instance, bool fullScreen, TextureLevel (*prepare)() = prepareUserSnapshot);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // The window with a client area of width x height, shown and with the keyboard. In full screen
    // the display's mode is switched first and the other monitors covered, and the window takes the
    // whole monitor. False when it cannot be made, with the display given back.
    bool createWindow(int width, int height);
    // The GL context, the texture, the clock and the scene, the fixed GL state, the display's
    // reports and the pacing, in this order.
    void start();
    // Frames until a quit request, whose code it returns, with everything given back.
    int run();
    // Gives back the GL context, the covers, the display's reports, the window and the display mode.
    void shutdown();

    HWND window() const { return window_; }
    const FrameClock& clock() const { return clock_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    bool createGlContext(int width, int height);
    void makeTexture();
    void layOutCovers();
    void stepScene();
    void drawScene();

    HINSTANCE instance_;
    bool fullScreen_;
    SnapshotTexture picture_;
    ShowDisplayMode mode_;
    bool cursorHidden_ = false;
    SystemCoverWindows coverWindows_;
    Covers covers_{coverWindows_};
    HWND window_ = nullptr;
    HDC deviceContext_ = nullptr;
    HGLRC glContext_ = nullptr;
    unsigned texture_ = 0;
    HANDLE displayReports_ = nullptr;
    SystemTimeSource time_;
    CrtRandomSource random_;
    QueueMessageWait queueWait_;
    FrameClock clock_;
    FramePacer pacer_{time_, queueWait_};
    DisplayWatch displayWatch_{clock_};
    Scene scene_;
    long framesDrawn_ = 0;
};
