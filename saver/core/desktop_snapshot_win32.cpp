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

// The snapshot's file, open for its headers and for the DIB section that the desktop is copied
// into: the picture lands in the file directly, and the black rows above and below the desktop are
// never written at all (a new file's bytes are zeros).
struct SnapshotFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;

    SnapshotFile(const std::string& path, const std::vector<std::uint8_t>& headers, std::size_t pixelBytes)
    {
        OwnerOnly security;
        if (!security.ready || pixelBytes > MAXDWORD - headers.size())
            return;
        file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &security.attributes, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        if (file == INVALID_HANDLE_VALUE ||
            !WriteFile(file, headers.data(), static_cast<DWORD>(headers.size()), &written, nullptr) ||
            written != headers.size())
            return;
        // Sized here, before anything is drawn: a disk without room for it refuses the mapping.
        mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(headers.size() + pixelBytes),
                                     nullptr);
    }
    ~SnapshotFile()
    {
        if (mapping)
            CloseHandle(mapping);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    SnapshotFile(const SnapshotFile&) = delete;
    SnapshotFile& operator=(const SnapshotFile&) = delete;
};

// A W x W picture, black but for the desktop copied into it, written whole into the file at path.
bool writeSnapshot(const std::string& path, int screenWidth, int screenHeight)
{
    const std::vector<std::uint8_t> headers = bitmapFileHeaders(screenWidth, screenWidth, snapshotBits);
    std::size_t pixelBytes = 0;
    if (headers.empty() || !paddedImageBytes(snapshotBits, screenWidth, screenWidth, pixelBytes))
        return false;
    const SnapshotFile file(path, headers, pixelBytes);
    if (!file.mapping)
        return false;
    const DibSection picture(screenWidth, screenWidth, snapshotBits, file.mapping, static_cast<DWORD>(headers.size()));
    if (!picture.bits() || !copyDesktop(picture, screenWidth, screenHeight))
        return false;
    traceStage("snapshot-captured");
    return true;
}

} // namespace

bool SaveDesktopSnapshot(const std::string& path, int screenWidth, int screenHeight)
{
    if (screenWidth <= 0 || screenHeight <= 0)
        return false;
    const std::string partial = path + contract::snapshotPartialSuffix;
    // A disk that fills half-way must not leave the renderer a truncated snapshot: the old one stays.
    // Not flushed to the disk: the renderer reads it from the system's cache at once, and every
    // show writes a new one.
    if (!writeSnapshot(partial, screenWidth, screenHeight) ||
        !MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    traceStage("snapshot-written");
    return true;
}
