// Vitrelux.Command: translates mouse, capture, focus, timer and size messages into the button's
// logic, and paints the faces it asks for onto a retained surface that WM_PAINT shows.
#include "saver/button/command_win32.h"

#include <cmath>
#include <memory>
#include <string>

#include "common/dib_section_win32.h"
#include "common/gdi_objects_win32.h"
#include "saver/button/button_resources.h"
#include "saver/wide_text_win32.h"

namespace {

constexpr UINT_PTR pointerTimerId = 1;

// The six state images, shared by the buttons alive and freed with the last of them.
struct StateImages {
    GdiObject images[6];
};

std::shared_ptr<StateImages> sharedStateImages(HINSTANCE instance)
{
    static std::weak_ptr<StateImages> shared;
    std::shared_ptr<StateImages> images = shared.lock();
    if (!images) {
        images = std::make_shared<StateImages>();
        for (int i = 0; i < 6; ++i)
            images->images[i] = GdiObject(LoadBitmapW(instance, MAKEINTRESOURCEW(firstStateImageId + i)));
        shared = images;
    }
    return images;
}

struct CreateParameters {
    const PropertyBag& bag;
    const ButtonFont& ambient;
};

int pixels(double twips)
{
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

class CommandWindow : public CommandSurface {
public:
    CommandWindow(HWND window, HINSTANCE instance)
        : command(*this), window_(window), stateImages_(sharedStateImages(instance))
    {
    }
    CommandWindow(const CommandWindow&) = delete;
    CommandWindow& operator=(const CommandWindow&) = delete;

    void paintFace(FaceImage image, const Gradient& gradient, const FaceLayout& layout) override
    {
        if (!makeSurface())
            return;
        HDC face = surface_->dc();
        RECT all = {0, 0, width_, height_};
        FillRect(face, &all, GetSysColorBrush(COLOR_BTNFACE));
        TRIVERTEX vertices[2];
        for (int i = 0; i < 2; ++i) {
            const GradientVertex& v = gradient.vertices[i];
            vertices[i] = {v.x, v.y, v.red, v.green, v.blue, v.alpha};
        }
        GRADIENT_RECT rect = {gradient.upperLeft, gradient.lowerRight};
        GradientFill(face, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
        copyPieces(stateImages_->images[static_cast<int>(image)].bitmap(), layout);
        InvalidateRect(window_, nullptr, FALSE);
    }
    void placeCaption(std::int16_t top, std::int16_t width) override
    {
        captionTop_ = pixels(top);
        captionWidth_ = pixels(width);
        InvalidateRect(window_, nullptr, FALSE);
    }
    void showEnabled(bool enabled) override
    {
        captionEnabled_ = enabled;
        // The system would leave the focus nowhere, where Escape no longer reaches the dialog.
        if (!enabled && GetFocus() == window_)
            SetFocus(GetAncestor(window_, GA_ROOT));
        EnableWindow(window_, enabled);
        InvalidateRect(window_, nullptr, FALSE);
    }
    void startPointerTimer(std::uint32_t milliseconds) override { SetTimer(window_, pointerTimerId, milliseconds, nullptr); }
    // Posted: what the click starts (the file chooser's modal loop, the dialog's end) must not run
    // inside this button's message, which that could destroy.
    void raiseClick() override
    {
        PostMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window_));
    }
    void propertyChanged(const char* name) override
    {
        const std::string property = name;
        if (property == "Font")
            makeFont();
        else if (property == "Caption")
            showCaptionAsText();
        InvalidateRect(window_, nullptr, FALSE);
    }

    void makeFont() { font_ = createCaptionFont(command.Font()); }
    // Screen readers and window lists name the button by its window text.
    void showCaptionAsText() { SetWindowTextW(window_, wideText(command.Caption()).c_str()); }

    // The face, then the caption over it (the caption's label has no window of its own).
    void show(HDC target)
    {
        if (surface_ && command.opaque())
            surface_->show(target);
        const std::wstring caption = wideText(command.Caption());
        RECT place = {0, captionTop_, captionWidth_, height_};
        SetBkMode(target, TRANSPARENT);
        SetTextColor(target, captionEnabled_ ? static_cast<COLORREF>(command.fontColour()) : GetSysColor(COLOR_GRAYTEXT));
        const Selection font(target, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(target, caption.c_str(), static_cast<int>(caption.size()), &place, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }

    void resized(int width, int height)
    {
        if (width == width_ && height == height_)
            return;
        surface_.reset();
        width_ = width;
        height_ = height;
        command.Resize(width, height);
    }

    Command command;
    // Set while the button gives its own capture back, which is no capture lost.
    bool releasingCapture = false;

private:
    HWND window_;
    bool makeSurface()
    {
        if (!surface_)
            surface_ = std::make_unique<DibSection>(width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1, 32);
        return surface_->bits() != nullptr;
    }

    void copyPieces(HBITMAP image, const FaceLayout& layout)
    {
        HDC face = surface_->dc();
        const MemoryDc source(face);
        const Selection selected(source.get(), image);
        SetStretchBltMode(face, COLORONCOLOR);
        for (const FacePiece& piece : layout.pieces) {
            const std::int16_t* d = piece.destination;
            const std::int16_t* s = piece.source;
            StretchBlt(face, pixels(d[0]), pixels(d[1]), pixels(d[2]), pixels(d[3]), source.get(), pixels(s[0]),
                       pixels(s[1]), pixels(s[2]), pixels(s[3]), SRCCOPY);
        }
    }

    std::shared_ptr<StateImages> stateImages_;
    std::unique_ptr<DibSection> surface_;
    GdiObject font_;
    int width_ = 0;
    int height_ = 0;
    int captionTop_ = 0;
    int captionWidth_ = 0;
    bool captionEnabled_ = true;
};

CommandWindow* windowOf(HWND window)
{
    return reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int buttonOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
    default: return 4;
    }
}

PointerOver pointerOver(HWND window)
{
    POINT pointer{};
    if (!GetCursorPos(&pointer))
        return PointerOver::Other;
    HWND under = WindowFromPoint(pointer);
    if (under == window)
        return PointerOver::Control;
    return under == GetParent(window) ? PointerOver::Parent : PointerOver::Other;
}

LRESULT create(HWND window, const CREATESTRUCTW& creation)
{
    // A button made without createCommand loads as a stored instance without keys.
    const PropertyBag noKeys;
    const ButtonFont ambient = defaultCaptionFont();
    const CreateParameters none{noKeys, ambient};
    auto* parameters = static_cast<const CreateParameters*>(creation.lpCreateParams);
    CommandWindow* button = windowOf(window);
    button->command.load((parameters ? *parameters : none).bag, (parameters ? *parameters : none).ambient);
    button->makeFont();
    button->showCaptionAsText();
    button->resized(creation.cx, creation.cy);
    return 0;
}

LRESULT handle(CommandWindow& button, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    Command& command = button.command;
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        // A disabled button takes neither. Otherwise a click takes the focus before the press is
        // seen, and the capture keeps the release ours.
        if (!command.Enabled())
            return 0;
        SetFocus(window);
        SetCapture(window);
        command.MouseDown(buttonOf(message));
        return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
        // The capture is given back first, so that nothing the click starts runs under it.
        const bool allUp = !(wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
        if (allUp && GetCapture() == window) {
            button.releasingCapture = true;
            ReleaseCapture();
            button.releasingCapture = false;
        }
        command.MouseUp(buttonOf(message), allUp && GetCapture() != window);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (!button.releasingCapture && reinterpret_cast<HWND>(lparam) != window)
            command.CaptureLost();
        return 0;
    case WM_MOUSEMOVE:
        command.MouseMove(wparam & MK_LBUTTON ? 1 : 0);
        return 0;
    case WM_SETFOCUS:
        command.GotFocus();
        return 0;
    case WM_KILLFOCUS:
        command.LostFocus();
        return 0;
    case WM_TIMER:
        if (wparam == pointerTimerId)
            command.TimerTick(pointerOver(window));
        return 0;
    case WM_SIZE:
        button.resized(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        button.show(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        button.show(reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// noexcept: nothing may cross the callback; a failed allocation ends the program instead.
LRESULT CALLBACK commandWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    if (message == WM_NCCREATE) {
        HINSTANCE instance = reinterpret_cast<const CREATESTRUCTW*>(lparam)->hInstance;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new CommandWindow(window, instance)));
    }
    CommandWindow* button = windowOf(window);
    if (!button)
        return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_CREATE)
        return create(window, *reinterpret_cast<const CREATESTRUCTW*>(lparam));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete button;
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return handle(*button, window, message, wparam, lparam);
}

} // namespace

bool registerCommandClass(HINSTANCE instance)
{
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, commandClassName, &existing))
        return true;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = commandWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = commandClassName;
    return RegisterClassW(&windowClass) != 0;
}

HWND createCommand(HWND parent, int id, int x, int y, int width, int height, const PropertyBag& bag,
                   const ButtonFont& ambient)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!registerCommandClass(instance))
        return nullptr;
    CreateParameters parameters{bag, ambient};
    return CreateWindowExW(0, commandClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, &parameters);
}

GdiObject createCaptionFont(const ButtonFont& font)
{
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * 96 / 72));
    description.lfWeight = font.weight;
    description.lfItalic = font.italic;
    description.lfUnderline = font.underline;
    description.lfStrikeOut = font.strikethrough;
    description.lfCharSet = static_cast<BYTE>(font.charset);
    lstrcpynW(description.lfFaceName, wideText(font.typeface).c_str(), LF_FACESIZE);
    return GdiObject(CreateFontIndirectW(&description));
}

Command* commandOf(HWND window)
{
    wchar_t name[64] = {};
    if (!GetClassNameW(window, name, 64) || lstrcmpW(name, commandClassName) != 0)
        return nullptr;
    CommandWindow* button = windowOf(window);
    return button ? &button->command : nullptr;
}
