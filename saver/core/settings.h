// The front end's stored settings: the music choice kept in Vitrelux.ini next to the program, or in
// the user's own copy where the program's folder cannot be written, read and written through small
// interfaces so the rules run without Windows.
#pragma once
#include <cstdint>

#include "saver/ansi_text.h"

struct Settings {
    std::int16_t MusicSource = 0;      // 0 none, 1 audio CD, 2 music file (MP3/WAV); others play nothing
    std::int16_t RepeatTrack = 0;      // CD track to repeat, 0 none
    AnsiText MusicFile;                // full path, empty when none
    AnsiText FileDialogFolder;         // folder for the settings dialog's file chooser; never stored
};

class ProfileAccess {
public:
    virtual ~ProfileAccess() = default;
    virtual AnsiText readString(ShiftJisText section, ShiftJisText key, const AnsiText& file) = 0;
    // False when the value could not be written.
    virtual bool writeString(ShiftJisText section, ShiftJisText key, const AnsiText& value, const AnsiText& file) = 0;
};

class FileChecks {
public:
    virtual ~FileChecks() = default;
    virtual bool canOpenForReading(const AnsiText& path) = 0;
};

// How far the system got in putting a file in another's place, keeping that one under a backup name.
enum class Replacement {
    Whole,        // in its place, the other one under the backup name
    NothingThere, // there was no file to replace: nothing changed
    OldAside,     // the other one moved to the backup name, the file itself still under its own
    NotAtAll,     // nothing changed
};

// What saving the settings file asks of the file system; each step that can fail says so.
class FileStore : public FileChecks {
public:
    // A copy of the file, or an empty file where there is none to copy.
    virtual bool copyOrCreate(const AnsiText& from, const AnsiText& to) = 0;
    // Writes the file through to the disk.
    virtual bool flush(const AnsiText& path) = 0;
    // Puts from in to's place, to itself kept as backup; the file's security settings stay.
    virtual Replacement replace(const AnsiText& from, const AnsiText& to, const AnsiText& backup) = 0;
    // Gives from to's name, replacing what is there; tried again for a moment while something (an
    // indexer, a virus scanner) holds either file.
    virtual bool move(const AnsiText& from, const AnsiText& to) = 0;
    // True when the file is gone, or was never there.
    virtual bool remove(const AnsiText& path) = 0;
    virtual void createFolder(const AnsiText& path) = 0;
};

// Where the settings file is kept: beside the program, and the user's own copy
// for when the program's folder cannot be written (installed in the system folder, say).
struct SettingsPlaces {
    AnsiText programFolder;
    // %APPDATA%\Vitrelux\Vitrelux.ini; empty where the user's folder is unknown.
    AnsiText userFile;
    // How the paths above and the stored music file are spelled.
    AnsiCodePage codePage;
};

// The user's own copy inside the user's application data folder; empty for an unknown folder.
AnsiText UserSettingsFile(const AnsiText& userDataFolder);

// From the user's own copy when there is one, else from the file beside the program.
void LoadSettings(ProfileAccess& profile, FileChecks& files, const SettingsPlaces& places, Settings& settings);
// Beside the program when that can be written, and then the user's own copy goes, so that the
// newest choice is the one read (a copy that stays takes the choice too); else into the user's own
// copy, with the same bytes. A file is replaced only by one written whole. False when the choice
// would not be the one read next time.
bool SaveSettings(ProfileAccess& profile, FileStore& files, const SettingsPlaces& places, const Settings& settings);

// A '\\' that is the second byte of a two-byte character is not a separator.
bool FileExists(FileChecks& files, const AnsiText& path, const AnsiCodePage& codePage);

// A blank where the sign of a negative number goes (" 2", "-1"): the bytes stored files hold.
AnsiText FormatSettingNumber(std::int16_t value);
