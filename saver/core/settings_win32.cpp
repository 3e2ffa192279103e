// The private profile functions and CreateFileA behind the settings' interfaces.
#include "saver/core/settings_win32.h"

#include <cstring>
#include <windows.h>

std::string SystemProfile::readString(const std::string& section, const std::string& key, const std::string& file)
{
    // Measured in the buffer rather than trusting the count returned: the zero fill bounds it either way.
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

void SystemProfile::writeString(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& file)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

bool SystemFileChecks::canOpenForReading(const std::string& path)
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
