// Reading the stored description's text.
#include "saver/button/stored_description.h"

#include <sstream>

namespace {

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

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
