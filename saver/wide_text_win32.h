// Text the user sees is held as UTF-8 and shown through the wide functions, so that it reads the
// same whatever the system's ANSI code page.
#pragma once
#include <string>

std::wstring wideText(const std::string& utf8);
// Bytes in the given code page (the system's own is CP_ACP, 0) as UTF-16.
std::wstring wideText(const std::string& bytes, unsigned codePage);
std::string utf8Text(const std::wstring& wide);
// The text in the system's code page, as the settings file and the music player take paths; false
// when that code page cannot spell it.
bool systemCodePageText(const std::wstring& wide, std::string& bytes);
bool codePageText(const std::wstring& wide, unsigned codePage, std::string& bytes);
