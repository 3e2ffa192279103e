// Start-up and mode dispatch of the front end.
#include "saver/core/startup.h"

#include <cctype>
#include <cmath>

#include "common/contract.h"
#include "saver/core/decimal.h"

std::string ModeLetterOf(const std::string& commandLine)
{
    if (commandLine.size() < 2)
        return "";
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(commandLine[1]))));
}

std::int32_t WindowArgumentOf(const std::string& commandLine)
{
    if (commandLine.size() < 4)
        return 0;
    double value = 0;
    if (!ReadDecimalPrefix(commandLine.substr(3), value))
        return 0;
    // Rounded half to even, as a conversion to a 32-bit integer rounds; out of range it fails and leaves 0.
    double rounded = std::nearbyint(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
        return 0;
    return static_cast<std::int32_t>(rounded);
}

std::string ProgramFolderOf(const std::string& programPath)
{
    std::string::size_type slash = programPath.find_last_of('\\');
    if (slash == std::string::npos)
        return "";
    std::string folder = programPath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return folder;
}

StartupEnd Main(const std::string& commandLine, const std::string& ProgramFolder, StartupPlatform& platform)
{
    if (platform.windowExists(contract::saverWindowTitle) || platform.windowExists(contract::settingsDialogTitle))
        return StartupEnd::Terminate;

    const std::string ModeLetter = ModeLetterOf(commandLine);
    if (ModeLetter == "P") {
        platform.startPreview(WindowArgumentOf(commandLine));
        return StartupEnd::RunWindow;
    }

    platform.createSnapshotFolder();
    platform.loadSettings();
    if (!platform.fileExists(ProgramFolder + "\\" + contract::rendererFileName)) {
        platform.showRendererMissing();
        return StartupEnd::Terminate;
    }
    // Explorer's Configure starts a screen saver with no argument at all, and means its settings;
    // the Screen Saver settings pass /c:<their window>.
    if (ModeLetter == "C" || commandLine.empty()) {
        platform.showSettingsDialog(WindowArgumentOf(commandLine));
        return StartupEnd::Terminate;
    }
    if (ModeLetter != "S")
        return StartupEnd::Terminate;
    platform.declareScalingAware();
    if (ModeLetter == "S")
        platform.hideCursor();
    platform.createSaverWindow();
    return StartupEnd::RunWindow;
}
