// A chosen name in the system's code page under 932, 1252 and 65001, against a conversion that
// behaves as Windows's does.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "saver/code_page_text.h"

namespace {

// WideCharToMultiByte for three code pages, over the few characters the cases use. Under 65001 it
// refuses the no-best-fit flag and the lost-character report, as Windows does.
class WindowsLikeConversion : public CodePageConversion {
public:
    explicit WindowsLikeConversion(unsigned codePage) : codePage_(codePage) {}

    std::optional<std::string> convert(const std::u16string& text, bool noBestFit, bool strict, bool* lost) override
    {
        if (codePage_ == utf8CodePage)
            return (noBestFit || lost) ? std::nullopt : utf8(text, strict);
        const std::map<char16_t, std::string> known = codePage_ == 932
            ? std::map<char16_t, std::string>{{u'音', "\x89\xB9"}, {u'楽', "\x8A\x79"}, {u'ﾌ', "\xCC"}}
            : std::map<char16_t, std::string>{{u'é', "\xE9"}};
        std::string bytes;
        for (char16_t c : text) {
            if (c < 0x80) {
                bytes += static_cast<char>(c);
            } else if (known.count(c)) {
                bytes += known.at(c);
            } else if (!noBestFit && c == u'ā') {
                bytes += 'a';
            } else {
                bytes += '?';
                if (lost)
                    *lost = true;
            }
        }
        return bytes;
    }

private:
    static std::optional<std::string> utf8(const std::u16string& text, bool strict)
    {
        std::string bytes;
        for (char16_t c : text) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                if (strict)
                    return std::nullopt;
                bytes += "\xEF\xBF\xBD";
            } else if (c < 0x80) {
                bytes += static_cast<char>(c);
            } else if (c < 0x800) {
                bytes += static_cast<char>(0xC0 | (c >> 6));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                bytes += static_cast<char>(0xE0 | (c >> 12));
                bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return bytes;
    }
    unsigned codePage_;
};

TEST(CodePageText, EveryNameTheCodePageCanSpellAndNoneElse)
{
    struct Case {
        unsigned codePage;
        std::u16string name;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {932, u"C:\\音楽\\a.mp3", std::string("C:\\\x89\xB9\x8A\x79\\a.mp3")},
        {932, u"C:\\ﾌ.wav", std::string("C:\\\xCC.wav")},
        {932, u"C:\\café.mp3", std::nullopt},
        {1252, u"C:\\café.mp3", std::string("C:\\caf\xE9.mp3")},
        {1252, u"C:\\音楽.mp3", std::nullopt},
        // A look-alike would name another file.
        {1252, u"C:\\ā.mp3", std::nullopt},
        {65001, u"C:\\音楽\\café.mp3", std::string("C:\\\xE9\x9F\xB3\xE6\xA5\xBD\\caf\xC3\xA9.mp3")},
        {65001, u"C:\\a.mp3", std::string("C:\\a.mp3")},
        {65001, std::u16string(u"C:\\") + char16_t(0xD800) + u".mp3", std::nullopt},
    };
    for (const Case& c : cases) {
        WindowsLikeConversion system(c.codePage);
        EXPECT_EQ(CodePageText(c.name, c.codePage, system), c.bytes) << c.codePage << " case " << &c - cases;
    }
}

} // namespace
