// Reading and writing the stored settings: the number rules, the music file checks and path
// handling that knows the system code page's two-byte characters.
#include "saver/core/settings.h"

#include <cmath>
#include <string_view>

#include "saver/core/decimal.h"
#include "saver/texts.h"

namespace {

const char settingsSection[] = "Section";
const char settingsFileName[] = "Vitrelux.ini";
// A save's draft and the file it replaces, beside the settings file.
const char draftEnding[] = ".new";
const char backupEnding[] = ".bak";

std::string SettingsFileBeside(const std::string& programFolder)
{
    return programFolder + "\\" + settingsFileName;
}

std::int16_t SettingNumber(const std::string& text)
{
    double value = 0;
    // Floored towards minus infinity: -1.5 is -2.
    return ReadDecimal(text, value) ? SixteenBitsOrZero(std::floor(value)) : 0;
}

bool IsLeadByte(const LeadBytes& leadBytes, char c)
{
    return leadBytes[static_cast<unsigned char>(c)];
}

std::size_t LastSeparator(const std::string& path, std::string_view separators, const LeadBytes& leadBytes)
{
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(leadBytes, path[i]))
            ++i;
        else if (separators.find(path[i]) != std::string_view::npos)
            last = i;
    }
    return last;
}

// The draft in target's place, flushed first so that a power cut leaves one or the other. The draft
// is deleted only while the target or its backup holds a choice: where neither does, the next start
// reads the draft.
bool PutInPlace(FileStore& files, const std::string& draft, const std::string& target)
{
    const std::string backup = target + backupEnding;
    switch (files.flush(draft) ? files.replace(draft, target, backup) : Replacement::NotAtAll) {
    case Replacement::Whole:
        break;
    case Replacement::NothingThere:
        if (!files.move(draft, target))
            return false;
        break;
    case Replacement::OldAside:
        if (!files.move(draft, target)) {
            if (files.move(backup, target))
                files.remove(draft);
            return false;
        }
        break;
    case Replacement::NotAtAll:
        files.remove(draft);
        return false;
    }
    files.remove(backup);
    return true;
}

// The three keys written into a copy of base beside target, which then takes target's place.
bool StoreSettings(ProfileAccess& profile, FileStore& files, const std::string& base, const std::string& target,
                   const Settings& settings)
{
    const std::string draft = target + draftEnding;
    const std::string source = FormatSettingNumber(settings.MusicSource);
    const std::string repeat = FormatSettingNumber(settings.RepeatTrack);
    const bool stored = files.copyOrCreate(base, draft)
        && WriteSetting(profile, settingsSection, texts::keyMusicSource, source, draft)
        && WriteSetting(profile, settingsSection, texts::keyRepeatTrack, repeat, draft)
        && WriteSetting(profile, settingsSection, texts::keyMusicFile, settings.MusicFile, draft);
    // A draft not written whole holds no choice.
    if (!stored) {
        files.remove(draft);
        return false;
    }
    return PutInPlace(files, draft, target);
}

// The user's own copy, else the file beside the program; of each, where a save left it without the
// file, its draft or its backup.
std::string SettingsFileToRead(FileChecks& files, const SettingsPlaces& places)
{
    const std::string beside = SettingsFileBeside(places.programFolder);
    for (const std::string& file : {places.userFile, beside}) {
        for (const char* ending : {"", draftEnding, backupEnding}) {
            if (!file.empty() && files.canOpenForReading(file + ending))
                return file + ending;
        }
    }
    return beside;
}

} // namespace

std::string ReadSetting(ProfileAccess& profile, const std::string& section, const std::string& key,
                        const std::string& file)
{
    return profile.readString(section, key, file);
}

bool WriteSetting(ProfileAccess& profile, const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file)
{
    return profile.writeString(section, key, value, file);
}

std::string UserSettingsFile(const std::string& userDataFolder)
{
    if (userDataFolder.empty())
        return "";
    return userDataFolder + "\\Vitrelux\\" + settingsFileName;
}

void LoadSettings(ProfileAccess& profile, FileChecks& files, const SettingsPlaces& places, Settings& settings)
{
    const std::string& programFolder = places.programFolder;
    const std::string file = SettingsFileToRead(files, places);
    settings.MusicSource = SettingNumber(ReadSetting(profile, settingsSection, texts::keyMusicSource, file));
    settings.RepeatTrack = SettingNumber(ReadSetting(profile, settingsSection, texts::keyRepeatTrack, file));
    settings.MusicFile = ReadSetting(profile, settingsSection, texts::keyMusicFile, file);
    if (!settings.MusicFile.empty() && !FileExists(files, settings.MusicFile, places.leadBytes))
        settings.MusicFile.clear();
    if (settings.MusicFile.empty() && settings.MusicSource == 2)
        settings.MusicSource = 0;
    settings.FileDialogFolder =
        settings.MusicFile.empty() ? programFolder : FolderOfPath(settings.MusicFile, places.leadBytes);
}

bool SaveSettings(ProfileAccess& profile, FileStore& files, const SettingsPlaces& places, const Settings& settings)
{
    const std::string beside = SettingsFileBeside(places.programFolder);
    // Kept when the next start reads it: the user's copy is read first wherever it can be opened.
    if (StoreSettings(profile, files, beside, beside, settings))
        return places.userFile.empty() || files.remove(places.userFile) || !files.canOpenForReading(places.userFile)
            || StoreSettings(profile, files, places.userFile, places.userFile, settings);
    if (places.userFile.empty())
        return false;
    files.createFolder(FolderOfPath(places.userFile, places.leadBytes));
    const std::string& base = files.canOpenForReading(places.userFile) ? places.userFile : beside;
    return StoreSettings(profile, files, base, places.userFile, settings);
}

bool FileExists(FileChecks& files, const std::string& path, const LeadBytes& leadBytes)
{
    std::string name = path;
    if (!name.empty() && LastSeparator(name, "\\", leadBytes) == name.size() - 1)
        name.pop_back();
    return !name.empty() && files.canOpenForReading(name);
}

std::string FolderOfPath(const std::string& path, const LeadBytes& leadBytes)
{
    const std::size_t separator = LastSeparator(path, ":\\", leadBytes);
    if (separator == std::string::npos)
        return "";
    return path.substr(0, path[separator] == '\\' ? separator : separator + 1);
}

std::string FormatSettingNumber(std::int16_t value)
{
    return (value < 0 ? "" : " ") + std::to_string(value);
}
