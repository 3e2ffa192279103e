// Reading the stored description's plain values.
#include "saver/button/stored_values.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

bool sameKey(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

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
