// The package's custom actions: the user's screen saver on install and removal, and the desktop
// snapshot on removal. Each takes its paths from the action's data, which the package sets.
#include <string>
#include <vector>
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "common/contract.h"
#include "package/saver_choice.h"

namespace {

const wchar_t desktopKey[] = L"Control Panel\\Desktop";
const wchar_t saverValue[] = L"SCRNSAVE.EXE";

std::string utf8(const std::wstring& wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), size, nullptr, nullptr);
    return text.c_str();
}

// A deferred action's data: the fields the package joined with ';'.
std::vector<std::wstring> actionData(MSIHANDLE install)
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
        if (c == L';')
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
    return {utf8(path), utf8(shortPathOf(path))};
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

// Data: the SETSAVER property; the user's screen saver before the install; this package's
// Vitrelux.scr, now installed; where either build installs it. Writes ours, short, as Windows
// stores it.
extern "C" __declspec(dllexport) UINT __stdcall SetSaver(MSIHANDLE install)
{
    const std::vector<std::wstring> data = actionData(install);
    if (data.size() < 3)
        return ERROR_INSTALL_FAILURE;
    const std::wstring& installed = data[2];
    std::vector<std::string> ours = bothForms(installed);
    for (std::size_t field = 3; field < data.size(); ++field)
        ours.push_back(utf8(data[field]));
    if (!SetsSaver(data[0] == L"1", utf8(data[1]), ours))
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
    const std::vector<std::wstring> data = actionData(install);
    if (data.size() == 1 && NamesSaver(utf8(storedSaver()), bothForms(data[0]))) {
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
