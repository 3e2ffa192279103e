// Entry point of Vitrelux.dll, the full-screen renderer that the front end starts for each show.
#include "render/renderer_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    displaySettings.fullScreen = true;
    HWND window = createRendererWindow(displaySettings.windowClassName, displaySettings.width, displaySettings.height, 0,
                                       displaySettings.fullScreen, instance);
    if (!window)
        return 1;
    initRenderer(window);
    return runMessageLoop();
}
