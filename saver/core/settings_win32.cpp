// The private profile functions, the file functions and the shell's folder lookup behind the
// settings' interfaces.
#include "saver/core/settings_win32.h"

#include <bitset>
#include <cstring>
#include <vector>
#include <windows.h>
#include <shlobj.h>

#include "saver/wide_text_win32.h"

namespace {

// Far beyond any path the settings hold; a value that long is cut rather than read without end.
constexpr std::size_t maxValueBytes = 65536;

} // namespace

AnsiText SystemProfile::readString(ShiftJisText section, ShiftJisText key, const AnsiText& file)
{
    // A value that nearly fills the buffer may have been cut (a byte early, rather than in the middle
    // of a two-byte character): read it again into a larger one. Measured in the zero-filled buffer,
    // which bounds it whatever count is returned.
    for (std::size_t size = 1024;; size *= 4) {
        std::vector<char> buffer(size);
        GetPrivateProfileStringA(section.bytes, key.bytes, "", buffer.data(), static_cast<DWORD>(size),
                                 file.c_str());
        const std::size_t length = strnlen(buffer.data(), size);
        if (length + 2 < size || size >= maxValueBytes)
            return AnsiText(std::string(buffer.data(), length));
    }
}

bool SystemProfile::writeString(ShiftJisText section, ShiftJisText key, const AnsiText& value, const AnsiText& file)
{
    return WritePrivateProfileStringA(section.bytes, key.bytes, value.c_str(), file.c_str()) != FALSE;
}

bool SystemFiles::canOpenForReading(const AnsiText& path)
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

bool SystemFiles::copyOrCreate(const AnsiText& from, const AnsiText& to)
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

bool SystemFiles::flush(const AnsiText& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(file) != FALSE;
    CloseHandle(file);
    return flushed;
}

Replacement SystemFiles::replace(const AnsiText& from, const AnsiText& to, const AnsiText& backup)
{
    if (ReplaceFileA(to.c_str(), from.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return Replacement::Whole;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
        return Replacement::NothingThere;
    // The replaced file is under the backup name by then, the replacement still under its own.
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        return Replacement::OldAside;
    default:
        return Replacement::NotAtAll;
    }
}

bool SystemFiles::move(const AnsiText& from, const AnsiText& to)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            Sleep(100);
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
    }
    return false;
}

bool SystemFiles::remove(const AnsiText& path)
{
    if (DeleteFileA(path.c_str()))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void SystemFiles::createFolder(const AnsiText& path)
{
    CreateDirectoryA(path.c_str(), nullptr);
}

AnsiText UserDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    AnsiText bytes;
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))
        || !systemCodePageText(folder, bytes))
        return AnsiText();
    return bytes;
}

AnsiCodePage AnsiCodePageOf(unsigned codePage)
{
    std::bitset<256> leadBytes;
    CPINFO info{};
    if (!GetCPInfo(codePage, &info))
        return AnsiCodePage();
    // Pairs of first and last byte of each range, ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (unsigned byte = info.LeadByte[i]; byte <= info.LeadByte[i + 1]; ++byte)
            leadBytes.set(byte);
    }
    return AnsiCodePage(leadBytes);
}
