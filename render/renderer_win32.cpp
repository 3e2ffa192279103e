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

DEVMODEA modeBeforeShow{};

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

// Asks the driver to make each swap wait for the display's refresh. Drivers without the
// extension, and software OpenGL, swap at once; the loop's pacing covers them.
void requestSwapInterval()
{
    using SwapIntervalFunction = BOOL(WINAPI*)(int);
    PROC found = wglGetProcAddress("wglSwapIntervalEXT");
    if (found)
        reinterpret_cast<SwapIntervalFunction>(reinterpret_cast<void (*)()>(found))(1);
}

// The current display mode's refresh rate in hertz; 0 when the system does not know it.
std::uint32_t displayRefreshRate()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        return 0;
    return mode.dmDisplayFrequency;
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

} // namespace

HWND createRendererWindow(const char* title, int width, int height, DWORD style, bool fullScreen, HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = rendererWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = displaySettings.windowClassName;
    RegisterClassA(&windowClass);

    if (fullScreen && style == 0) {
        enterFullScreenMode();
        traceStage("mode-switched");
        ShowCursor(FALSE);
        style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    } else if (style == 0) {
        style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    }
    rendererInstance = instance;

    RECT rect = {0, 0, width, height};
    AdjustWindowRect(&rect, style, FALSE);
    HWND window = CreateWindowExA(0, displaySettings.windowClassName, title, style, 0, 0, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (!window) {
        // Nobody else would give the user back the screen the show took.
        if (fullScreen) {
            leaveFullScreenMode();
            ShowCursor(TRUE);
        }
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetFocus(window);
    traceStage("window-shown");
    return window;
}

void enterFullScreenMode()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        return;
    modeBeforeShow = mode;
    // Only the size changes; the display keeps its colour depth and refresh rate.
    mode.dmPelsWidth = static_cast<DWORD>(displaySettings.width);
    mode.dmPelsHeight = static_cast<DWORD>(displaySettings.height);
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
        PostQuitMessage(0);
}

void leaveFullScreenMode()
{
    ChangeDisplaySettingsA(nullptr, 0);
    // The stored mode is the one the desktop had, unless it was stored while the show's mode was
    // on (Wine stores the screen's mode when its desktop process starts, which can be after the
    // switch); the user gets back the mode from before the show either way.
    DEVMODEA now{};
    now.dmSize = sizeof now;
    if (modeBeforeShow.dmSize && EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &now) &&
        (now.dmPelsWidth != modeBeforeShow.dmPelsWidth || now.dmPelsHeight != modeBeforeShow.dmPelsHeight))
        ChangeDisplaySettingsA(&modeBeforeShow, 0);
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
    wglMakeCurrent(deviceContext, glContext);
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
    loadSnapshotTexture();
    initScene(frameClock, systemTime, crtRandom);
    setFixedGlState();
    // Read after the mode change, which may have changed the refresh rate too.
    framePacer.start(displayRefreshRate());
}

void drawFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    advanceScene(frameClock, crtRandom, glPainter);
    SwapBuffers(deviceContext);
    if (framesDrawn++ > 0)
        return;
    traceStage("first-frame");
    // Made once the show is on the screen, so that they cost the first frame nothing.
    if (displaySettings.fullScreen) {
        layOutCovers(rendererWindow);
        traceStage("covers-shown");
    }
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
        // A monitor plugged in or out, or moved: the covers follow once they are up.
        if (displaySettings.fullScreen && framesDrawn > 0)
            layOutCovers(window);
        break;
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
