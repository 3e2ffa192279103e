// Conversions between UTF-8 and the UTF-16 of the wide functions.
#include "saver/core/wide_text_win32.h"

#include <windows.h>

std::wstring wideText(const std::string& utf8)
{
    return wideText(utf8, CP_UTF8);
}

std::wstring wideText(const std::string& bytes, unsigned codePage)
{
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return wide;
}

std::string utf8Text(const std::wstring& wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

bool systemCodePageText(const std::wstring& wide, std::string& bytes)
{
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lost);
    if (size <= 0 || lost)
        return false;
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, converted.data(), size, nullptr, nullptr);
    bytes = converted.c_str();
    return true;
}
