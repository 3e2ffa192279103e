// The settings' OS services on Windows: the private profile (INI) functions, files and the user's
// application data folder.
#pragma once
#include <string>

#include "saver/core/settings.h"

class SystemProfile : public ProfileAccess {
public:
    std::string readString(const std::string& section, const std::string& key, const std::string& file) override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override;
};

class SystemFiles : public FileStore {
public:
    bool canOpenForReading(const std::string& path) override;
    bool copyOrCreate(const std::string& from, const std::string& to) override;
    bool flush(const std::string& path) override;
    Replacement replace(const std::string& from, const std::string& to, const std::string& backup) override;
    bool move(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    void createFolder(const std::string& path) override;
};

// The user's roaming application data folder (%APPDATA%) in the system's code page; empty when
// unknown or when that code page cannot spell it.
std::string UserDataFolder();
// The lead bytes of a code page (CP_ACP: the system's own); none for one the system does not know.
LeadBytes CodePageLeadBytes(unsigned codePage);
