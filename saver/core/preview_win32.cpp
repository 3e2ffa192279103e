// Vitrelux_R: paints the stored preview picture unscaled at its top-left corner over black.
#include "saver/core/preview_win32.h"

#include "saver/core/resources.h"

namespace {

constexpr char previewClassName[] = "Vitrelux_R";

// The picture lives with its window: given at creation, kept in the window's user data.
HBITMAP pictureOf(HWND window)
{
    return reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void paintPreview(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (HBITMAP Img_Prev = pictureOf(window)) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(source, Img_Prev);
        BITMAP size{};
        GetObjectA(Img_Prev, sizeof size, &size);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
        break;
    case WM_PAINT:
        paintPreview(window);
        return 0;
    case WM_DESTROY:
        if (HBITMAP Img_Prev = pictureOf(window))
            DeleteObject(Img_Prev);
        // The control panel destroys its preview area with this child in it: the process ends with it.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

bool StartPreview(HINSTANCE instance, HWND parent)
{
    RECT area{};
    GetWindowRect(parent, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = previewWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = previewClassName;
    RegisterClassA(&windowClass);

    HBITMAP Img_Prev = LoadBitmapA(instance, MAKEINTRESOURCEA(previewBitmapId));
    HWND window = CreateWindowExA(0, previewClassName, "Preview Window", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, Img_Prev);
    // Without a window the process ends at once, and the picture with it.
    if (!window)
        return false;
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style | WS_CHILD);
    SetParent(window, parent);
    MoveWindow(window, 0, 0, width, height, FALSE);
    ShowWindow(window, SW_SHOW);
    return true;
}
