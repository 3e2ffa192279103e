// The stored description of the settings dialog's buttons: per instance, a bag of named values
// with per-key defaults, kept as readable text ("[Cmd_Set]", then "key=value" lines).
#pragma once
#include <optional>
#include <string>
#include <vector>

// A text font as the buttons persist it; the typeface is UTF-8.
struct ButtonFont {
    std::string typeface;
    double points = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;
    bool operator==(const ButtonFont& other) const;
};

// A stored Boolean: True/False (any case), -1, 1 or 0; false for anything else.
bool parseFlag(const std::string& text, bool& flag);
// A stored whole number within [low, high]; false for anything else.
bool parseWhole(const std::string& text, long long low, long long high, long long& value);

// "typeface,points,weight,italic,underline,strikethrough,charset"; the typeface may hold commas.
std::string formatFont(const ButtonFont& font);
bool parseFont(const std::string& text, ButtonFont& font);

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

// The instances of one stored description by name, in their text order.
class StoredDescription {
public:
    static StoredDescription parse(const std::string& text);
    std::string format() const;
    const PropertyBag* instance(const std::string& name) const;
    PropertyBag& instance(const std::string& name);

private:
    std::vector<std::pair<std::string, PropertyBag>> instances_;
};
