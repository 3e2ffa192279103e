// Cutting paths where the system's code page has a whole character.
#include "saver/ansi_text.h"

#include <string_view>

AnsiText AnsiNumber(long long value)
{
    return AnsiText(std::to_string(value));
}

AnsiText AnsiCodePage::folderOf(const AnsiText& path) const
{
    const std::string& bytes = path.bytes();
    const std::size_t separator = lastSeparator(bytes, ":\\");
    if (separator == std::string::npos)
        return AnsiText();
    return AnsiText(bytes.substr(0, bytes[separator] == '\\' ? separator : separator + 1));
}

bool AnsiCodePage::endsInSeparator(const AnsiText& path) const
{
    return !path.empty() && lastSeparator(path.bytes(), "\\") == path.size() - 1;
}

std::size_t AnsiCodePage::lastSeparator(const std::string& path, std::string_view separators) const
{
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (leadBytes_[static_cast<unsigned char>(path[i])])
            ++i;
        else if (separators.find(path[i]) != std::string_view::npos)
            last = i;
    }
    return last;
}
