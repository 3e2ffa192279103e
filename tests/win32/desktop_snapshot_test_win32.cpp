// The snapshot file the show saves: the desktop's place in it, its replacement and its protection.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

#include "common/snapshot_place_win32.h"
#include "saver/core/desktop_snapshot_win32.h"

namespace {

std::vector<BYTE> readFile(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int32_t field32(const std::vector<BYTE>& bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                     static_cast<DWORD>(bytes[offset + 3]) << 24);
}

// The pixel at (x, y) counted from the picture's top, as blue, green, red, unused.
DWORD pixelFromTop(const std::vector<BYTE>& bytes, int side, int x, int y)
{
    const std::size_t offset = 56 + (static_cast<std::size_t>(side - 1 - y) * side + x) * 4;
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16;
}

class DesktopSnapshot : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"vitrelux_snapshot_test.bmp";
        DeleteFileW(path_.c_str());
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }
    std::wstring path_;
};

// A screen-sized window, grey with a white bar across its top rows, so the test can find where they landed.
LRESULT CALLBACK markedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wparam, lparam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT all, bar;
    GetClientRect(window, &all);
    bar = all;
    bar.bottom = 4;
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(window, &paint);
    return 0;
}

struct MarkedDesktop {
    HWND window;
    MarkedDesktop(int width, int height)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = markedWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MarkedDesktop";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOPMOST, "MarkedDesktop", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        UpdateWindow(window);
        // NOTE: under Wine the window reaches the X screen only after its messages have been served for a while.
        const DWORD end = GetTickCount() + 1500;
        MSG message;
        while (GetTickCount() < end) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(10);
        }
    }
    ~MarkedDesktop()
    {
        DestroyWindow(window);
        UnregisterClassA("MarkedDesktop", GetModuleHandleA(nullptr));
    }
};

TEST_F(DesktopSnapshot, IsSquareWithTheDesktopCentredOnBlack)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(width, height) << "the test X server has a landscape screen";
    MarkedDesktop desktop(width, height);
    ASSERT_TRUE(SaveDesktopSnapshot(path_, width, height));
    const std::vector<BYTE> bytes = readFile(path_);
    ASSERT_EQ(bytes.size(), 56u + 4u * width * width);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(field32(bytes, 18), width);
    EXPECT_EQ(field32(bytes, 22), width);
    const int top = (width - height) / 2;
    EXPECT_EQ(pixelFromTop(bytes, width, width / 2, top - 1), 0u) << "black above the desktop";
    EXPECT_EQ(pixelFromTop(bytes, width, width / 2, top), 0xFFFFFFu) << "the desktop's top row";
    EXPECT_NE(pixelFromTop(bytes, width, width / 2, top + height - 1), 0u) << "the desktop's bottom row";
    EXPECT_EQ(pixelFromTop(bytes, width, width / 2, top + height), 0u) << "black below the desktop";
}

// Windows starts a password-protected saver on a desktop of its own, from which nothing of the
// user's desktop is to be copied: the program's own picture stands in (there is no wallpaper here).
TEST_F(DesktopSnapshot, FromAnotherDesktopCopiesNothingOfTheUsersDesktop)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    MarkedDesktop desktop(width, height);
    HDESK other = CreateDesktopW(L"Vitrelux test", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(other, nullptr);
    bool saved = false;
    std::thread([&] { saved = SetThreadDesktop(other) && SaveDesktopSnapshot(path_, width, height); }).join();
    CloseDesktop(other);
    ASSERT_TRUE(saved);
    const std::vector<BYTE> bytes = readFile(path_);
    const int top = (width - height) / 2;
    for (int x : {width / 4, width / 2, 3 * width / 4}) {
        const DWORD pixel = pixelFromTop(bytes, width, x, top + 2);
        EXPECT_NE(pixel, 0xFFFFFFu) << "the user's desktop copied at " << x;
        EXPECT_EQ(pixel & 0xFF, 0u) << "blue, which the program's own picture has none of, at " << x;
    }
}

// NOTE: Wine keeps no stored ACL here: it maps the ACL to Unix permissions and reports SYSTEM and the owner
// back; a file created without one comes back readable by Everyone.
TEST_F(DesktopSnapshot, OnlyItsOwnerMayReadIt)
{
    ASSERT_TRUE(SaveDesktopSnapshot(path_, 64, 48));
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(path_.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);

    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    BYTE user[256];
    DWORD size = sizeof user;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, size, &size));
    CloseHandle(token);
    PSID owner = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
    BYTE system[SECURITY_MAX_SID_SIZE];
    size = sizeof system;
    ASSERT_TRUE(CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &size));

    bool ownerAllowed = false;
    for (WORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        ASSERT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        PSID sid = &ace->SidStart;
        ownerAllowed = ownerAllowed || EqualSid(sid, owner);
        EXPECT_TRUE(EqualSid(sid, owner) || EqualSid(sid, system)) << "entry " << i << " lets someone else in";
    }
    EXPECT_TRUE(ownerAllowed);
    LocalFree(descriptor);
}

TEST_F(DesktopSnapshot, ReplacesTheOldFileWholeOrNotAtAll)
{
    ASSERT_TRUE(SaveDesktopSnapshot(path_, 64, 48));
    EXPECT_EQ(readFile(path_).size(), 56u + 4u * 64 * 64);
    ASSERT_TRUE(SaveDesktopSnapshot(path_, 32, 24));
    EXPECT_EQ(readFile(path_).size(), 56u + 4u * 32 * 32);
    EXPECT_FALSE(exists(snapshotDraftPath(path_, 0))) << "draft left";

    // A file planted under a draft's name is never written into, and never takes the snapshot's place.
    const std::wstring planted = snapshotDraftPath(path_, 0);
    HANDLE file = CreateFileW(planted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ASSERT_TRUE(SaveDesktopSnapshot(path_, 64, 48));
    EXPECT_EQ(readFile(path_).size(), 56u + 4u * 64 * 64);
    EXPECT_EQ(readFile(planted).size(), 0u);
    DeleteFileW(planted.c_str());

    // A snapshot that cannot take the old one's place (a reader holds it) leaves it as it was.
    HANDLE reader = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(SaveDesktopSnapshot(path_, 32, 24));
    CloseHandle(reader);
    EXPECT_EQ(readFile(path_).size(), 56u + 4u * 64 * 64);
    EXPECT_FALSE(exists(snapshotDraftPath(path_, 0))) << "draft left";
}

// A disk without room for the snapshot gives no new one, and no crash: a file system that reserves
// nothing as a file grows (Wine's, and on Windows a compressed or sparse file) would otherwise
// fault when the picture is drawn into the mapped file.
TEST(FullDisk, GivesNoNewSnapshotAndNoCrash)
{
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExW(VITRELUX_SMALL_DISK, &free, nullptr, nullptr) || free.QuadPart > 1 << 20)
        GTEST_SKIP() << "no small file system mounted (cmake/small-disk.sh needs root)";
    const std::wstring path = std::wstring(VITRELUX_SMALL_DISK) + L"\\Vitrelux.bmp";
    EXPECT_FALSE(SaveDesktopSnapshot(path, 512, 384));
    EXPECT_FALSE(exists(path));
    EXPECT_FALSE(exists(snapshotDraftPath(path, 0))) << "draft left";
}

} // namespace
