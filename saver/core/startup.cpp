// Start-up and mode dispatch of the front end.
#include "saver/core/startup.h"

#include <cctype>
#include <cmath>

#include "common/contract.h"
#include "saver/core/decimal.h"

std::string ArgumentsOf(const std::u16string& commandLine)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == u'"') {
        const std::size_t closing = commandLine.find(u'"', 1);
        at = closing == std::u16string::npos ? commandLine.size() : closing + 1;
    } else {
        while (at < commandLine.size() && !blank(commandLine[at]))
            ++at;
    }
    while (at < commandLine.size() && blank(commandLine[at]))
        ++at;
    std::string arguments;
    for (char16_t c : commandLine.substr(at))
        arguments += c < 0x80 ? static_cast<char>(c) : '?';
    return arguments;
}

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
    // Rounded half to even, as a conversion to an integer rounds. Windows prints a handle unsigned,
    // and handles are 32 bits on 64-bit Windows too: above 0x7FFFFFFF they wrap to negative.
    double rounded = std::nearbyint(value);
    if (!(rounded >= INT32_MIN && rounded <= UINT32_MAX))
        return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded)));
}

AnsiText ProgramFolderOf(const AnsiText& programPath, const AnsiCodePage& codePage)
{
    const AnsiText folder = codePage.folderOf(programPath);
    const bool driveRoot = folder.size() == 2 && folder.bytes()[1] == ':';
    return driveRoot ? folder + "\\" : folder;
}

StartupEnd Main(const std::string& commandLine, const AnsiText& ProgramFolder, StartupPlatform& platform)
{
    if (platform.windowExists(contract::saverWindowTitle) || platform.windowExists(contract::settingsDialogTitle))
        return StartupEnd::Terminate;

    const std::string ModeLetter = ModeLetterOf(commandLine);
    if (ModeLetter == "P") {
        return platform.startPreview(WindowArgumentOf(commandLine)) ? StartupEnd::RunWindow : StartupEnd::Terminate;
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
    return platform.createSaverWindow() ? StartupEnd::RunWindow : StartupEnd::Terminate;
}
