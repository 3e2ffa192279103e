// The settings dialog's window in this process, driven from inside its own modal loop by a thread
// timer: every way the loop ends leaves no window and no GDI object behind and stores nothing,
// also a close request while the file chooser is open; Enter stores nothing and Escape cancels.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

#include "common/gdi_objects_win32.h"
#include "saver/core/settings_win32.h"
#include "saver/settings_dialog/dialog_layout.h"
#include "saver/settings_dialog/settings_dialog_win32.h"

namespace {

const wchar_t dialogTitle[] = L"<Vitrelux>";
const wchar_t chooserTitle[] = L"\xFF8C\xFF67\xFF72\xFF99\x3092\x958B\x304F";  // ﾌｧｲﾙを開く
const std::string storedBytes = "[Section]\r\nBGM\x8B\xE6\x95\xAA=0\r\n";

HWND dialogWindow()
{
    return FindWindowW(nullptr, dialogTitle);
}

bool post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    HWND dialog = dialogWindow();
    return dialog && PostMessageW(dialog, message, wparam, lparam);
}

// Steps run one a timer tick inside whichever modal loop is running; a step answers whether it is
// done, and runs again at the next tick until it is. Past the tick limit, every tick asks the
// dialog to close, so that a step that never comes true fails the test instead of hanging it.
struct Script {
    std::vector<std::function<bool()>> steps;
    int tickLimit;
    std::size_t next = 0;
    int ticks = 0;
};
Script* script = nullptr;

VOID CALLBACK runStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (++script->ticks > script->tickLimit)
        post(WM_CLOSE);
    else if (script->next < script->steps.size() && script->steps[script->next]())
        ++script->next;
}

HWND panelOf(HWND dialog)
{
    return FindWindowExW(dialog, nullptr, L"Vitrelux_P_Panel", nullptr);
}

// The edit field of the dialog's track box.
HWND trackEdit()
{
    HWND track = FindWindowExW(panelOf(dialogWindow()), nullptr, L"ComboBox", nullptr);
    return FindWindowExW(track, nullptr, L"Edit", nullptr);
}

class DialogRun : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "vitrelux_dialog_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        ini_ = folder_ + "\\Vitrelux.ini";
        std::ofstream(ini_, std::ios::binary) << storedBytes;
    }
    void TearDown() override
    {
        DeleteFileA(ini_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // Shows the dialog as /c does while the steps run; true when it ended within the ticks given.
    bool show(std::vector<std::function<bool()>> steps, int tickLimit = 100)
    {
        Script run{std::move(steps), tickLimit};
        script = &run;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, runStep);
        Settings settings;
        const SettingsPlaces places{AnsiText(folder_), "", AnsiCodePageOf(CP_ACP)};
        LoadSettings(profile_, files_, places, settings);
        ShowSettingsDialog(GetModuleHandleW(nullptr), nullptr, settings, profile_, files_, places);
        KillTimer(nullptr, timer);
        script = nullptr;
        return run.ticks <= tickLimit;
    }
    std::string iniBytes() const
    {
        std::ifstream in(ini_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string folder_, ini_;
    SystemProfile profile_;
    SystemFiles files_;
};

bool quitQueued()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST_F(DialogRun, EveryWayTheLoopEndsTakesTheWindowAndItsObjectsAndStoresNothing)
{
    struct Case {
        const char* what;
        std::function<bool()> end;
        bool quitsAgain;
    };
    const Case cases[] = {
        {"close request", [] { return post(WM_CLOSE); }, false},
        {"quit request", [] { return dialogWindow() && (PostQuitMessage(3), true); }, true},
        {"Escape", [] { return post(WM_KEYDOWN, VK_ESCAPE); }, false},
    };
    for (const Case& c : cases) {
        const long before = liveGdiObjects();
        EXPECT_TRUE(show({c.end})) << c.what << ": the dialog did not end";
        EXPECT_EQ(quitQueued(), c.quitsAgain) << c.what;
        EXPECT_EQ(dialogWindow(), nullptr) << c.what;
        EXPECT_EQ(liveGdiObjects(), before) << c.what;
        EXPECT_EQ(iniBytes(), storedBytes) << c.what;
    }
}

TEST_F(DialogRun, FiftyOpensAndClosesLeaveNoGdiObject)
{
    for (int run = 0; run < 50; ++run)
        ASSERT_TRUE(show({[] { return post(WM_CLOSE); }})) << run;
    EXPECT_EQ(liveGdiObjects(), 0);
}

TEST_F(DialogRun, ACloseRequestWhileTheChooserIsOpenEndsBoth)
{
    const DialogRect option = LayoutOf(Part::Option2).rect;
    const LPARAM onButton = MAKELPARAM(10, 10);
    const bool ended = show({
        // The file option chosen, then a click on "...", whose chooser the close request meets.
        [&] { return dialogWindow() && PostMessageW(panelOf(dialogWindow()), WM_LBUTTONDOWN, 0,
                                                    MAKELPARAM(option.left + 2, option.top + 2)); },
        [&] {
            HWND button = GetDlgItem(panelOf(dialogWindow()), fileId);
            return button && PostMessageW(button, WM_MOUSEMOVE, 0, onButton)
                && PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, onButton)
                && PostMessageW(button, WM_LBUTTONUP, 0, onButton);
        },
        [] { return FindWindowW(nullptr, chooserTitle) && post(WM_CLOSE); },
    });
    EXPECT_TRUE(ended) << "the dialog stayed";
    EXPECT_EQ(FindWindowW(nullptr, chooserTitle), nullptr);
    EXPECT_EQ(liveGdiObjects(), 0);
    EXPECT_EQ(iniBytes(), storedBytes);
}

TEST_F(DialogRun, EnterStoresNothingAndEscapeCancelsWhereverTheKeyboardIs)
{
    bool openAfterEnter = false;
    const DialogRect option = LayoutOf(Part::Option1).rect;
    const bool ended = show({
        // The CD chosen, then Enter and Escape in the track box's edit field.
        [&] { return dialogWindow() && PostMessageW(panelOf(dialogWindow()), WM_LBUTTONDOWN, 0,
                                                    MAKELPARAM(option.left + 2, option.top + 2)); },
        [] { return trackEdit() && PostMessageW(trackEdit(), WM_KEYDOWN, VK_RETURN, 0); },
        [&] { return (openAfterEnter = dialogWindow() != nullptr); },
        [] { return trackEdit() && PostMessageW(trackEdit(), WM_KEYDOWN, VK_ESCAPE, 0); },
    });
    EXPECT_TRUE(openAfterEnter) << "Enter closed the dialog";
    EXPECT_TRUE(ended) << "Escape did not end the dialog";
    EXPECT_EQ(iniBytes(), storedBytes) << "the choice of the CD was stored";
}

} // namespace
