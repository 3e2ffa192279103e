// The renderer's frame around the scene: window, display mode, GL state, loop, window procedure, shutdown.
#include "render/renderer_win32.h"

#include <cstdlib>
#include <ctime>
#include <GL/gl.h>
#include <GL/glu.h>
#include <mmsystem.h>

#include "common/contract.h"
#include "common/trace_win32.h"
#include "render/covers_win32.h"
#include "render/display_mode_win32.h"
#include "render/display_power_win32.h"
#include "render/display_watch.h"
#include "render/frame_pacer.h"
#include "render/projection.h"
#include "render/scene.h"
#include "render/snapshot_win32.h"
#include "render/system_win32.h"

DisplaySettings displaySettings = {1024, 768, 16, contract::rendererWindowTitle, true};

namespace {

HINSTANCE rendererInstance = nullptr;
HWND rendererWindow = nullptr;
HDC deviceContext = nullptr;
HGLRC glContext = nullptr;
RECT clientRect = {0, 0, 0, 0};

FrameClock frameClock;
SystemTimeSource systemTime;
CrtRandomSource crtRandom;
QueueMessageWait queueWait;
FramePacer framePacer(systemTime, queueWait);
DisplayWatch displayWatch(frameClock);
HANDLE displayReports = nullptr;

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

GlSheetPainter glPainter;
long framesDrawn = 0;

SystemCoverWindows coverWindows;
Covers covers(coverWindows);

// Black covers over every monitor but the show's, from the monitor list as it is now: after the
// mode switch, which can move the other monitors, or after a display change during the show.
void layOutCovers(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    covers.layOut({rect.left, rect.top, rect.right, rect.bottom});
}

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

// Lets the system put on the screen what this thread has painted, which Wine does only when the
// thread finds its queue empty: the start-up that follows takes no messages for a while.
void presentPainted()
{
    serveQueued();
}

// Waits for the snapshot's texture with the window's messages answered, so that Escape ends the
// show at once even while a large picture is still being scaled; false then, the picture unused.
bool waitForSnapshotTexture()
{
    while (!snapshotTexturePrepared(10)) {
        if (!serveQueued())
            return false;
    }
    return true;
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

void setFixedGlState()
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
    glBindTexture(GL_TEXTURE_2D, textureNames[0]);
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

HWND createRendererWindow(const char* title, int width, int height, DWORD style, bool fullScreen, HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = rendererWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Black, not the system's window colour: the window shows for a moment before the first
    // frame, often in a dark room.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = displaySettings.windowClassName;
    RegisterClassA(&windowClass);

    RECT rect = {0, 0, width, height};
    DWORD extendedStyle = 0;
    if (fullScreen && style == 0) {
        enterFullScreenMode();
        traceStage("mode-switched");
        ShowCursor(FALSE);
        style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        // Over notifications and always-on-top windows, as the covers are.
        extendedStyle = WS_EX_TOPMOST;
        // The whole monitor in whatever mode it now has, switched or not.
        rect = showMonitorRect();
    } else if (style == 0) {
        style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    }
    rendererInstance = instance;

    const POINT origin = {rect.left, rect.top};
    AdjustWindowRect(&rect, style, FALSE);
    HWND window = CreateWindowExA(extendedStyle, displaySettings.windowClassName, title, style, origin.x, origin.y,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (!window) {
        // Nobody else would give the user back the screen the show took.
        if (fullScreen) {
            leaveFullScreenMode();
            ShowCursor(TRUE);
        }
        return nullptr;
    }
    // The other monitors go dark before this one, and long before the slow GL start-up is done.
    if (fullScreen) {
        layOutCovers(window);
        presentPainted();
        traceStage("covers-shown");
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetFocus(window);
    presentPainted();
    traceStage("window-shown");
    return window;
}

bool setupPixelFormat(HDC dc)
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(displaySettings.colourBits);
    format.cDepthBits = static_cast<BYTE>(displaySettings.colourBits);
    int index = ChoosePixelFormat(dc, &format);
    if (index == 0)
        return false;
    return SetPixelFormat(dc, index, &format) != FALSE;
}

void createGlContext(int width, int height)
{
    deviceContext = GetDC(rendererWindow);
    if (!setupPixelFormat(deviceContext))
        PostQuitMessage(0);
    traceStage("pixel-format-set");
    glContext = wglCreateContext(deviceContext);
    // Without a context there is no show; anything else (the mode, the texture) it can do without.
    if (!glContext || !wglMakeCurrent(deviceContext, glContext))
        PostQuitMessage(0);
    traceStage("context-made");
    requestSwapInterval();
    resizeScene(width, height);
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

void initRenderer(HWND window)
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    rendererWindow = window;
    GetClientRect(window, &clientRect);
    createGlContext(clientRect.right, clientRect.bottom);
    if (waitForSnapshotTexture())
        loadSnapshotTexture();
    initScene(frameClock, systemTime, crtRandom);
    setFixedGlState();
    // The system reports the display's state at once, and again whenever it changes.
    displayReports = registerDisplayReports(window);
    // Read after the mode change, which may have changed the refresh rate too.
    framePacer.start(displayRefreshRate());
}

void drawFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    advanceScene(frameClock, crtRandom, glPainter);
    SwapBuffers(deviceContext);
    if (framesDrawn++ == 0)
        traceStage("first-frame");
}

int runMessageLoop()
{
    MSG message{};
    // Windows ends timed waits on its 15.6 ms system tick unless a finer one is asked for; on that
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
        if (!displayWatch.drawing()) {
            sleepWhileDark();
            continue;
        }
        if (!framePacer.waitForNextFrame())
            continue;
        frameClock.update();
        copyClockReadings(frameClock);
        drawFrame();
    }
    timeEndPeriod(1);
    traceFrames(framesDrawn, frameClock.totalSeconds());
    shutdownRenderer();
    releaseScene();
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        if (!displaySettings.fullScreen) {
            resizeScene(LOWORD(lparam), HIWORD(lparam));
            GetClientRect(window, &clientRect);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wparam == VK_ESCAPE)
            PostQuitMessage(0);
        return 0;
    case WM_DISPLAYCHANGE:
        // A monitor plugged in or out, or moved: the covers follow.
        if (displaySettings.fullScreen)
            layOutCovers(window);
        break;
    case WM_POWERBROADCAST: {
        std::uint32_t state = 0;
        if (wparam != PBT_POWERSETTINGCHANGE || !displayStateOf(lparam, state))
            break;
        displayWatch.displayChanged(state);
        return TRUE;
    }
    case WM_ENDSESSION:
        // The system may end the process as soon as this returns: the display mode goes back now.
        if (wparam) {
            shutdownRenderer();
            ExitProcess(0);
        }
        return 0;
    case WM_SYSCOMMAND:
        // Swallowed so that the system does not start a screen saver over the show.
        if (wparam == SC_SCREENSAVE)
            return 0;
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void shutdownRenderer()
{
    if (glContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(glContext);
        glContext = nullptr;
    }
    if (deviceContext) {
        ReleaseDC(rendererWindow, deviceContext);
        deviceContext = nullptr;
    }
    covers.remove();
    unregisterDisplayReports(displayReports);
    displayReports = nullptr;
    if (rendererWindow) {
        DestroyWindow(rendererWindow);
        rendererWindow = nullptr;
    }
    if (displaySettings.fullScreen) {
        leaveFullScreenMode();
        ShowCursor(TRUE);
    }
    UnregisterClassA(displaySettings.windowClassName, rendererInstance);
    PostQuitMessage(0);
}
