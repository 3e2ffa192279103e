// The package's custom actions: the user's screen saver on install and removal, and the desktop
// snapshot on removal. Each takes its paths from the action's data, which the package sets.
#include <string>
#include <vector>
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "common/contract.h"
#include "package/saver_choice.h"
#include "saver/wide_text_win32.h"

namespace {

const wchar_t desktopKey[] = L"Control Panel\\Desktop";
const wchar_t saverValue[] = L"SCRNSAVE.EXE";

// A deferred action's data: the fields the package joined with ';', at most count of them, the
// last holding the rest (a path the user chose may itself hold ';').
std::vector<std::wstring> actionData(MSIHANDLE install, std::size_t count)
{
    DWORD size = 0;
    wchar_t empty[1] = L"";
    MsiGetPropertyW(install, L"CustomActionData", empty, &size);
    std::wstring data(size + 1, L'\0');
    ++size;
    MsiGetPropertyW(install, L"CustomActionData", data.data(), &size);
    data.resize(size);
    std::vector<std::wstring> fields(1);
    for (wchar_t c : data) {
        if (c == L';' && fields.size() < count)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The path as Windows stores a screen saver's: short, where the file exists.
std::wstring shortPathOf(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? shortPath : path;
}

// The path as given and as stored, both UTF-8.
std::vector<std::string> bothForms(const std::wstring& path)
{
    return {utf8Text(path), utf8Text(shortPathOf(path))};
}

std::wstring storedSaver()
{
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value - sizeof value[0];
    if (RegGetValueW(HKEY_CURRENT_USER, desktopKey, saverValue, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

} // namespace

// Data: the SETSAVER property; this package's Vitrelux.scr, now installed; where the 32-bit and the
// 64-bit build install it; the user's screen saver before the install. Writes ours, short, as
// Windows stores it.
extern "C" __declspec(dllexport) UINT __stdcall SetSaver(MSIHANDLE install)
{
    const std::vector<std::wstring> data = actionData(install, 5);
    if (data.size() != 5)
        return ERROR_INSTALL_FAILURE;
    const std::wstring& installed = data[1];
    std::vector<std::string> ours = bothForms(installed);
    ours.push_back(utf8Text(data[2]));
    ours.push_back(utf8Text(data[3]));
    if (!SetsSaver(data[0] == L"1", utf8Text(data[4]), ours))
        return ERROR_SUCCESS;
    const std::wstring value = shortPathOf(installed);
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS written = RegSetKeyValueW(HKEY_CURRENT_USER, desktopKey, saverValue, REG_SZ, value.c_str(), bytes);
    return written == ERROR_SUCCESS ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}

// Data: this package's Vitrelux.scr, still installed. Clears the user's screen saver only while it
// is that file, never a saver the user has picked since.
extern "C" __declspec(dllexport) UINT __stdcall ClearSaver(MSIHANDLE install)
{
    const std::vector<std::wstring> data = actionData(install, 1);
    if (NamesSaver(utf8Text(storedSaver()), bothForms(data[0]))) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, desktopKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, saverValue);
            RegCloseKey(key);
        }
    }
    return ERROR_SUCCESS;
}

// The snapshot is a picture of the user's desktop: it goes with the program, and its folder with
// it when nothing else is left there.
extern "C" __declspec(dllexport) UINT __stdcall RemoveSnapshot(MSIHANDLE)
{
    // Also a snapshot that a show could not finish writing.
    const std::string snapshot = contract::snapshotPath;
    for (const std::string& file : {snapshot, snapshot + contract::snapshotPartialSuffix})
        DeleteFileA(file.c_str());
    RemoveDirectoryA(contract::snapshotFolder);
    return ERROR_SUCCESS;
}
