// Vitrelux_P on Windows: the window, the panel Pic_C with its tiled surface, the windowless labels
// and radio glyphs, the track box, the three Command buttons, and the system calls of the dialog.
// Messages become calls of the dialog's handlers; what they ask for is done here.
#include "saver/settings_dialog/settings_dialog_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "common/contract.h"
#include "common/dib_section_win32.h"
#include "saver/button/command_win32.h"
#include "saver/core/wide_text_win32.h"
#include "saver/settings_dialog/dialog_resources.h"
#include "saver/settings_dialog/settings_dialog.h"
#include "saver/texts.h"

namespace {

constexpr wchar_t dialogClassName[] = L"Vitrelux_P";
constexpr wchar_t panelClassName[] = L"Vitrelux_P_Panel";
constexpr int clientWidth = 495;
constexpr int clientHeight = 246;
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);

enum ControlId { setId = 1, cancelId, fileId, trackId };
constexpr UINT closeMessage = WM_APP;

struct Label {
    RECT place;
    std::string text;
    COLORREF colour;
    UINT format;
};

// Positions in the panel's client area: glyph cell, then caption, for the options 0, 1 and 2.
const RECT glyphCells[3] = {{28, 76, 41, 89}, {28, 56, 41, 69}, {28, 96, 41, 109}};
const RECT optionCaptions[3] = {{44, 76, 66, 89}, {44, 56, 87, 69}, {44, 96, 104, 109}};
const RECT panelTitleFrame = {20, 20, 133, 41};
const RECT fileLabel = {72, 116, 453, 149};
const RECT addressLabel = {12, 208, 231, 221};
// One-line labels may run past their boxes rather than lose letters where a typeface is wider.
constexpr UINT plainLabel = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;

bool inside(const RECT& rect, LPARAM lparam)
{
    const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    return PtInRect(&rect, point) != FALSE;
}

HCURSOR systemCursor(bool waiting)
{
    return LoadCursorA(nullptr, waiting ? IDC_WAIT : IDC_ARROW);
}

HFONT underlined(HFONT font)
{
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    description.lfUnderline = TRUE;
    return CreateFontIndirectW(&description);
}

void drawLabel(HDC dc, HFONT font, const Label& label)
{
    const std::wstring text = wideText(label.text);
    RECT place = label.place;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label.colour);
    HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, label.format);
    SelectObject(dc, previous);
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

class DialogWindow : public DialogPlatform {
public:
    DialogWindow(HINSTANCE instance, Settings& settings, ProfileAccess& profile, FileStore& files,
                 const SettingsPlaces& places)
        : dialog(*this, profile, files, settings, places), instance_(instance), font_(createCaptionFont(defaultCaptionFont())),
          linkFont_(underlined(font_))
    {
        radio_[0] = LoadBitmapW(instance, MAKEINTRESOURCEW(radioOffId));
        radio_[1] = LoadBitmapW(instance, MAKEINTRESOURCEW(radioOnId));
        tile_ = LoadBitmapW(instance, MAKEINTRESOURCEW(tileId));
        hand_ = LoadCursorW(instance, MAKEINTRESOURCEW(handCursorId));
    }
    ~DialogWindow() override
    {
        for (HBITMAP image : {radio_[0], radio_[1], tile_})
            if (image)
                DeleteObject(image);
        for (HFONT font : {font_, linkFont_})
            if (font)
                DeleteObject(font);
    }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    bool create();
    LRESULT handleDialog(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handlePanel(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);

    // DialogPlatform
    bool windowRect(DialogRect& rect) override
    {
        RECT r{};
        if (!GetWindowRect(window_, &r))
            return false;
        rect = {r.left, r.top, r.right, r.bottom};
        return true;
    }
    bool screenSize(int& width, int& height) override
    {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        return width > 0 && height > 0;
    }
    void moveWindow(int left, int top) override
    {
        SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void setAllButtons(bool initialize, bool enable) override
    {
        ButtonSetting setting{initialize, enable};
        EnumChildWindows(window_, setButton, reinterpret_cast<LPARAM>(&setting));
    }
    void tilePanel() override;
    void enableTrackBox(bool enabled) override { EnableWindow(track_, enabled); }
    void enableFileButton(bool enabled) override
    {
        if (Command* button = commandOf(fileButton_))
            button->setEnabled(enabled);
    }
    void showGlyph(int option, bool selected) override
    {
        glyphSelected_[option] = selected;
        InvalidateRect(panel_, &glyphCells[option], FALSE);
    }
    void setTrackText(const std::string& text) override { SetWindowTextW(track_, wideText(text).c_str()); }
    std::string trackText() override
    {
        wchar_t text[256] = {};
        GetWindowTextW(track_, text, 256);
        return utf8Text(text);
    }
    void addTrackEntry(const std::string& text) override
    {
        SendMessageW(track_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(text).c_str()));
    }
    void setFileLabel(const std::string& path) override
    {
        fileText_ = wideText(path, CP_ACP);
        InvalidateRect(panel_, &fileLabel, FALSE);
    }
    bool cursorPosition(int& x, int& y) override
    {
        POINT pointer{};
        if (!GetCursorPos(&pointer))
            return false;
        x = pointer.x;
        y = pointer.y;
        return true;
    }
    void animateCaption(const DialogRect& from, const DialogRect& to) override
    {
        const RECT start = {from.left, from.top, from.right, from.bottom};
        const RECT end = {to.left, to.top, to.right, to.bottom};
        DrawAnimatedRects(window_, IDANI_CAPTION, &start, &end);
    }
    void setPointer(PointerShape shape) override
    {
        waiting_ = shape == PointerShape::Hourglass;
        SetCursor(systemCursor(waiting_));
    }
    void openAddress(const std::string& address) override
    {
        ShellExecuteW(window_, L"open", wideText(address).c_str(), L"", L"", SW_SHOWNORMAL);
    }
    bool chooseMusicFile(const std::string& initialFolder, std::string& chosen) override;
    char decimalSeparator() override
    {
        wchar_t separator[4] = {};
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
        return separator[0] > 0 && separator[0] < 128 ? static_cast<char>(separator[0]) : '.';
    }
    // Posted: the click that closes the dialog is still being handled by the button it destroys.
    void attach(HWND window) { window_ = window; }
    HWND window() const { return window_; }
    void close() override { PostMessageW(window_, closeMessage, 0, 0); }

    SettingsDialog dialog;

private:
    struct ButtonSetting {
        bool initialize;
        bool enable;
    };
    // Children of every depth come here; those that are no Command button are passed over.
    static BOOL CALLBACK setButton(HWND child, LPARAM setting) noexcept
    {
        const auto& wanted = *reinterpret_cast<const ButtonSetting*>(setting);
        if (Command* button = commandOf(child)) {
            if (wanted.initialize)
                button->Initialize();
            else
                button->setEnabled(wanted.enable);
        }
        return TRUE;
    }
    HWND createButton(HWND parent, const StoredDescription& description, const char* name, int id, int x, int y);
    void createWidgets();
    void paintBackground(int width, int height);
    void paintDialog(HDC dc);
    void paintPanel(HDC dc);
    int optionAt(LPARAM lparam, bool& onGlyph) const;

    HWND window_ = nullptr;
    HINSTANCE instance_;
    HFONT font_;
    HFONT linkFont_;
    HBITMAP radio_[2] = {};
    HBITMAP tile_ = nullptr;
    HCURSOR hand_ = nullptr;
    HWND panel_ = nullptr;
    HWND track_ = nullptr;
    HWND fileButton_ = nullptr;
    // What the background gradient and the panel's tiles leave, shown under the labels at every paint.
    std::unique_ptr<DibSection> background_;
    std::unique_ptr<DibSection> panelSurface_;
    bool glyphSelected_[3] = {};
    std::wstring fileText_;
    bool waiting_ = false;
    bool addressPressed_ = false;
};

DialogWindow* dialogOf(HWND window)
{
    return reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK dialogWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        owner->attach(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    DialogWindow* owner = dialogOf(window);
    return owner ? owner->handleDialog(message, wparam, lparam) : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK panelWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    DialogWindow* owner = dialogOf(window);
    return owner ? owner->handlePanel(window, message, wparam, lparam) : DefWindowProcW(window, message, wparam, lparam);
}

// Both backgrounds are always painted over (WM_ERASEBKGND does nothing), so the classes have no brush.
bool registerClasses(HINSTANCE instance)
{
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, dialogClassName, &existing))
        return registerCommandClass(instance);
    WNDCLASSW dialogClass{};
    dialogClass.lpfnWndProc = dialogWindowProc;
    dialogClass.hInstance = instance;
    dialogClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(dialogIconId));
    dialogClass.lpszClassName = dialogClassName;
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = panelWindowProc;
    panelClass.hInstance = instance;
    panelClass.lpszClassName = panelClassName;
    return RegisterClassW(&dialogClass) && RegisterClassW(&panelClass) && registerCommandClass(instance);
}

bool DialogWindow::create()
{
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    if (!CreateWindowExW(0, dialogClassName, wideText(contract::settingsDialogTitle).c_str(), style, 0, 0,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_, this))
        return false;
    createWidgets();
    return true;
}

HWND DialogWindow::createButton(HWND parent, const StoredDescription& description, const char* name, int id, int x,
                                int y)
{
    const PropertyBag* stored = description.instance(name);
    const PropertyBag bag = stored ? *stored : PropertyBag{};
    return createCommand(parent, id, x, y, ExtentPixels(bag.read("_extentx"), 81), ExtentPixels(bag.read("_extenty"), 25),
                         bag, defaultCaptionFont());
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

void DialogWindow::createWidgets()
{
    panel_ = CreateWindowExW(WS_EX_CLIENTEDGE, panelClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 12, 16, 469,
                             165, window_, nullptr, instance_, this);
    RECT inner{};
    GetClientRect(panel_, &inner);
    panelSurface_ = std::make_unique<DibSection>(inner.right, inner.bottom, 32);
    if (panelSurface_->bits()) {
        // The panel's own colour, which the tiles cover.
        HBRUSH panelColour = CreateSolidBrush(RGB(224, 224, 224));
        FillRect(panelSurface_->dc(), &inner, panelColour);
        DeleteObject(panelColour);
    }
    // NOTE: an editable drop-down refuses characters beyond its width without CBS_AUTOHSCROLL.
    track_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                             112, 52, 41, 220, panel_, reinterpret_cast<HMENU>(trackId), instance_, nullptr);
    SendMessageW(track_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(track_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 14);
    const StoredDescription description = storedButtons(instance_);
    fileButton_ = createButton(panel_, description, "Cmd_File", fileId, 28, 112);
    createButton(window_, description, "Cmd_Set", setId, 316, 200);
    createButton(window_, description, "Cmd_Can", cancelId, 400, 200);
}

void DialogWindow::tilePanel()
{
    BITMAP tile{};
    if (!panelSurface_->bits() || !GetObjectW(tile_, sizeof tile, &tile))
        return;
    HDC source = CreateCompatibleDC(panelSurface_->dc());
    HGDIOBJ previous = SelectObject(source, tile_);
    RECT outer{};
    GetWindowRect(panel_, &outer);
    for (const auto& [x, y] : TilePositions(tile.bmWidth, tile.bmHeight, outer.right - outer.left, outer.bottom - outer.top))
        BitBlt(panelSurface_->dc(), x, y, tile.bmWidth, tile.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    InvalidateRect(panel_, nullptr, FALSE);
}

bool DialogWindow::chooseMusicFile(const std::string& initialFolder, std::string& chosen)
{
    wchar_t file[255] = {};
    wchar_t title[255] = {};
    const std::wstring filter = wideText(texts::fileFilterName) + L'\0' + wideText(texts::fileFilterPattern) + L'\0';
    const std::wstring folder = wideText(initialFolder, CP_ACP);
    const std::wstring caption = wideText(texts::fileChooserTitle);
    OPENFILENAMEW request{};
    // The record in its first form (76 bytes in the 32-bit build), without the fields later systems added.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    request.hwndOwner = window_;
    request.hInstance = instance_;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file;
    request.nMaxFile = 255;
    request.lpstrFileTitle = title;
    request.nMaxFileTitle = 255;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = caption.c_str();
    if (GetOpenFileNameW(&request) <= 0)
        return false;
    // A name that the system's code page cannot spell could be neither stored nor played, so it is
    // refused like a failed choice.
    return systemCodePageText(file, chosen);
}

void DialogWindow::paintBackground(int width, int height)
{
    background_ = std::make_unique<DibSection>(width, height, 32);
    if (!background_->bits())
        return;
    const std::vector<std::uint8_t> shades = BackgroundShades(height);
    for (std::size_t row = 0; row < shades.size(); ++row) {
        const std::uint8_t v = shades[row];
        const RECT line = {0, static_cast<LONG>(row), width, static_cast<LONG>(row) + 1};
        HBRUSH brush = CreateSolidBrush(RGB(v, v, v + 30));
        FillRect(background_->dc(), &line, brush);
        DeleteObject(brush);
    }
    InvalidateRect(window_, nullptr, FALSE);
}

void DialogWindow::paintDialog(HDC dc)
{
    if (background_)
        background_->show(dc);
    drawLabel(dc, font_, {{12, 192, 177, 205}, texts::creditLine, white, plainLabel});
    drawLabel(dc, linkFont_, {addressLabel, texts::projectAddress, white, plainLabel});
}

void DialogWindow::paintPanel(HDC dc)
{
    if (panelSurface_)
        panelSurface_->show(dc);
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, panelTitleFrame.left, panelTitleFrame.top, panelTitleFrame.right, panelTitleFrame.bottom);
    SelectObject(dc, brush);
    SelectObject(dc, pen);
    drawLabel(dc, font_, {{20, 24, 131, 37}, texts::panelTitle, black, plainLabel | DT_CENTER});
    drawLabel(dc, font_, {{156, 56, 222, 69}, texts::repeatCaption, black, plainLabel});
    HDC source = CreateCompatibleDC(dc);
    for (int option = 0; option < 3; ++option) {
        drawLabel(dc, font_, {optionCaptions[option], texts::sourceCaptions[option], black, plainLabel});
        HGDIOBJ previous = SelectObject(source, radio_[glyphSelected_[option] ? 1 : 0]);
        BitBlt(dc, glyphCells[option].left, glyphCells[option].top, 12, 12, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
    }
    DeleteDC(source);
    RECT box = fileLabel;
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, black);
    HGDIOBJ previous = SelectObject(dc, font_);
    DrawTextW(dc, fileText_.c_str(), static_cast<int>(fileText_.size()), &box, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
}

// The option whose glyph cell or caption lies under the pointer, or -1.
int DialogWindow::optionAt(LPARAM lparam, bool& onGlyph) const
{
    for (int option = 0; option < 3; ++option) {
        onGlyph = inside(glyphCells[option], lparam);
        if (onGlyph || inside(optionCaptions[option], lparam))
            return option;
    }
    return -1;
}

LRESULT DialogWindow::handlePanel(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
        bool onGlyph = false;
        const int option = optionAt(lparam, onGlyph);
        if (option >= 0)
            onGlyph ? dialog.Img_BGM_MouseDown(option) : dialog.lbl_BGM_MouseDown(option);
        return 0;
    }
    case WM_COMMAND:
        return handleDialog(message, wparam, lparam);
    case WM_SETCURSOR:
        // The track box keeps its own pointer; only the hourglass covers every child.
        if (!waiting_ && reinterpret_cast<HWND>(wparam) != panel)
            break;
        SetCursor(systemCursor(waiting_));
        return TRUE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintWindow(panel, [this](HDC dc) { paintPanel(dc); });
    }
    return DefWindowProcW(panel, message, wparam, lparam);
}

LRESULT DialogWindow::handleDialog(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_SIZE:
        paintBackground(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintWindow(window_, [this](HDC dc) { paintDialog(dc); });
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED) {
            if (LOWORD(wparam) == setId)
                dialog.Cmd_Set_Click();
            else if (LOWORD(wparam) == cancelId)
                dialog.Cmd_Can_Click();
            else if (LOWORD(wparam) == fileId)
                dialog.Cmd_File_Click();
        }
        return 0;
    case WM_SETCURSOR: {
        if (!waiting_ && reinterpret_cast<HWND>(wparam) != window_)
            break;
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(window_, &pointer);
        const bool overAddress = PtInRect(&addressLabel, pointer) != FALSE;
        SetCursor(!waiting_ && overAddress && hand_ ? hand_ : systemCursor(waiting_));
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        addressPressed_ = inside(addressLabel, lparam);
        return 0;
    case WM_LBUTTONUP:
        if (addressPressed_ && inside(addressLabel, lparam))
            dialog.lbl_URL_Click();
        addressPressed_ = false;
        return 0;
    case WM_CLOSE:
        dialog.closeBox();
        return 0;
    case closeMessage:
        DestroyWindow(window_);
        return 0;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

} // namespace

void ShowSettingsDialog(HINSTANCE instance, Settings& settings, ProfileAccess& profile, FileStore& files,
                        const SettingsPlaces& places)
{
    if (!registerClasses(instance))
        return;
    DialogWindow owner(instance, settings, profile, files, places);
    if (!owner.create())
        return;
    owner.dialog.Form_Load();
    ShowWindow(owner.window(), SW_SHOWNORMAL);
    UpdateWindow(owner.window());
    // Modal: the dialog has no owner, and the program ends once it has closed.
    MSG message;
    while (IsWindow(owner.window()) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
