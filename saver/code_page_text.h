// Text that the system hands over in UTF-16 (a chosen file's name, the user's folder) as bytes of
// the system's ANSI code page, which the settings file and the music player take.
#pragma once
#include <optional>
#include <string>

// The system's conversion into its ANSI code page, asked as WideCharToMultiByte is.
class CodePageConversion {
public:
    virtual ~CodePageConversion() = default;
    // noBestFit: no look-alike stands in for a character the code page lacks; strict: a text that
    // is no valid UTF-16 fails; lost, where given, tells whether a character was left out. Empty
    // when the system refuses the request.
    virtual std::optional<std::string> convert(const std::u16string& text, bool noBestFit, bool strict,
                                               bool* lost) = 0;
};

constexpr unsigned utf8CodePage = 65001;

// The text's bytes in the code page; empty when the code page cannot spell it.
std::optional<std::string> CodePageText(const std::u16string& text, unsigned codePage, CodePageConversion& system);
