// The package's custom actions: the user's screen saver on install, its rollback and removal, and
// the user's desktop snapshot on removal. The saver's deferred actions take their paths from the
// action's data, which the package sets; the snapshot's, from the user's own folder.
#include <string>
#include <vector>
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "common/snapshot_place_win32.h"
#include "package/saver_choice.h"
#include "saver/wide_text_win32.h"

namespace {

const wchar_t desktopKey[] = L"Control Panel\\Desktop";
const wchar_t saverValue[] = L"SCRNSAVE.EXE";
const wchar_t activeValue[] = L"ScreenSaveActive";

std::wstring property(MSIHANDLE install, const wchar_t* name)
{
    DWORD size = 0;
    wchar_t empty[1] = L"";
    MsiGetPropertyW(install, name, empty, &size);
    std::wstring value(size + 1, L'\0');
    ++size;
    MsiGetPropertyW(install, name, value.data(), &size);
    value.resize(size);
    return value;
}

// A deferred action's data: the fields the package joined with ';', at most count of them, the
// last holding the rest (a path the user chose may itself hold ';').
std::vector<std::wstring> actionData(MSIHANDLE install, std::size_t count)
{
    std::vector<std::wstring> fields(1);
    for (wchar_t c : property(install, L"CustomActionData")) {
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
    return {utf8FromWide(path), utf8FromWide(shortPathOf(path))};
}

// The short path of a file in a system folder as the program that runs the file would see it: a
// 32-bit action on 64-bit Windows would otherwise be shown SysWOW64 for System32.
std::wstring shortPathInSystemFolder(const std::wstring& path)
{
    void* redirection = nullptr;
    const bool undirected = Wow64DisableWow64FsRedirection(&redirection);
    std::wstring result = shortPathOf(path);
    if (undirected)
        Wow64RevertWow64FsRedirection(redirection);
    return result;
}

// Writes the value, or deletes it when empty.
LSTATUS putDesktopValue(const wchar_t* name, const std::wstring& value)
{
    if (value.empty()) {
        HKEY key = nullptr;
        LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, desktopKey, 0, KEY_SET_VALUE, &key);
        if (opened != ERROR_SUCCESS)
            return opened;
        RegDeleteValueW(key, name);
        RegCloseKey(key);
        return ERROR_SUCCESS;
    }
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, desktopKey, name, REG_SZ, value.c_str(), bytes);
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

// Immediate, before an older product goes: SHORTSAVER32 and SHORTSAVER64, the short paths of the
// 32-bit and the 64-bit build's Vitrelux.scr where they are installed (empty where not), which
// cannot be had once their files are gone.
extern "C" __declspec(dllexport) UINT __stdcall FindShortSavers(MSIHANDLE install)
{
    const std::pair<const wchar_t*, const wchar_t*> builds[] = {{L"SHORTSAVER32", L"SystemFolder"},
                                                                 {L"SHORTSAVER64", L"System64Folder"}};
    for (const auto& [shortName, folder] : builds) {
        const std::wstring path = property(install, folder) + L"Vitrelux.scr";
        const std::wstring shortPath = shortPathInSystemFolder(path);
        MsiSetPropertyW(install, shortName, shortPath != path ? shortPath.c_str() : L"");
    }
    return ERROR_SUCCESS;
}

// Data: the SETSAVER property; this package's Vitrelux.scr, now installed; the short paths the
// 32-bit and the 64-bit build had before; where the two builds install it; the user's screen saver
// before the install. Writes ours, short, as Windows stores it, and when asked to, makes the
// screen saver start.
extern "C" __declspec(dllexport) UINT __stdcall SetSaver(MSIHANDLE install)
{
    const std::vector<std::wstring> data = actionData(install, 7);
    if (data.size() != 7)
        return ERROR_INSTALL_FAILURE;
    const bool asked = data[0] == L"1";
    const std::wstring& installed = data[1];
    std::vector<std::string> ours = bothForms(installed);
    for (std::size_t field = 2; field < 6; ++field)
        ours.push_back(utf8FromWide(data[field]));
    if (!SetsSaver(asked, utf8FromWide(data[6]), ours))
        return ERROR_SUCCESS;
    // Without ScreenSaveActive 1 the saver set here would never start.
    const bool written = putDesktopValue(saverValue, shortPathOf(installed)) == ERROR_SUCCESS &&
                         (!asked || putDesktopValue(activeValue, L"1") == ERROR_SUCCESS);
    return written ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}

// Rollback of SetSaver. Data: ScreenSaveActive and SCRNSAVE.EXE as they were before the install
// (empty: there was none).
extern "C" __declspec(dllexport) UINT __stdcall RestoreSaver(MSIHANDLE install)
{
    const std::vector<std::wstring> data = actionData(install, 2);
    if (data.size() == 2) {
        putDesktopValue(activeValue, data[0]);
        putDesktopValue(saverValue, data[1]);
    }
    return ERROR_SUCCESS;
}

// Data: this package's Vitrelux.scr, still installed. Clears the user's screen saver only while it
// is that file, never a saver the user has picked since.
extern "C" __declspec(dllexport) UINT __stdcall ClearSaver(MSIHANDLE install)
{
    const std::vector<std::wstring> data = actionData(install, 1);
    if (NamesSaver(utf8FromWide(storedSaver()), bothForms(data[0])))
        putDesktopValue(saverValue, L"");
    return ERROR_SUCCESS;
}

// The snapshot is a picture of the user's desktop: it goes with the program, and its folder with it
// when nothing else is left there. Runs as the user who removes the program, in that user's own
// folder; other users' snapshots stay in their profiles, as their settings do.
extern "C" __declspec(dllexport) UINT __stdcall RemoveSnapshot(MSIHANDLE)
{
    const std::wstring path = snapshotPath();
    if (!path.empty())
        removeSnapshot(path);
    return ERROR_SUCCESS;
}
