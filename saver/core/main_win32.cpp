// Entry point of Vitrelux.scr: the system's start of the show, the preview or the settings.
#include <string>
#include <windows.h>

#include "common/scaling_awareness_win32.h"
#include "common/snapshot_place_win32.h"
#include "saver/core/preview_win32.h"
#include "saver/core/saver_window_win32.h"
#include "saver/core/settings_win32.h"
#include "saver/core/startup.h"
#include "saver/wide_text_win32.h"
#include "saver/settings_dialog/settings_dialog_win32.h"
#include "saver/texts.h"

namespace {

// A window handle from the command line: handles keep to 32 bits on 64-bit Windows too.
HWND windowOf(std::int32_t handle)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(handle));
}

class SystemStartup : public StartupPlatform {
public:
    SystemStartup(HINSTANCE instance, const std::string& commandLine, AnsiText programFolder,
                  const AnsiCodePage& codePage)
        : instance_(instance), ModeLetter(ModeLetterOf(commandLine)), ProgramFolder(std::move(programFolder)),
          places_{ProgramFolder, AnsiText(), codePage}
    {
    }

    bool windowExists(const char* title) override { return FindWindowA(nullptr, title) != nullptr; }
    // Made without a security descriptor of its own: it inherits the profile's, which lets in only
    // the user, the system and administrators.
    void createSnapshotFolder() override { CreateDirectoryW(snapshotFolder().c_str(), nullptr); }
    // The user's folder is looked up here, by the modes that read the settings, not by the preview.
    void loadSettings() override
    {
        places_.userFile = UserSettingsFile(UserDataFolder());
        LoadSettings(profile_, files_, places_, settings_);
    }
    bool fileExists(const AnsiText& path) override { return FileExists(files_, path, places_.codePage); }
    void showRendererMissing() override
    {
        MessageBoxW(nullptr, wideFromUtf8(texts::rendererMissingText).c_str(), wideFromUtf8(texts::messageCaption).c_str(), MB_OK);
    }
    void showSettingsDialog(std::int32_t owner) override
    {
        ShowSettingsDialog(instance_, windowOf(owner), settings_, profile_, files_, places_);
    }
    bool startPreview(std::int32_t parent) override { return StartPreview(instance_, windowOf(parent)); }
    void declareScalingAware() override
    {
        SystemScalingAwareness awareness;
        ::declareScalingAware(awareness);
    }
    void hideCursor() override { ShowCursor(FALSE); }
    bool createSaverWindow() override { return CreateSaverWindow(instance_, settings_, ModeLetter, ProgramFolder); }

private:
    HINSTANCE instance_;
    std::string ModeLetter;
    AnsiText ProgramFolder;
    SettingsPlaces places_;
    Settings settings_;
    SystemProfile profile_;
    SystemFiles files_;
};

AnsiText programPath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AnsiText(path);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // NOTE: not the C runtime's start-up split, which cuts an unquoted program path at its first byte
    // above 0x7F ("C:\ｽｸﾘｰﾝ\Vitrelux.scr /s" read as mode "V").
    const std::string commandLine = ArgumentsOf(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    const AnsiCodePage codePage = AnsiCodePageOf(CP_ACP);
    const AnsiText ProgramFolder = ProgramFolderOf(programPath(), codePage);
    SystemStartup startup(instance, commandLine, ProgramFolder, codePage);
    if (Main(commandLine, ProgramFolder, startup) == StartupEnd::Terminate)
        ExitProcess(0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // NOTE: not ExitProcess, which runs the media layer's own clean-up and with it waits for a
    // music call that hangs (seen under Wine 10, its "stop" of an MPEGVideo device).
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}
