// Settings compared and printed as a whole, and code page 932's lead bytes written down from its
// table, for the native and the Win32 settings tests alike.
#pragma once
#include <bitset>
#include <ostream>

#include "saver/core/settings.h"
#include "tests/ansi_text_print.h"

inline bool operator==(const Settings& a, const Settings& b)
{
    return a.MusicSource == b.MusicSource && a.RepeatTrack == b.RepeatTrack && a.MusicFile == b.MusicFile
        && a.FileDialogFolder == b.FileDialogFolder;
}

inline std::ostream& operator<<(std::ostream& out, const Settings& s)
{
    return out << "{source " << s.MusicSource << ", repeat " << s.RepeatTrack << ", file \"" << s.MusicFile.bytes()
               << "\", dialog folder \"" << s.FileDialogFolder.bytes() << "\"}";
}

// Lead bytes 81-9F and E0-FC; the Win32 tests check the system's list against it.
inline AnsiCodePage ShiftJisCodePage()
{
    std::bitset<256> leadBytes;
    for (unsigned byte = 0x81; byte <= 0xFC; ++byte)
        leadBytes.set(byte, byte <= 0x9F || byte >= 0xE0);
    return AnsiCodePage(leadBytes);
}
