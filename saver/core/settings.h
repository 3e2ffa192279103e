// The front end's stored settings: the music choice kept in Vitrelux.ini next to the program,
// read and written through small interfaces so the rules run without Windows.
#pragma once
#include <cstdint>
#include <string>

struct Settings {
    std::int16_t MusicSource = 0;      // 0 none, 1 audio CD, 2 music file (MP3/WAV); others play nothing
    std::int16_t RepeatTrack = 0;      // CD track to repeat, 0 none
    std::string MusicFile;             // full path, empty when none
    std::string FileDialogFolder;      // folder for the settings dialog's file chooser; never stored
};

class ProfileAccess {
public:
    virtual ~ProfileAccess() = default;
    virtual std::string readString(const std::string& section, const std::string& key, const std::string& file) = 0;
    virtual void writeString(const std::string& section, const std::string& key, const std::string& value,
                             const std::string& file) = 0;
};

class FileChecks {
public:
    virtual ~FileChecks() = default;
    virtual bool canOpenForReading(const std::string& path) = 0;
};

std::string ReadSetting(ProfileAccess& profile, const std::string& section, const std::string& key,
                        const std::string& file);
void WriteSetting(ProfileAccess& profile, const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file);

void LoadSettings(ProfileAccess& profile, FileChecks& files, const std::string& programFolder, Settings& settings);
void SaveSettings(ProfileAccess& profile, const std::string& programFolder, const Settings& settings);

// Paths are Shift-JIS: a '\\' that is the second byte of a two-byte character is not a separator.
bool FileExists(FileChecks& files, const std::string& path);
std::string FolderOfPath(const std::string& path);

// BASIC's Str$ layout, so the file keeps the bytes it has always held.
std::string FormatSettingNumber(std::int16_t value);
