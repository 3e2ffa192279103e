// Entry point of Vitrelux.dll, the full-screen renderer that the front end starts for each show.
#include "common/scaling_awareness_win32.h"
#include "common/trace_win32.h"
#include "render/renderer_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // What came before is the system's loading of the program and its libraries.
    traceStage("entry");
    // The front end wrote the snapshot whole before it started this program.
    Renderer renderer(instance, true);
    // Before the first window: the 1024 x 768 window and the mode switch in the display's real
    // pixels, and the covers on each monitor's real rectangle.
    SystemScalingAwareness awareness;
    declareScalingAware(awareness);
    if (!renderer.createWindow(static_cast<int>(showWidth), static_cast<int>(showHeight)))
        return 1;
    renderer.start();
    return renderer.run();
}
