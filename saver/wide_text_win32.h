// The UTF-16 of the wide functions, named for the text each conversion takes: what the user reads
// is UTF-8, so that it reads the same whatever the system's code page; paths and the music's texts
// are bytes of the system's code page.
#pragma once
#include <string>

#include "saver/ansi_text.h"

std::wstring wideFromUtf8(const std::string& utf8);
std::wstring wideFromCodePage(const AnsiText& bytes);
std::string utf8FromWide(const std::wstring& wide);
// The text in the system's code page, as the settings file and the music player take paths; false
// when that code page cannot spell it.
bool systemCodePageText(const std::wstring& wide, AnsiText& bytes);
bool codePageText(const std::wstring& wide, unsigned codePage, AnsiText& bytes);
