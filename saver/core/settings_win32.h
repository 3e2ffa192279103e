// The settings' OS services on Windows: the private profile (INI) functions and opening a file.
#pragma once
#include <string>

#include "saver/core/settings.h"

class SystemProfile : public ProfileAccess {
public:
    std::string readString(const std::string& section, const std::string& key, const std::string& file) override;
    void writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override;
};

class SystemFileChecks : public FileChecks {
public:
    bool canOpenForReading(const std::string& path) override;
};
