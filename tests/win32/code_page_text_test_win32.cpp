// Names in a code page as the system's own conversions spell them under 932, 1252 and 65001, and
// paths so spelled split where their wide forms split.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <windows.h>

#include "saver/core/settings_win32.h"
#include "saver/wide_text_win32.h"
#include "tests/settings_compare.h"

namespace {

TEST(CodePageText, EveryNameTheCodePageCanSpellAndNoneElseSplitWhereItsWideFormSplits)
{
    EXPECT_EQ(AnsiCodePageOf(932), ShiftJisCodePage());
    struct Case {
        unsigned codePage;
        std::wstring name;
        std::optional<std::string> bytes;
        std::wstring folder;
    };
    const Case cases[] = {
        // 表 and ソ end in 0x5C, the byte of '\\'.
        {932, L"C:\\\u8868\\\u30BD.mp3", "C:\\\x95\x5C\\\x83\x5C.mp3", L"C:\\\u8868"},
        {932, L"C:\\\uFF8C\uFF6B\uFF99\\a.wav", "C:\\\xCC\xAB\xD9\\a.wav", L"C:\\\uFF8C\uFF6B\uFF99"},
        {932, L"C:\\caf\u00E9.mp3", std::nullopt, L""},
        {1252, L"C:\\caf\u00E9\\tone.mp3", "C:\\caf\xE9\\tone.mp3", L"C:\\caf\u00E9"},
        {1252, L"C:\\\u97F3\u697D.mp3", std::nullopt, L""},
        // A look-alike (a for ā) would name another file.
        {1252, L"C:\\\u0101.mp3", std::nullopt, L""},
        {65001, L"C:\\\u97F3\u697D\\caf\u00E9.mp3", "C:\\\xE9\x9F\xB3\xE6\xA5\xBD\\caf\xC3\xA9.mp3", L"C:\\\u97F3\u697D"},
        {65001, std::wstring(L"C:\\") + wchar_t(0xD800) + L".mp3", std::nullopt, L""},
    };
    for (const Case& c : cases) {
        AnsiText bytes, folder;
        const bool spelled = codePageText(c.name, c.codePage, bytes);
        EXPECT_EQ(spelled ? std::optional<std::string>(bytes.bytes()) : std::nullopt, c.bytes)
            << c.codePage << " case " << &c - cases;
        if (spelled && codePageText(c.folder, c.codePage, folder)) {
            EXPECT_EQ(AnsiCodePageOf(c.codePage).folderOf(bytes), folder) << c.codePage << " case " << &c - cases;
        }
    }
}

} // namespace
