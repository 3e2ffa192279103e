// Desktop capture into a DIB section, the stand-ins for a desktop that cannot be read, and the
// snapshot file's safe, private write.
#include "saver/core/desktop_snapshot_win32.h"

#include <algorithm>
#include <vector>
#include <windows.h>

#include "common/bitmap_format.h"
#include "common/dib_section_win32.h"
#include "common/snapshot_place_win32.h"
#include "common/trace_win32.h"
#include "saver/core/snapshot_picture.h"
#include "saver/core/wallpaper_win32.h"

namespace {

constexpr WORD snapshotBits = 32;

// NOTE: Windows starts a password-protected saver on a desktop of its own ("Screen-saver"), from
// which the user's windows cannot be seen; nothing there is to be copied.
bool onUserDesktop()
{
    wchar_t name[64] = {};
    DWORD needed = 0;
    return GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name - sizeof name[0],
                                     &needed) &&
           lstrcmpiW(name, L"Default") == 0;
}

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

// A copy that is all one colour (black, most often) is what a desktop Windows keeps from us gives.
bool copiedOneColour(const DibSection& picture, int width, int height)
{
    const RowSpan rows = SnapshotDesktopRows(width, height);
    const std::size_t side = static_cast<std::size_t>(width);
    // Bottom-up: the desktop's last row is the lowest in memory.
    const std::uint8_t* lowest = picture.bits() + 4 * side * static_cast<std::size_t>(width - rows.end);
    return IsOneColour(lowest, side * static_cast<std::size_t>(rows.end - rows.first));
}

// Top-down 32-bit rows of the desktop's size drawn where the desktop would be.
void drawInDesktopsPlace(const DibSection& picture, const std::vector<std::uint8_t>& rows, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(picture.dc(), 0, SnapshotDesktopTop(width, height), static_cast<DWORD>(width),
                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    GdiFlush();
}

// The desktop, or where it cannot be read the user's wallpaper, or else the program's own picture;
// the band above and below stays black. Says which it took.
const char* drawDesktopPart(const DibSection& picture, int width, int height)
{
    if (onUserDesktop() && copyDesktop(picture, width, height) && !copiedOneColour(picture, width, height))
        return "desktop";
    std::vector<std::uint8_t> rows = FilledWallpaper(width, height);
    const char* taken = "wallpaper";
    if (rows.empty()) {
        rows.resize(std::size_t{4} * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        DrawOwnPicture(rows.data(), width, height);
        taken = "own";
    }
    drawInDesktopsPlace(picture, rows, width, height);
    return taken;
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

// NOTE: takes the file's whole size on the disk before anything is drawn into its mapping: a file system
// that reserves nothing as a file grows (Wine's, or Windows' for a compressed or sparse file) would
// fault on a full disk when the picture is drawn, instead of refusing here.
bool reserveSpace(HANDLE file, std::size_t size, std::size_t written)
{
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (SetFileInformationByHandle(file, FileAllocationInfo, &allocation, sizeof allocation))
        return true;
    // NOTE: Wine 8 has no FileAllocationInfo (ERROR_CALL_NOT_IMPLEMENTED): zeros take the space.
    static const std::vector<BYTE> zeros(std::size_t{1} << 20);
    while (written < size) {
        const DWORD chunk = static_cast<DWORD>(std::min(zeros.size(), size - written));
        DWORD done = 0;
        if (!WriteFile(file, zeros.data(), chunk, &done, nullptr) || done != chunk)
            return false;
        written += chunk;
    }
    return true;
}

// The snapshot's draft, a new file under a name of its own (nothing planted is ever written into),
// open for its headers and for the DIB section that the desktop is copied into: the picture lands
// in the file directly, and the black rows above and below the desktop are never drawn (a new
// file's bytes are zeros).
struct SnapshotDraft {
    std::wstring path;
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;

    SnapshotDraft(const std::wstring& snapshot, const std::vector<std::uint8_t>& headers, std::size_t pixelBytes)
    {
        OwnerOnly security;
        if (!security.ready || pixelBytes > MAXDWORD - headers.size())
            return;
        for (unsigned attempt = 0; attempt < 8 && file == INVALID_HANDLE_VALUE; ++attempt) {
            path = snapshotDraftPath(snapshot, attempt);
            file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &security.attributes, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        DWORD written = 0;
        if (file == INVALID_HANDLE_VALUE ||
            !WriteFile(file, headers.data(), static_cast<DWORD>(headers.size()), &written, nullptr) ||
            written != headers.size())
            return;
        if (!reserveSpace(file, headers.size() + pixelBytes, headers.size()))
            return;
        mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(headers.size() + pixelBytes),
                                     nullptr);
    }
    ~SnapshotDraft()
    {
        if (mapping)
            CloseHandle(mapping);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    SnapshotDraft(const SnapshotDraft&) = delete;
    SnapshotDraft& operator=(const SnapshotDraft&) = delete;

    // Whether a file of ours was made, and so is ours to put in place or to delete.
    bool made() const { return file != INVALID_HANDLE_VALUE; }
};

// A draft that was made (its path, empty if none) and whether it holds the whole picture.
struct WrittenDraft {
    std::wstring path;
    bool complete = false;
};

// A W x W picture, black but for the desktop (or what stands in for it), written into a draft.
WrittenDraft writeDraft(const std::wstring& snapshot, int screenWidth, int screenHeight)
{
    const std::vector<std::uint8_t> headers = bitmapFileHeaders(screenWidth, screenWidth, snapshotBits);
    std::size_t pixelBytes = 0;
    if (headers.empty() || !paddedImageBytes(snapshotBits, screenWidth, screenWidth, pixelBytes))
        return {};
    const SnapshotDraft draft(snapshot, headers, pixelBytes);
    if (!draft.made())
        return {};
    if (!draft.mapping)
        return {draft.path};
    const DibSection picture(screenWidth, screenWidth, snapshotBits, draft.mapping, static_cast<DWORD>(headers.size()));
    if (!picture.bits())
        return {draft.path};
    traceNote("snapshot", drawDesktopPart(picture, screenWidth, screenHeight));
    traceStage("snapshot-captured");
    return {draft.path, true};
}

} // namespace

bool SaveDesktopSnapshot(const std::wstring& path, int screenWidth, int screenHeight)
{
    if (path.empty() || screenWidth <= 0 || screenHeight <= 0)
        return false;
    const WrittenDraft draft = writeDraft(path, screenWidth, screenHeight);
    // A disk that fills half-way must not leave the renderer a truncated snapshot: the old one stays.
    // Not flushed to the disk: the renderer reads it from the system's cache at once, and every
    // show writes a new one.
    if (!draft.complete || !MoveFileExW(draft.path.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        if (!draft.path.empty())
            DeleteFileW(draft.path.c_str());
        return false;
    }
    traceStage("snapshot-written");
    return true;
}
