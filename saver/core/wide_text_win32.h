// Text the user sees is held as UTF-8 and shown through the wide functions, so that it reads the
// same whatever the system's ANSI code page.
#pragma once
#include <string>

std::wstring wideText(const std::string& utf8);
std::string utf8Text(const std::wstring& wide);
