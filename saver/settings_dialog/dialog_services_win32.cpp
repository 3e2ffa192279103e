// The common dialog's chooser, ShellExecuteW, the locale, DrawAnimatedRects and a message box.
#include "saver/settings_dialog/dialog_services_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include "saver/texts.h"
#include "saver/wide_text_win32.h"

FileChoice chooseMusicFile(HWND owner, HINSTANCE instance, const AnsiText& initialFolder, AnsiText& chosen)
{
    // Room for paths beyond the system's usual limit, so that one is refused with a word rather than
    // dropped by the chooser.
    wchar_t file[1024] = {};
    wchar_t title[255] = {};
    const std::wstring filter = wideFromUtf8(texts::fileFilterName) + L'\0' + wideFromUtf8(texts::fileFilterPattern) + L'\0';
    const std::wstring folder = wideFromCodePage(initialFolder);
    const std::wstring caption = wideFromUtf8(texts::fileChooserTitle);
    OPENFILENAMEW request{};
    // The record in its first form (76 bytes in the 32-bit build), without the fields later systems added.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    request.hwndOwner = owner;
    request.hInstance = instance;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file;
    request.nMaxFile = sizeof file / sizeof file[0];
    request.lpstrFileTitle = title;
    request.nMaxFileTitle = 255;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = caption.c_str();
    if (GetOpenFileNameW(&request) <= 0)
        return FileChoice::None;
    if (lstrlenW(file) >= MAX_PATH)
        return FileChoice::TooLong;
    return systemCodePageText(file, chosen) ? FileChoice::Chosen : FileChoice::Unspellable;
}

void openAddress(HWND owner, const std::string& address)
{
    ShellExecuteW(owner, L"open", wideFromUtf8(address).c_str(), L"", L"", SW_SHOWNORMAL);
}

char localeDecimalSeparator()
{
    wchar_t separator[4] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
    return separator[0] > 0 && separator[0] < 128 ? static_cast<char>(separator[0]) : '.';
}

void animateCaption(HWND window, const DialogRect& from, const DialogRect& to)
{
    const RECT start = {from.left, from.top, from.right, from.bottom};
    const RECT end = {to.left, to.top, to.right, to.bottom};
    DrawAnimatedRects(window, IDANI_CAPTION, &start, &end);
}

void showMessage(HWND owner, DialogMessage message)
{
    const char* text = message == DialogMessage::UnspellableName ? texts::unspellableNameText
        : message == DialogMessage::NameTooLong                  ? texts::nameTooLongText
                                                                 : texts::notKeptText;
    MessageBoxW(owner, wideFromUtf8(text).c_str(), wideFromUtf8(texts::messageCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}
