// The Command button's window: class "Vitrelux.Command", one per instance, whose messages become
// calls of the button's logic and whose face is painted from the six state images.
#pragma once
#include <windows.h>

#include "common/gdi_objects_win32.h"
#include "saver/button/command.h"

inline constexpr wchar_t commandClassName[] = L"Vitrelux.Command";

// Registers the class once per process; later calls do nothing.
bool registerCommandClass(HINSTANCE instance);

// Creates a visible child button at (x, y) sized width x height pixels, loading its persisted
// properties from bag; its window text is its caption. A Click reaches the parent as a posted
// WM_COMMAND with BN_CLICKED and the id.
HWND createCommand(HWND parent, int id, int x, int y, int width, int height, const PropertyBag& bag,
                   const ButtonFont& ambient);

// A GDI font for a persisted one, at 96 dots per inch.
GdiObject createCaptionFont(const ButtonFont& font);

// The host's calls on a button window; false for any other window.
bool initializeCommand(HWND window);
bool enableCommand(HWND window, bool enabled);
