// Reading and writing the buttons' stored description.
#include "saver/button/property_bag.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

bool sameKey(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

constexpr double largestPoints = 1000;

} // namespace

bool parseFlag(const std::string& text, bool& flag)
{
    const bool yes = sameKey(text, "true") || text == "-1" || text == "1";
    if (!yes && !sameKey(text, "false") && text != "0")
        return false;
    flag = yes;
    return true;
}

bool parseWhole(const std::string& text, long long low, long long high, long long& value)
{
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool ButtonFont::operator==(const ButtonFont& other) const
{
    return typeface == other.typeface && points == other.points && weight == other.weight && italic == other.italic
        && underline == other.underline && strikethrough == other.strikethrough && charset == other.charset;
}

std::string formatFont(const ButtonFont& font)
{
    std::ostringstream text;
    text << font.typeface << ',' << font.points << ',' << font.weight << ',' << font.italic << ','
         << font.underline << ',' << font.strikethrough << ',' << font.charset;
    return text.str();
}

bool parseFont(const std::string& text, ButtonFont& font)
{
    std::vector<std::string> fields;
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, ',');)
        fields.push_back(part);
    if (fields.size() < 7)
        return false;
    // The six numbers are the last fields, so a comma in the typeface stays part of it.
    const std::size_t first = fields.size() - 6;
    std::size_t numbers = 0;
    for (std::size_t i = first; i < fields.size(); ++i)
        numbers += 1 + fields[i].size();
    ButtonFont parsed;
    parsed.typeface = text.substr(0, text.size() - numbers);
    char* after = nullptr;
    parsed.points = std::strtod(fields[first].c_str(), &after);
    long long weight = 0, charset = 0;
    if (fields[first].empty() || *after != '\0' || !(parsed.points > 0 && parsed.points <= largestPoints)
        || !parseWhole(fields[first + 1], 0, 1000, weight) || !parseFlag(fields[first + 2], parsed.italic)
        || !parseFlag(fields[first + 3], parsed.underline) || !parseFlag(fields[first + 4], parsed.strikethrough)
        || !parseWhole(fields[first + 5], 0, 255, charset))
        return false;
    parsed.weight = static_cast<int>(weight);
    parsed.charset = static_cast<int>(charset);
    font = parsed;
    return true;
}

std::vector<std::pair<std::string, std::string>>::iterator PropertyBag::find(const std::string& key)
{
    return std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) { return sameKey(entry.first, key); });
}

std::optional<std::string> PropertyBag::read(const std::string& key) const
{
    for (const auto& entry : entries_)
        if (sameKey(entry.first, key))
            return entry.second;
    return std::nullopt;
}

void PropertyBag::write(const std::string& key, const std::string& value, const std::string& defaultValue)
{
    if (value != defaultValue) {
        set(key, value);
        return;
    }
    auto entry = find(key);
    if (entry != entries_.end())
        entries_.erase(entry);
}

void PropertyBag::set(const std::string& key, const std::string& value)
{
    auto entry = find(key);
    if (entry != entries_.end())
        entry->second = value;
    else
        entries_.emplace_back(key, value);
}

StoredDescription StoredDescription::parse(const std::string& text)
{
    StoredDescription description;
    PropertyBag* current = nullptr;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            current = &description.instance(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current && equals != std::string::npos && equals > 0)
            current->set(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
    }
    return description;
}

std::string StoredDescription::format() const
{
    std::string text;
    for (const auto& [name, bag] : instances_) {
        text += "[" + name + "]\n";
        for (const auto& [key, value] : bag.entries())
            text += key + "=" + value + "\n";
    }
    return text;
}

const PropertyBag* StoredDescription::instance(const std::string& name) const
{
    for (const auto& entry : instances_)
        if (entry.first == name)
            return &entry.second;
    return nullptr;
}

PropertyBag& StoredDescription::instance(const std::string& name)
{
    for (auto& entry : instances_)
        if (entry.first == name)
            return entry.second;
    return instances_.emplace_back(name, PropertyBag{}).second;
}
