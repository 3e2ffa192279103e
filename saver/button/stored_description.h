// The stored description of the settings dialog's buttons: per instance a property bag, kept as
// readable text ("[Cmd_Set]", then "key=value" lines).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "saver/button/property_bag.h"

// The instances of one stored description by name, in their text order.
class StoredDescription {
public:
    static StoredDescription parse(const std::string& text);
    const PropertyBag* instance(const std::string& name) const;
    PropertyBag& instance(const std::string& name);

private:
    std::vector<std::pair<std::string, PropertyBag>> instances_;
};
