// The installer's screen-saver decisions.
#include "package/saver_choice.h"

#include <algorithm>

namespace {

char foldCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool samePath(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldCase(x) == foldCase(y); });
}

} // namespace

bool NamesSaver(const std::string& stored, const std::vector<std::string>& files)
{
    return !stored.empty()
        && std::any_of(files.begin(), files.end(), [&](const std::string& file) { return samePath(stored, file); });
}

bool SetsSaver(bool asked, const std::string& storedBefore, const std::vector<std::string>& ourSavers)
{
    return asked || NamesSaver(storedBefore, ourSavers);
}
