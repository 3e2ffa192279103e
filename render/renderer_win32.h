// The renderer's frame: full-screen window, display mode, OpenGL context, message loop and shutdown.
#pragma once
#include <windows.h>

struct DisplaySettings {
    int width;
    int height;
    int colourBits;
    const char* windowClassName;
    bool fullScreen;
};

extern DisplaySettings displaySettings;

HWND createRendererWindow(const char* title, int width, int height, DWORD style, bool fullScreen, HINSTANCE instance);
bool setupPixelFormat(HDC dc);
void createGlContext(int width, int height);
void resizeScene(int width, int height);
void initRenderer(HWND window);
int runMessageLoop();
LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void shutdownRenderer();
void drawFrame();
