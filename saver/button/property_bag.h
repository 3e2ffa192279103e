// One button's stored properties: named values with per-key defaults.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PropertyBag {
public:
    // Keys compare without regard to case.
    std::optional<std::string> read(const std::string& key) const;
    // A value equal to its default is not written; one written before is then dropped.
    void write(const std::string& key, const std::string& value, const std::string& defaultValue);
    void set(const std::string& key, const std::string& value);
    // Entries in the order first written, with the spelling first used.
    const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>>::iterator find(const std::string& key);
    std::vector<std::pair<std::string, std::string>> entries_;
};
