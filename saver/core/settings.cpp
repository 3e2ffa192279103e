// Reading and writing the stored settings: the number rules, the music file checks and the safe
// replacing of the settings file.
#include "saver/core/settings.h"

#include <cmath>
#include <initializer_list>

#include "saver/core/decimal.h"
#include "saver/texts.h"

namespace {

constexpr ShiftJisText settingsSection{"Section"};
const char settingsFileName[] = "Vitrelux.ini";
// A save's draft and the file it replaces, beside the settings file.
const char draftEnding[] = ".new";
const char backupEnding[] = ".bak";

AnsiText SettingsFileBeside(const AnsiText& programFolder)
{
    return programFolder + "\\" + settingsFileName;
}

std::int16_t SettingNumber(const AnsiText& text)
{
    double value = 0;
    // Floored towards minus infinity: -1.5 is -2.
    return ReadDecimal(text.bytes(), value) ? SixteenBitsOrZero(std::floor(value)) : 0;
}

// The draft in target's place, flushed first so that a power cut leaves one or the other. The draft
// is deleted only while the target or its backup holds a choice: where neither does, the next start
// reads the draft.
bool PutInPlace(FileStore& files, const AnsiText& draft, const AnsiText& target)
{
    const AnsiText backup = target + backupEnding;
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
bool StoreSettings(ProfileAccess& profile, FileStore& files, const AnsiText& base, const AnsiText& target,
                   const Settings& settings)
{
    const AnsiText draft = target + draftEnding;
    const bool stored = files.copyOrCreate(base, draft)
        && profile.writeString(settingsSection, texts::keyMusicSource, FormatSettingNumber(settings.MusicSource), draft)
        && profile.writeString(settingsSection, texts::keyRepeatTrack, FormatSettingNumber(settings.RepeatTrack), draft)
        && profile.writeString(settingsSection, texts::keyMusicFile, settings.MusicFile, draft);
    // A draft not written whole holds no choice.
    if (!stored) {
        files.remove(draft);
        return false;
    }
    return PutInPlace(files, draft, target);
}

// The user's own copy, else the file beside the program; of each, where a save left it without the
// file, its draft or its backup.
AnsiText SettingsFileToRead(FileChecks& files, const SettingsPlaces& places)
{
    const AnsiText beside = SettingsFileBeside(places.programFolder);
    for (const AnsiText& file : {places.userFile, beside}) {
        for (const AnsiText& ending : std::initializer_list<AnsiText>{"", draftEnding, backupEnding}) {
            if (!file.empty() && files.canOpenForReading(file + ending))
                return file + ending;
        }
    }
    return beside;
}

} // namespace

AnsiText UserSettingsFile(const AnsiText& userDataFolder)
{
    if (userDataFolder.empty())
        return AnsiText();
    return userDataFolder + "\\Vitrelux\\" + settingsFileName;
}

void LoadSettings(ProfileAccess& profile, FileChecks& files, const SettingsPlaces& places, Settings& settings)
{
    const AnsiText file = SettingsFileToRead(files, places);
    settings.MusicSource = SettingNumber(profile.readString(settingsSection, texts::keyMusicSource, file));
    settings.RepeatTrack = SettingNumber(profile.readString(settingsSection, texts::keyRepeatTrack, file));
    settings.MusicFile = profile.readString(settingsSection, texts::keyMusicFile, file);
    if (!settings.MusicFile.empty() && !FileExists(files, settings.MusicFile, places.codePage))
        settings.MusicFile = AnsiText();
    if (settings.MusicFile.empty() && settings.MusicSource == 2)
        settings.MusicSource = 0;
    settings.FileDialogFolder =
        settings.MusicFile.empty() ? places.programFolder : places.codePage.folderOf(settings.MusicFile);
}

bool SaveSettings(ProfileAccess& profile, FileStore& files, const SettingsPlaces& places, const Settings& settings)
{
    const AnsiText beside = SettingsFileBeside(places.programFolder);
    // Kept when the next start reads it: the user's copy is read first wherever it can be opened.
    if (StoreSettings(profile, files, beside, beside, settings))
        return places.userFile.empty() || files.remove(places.userFile) || !files.canOpenForReading(places.userFile)
            || StoreSettings(profile, files, places.userFile, places.userFile, settings);
    if (places.userFile.empty())
        return false;
    files.createFolder(places.codePage.folderOf(places.userFile));
    const AnsiText& base = files.canOpenForReading(places.userFile) ? places.userFile : beside;
    return StoreSettings(profile, files, base, places.userFile, settings);
}

bool FileExists(FileChecks& files, const AnsiText& path, const AnsiCodePage& codePage)
{
    const std::string& bytes = path.bytes();
    const AnsiText name(codePage.endsInSeparator(path) ? bytes.substr(0, bytes.size() - 1) : bytes);
    return !name.empty() && files.canOpenForReading(name);
}

AnsiText FormatSettingNumber(std::int16_t value)
{
    return value < 0 ? AnsiNumber(value) : " " + AnsiNumber(value);
}
