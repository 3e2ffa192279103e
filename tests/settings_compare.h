// Settings compared and printed as a whole, for the native and the Win32 settings tests alike.
#pragma once
#include <ostream>

#include "saver/core/settings.h"

inline bool operator==(const Settings& a, const Settings& b)
{
    return a.MusicSource == b.MusicSource && a.RepeatTrack == b.RepeatTrack && a.MusicFile == b.MusicFile
        && a.FileDialogFolder == b.FileDialogFolder;
}

inline std::ostream& operator<<(std::ostream& out, const Settings& s)
{
    return out << "{source " << s.MusicSource << ", repeat " << s.RepeatTrack << ", file \"" << s.MusicFile
               << "\", dialog folder \"" << s.FileDialogFolder << "\"}";
}
