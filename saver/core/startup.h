// Vitrelux_B, start-up: the command line's mode letter and preview parent, and the dispatch of Main.
#pragma once
#include <cstdint>
#include <string>

#include "saver/ansi_text.h"

// What follows the program's name on the command line as the system gives it (the name quoted, or
// up to its first blank), without the blanks after it. Only letters and digits are ever read from
// it: anything beyond ASCII stands as '?'.
std::string ArgumentsOf(const std::u16string& commandLine);
// The second character of the arguments, upper-cased; empty when there is none.
std::string ModeLetterOf(const std::string& commandLine);
// The window the system names on the command line, /p <preview area> or /c:<owner>: from its fourth
// character on, read as a decimal number and rounded, any value a 32-bit handle can have, however
// it is spelled (4294967295 and -1 alike); 0 when unreadable or out of that range.
std::int32_t WindowArgumentOf(const std::string& commandLine);
// The folder of the program's path without its trailing "\", except that a drive root keeps it.
AnsiText ProgramFolderOf(const AnsiText& programPath, const AnsiCodePage& codePage);

// What Main asks of the system and of the other modules.
class StartupPlatform {
public:
    virtual ~StartupPlatform() = default;
    virtual bool windowExists(const char* title) = 0;
    // The folder of the user's snapshot; that it is there already, or cannot be made, is no matter.
    virtual void createSnapshotFolder() = 0;
    virtual void loadSettings() = 0;
    virtual bool fileExists(const AnsiText& path) = 0;
    virtual void showRendererMissing() = 0;
    // Shows the settings dialog modally, owned by the given window if not 0; returns once it has closed.
    virtual void showSettingsDialog(std::int32_t owner) = 0;
    // False when its window could not be made.
    virtual bool startPreview(std::int32_t parent) = 0;
    // The show's snapshot and the renderer's screen in the display's real pixels; the settings
    // dialog and the preview stay scaled by the system, as every older program is.
    virtual void declareScalingAware() = 0;
    virtual void hideCursor() = 0;
    // False when the window could not be made.
    virtual bool createSaverWindow() = 0;
};

// Whether a window is left loaded for the message loop to serve, or the process ends now: also when
// that window could not be made, since nothing would then end the process, or guard against a
// second start.
enum class StartupEnd { Terminate, RunWindow };

StartupEnd Main(const std::string& commandLine, const AnsiText& ProgramFolder, StartupPlatform& platform);
