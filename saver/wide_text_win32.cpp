// Conversions between UTF-8, the system's code page and the UTF-16 of the wide functions.
#include "saver/wide_text_win32.h"

#include <windows.h>

#include "saver/code_page_text.h"

namespace {

std::wstring wideFrom(const std::string& bytes, unsigned codePage)
{
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return wide;
}

} // namespace

std::wstring wideFromUtf8(const std::string& utf8)
{
    return wideFrom(utf8, CP_UTF8);
}

std::wstring wideFromCodePage(const AnsiText& bytes)
{
    return wideFrom(bytes.bytes(), CP_ACP);
}

std::string utf8FromWide(const std::wstring& wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

namespace {

class SystemCodePage : public CodePageConversion {
public:
    explicit SystemCodePage(unsigned codePage) : codePage_(codePage) {}

    std::optional<std::string> convert(const std::u16string& text, bool noBestFit, bool strict, bool* lost) override
    {
        const std::wstring wide(text.begin(), text.end());
        const DWORD flags = (noBestFit ? WC_NO_BEST_FIT_CHARS : 0) | (strict ? WC_ERR_INVALID_CHARS : 0);
        BOOL usedDefault = FALSE;
        const int size = WideCharToMultiByte(codePage_, flags, wide.c_str(), -1, nullptr, 0, nullptr,
                                             lost ? &usedDefault : nullptr);
        if (size <= 0)
            return std::nullopt;
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(codePage_, flags, wide.c_str(), -1, bytes.data(), size, nullptr, nullptr);
        if (lost)
            *lost = usedDefault != FALSE;
        return std::string(bytes.c_str());
    }

private:
    unsigned codePage_;
};

} // namespace

bool systemCodePageText(const std::wstring& wide, AnsiText& bytes)
{
    return codePageText(wide, GetACP(), bytes);
}

bool codePageText(const std::wstring& wide, unsigned codePage, AnsiText& bytes)
{
    SystemCodePage system(codePage);
    const std::optional<std::string> converted =
        CodePageText(std::u16string(wide.begin(), wide.end()), codePage, system);
    if (!converted)
        return false;
    bytes = AnsiText(*converted);
    return true;
}
