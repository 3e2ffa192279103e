// A chosen name in a code page, as the system's own conversions spell it under 932, 1252 and 65001.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <windows.h>

#include "saver/wide_text_win32.h"

namespace {

TEST(CodePageText, EveryNameTheCodePageCanSpellAndNoneElse)
{
    struct Case {
        unsigned codePage;
        std::wstring name;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {932, L"C:\\\u97F3\u697D\\a.mp3", "C:\\\x89\xB9\x8A\x79\\a.mp3"},
        {932, L"C:\\\uFF8C.wav", "C:\\\xCC.wav"},
        {932, L"C:\\caf\u00E9.mp3", std::nullopt},
        {1252, L"C:\\caf\u00E9.mp3", "C:\\caf\xE9.mp3"},
        {1252, L"C:\\\u97F3\u697D.mp3", std::nullopt},
        // A look-alike (a for ā) would name another file.
        {1252, L"C:\\\u0101.mp3", std::nullopt},
        {65001, L"C:\\\u97F3\u697D\\caf\u00E9.mp3", "C:\\\xE9\x9F\xB3\xE6\xA5\xBD\\caf\xC3\xA9.mp3"},
        {65001, std::wstring(L"C:\\") + wchar_t(0xD800) + L".mp3", std::nullopt},
    };
    for (const Case& c : cases) {
        std::string bytes;
        const bool spelled = codePageText(c.name, c.codePage, bytes);
        EXPECT_EQ(spelled ? std::optional<std::string>(bytes) : std::nullopt, c.bytes)
            << c.codePage << " case " << &c - cases;
    }
}

} // namespace
