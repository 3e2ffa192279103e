// A button's stored properties.
#include "saver/button/property_bag.h"

#include <algorithm>

#include "saver/button/stored_values.h"

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

void PropertyBag::set(const std::string& key, const std::string& value)
{
    auto entry = find(key);
    if (entry != entries_.end())
        entry->second = value;
    else
        entries_.emplace_back(key, value);
}
