// The renderer around the scene: window, display mode, GL state, loop, window procedure, shutdown.
#include "render/renderer_win32.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <GL/gl.h>
#include <GL/glu.h>
#include <mmsystem.h>

#include "common/contract.h"
#include "common/trace_win32.h"
#include "render/display_power_win32.h"
#include "render/projection.h"

namespace {

// The window's class and title: the front end and the tests find the show by it.
constexpr const char* windowName = contract::rendererWindowTitle;

class GlSheetPainter : public SheetPainter {
public:
    void drawStrip(const float colour[4], const SheetVertex (&strip)[4]) override
    {
        glColor4fv(colour);
        glBegin(GL_TRIANGLE_STRIP);
        for (const SheetVertex& corner : strip) {
            glTexCoord2f(corner.s, corner.t);
            glVertex3f(corner.x, corner.y, corner.z);
        }
        glEnd();
    }
};

// Serves what is queued before the message loop runs; false when that was a quit request, which
// is posted again for the loop.
bool serveQueued()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// NOTE: Wine puts on the screen what this thread has painted only when the thread finds its queue
// empty, and the start-up that follows takes no messages for a while.
void presentPainted()
{
    serveQueued();
}

// Asks the driver to make each swap wait for the display's refresh. Drivers without the
// extension, and software OpenGL, swap at once; the loop's pacing covers them.
void requestSwapInterval()
{
    using SwapIntervalFunction = BOOL(WINAPI*)(int);
    PROC found = wglGetProcAddress("wglSwapIntervalEXT");
    if (found)
        reinterpret_cast<SwapIntervalFunction>(reinterpret_cast<void (*)()>(found))(1);
}

void resizeScene(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfViewDegrees, perspectiveAspect(width, height), nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setFixedGlState(unsigned texture)
{
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glClearDepth(1.0);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_BLEND);
    // Additive blending weighted by opacity: overlapping sheets add up their colours.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    // The default texture environment (modulate) lets each sheet's colour tint the snapshot.
    glBindTexture(GL_TEXTURE_2D, texture);
}

// Nothing is drawn for a display that is off: the thread sleeps until a message comes, without the
// fine timer tick that the pacing asks of the whole system.
void sleepWhileDark()
{
    timeEndPeriod(1);
    WaitMessage();
    timeBeginPeriod(1);
}

} // namespace

bool setupPixelFormat(HDC dc)
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = showColourBits;
    format.cDepthBits = showColourBits;
    int index = ChoosePixelFormat(dc, &format);
    if (index == 0)
        return false;
    return SetPixelFormat(dc, index, &format) != FALSE;
}

Renderer::Renderer(HINSTANCE instance, bool fullScreen, TextureLevel (*prepare)())
    : instance_(instance), fullScreen_(fullScreen), picture_(prepare)
{
}

Renderer::~Renderer()
{
    shutdown();
}

bool Renderer::createWindow(int width, int height)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Black, not the system's window colour: the window shows for a moment before the first
    // frame, often in a dark room.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = windowName;
    RegisterClassA(&windowClass);

    RECT rect = {0, 0, width, height};
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    DWORD extendedStyle = 0;
    if (fullScreen_) {
        mode_.enter();
        traceStage("mode-switched");
        ShowCursor(FALSE);
        cursorHidden_ = true;
        style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        // Over notifications and always-on-top windows, as the covers are.
        extendedStyle = WS_EX_TOPMOST;
        // The whole monitor in whatever mode it now has, switched or not.
        rect = mode_.monitorRect();
    }
    const POINT origin = {rect.left, rect.top};
    AdjustWindowRect(&rect, style, FALSE);
    // Nobody else would give the user back the screen the show took: shutdown does, when this fails.
    window_ = CreateWindowExA(extendedStyle, windowName, windowName, style, origin.x, origin.y, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, instance_, this);
    if (!window_)
        return false;
    // The other monitors go dark before this one, and long before the slow GL start-up is done.
    if (fullScreen_) {
        layOutCovers();
        presentPainted();
        traceStage("covers-shown");
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(window_);
    presentPainted();
    traceStage("window-shown");
    return true;
}

bool Renderer::createGlContext(int width, int height)
{
    deviceContext_ = GetDC(window_);
    const bool formatSet = setupPixelFormat(deviceContext_);
    traceStage("pixel-format-set");
    glContext_ = formatSet ? wglCreateContext(deviceContext_) : nullptr;
    // Without a context there is no show; anything else (the mode, the texture) it can do without.
    if (!glContext_ || !wglMakeCurrent(deviceContext_, glContext_))
        return false;
    traceStage("context-made");
    requestSwapInterval();
    resizeScene(width, height);
    return true;
}

// Waits for the picture with the window's messages answered, so that Escape ends the show at once
// even while a large picture is still being scaled; the picture is then left unused.
void Renderer::makeTexture()
{
    while (!picture_.prepared(10)) {
        if (!serveQueued())
            return;
    }
    std::wstring message;
    texture_ = picture_.make(message);
    if (!message.empty())
        MessageBoxW(GetFocus(), message.c_str(), L"Error", MB_OK);
}

void Renderer::start()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    RECT client{};
    GetClientRect(window_, &client);
    if (!createGlContext(client.right, client.bottom))
        PostQuitMessage(0);
    makeTexture();
    clock_.start(time_);
    clock_.update();
    scene_.start(clock_.totalSeconds(), random_);
    // Binds the texture, which must be made by now.
    setFixedGlState(texture_);
    // The system reports the display's state at once, and again whenever it changes.
    displayReports_ = registerDisplayReports(window_);
    // Read after the mode change, which may have changed the refresh rate too.
    pacer_.start(mode_.refreshRate());
}

void Renderer::stepScene()
{
    scene_.step(clock_.totalSeconds(), clock_.deltaSeconds(), random_);
}

void Renderer::drawScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    GlSheetPainter painter;
    scene_.draw(painter);
    SwapBuffers(deviceContext_);
    if (framesDrawn_++ == 0)
        traceStage("first-frame");
}

int Renderer::run()
{
    MSG message{};
    // NOTE: Windows ends timed waits on its 15.6 ms system tick unless a finer one is asked for; on that
    // tick the pacing's waits would space the frames up to 31 ms apart instead of 17.
    timeBeginPeriod(1);
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (!displayWatch_.drawing()) {
            sleepWhileDark();
            continue;
        }
        if (!pacer_.waitForNextFrame())
            continue;
        clock_.update();
        stepScene();
        drawScene();
    }
    timeEndPeriod(1);
    traceFrames(framesDrawn_, clock_.totalSeconds());
    shutdown();
    return static_cast<int>(message.wParam);
}

// Black covers over every monitor but the show's, from the monitor list as it is now: after the
// mode switch, which can move the other monitors, or after a display change during the show.
void Renderer::layOutCovers()
{
    RECT rect{};
    GetWindowRect(window_, &rect);
    covers_.layOut({rect.left, rect.top, rect.right, rect.bottom});
}

LRESULT CALLBACK Renderer::windowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* renderer = static_cast<Renderer*>(reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams);
        renderer->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(renderer));
    }
    auto* renderer = reinterpret_cast<Renderer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (!renderer || message == WM_NCDESTROY)
        return DefWindowProcA(window, message, wparam, lparam);
    return renderer->handle(message, wparam, lparam);
}

LRESULT Renderer::handle(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        if (!fullScreen_)
            resizeScene(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window_, &paint);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wparam == VK_ESCAPE)
            PostQuitMessage(0);
        return 0;
    case WM_DISPLAYCHANGE:
        // A monitor plugged in or out, or moved: the covers follow.
        if (fullScreen_)
            layOutCovers();
        break;
    case WM_POWERBROADCAST: {
        std::uint32_t state = 0;
        if (wparam != PBT_POWERSETTINGCHANGE || !displayStateOf(lparam, state))
            break;
        displayWatch_.displayChanged(state);
        return TRUE;
    }
    case WM_ENDSESSION:
        // The system may end the process as soon as this returns: the display mode goes back now.
        if (wparam) {
            shutdown();
            ExitProcess(0);
        }
        return 0;
    case WM_SYSCOMMAND:
        // Swallowed so that the system does not start a screen saver over the show.
        if (wparam == SC_SCREENSAVE)
            return 0;
        break;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}

void Renderer::shutdown()
{
    if (glContext_) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(glContext_);
        glContext_ = nullptr;
    }
    if (deviceContext_) {
        ReleaseDC(window_, deviceContext_);
        deviceContext_ = nullptr;
    }
    covers_.remove();
    unregisterDisplayReports(displayReports_);
    displayReports_ = nullptr;
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    mode_.leave();
    if (cursorHidden_) {
        ShowCursor(TRUE);
        cursorHidden_ = false;
    }
    UnregisterClassA(windowName, instance_);
}
