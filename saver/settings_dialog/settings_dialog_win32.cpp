// Vitrelux_P on Windows: the window classes, the window and its panel, the controls made from the
// layout table, and the modal loop. Messages become calls of the dialog's handlers; its look is
// dialog_painter_win32's, what it asks of its windows dialog_platform_win32's.
#include "saver/settings_dialog/settings_dialog_win32.h"

#include "common/contract.h"
#include "saver/button/command_win32.h"
#include "saver/button/stored_description.h"
#include "saver/settings_dialog/dialog_painter_win32.h"
#include "saver/settings_dialog/dialog_platform_win32.h"
#include "saver/settings_dialog/dialog_resources.h"
#include "saver/settings_dialog/settings_dialog.h"
#include "saver/wide_text_win32.h"

namespace {

constexpr wchar_t dialogClassName[] = L"Vitrelux_P";
constexpr wchar_t panelClassName[] = L"Vitrelux_P_Panel";

POINT pointOf(LPARAM lparam)
{
    return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

// The pointer in the window's client area.
POINT pointerIn(HWND window)
{
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(window, &pointer);
    return pointer;
}

// Paints a window through its WM_PAINT bracket.
template <typename Paint>
LRESULT paintWindow(HWND window, Paint paint)
{
    PAINTSTRUCT bracket;
    paint(BeginPaint(window, &bracket));
    EndPaint(window, &bracket);
    return 0;
}

StoredDescription storedButtons(HINSTANCE instance)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(buttonsDescriptionId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return StoredDescription{};
    return StoredDescription::parse(std::string(bytes, SizeofResource(instance, found)));
}

// The window, its panel and controls: made by create, destroyed by the destructor at the latest,
// so that neither outlives the other.
class DialogWindow {
public:
    DialogWindow(HINSTANCE instance, HWND owner, Settings& settings, ProfileAccess& profile, FileStore& files,
                 const SettingsPlaces& places)
        : instance_(instance), painter_(instance), platform_(instance, windows_, painter_),
          dialog(platform_, profile, files, settings, places)
    {
        windows_.owner = IsWindow(owner) ? owner : nullptr;
    }
    ~DialogWindow() { platform_.close(); }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    bool create();
    HWND window() const { return windows_.window; }
    // Escape anywhere in the dialog, unless it closes the track box's open list: as "ｷｬﾝｾﾙ".
    bool takeEscape(const MSG& message);

    LRESULT handleDialog(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handlePanel(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
    void attach(HWND window) { windows_.window = window; }
    // The window or the panel is gone: nothing here refers to it, or to what went with it.
    void detach(HWND window);

private:
    void createPart(const LayoutItem& item, const StoredDescription& description);
    HWND createButton(HWND parent, const StoredDescription& description, const LayoutItem& item);
    void run(DialogCommand command);
    bool setPointer(PointerPlace place);

    HINSTANCE instance_;
    DialogWindows windows_;
    DialogPainter painter_;
    WindowsDialogPlatform platform_;

public:
    SettingsDialog dialog;
};

DialogWindow* ownerOf(HWND window)
{
    return reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Both windows lead to the one owner; each forgets it as it goes.
template <LRESULT (DialogWindow::*handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        if (handle == &DialogWindow::handleDialog)
            owner->attach(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    DialogWindow* owner = ownerOf(window);
    if (!owner)
        return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->detach(window);
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return (owner->*handle)(window, message, wparam, lparam);
}

// Both backgrounds are always painted over (WM_ERASEBKGND does nothing), so the classes have no brush.
bool registerClasses(HINSTANCE instance)
{
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, dialogClassName, &existing))
        return registerCommandClass(instance);
    WNDCLASSW dialogClass{};
    dialogClass.lpfnWndProc = ownedWindowProc<&DialogWindow::handleDialog>;
    dialogClass.hInstance = instance;
    dialogClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(dialogIconId));
    dialogClass.lpszClassName = dialogClassName;
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = ownedWindowProc<&DialogWindow::handlePanel>;
    panelClass.hInstance = instance;
    panelClass.lpszClassName = panelClassName;
    return RegisterClassW(&dialogClass) && RegisterClassW(&panelClass) && registerCommandClass(instance);
}

void DialogWindow::detach(HWND window)
{
    if (window == windows_.panel)
        windows_.panel = windows_.track = windows_.fileButton = nullptr;
    if (window == windows_.window)
        windows_.window = windows_.panel = windows_.track = windows_.fileButton = nullptr;
}

bool DialogWindow::create()
{
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame = {0, 0, dialogClientWidth, dialogClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    if (!CreateWindowExW(0, dialogClassName, wideFromUtf8(contract::settingsDialogTitle).c_str(), style, 0, 0,
                         frame.right - frame.left, frame.bottom - frame.top, windows_.owner, nullptr, instance_, this))
        return false;
    if (windows_.owner)
        EnableWindow(windows_.owner, FALSE);
    const StoredDescription description = storedButtons(instance_);
    for (const LayoutItem& item : DialogLayout())
        createPart(item, description);
    return true;
}

// The parts that are windows of their own; the others are painted.
void DialogWindow::createPart(const LayoutItem& item, const StoredDescription& description)
{
    HWND parent = item.surface == Surface::Panel ? windows_.panel : windows_.window;
    const DialogRect& r = item.rect;
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.controlId));
    switch (item.kind) {
    case Kind::Panel: {
        windows_.panel = CreateWindowExW(WS_EX_CLIENTEDGE, panelClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                         r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr, instance_,
                                         this);
        RECT inner{};
        GetClientRect(windows_.panel, &inner);
        painter_.preparePanel(inner.right, inner.bottom);
        return;
    }
    case Kind::TrackBox:
        // NOTE: an editable drop-down refuses characters beyond its width without CBS_AUTOHSCROLL.
        windows_.track = CreateWindowExW(0, L"COMBOBOX", L"",
                                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                         r.left, r.top, r.right - r.left, r.bottom - r.top, parent, id, instance_, nullptr);
        SendMessageW(windows_.track, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.font()), FALSE);
        SendMessageW(windows_.track, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), trackItemHeight);
        return;
    case Kind::Button: {
        HWND button = createButton(parent, description, item);
        if (item.part == Part::FileButton)
            windows_.fileButton = button;
        return;
    }
    default:
        return;
    }
}

HWND DialogWindow::createButton(HWND parent, const StoredDescription& description, const LayoutItem& item)
{
    const PropertyBag* stored = description.instance(item.text);
    const PropertyBag bag = stored ? *stored : PropertyBag{};
    const DialogRect& r = item.rect;
    return createCommand(parent, item.controlId, r.left, r.top, ExtentPixels(bag.read("_extentx"), r.right - r.left),
                         ExtentPixels(bag.read("_extenty"), r.bottom - r.top), bag, defaultCaptionFont());
}

bool DialogWindow::takeEscape(const MSG& message)
{
    HWND window = windows_.window;
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE || !window
        || (message.hwnd != window && !IsChild(window, message.hwnd)) || SendMessageW(windows_.track, CB_GETDROPPEDSTATE, 0, 0))
        return false;
    run(DialogCommand::Cancel);
    return true;
}

void DialogWindow::run(DialogCommand command)
{
    switch (command) {
    case DialogCommand::Set: dialog.Cmd_Set_Click(); break;
    case DialogCommand::Cancel: dialog.Cmd_Can_Click(); break;
    case DialogCommand::File: dialog.Cmd_File_Click(); break;
    case DialogCommand::None: break;
    }
}

// The shape the dialog gives the pointer; false where it gives none and the control under it sets
// its own.
bool DialogWindow::setPointer(PointerPlace place)
{
    const POINT pointer = pointerIn(windows_.window);
    const std::optional<PointerShape> shape = dialog.pointerAt(place, pointer.x, pointer.y);
    if (shape)
        SetCursor(platform_.cursorOf(*shape));
    return shape.has_value();
}

LRESULT DialogWindow::handlePanel(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
        const POINT point = pointOf(lparam);
        const OptionHit hit = OptionAt(point.x, point.y);
        if (hit.option >= 0)
            hit.onGlyph ? dialog.Img_BGM_MouseDown(hit.option) : dialog.lbl_BGM_MouseDown(hit.option);
        return 0;
    }
    case WM_COMMAND:
        return handleDialog(windows_.window, message, wparam, lparam);
    case WM_SETCURSOR:
        // Anything but the client area is the system's: HTERROR, a click on the dialog while the
        // file chooser or a message box is open, gets its beep and the open window's flash.
        if (LOWORD(lparam) == HTCLIENT
            && setPointer(reinterpret_cast<HWND>(wparam) == panel ? PointerPlace::Panel : PointerPlace::Control))
            return TRUE;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintWindow(panel, [this](HDC dc) { painter_.paintPanel(dc); });
    }
    return DefWindowProcW(panel, message, wparam, lparam);
}

LRESULT DialogWindow::handleDialog(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_SIZE:
        painter_.paintBackground(LOWORD(lparam), HIWORD(lparam));
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintWindow(window, [this](HDC dc) { painter_.paintWindow(dc); });
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED)
            run(CommandOf(LOWORD(wparam)));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lparam) == HTCLIENT
            && setPointer(reinterpret_cast<HWND>(wparam) == window ? PointerPlace::Window : PointerPlace::Control))
            return TRUE;
        break;
    case WM_LBUTTONDOWN: {
        const POINT point = pointOf(lparam);
        dialog.windowPressed(point.x, point.y);
        return 0;
    }
    case WM_LBUTTONUP: {
        const POINT point = pointOf(lparam);
        dialog.windowReleased(point.x, point.y);
        return 0;
    }
    case WM_CLOSE:
        // Also while the chooser is open: it goes with the window, and the handler that opened it
        // touches no window once it returns (no button's handler is below it: clicks are posted).
        dialog.closeBox();
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

void ShowSettingsDialog(HINSTANCE instance, HWND ownerWindow, Settings& settings, ProfileAccess& profile,
                        FileStore& files, const SettingsPlaces& places)
{
    if (!registerClasses(instance))
        return;
    DialogWindow owner(instance, ownerWindow, settings, profile, files, places);
    if (!owner.create())
        return;
    owner.dialog.Form_Load();
    ShowWindow(owner.window(), SW_SHOWNORMAL);
    UpdateWindow(owner.window());
    // Modal: the program ends once the dialog has closed.
    MSG message{};
    BOOL got = 0;
    while (owner.window() && (got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (owner.takeEscape(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // A quit request this loop took is the program's, for the loop outside it.
    if (got == 0)
        PostQuitMessage(static_cast<int>(message.wParam));
}
