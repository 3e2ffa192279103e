// Decimal literal reader shared by the command line and the settings file.
#include "saver/core/decimal.h"

#include <cctype>
#include <cstdlib>

namespace {

bool isDigit(const std::string& text, std::size_t i)
{
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

std::size_t skipDigits(const std::string& text, std::size_t i)
{
    while (isDigit(text, i))
        ++i;
    return i;
}

bool isSign(const std::string& text, std::size_t i)
{
    return i < text.size() && (text[i] == '+' || text[i] == '-');
}

bool isExponentLetter(char c)
{
    // The exponent letter D is read like E.
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// An exponent counts only when at least one digit follows its letter and sign.
std::size_t skipExponent(const std::string& text, std::size_t i)
{
    if (i >= text.size() || !isExponentLetter(text[i]))
        return i;
    std::size_t j = i + 1;
    if (isSign(text, j))
        ++j;
    return isDigit(text, j) ? skipDigits(text, j) : i;
}

} // namespace

std::int16_t SixteenBitsOrZero(double whole)
{
    if (!(whole >= INT16_MIN && whole <= INT16_MAX))
        return 0;
    return static_cast<std::int16_t>(whole);
}

bool ReadDecimal(const std::string& text, double& value)
{
    std::size_t used = 0;
    return ReadDecimalPrefix(text, value, &used) && text.find_first_not_of(" \t", used) == std::string::npos;
}

bool ReadDecimalPrefix(const std::string& text, double& value, std::size_t* used)
{
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    std::size_t i = start;
    if (isSign(text, i))
        ++i;
    const std::size_t integerStart = i;
    i = skipDigits(text, i);
    bool digits = i > integerStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = i + 1;
        const std::size_t fractionEnd = skipDigits(text, fractionStart);
        if (digits || fractionEnd > fractionStart) {
            digits = true;
            i = fractionEnd;
        }
    }
    if (!digits)
        return false;
    i = skipExponent(text, i);
    std::string literal = text.substr(start, i - start);
    for (char& c : literal)
        if (isExponentLetter(c))
            c = 'e';
    value = std::strtod(literal.c_str(), nullptr);
    if (used)
        *used = i;
    return true;
}
