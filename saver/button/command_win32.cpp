// Vitrelux.Command: translates mouse, capture, focus, timer and size messages into the button's
// logic, applies what it answers, and paints the face its state holds.
#include "saver/button/command_win32.h"

#include <cmath>
#include <memory>
#include <optional>
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

class CommandWindow {
public:
    CommandWindow(HWND window, HINSTANCE instance, const CreateParameters& parameters)
        : command(parameters.bag, parameters.ambient), window_(window), stateImages_(sharedStateImages(instance)),
          font_(createCaptionFont(command.Font()))
    {
    }
    CommandWindow(const CommandWindow&) = delete;
    CommandWindow& operator=(const CommandWindow&) = delete;

    void apply(const CommandEffects& effects)
    {
        if (effects.capture == CaptureChange::Take)
            SetCapture(window_);
        else if (effects.capture == CaptureChange::GiveBack && GetCapture() == window_)
            ReleaseCapture();
        if (effects.takeFocus)
            SetFocus(window_);
        if (effects.repaint)
            InvalidateRect(window_, nullptr, FALSE);
        if (effects.enabledChanged)
            showEnabled(command.Enabled());
        if (effects.startPointerTimer)
            SetTimer(window_, pointerTimerId, pointerTimerMilliseconds, nullptr);
        // Posted: what the click starts (the file chooser's modal loop, the dialog's end) must not
        // run inside this button's message, which that could destroy.
        if (effects.click)
            PostMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                         reinterpret_cast<LPARAM>(window_));
    }

    // The face, then the caption over it (the caption's label has no window of its own).
    void show(HDC target)
    {
        if (command.opaque() && drawFace())
            surface_->show(target);
        const std::wstring caption = wideFromUtf8(command.Caption());
        const FaceLayout& layout = command.face().layout;
        RECT place = {0, pixels(layout.captionTop), pixels(layout.captionWidth), height_};
        SetBkMode(target, TRANSPARENT);
        SetTextColor(target, command.Enabled() ? static_cast<COLORREF>(command.FontColour()) : GetSysColor(COLOR_GRAYTEXT));
        const Selection font(target, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(target, caption.c_str(), static_cast<int>(caption.size()), &place, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }

    void created(const CREATESTRUCTW& creation)
    {
        // Screen readers and window lists name the button by its window text.
        SetWindowTextW(window_, wideFromUtf8(command.Caption()).c_str());
        resized(creation.cx, creation.cy);
    }

    void resized(int width, int height)
    {
        if (width == width_ && height == height_)
            return;
        surface_.reset();
        width_ = width;
        height_ = height;
        apply(command.Resize(width, height));
    }

    Command command;

private:
    void showEnabled(bool enabled)
    {
        // NOTE: the system would leave the focus nowhere, where Escape no longer reaches the dialog.
        if (!enabled && GetFocus() == window_)
            SetFocus(GetAncestor(window_, GA_ROOT));
        EnableWindow(window_, enabled);
        InvalidateRect(window_, nullptr, FALSE);
    }

    // Clears the face, fills the gradient and copies the eight pieces of the state's image.
    bool drawFace()
    {
        if (!surface_)
            surface_ = std::make_unique<DibSection>(width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1, 32);
        if (!surface_->bits())
            return false;
        const CommandFace& face = command.face();
        HDC dc = surface_->dc();
        RECT all = {0, 0, width_, height_};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        TRIVERTEX vertices[2];
        for (int i = 0; i < 2; ++i) {
            const GradientVertex& v = face.gradient.vertices[i];
            vertices[i] = {v.x, v.y, v.red, v.green, v.blue, v.alpha};
        }
        GRADIENT_RECT rect = {face.gradient.upperLeft, face.gradient.lowerRight};
        GradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
        copyPieces(stateImages_->images[static_cast<int>(face.image)].bitmap(), face.layout);
        return true;
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

    HWND window_;
    std::shared_ptr<StateImages> stateImages_;
    std::unique_ptr<DibSection> surface_;
    GdiObject font_;
    int width_ = 0;
    int height_ = 0;
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

// The input a message is, as the button's logic takes it; no input for other messages.
std::optional<CommandEffects> input(Command& command, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        return command.MouseDown(buttonOf(message));
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        return command.MouseUp(buttonOf(message), (wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0);
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lparam) == window)
            return CommandEffects{};
        return command.CaptureLost();
    case WM_MOUSEMOVE:
        return command.MouseMove();
    case WM_SETFOCUS:
        return command.GotFocus();
    case WM_KILLFOCUS:
        return command.LostFocus();
    case WM_TIMER:
        if (wparam != pointerTimerId)
            return CommandEffects{};
        return command.TimerTick(pointerOver(window));
    default:
        return std::nullopt;
    }
}

LRESULT handle(CommandWindow& button, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (const std::optional<CommandEffects> effects = input(button.command, window, message, wparam, lparam)) {
        button.apply(*effects);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        button.created(*reinterpret_cast<const CREATESTRUCTW*>(lparam));
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
        const auto& creation = *reinterpret_cast<const CREATESTRUCTW*>(lparam);
        // A button made without createCommand loads as a stored instance without keys.
        const PropertyBag noKeys;
        const ButtonFont ambient = defaultCaptionFont();
        const CreateParameters none{noKeys, ambient};
        auto* parameters = static_cast<const CreateParameters*>(creation.lpCreateParams);
        auto* button = new CommandWindow(window, creation.hInstance, parameters ? *parameters : none);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
    }
    CommandWindow* button = windowOf(window);
    if (!button)
        return DefWindowProcW(window, message, wparam, lparam);
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
    lstrcpynW(description.lfFaceName, wideFromUtf8(font.typeface).c_str(), LF_FACESIZE);
    return GdiObject(CreateFontIndirectW(&description));
}

namespace {

CommandWindow* buttonWindow(HWND window)
{
    wchar_t name[64] = {};
    if (!GetClassNameW(window, name, 64) || lstrcmpW(name, commandClassName) != 0)
        return nullptr;
    return windowOf(window);
}

} // namespace

bool initializeCommand(HWND window)
{
    CommandWindow* button = buttonWindow(window);
    if (button)
        button->apply(button->command.Initialize());
    return button != nullptr;
}

bool enableCommand(HWND window, bool enabled)
{
    CommandWindow* button = buttonWindow(window);
    if (button)
        button->apply(button->command.setEnabled(enabled));
    return button != nullptr;
}
