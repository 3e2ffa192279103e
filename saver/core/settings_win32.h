// The settings' OS services on Windows: the private profile (INI) functions, files and the user's
// application data folder.
#pragma once
#include "saver/core/settings.h"

class SystemProfile : public ProfileAccess {
public:
    AnsiText readString(ShiftJisText section, ShiftJisText key, const AnsiText& file) override;
    bool writeString(ShiftJisText section, ShiftJisText key, const AnsiText& value, const AnsiText& file) override;
};

class SystemFiles : public FileStore {
public:
    bool canOpenForReading(const AnsiText& path) override;
    bool copyOrCreate(const AnsiText& from, const AnsiText& to) override;
    bool flush(const AnsiText& path) override;
    Replacement replace(const AnsiText& from, const AnsiText& to, const AnsiText& backup) override;
    bool move(const AnsiText& from, const AnsiText& to) override;
    bool remove(const AnsiText& path) override;
    void createFolder(const AnsiText& path) override;
};

// The user's roaming application data folder (%APPDATA%) in the system's code page; empty when
// unknown or when that code page cannot spell it.
AnsiText UserDataFolder();
// How a code page (CP_ACP: the system's own) spells paths; with no two-byte characters for one the
// system does not know.
AnsiCodePage AnsiCodePageOf(unsigned codePage);
