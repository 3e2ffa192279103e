// Vitrelux_P on Windows: the window class, the window and its panel, the controls made from the
// layout table, and the modal loop. Messages become calls of the dialog's handlers; its look is
// dialog_painter_win32's, the system services dialog_services_win32's.
#include "saver/settings_dialog/settings_dialog_win32.h"

#include "common/contract.h"
#include "saver/button/command_win32.h"
#include "saver/button/stored_description.h"
#include "saver/settings_dialog/dialog_painter_win32.h"
#include "saver/settings_dialog/dialog_resources.h"
#include "saver/settings_dialog/dialog_services_win32.h"
#include "saver/settings_dialog/settings_dialog.h"
#include "saver/wide_text_win32.h"

namespace {

constexpr wchar_t dialogClassName[] = L"Vitrelux_P";
constexpr wchar_t panelClassName[] = L"Vitrelux_P_Panel";
constexpr int clientWidth = 495;
constexpr int clientHeight = 246;

POINT pointOf(LPARAM lparam)
{
    return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

HCURSOR systemCursor(bool waiting)
{
    return LoadCursorA(nullptr, waiting ? IDC_WAIT : IDC_ARROW);
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
class DialogWindow : public DialogPlatform {
public:
    DialogWindow(HINSTANCE instance, HWND owner, Settings& settings, ProfileAccess& profile, FileStore& files,
                 const SettingsPlaces& places)
        : dialog(*this, profile, files, settings, places), instance_(instance), owner_(IsWindow(owner) ? owner : nullptr),
          painter_(instance), hand_(LoadCursorW(instance, MAKEINTRESOURCEW(handCursorId)))
    {
    }
    ~DialogWindow() override { close(); }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    bool create();
    HWND window() const { return window_; }
    // Escape anywhere in the dialog, unless it closes the track box's open list: as "ｷｬﾝｾﾙ".
    bool takeEscape(const MSG& message);

    LRESULT handleDialog(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handlePanel(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
    void attach(HWND window) { window_ = window; }
    // The window or the panel is gone: nothing here refers to it, or to what went with it.
    void detach(HWND window);

    // DialogPlatform
    bool windowRect(DialogRect& rect) override;
    bool screenSize(int& width, int& height) override;
    void moveWindow(int left, int top) override
    {
        SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void setAllButtons(bool initialize, bool enable) override;
    void tilePanel() override;
    void enableTrackBox(bool enabled) override { EnableWindow(track_, enabled); }
    void enableFileButton(bool enabled) override { enableCommand(fileButton_, enabled); }
    void showGlyph(int option, bool selected) override
    {
        painter_.selectGlyph(option, selected);
        const RECT cell = rectOf(GlyphOf(option));
        InvalidateRect(panel_, &cell, FALSE);
    }
    void setTrackText(const std::string& text) override { SetWindowTextW(track_, wideText(text).c_str()); }
    std::string trackText() override;
    void addTrackEntry(const std::string& text) override
    {
        SendMessageW(track_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(text).c_str()));
    }
    void setFileLabel(const std::string& path) override
    {
        painter_.setFileText(wideText(path, CP_ACP));
        const RECT label = rectOf(Part::FileLabel);
        InvalidateRect(panel_, &label, FALSE);
    }
    bool cursorPosition(int& x, int& y) override;
    void animateCaption(const DialogRect& from, const DialogRect& to) override { ::animateCaption(window_, from, to); }
    void setPointer(PointerShape shape) override
    {
        waiting_ = shape == PointerShape::Hourglass;
        SetCursor(systemCursor(waiting_));
    }
    void openAddress(const std::string& address) override { ::openAddress(window_, address); }
    FileChoice chooseMusicFile(const std::string& initialFolder, std::string& chosen) override
    {
        return ::chooseMusicFile(window_, instance_, initialFolder, chosen);
    }
    void showMessage(DialogMessage message) override { ::showMessage(window_, message); }
    char decimalSeparator() override { return localeDecimalSeparator(); }
    // The owner takes input again before the dialog goes, so that it is the window activated next.
    void close() override
    {
        if (owner_)
            EnableWindow(owner_, TRUE);
        owner_ = nullptr;
        if (window_)
            DestroyWindow(window_);
    }

    SettingsDialog dialog;

private:
    HWND createControl(HWND parent, const StoredDescription& description, const char* name, Part part);
    void run(DialogCommand command);

    HWND window_ = nullptr;
    HWND panel_ = nullptr;
    HWND track_ = nullptr;
    HWND fileButton_ = nullptr;
    HINSTANCE instance_;
    HWND owner_;
    DialogPainter painter_;
    HCURSOR hand_;
    bool waiting_ = false;
    bool addressPressed_ = false;
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
    if (window == panel_)
        panel_ = track_ = fileButton_ = nullptr;
    if (window == window_)
        window_ = panel_ = track_ = fileButton_ = nullptr;
}

bool DialogWindow::create()
{
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    if (!CreateWindowExW(0, dialogClassName, wideText(contract::settingsDialogTitle).c_str(), style, 0, 0,
                         frame.right - frame.left, frame.bottom - frame.top, owner_, nullptr, instance_, this))
        return false;
    if (owner_)
        EnableWindow(owner_, FALSE);
    const RECT panel = rectOf(Part::Panel);
    panel_ = CreateWindowExW(WS_EX_CLIENTEDGE, panelClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, panel.left,
                             panel.top, panel.right - panel.left, panel.bottom - panel.top, window_, nullptr, instance_,
                             this);
    RECT inner{};
    GetClientRect(panel_, &inner);
    painter_.preparePanel(inner.right, inner.bottom);
    const RECT track = rectOf(Part::TrackBox);
    // NOTE: an editable drop-down refuses characters beyond its width without CBS_AUTOHSCROLL.
    track_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                             track.left, track.top, track.right - track.left, track.bottom - track.top, panel_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(trackId)), instance_, nullptr);
    SendMessageW(track_, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.font()), FALSE);
    SendMessageW(track_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 14);
    const StoredDescription description = storedButtons(instance_);
    fileButton_ = createControl(panel_, description, "Cmd_File", Part::FileButton);
    createControl(window_, description, "Cmd_Set", Part::SetButton);
    createControl(window_, description, "Cmd_Can", Part::CancelButton);
    return true;
}

HWND DialogWindow::createControl(HWND parent, const StoredDescription& description, const char* name, Part part)
{
    const LayoutItem& item = LayoutOf(part);
    const PropertyBag* stored = description.instance(name);
    const PropertyBag bag = stored ? *stored : PropertyBag{};
    const DialogRect& r = item.rect;
    return createCommand(parent, item.controlId, r.left, r.top, ExtentPixels(bag.read("_extentx"), r.right - r.left),
                         ExtentPixels(bag.read("_extenty"), r.bottom - r.top), bag, defaultCaptionFont());
}

bool DialogWindow::windowRect(DialogRect& rect)
{
    RECT r{};
    if (!GetWindowRect(window_, &r))
        return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

bool DialogWindow::screenSize(int& width, int& height)
{
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    return width > 0 && height > 0;
}

void DialogWindow::setAllButtons(bool initialize, bool enable)
{
    for (HWND control : {fileButton_, GetDlgItem(window_, setId), GetDlgItem(window_, cancelId)}) {
        if (initialize)
            initializeCommand(control);
        else
            enableCommand(control, enable);
    }
}

void DialogWindow::tilePanel()
{
    RECT outer{};
    GetWindowRect(panel_, &outer);
    painter_.tilePanel(outer.right - outer.left, outer.bottom - outer.top);
    InvalidateRect(panel_, nullptr, FALSE);
}

std::string DialogWindow::trackText()
{
    wchar_t text[256] = {};
    GetWindowTextW(track_, text, 256);
    return utf8Text(text);
}

bool DialogWindow::cursorPosition(int& x, int& y)
{
    POINT pointer{};
    if (!GetCursorPos(&pointer))
        return false;
    x = pointer.x;
    y = pointer.y;
    return true;
}

bool DialogWindow::takeEscape(const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE || !window_
        || (message.hwnd != window_ && !IsChild(window_, message.hwnd)) || SendMessageW(track_, CB_GETDROPPEDSTATE, 0, 0))
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
        return handleDialog(window_, message, wparam, lparam);
    case WM_SETCURSOR:
        // The track box keeps its own pointer; only the hourglass covers every child. Anything but
        // the client area is the system's: HTERROR, a click on the dialog while the file chooser or
        // a message box is open, gets its beep and the open window's flash.
        if (LOWORD(lparam) != HTCLIENT || (!waiting_ && reinterpret_cast<HWND>(wparam) != panel))
            break;
        SetCursor(systemCursor(waiting_));
        return TRUE;
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
    case WM_SETCURSOR: {
        if (LOWORD(lparam) != HTCLIENT || (!waiting_ && reinterpret_cast<HWND>(wparam) != window_))
            break;
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(window_, &pointer);
        SetCursor(!waiting_ && OnAddress(pointer.x, pointer.y) && hand_ ? hand_ : systemCursor(waiting_));
        return TRUE;
    }
    case WM_LBUTTONDOWN: {
        const POINT point = pointOf(lparam);
        addressPressed_ = OnAddress(point.x, point.y);
        return 0;
    }
    case WM_LBUTTONUP: {
        const POINT point = pointOf(lparam);
        const bool click = addressPressed_ && OnAddress(point.x, point.y);
        addressPressed_ = false;
        if (click)
            dialog.lbl_URL_Click();
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
