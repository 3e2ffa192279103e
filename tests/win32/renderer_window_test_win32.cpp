// The renderer's window procedure: which messages end the show and which are left alone, and the
// display's state held in its loop; the system services behind its clock and its frame pacing.
#include <gtest/gtest.h>

#include <cstring>
#include <windows.h>

#include <memory>

#include "render/renderer_win32.h"

namespace {

bool takeQuitMessage()
{
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        quit = quit || message.message == WM_QUIT;
    return quit;
}

// A windowed renderer of 320 x 240.
class RendererWindow : public testing::Test {
protected:
    void SetUp() override { make(prepareUserSnapshot); }
    void TearDown() override
    {
        renderer_.reset();
        takeQuitMessage();
    }
    void make(TextureLevel (*prepare)())
    {
        renderer_.reset();
        renderer_ = std::make_unique<Renderer>(GetModuleHandleA(nullptr), false, prepare);
        ASSERT_TRUE(renderer_->createWindow(320, 240));
        window_ = renderer_->window();
        takeQuitMessage();
    }
    std::unique_ptr<Renderer> renderer_;
    HWND window_ = nullptr;
};

TEST_F(RendererWindow, IsFoundByItsTitleWithTheRequestedClientSize)
{
    EXPECT_EQ(FindWindowA(nullptr, "Vitrelux_VC"), window_);
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
}

TEST_F(RendererWindow, OnlyEscapeAndCloseRequestsEndTheShow)
{
    struct Case {
        const char* what;
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
        bool quits;
    };
    const Case cases[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, 0, true},
        {"close request", WM_CLOSE, 0, 0, true},
        {"system menu close", WM_SYSCOMMAND, SC_CLOSE, 0, true},
        {"space", WM_KEYDOWN, VK_SPACE, 0, false},
        {"letter", WM_KEYDOWN, 'A', 0, false},
        {"screen saver request", WM_SYSCOMMAND, SC_SCREENSAVE, 0, false},
        {"mouse move", WM_MOUSEMOVE, 0, MAKELPARAM(100, 100), false},
        {"click", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), false},
        {"right click", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10), false},
    };
    for (const Case& c : cases) {
        SendMessageA(window_, c.message, c.wparam, c.lparam);
        EXPECT_EQ(takeQuitMessage(), c.quits) << c.what;
        EXPECT_TRUE(IsWindow(window_)) << c.what << ": the loop, not the window procedure, ends the show";
    }
}

TEST_F(RendererWindow, ScreenSaverRequestIsSwallowed)
{
    EXPECT_EQ(SendMessageA(window_, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_FALSE(takeQuitMessage());
}

// The display's state as Windows reports it: one DWORD in a POWERBROADCAST_SETTING.
void reportDisplay(HWND window, DWORD state)
{
    struct {
        POWERBROADCAST_SETTING setting;
        BYTE rest[sizeof(DWORD)];
    } report{};
    // GUID_SESSION_DISPLAY_STATUS
    report.setting.PowerSetting = {0x2B84C20E, 0xAD23, 0x4DDF, {0x93, 0xDB, 0x05, 0xFF, 0xBD, 0x7E, 0xFC, 0xA5}};
    report.setting.DataLength = sizeof state;
    std::memcpy(report.setting.Data, &state, sizeof state);
    SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&report));
}

// The show's scene time when the display went off, before it came on again and a while after,
// each taken from inside the renderer's own loop every 100 ms: off at 0.3 s, on at 1.3 s, the end at 1.6 s.
const Renderer* darkRenderer = nullptr;
HWND darkWindow = nullptr;
int darkTicks = 0;
float atOff = -1, beforeOn = -1, afterOn = -1;

void CALLBACK darkSpellStep(HWND, UINT, UINT_PTR, DWORD)
{
    switch (++darkTicks) {
    case 3:
        atOff = darkRenderer->clock().totalSeconds();
        return reportDisplay(darkWindow, 0);
    case 13:
        beforeOn = darkRenderer->clock().totalSeconds();
        return reportDisplay(darkWindow, 1);
    case 16:
        afterOn = darkRenderer->clock().totalSeconds();
        PostMessageA(darkWindow, WM_CLOSE, 0, 0);
    }
}

TEST_F(RendererWindow, DrawsNothingWhileTheDisplayIsOffAndGoesOnWithoutAJump)
{
    darkRenderer = renderer_.get();
    darkWindow = window_;
    renderer_->start();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, darkSpellStep);
    renderer_->run();
    KillTimer(nullptr, timer);
    EXPECT_GT(atOff, 0.1f) << "no frames before the display went off";
    EXPECT_EQ(beforeOn, atOff) << "frames drawn while the display was off";
    EXPECT_GT(afterOn - beforeOn, 0.1f) << "no frames once the display was on again";
    EXPECT_LT(afterOn - beforeOn, 0.8f) << "the dark second was fed to the animation";
}

// Released only once the start has gone on without the picture.
HANDLE pictureRelease = nullptr;
bool picturePrepared = false;

TEST_F(RendererWindow, EscapeWhileThePictureIsStillPreparedEndsTheShowAtOnce)
{
    pictureRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    picturePrepared = false;
    make([] {
        WaitForSingleObject(pictureRelease, INFINITE);
        picturePrepared = true;
        return TextureLevel{};
    });
    PostMessageA(window_, WM_KEYDOWN, VK_ESCAPE, 0);
    renderer_->start();
    EXPECT_EQ(renderer_->run(), 0);
    EXPECT_FALSE(picturePrepared) << "the start waited for the picture";
    SetEvent(pictureRelease);
    renderer_.reset();
    EXPECT_TRUE(picturePrepared);
    CloseHandle(pictureRelease);
}

TEST(SystemTimeSource, CounterRunsForward)
{
    SystemTimeSource time;
    std::int64_t frequency = 0;
    ASSERT_TRUE(time.queryFrequency(frequency));
    EXPECT_GT(frequency, 0);
    std::int64_t first = time.queryCounter();
    Sleep(20);
    EXPECT_GT(time.queryCounter(), first);
}

TEST(QueueMessageWait, WakesForEveryQueuedMessageAndOtherwiseRunsItsTime)
{
    struct Case {
        const char* what;
        bool posted;
        bool seenBefore;
    };
    const Case cases[] = {
        {"empty queue", false, false},
        {"message waiting", true, false},
        {"message a look at the queue left in it", true, true},
    };
    for (const Case& c : cases) {
        // Also gives the thread its message queue, empty.
        takeQuitMessage();
        MSG message;
        if (c.posted)
            PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
        if (c.seenBefore)
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        EXPECT_EQ(QueueMessageWait().waitForMessage(30), c.posted) << c.what;
    }
}

} // namespace
