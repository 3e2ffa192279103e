// Desktop capture into a DIB section and the snapshot file's safe, private write.
#include "saver/core/desktop_snapshot_win32.h"

#include <vector>
#include <windows.h>

#include "common/bitmap_format.h"
#include "common/contract.h"
#include "common/dib_section_win32.h"
#include "common/trace_win32.h"
#include "saver/core/show.h"

namespace {

constexpr WORD snapshotBits = 32;

bool copyDesktop(const DibSection& picture, int width, int height)
{
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    if (!screen)
        return false;
    BOOL copied = BitBlt(picture.dc(), 0, SnapshotDesktopTop(width, height), width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(desktop, screen);
    GdiFlush();
    return copied != FALSE;
}

// A DACL with one entry: full access for the user running the show; nothing inherited from the folder.
struct OwnerOnly {
    std::vector<BYTE> user;
    std::vector<BYTE> acl;
    SECURITY_DESCRIPTOR descriptor{};
    SECURITY_ATTRIBUTES attributes{};
    bool ready = false;

    OwnerOnly()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user.resize(size);
        bool haveUser = size && GetTokenInformation(token, TokenUser, user.data(), size, &size);
        CloseHandle(token);
        if (!haveUser)
            return;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
        acl.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
        PACL list = reinterpret_cast<PACL>(acl.data());
        ready = InitializeAcl(list, static_cast<DWORD>(acl.size()), ACL_REVISION)
            && AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, sid)
            && InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)
            && SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE)
            && SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
        attributes.nLength = sizeof attributes;
        attributes.lpSecurityDescriptor = &descriptor;
    }
};

bool writeAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& headers, const BYTE* pixels, DWORD pixelBytes)
{
    OwnerOnly security;
    if (!security.ready)
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &security.attributes, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = writeAll(file, headers.data(), static_cast<DWORD>(headers.size())) && writeAll(file, pixels, pixelBytes)
        && FlushFileBuffers(file);
    CloseHandle(file);
    return written;
}

} // namespace

bool SaveDesktopSnapshot(const std::string& path, int screenWidth, int screenHeight)
{
    if (screenWidth <= 0 || screenHeight <= 0)
        return false;
    // A W x W picture, black until the desktop is copied into it.
    DibSection picture(screenWidth, screenWidth, snapshotBits);
    if (!picture.bits() || !copyDesktop(picture, screenWidth, screenHeight))
        return false;
    traceStage("snapshot-captured");
    const std::vector<std::uint8_t> headers = bitmapFileHeaders(screenWidth, screenWidth, snapshotBits);
    const std::string partial = path + contract::snapshotPartialSuffix;
    // A disk that fills half-way must not leave the renderer a truncated snapshot: the old one stays.
    if (headers.empty() || !writeFile(partial, headers, picture.bits(), static_cast<DWORD>(picture.imageBytes()))
        || !MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    traceStage("snapshot-written");
    return true;
}
