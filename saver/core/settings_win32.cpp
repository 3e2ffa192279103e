// The private profile functions, the file functions and the shell's folder lookup behind the
// settings' interfaces.
#include "saver/core/settings_win32.h"

#include <cstring>
#include <windows.h>
#include <shlobj.h>

#include "saver/wide_text_win32.h"

std::string SystemProfile::readString(const std::string& section, const std::string& key, const std::string& file)
{
    // Measured in the buffer rather than trusting the count returned: the zero fill bounds it either way.
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

bool SystemProfile::writeString(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& file)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool SystemFiles::canOpenForReading(const std::string& path)
{
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open, which is what is wanted here.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // Device names such as NUL or COM1 open too, but are no music file.
    const bool isFile = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return isFile;
}

bool SystemFiles::copyOrCreate(const std::string& from, const std::string& to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            return false;
        HANDLE created = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(created);
    }
    // A copy of a read-only file is read-only too, and could not take the new values.
    return SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool SystemFiles::replace(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void SystemFiles::remove(const std::string& path)
{
    DeleteFileA(path.c_str());
}

void SystemFiles::createFolder(const std::string& path)
{
    CreateDirectoryA(path.c_str(), nullptr);
}

std::string UserDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    std::string bytes;
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))
        || !systemCodePageText(folder, bytes))
        return "";
    return bytes;
}
