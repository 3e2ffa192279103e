// The font's stored text form.
#include "saver/button/button_font.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "saver/button/stored_values.h"

namespace {

constexpr double largestPoints = 1000;

} // namespace

bool ButtonFont::operator==(const ButtonFont& other) const
{
    return typeface == other.typeface && points == other.points && weight == other.weight && italic == other.italic
        && underline == other.underline && strikethrough == other.strikethrough && charset == other.charset;
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
