// The system services that the settings dialog asks for, apart from its window and widgets: the
// file chooser, the shell, the locale, the caption animation and the dialog's messages.
#pragma once
#include <string>
#include <windows.h>

#include "saver/settings_dialog/settings_dialog.h"

// The open-file chooser over owner, in initialFolder, for MP3 and WAV files.
FileChoice chooseMusicFile(HWND owner, HINSTANCE instance, const AnsiText& initialFolder, AnsiText& chosen);
void openAddress(HWND owner, const std::string& address);
// The decimal separator of the user's locale ('.' where it is none of ASCII).
char localeDecimalSeparator();
void animateCaption(HWND window, const DialogRect& from, const DialogRect& to);
void showMessage(HWND owner, DialogMessage message);
