// The snapshot's path from the user's known folder, and the names of its drafts.
#include "common/snapshot_place_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "common/contract.h"

namespace {

const wchar_t draftEnding[] = L".new";

std::wstring localAppDataFolder()
{
    wchar_t* found = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &found)) && found)
        folder = found;
    CoTaskMemFree(found);
    return folder;
}

std::wstring folderOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

} // namespace

std::wstring snapshotFolder()
{
    const std::wstring localAppData = localAppDataFolder();
    if (localAppData.empty())
        return localAppData;
    const bool separated = localAppData.back() == L'\\';
    return localAppData + (separated ? L"" : L"\\") + contract::snapshotFolderName;
}

std::wstring snapshotPath()
{
    const std::wstring folder = snapshotFolder();
    return folder.empty() ? folder : folder + L"\\" + contract::snapshotFileName;
}

std::wstring snapshotDraftPath(const std::wstring& path, unsigned attempt)
{
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(attempt) + draftEnding;
}

void removeSnapshot(const std::wstring& path)
{
    DeleteFileW(path.c_str());
    const std::wstring folder = folderOf(path);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path + L".*" + draftEnding).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}
