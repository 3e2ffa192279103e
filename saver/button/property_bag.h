// One button's stored properties: named values.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PropertyBag {
public:
    // Keys compare without regard to case.
    std::optional<std::string> read(const std::string& key) const;
    void set(const std::string& key, const std::string& value);
    // Entries in the order first written, with the spelling first used.
    const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>>::iterator find(const std::string& key);
    std::vector<std::pair<std::string, std::string>> entries_;
};
