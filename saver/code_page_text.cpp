// How the conversion into the ANSI code page is asked for under each kind of code page.
#include "saver/code_page_text.h"

std::optional<std::string> CodePageText(const std::u16string& text, unsigned codePage, CodePageConversion& system)
{
    // UTF-8 spells every valid name. Windows refuses both the no-best-fit flag and the report of
    // lost characters for it, so it is asked strictly instead: a lone surrogate fails.
    if (codePage == utf8CodePage)
        return system.convert(text, false, true, nullptr);
    bool lost = false;
    std::optional<std::string> bytes = system.convert(text, true, false, &lost);
    if (lost)
        return std::nullopt;
    return bytes;
}
