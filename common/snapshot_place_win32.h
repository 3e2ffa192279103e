// Where each user's picture of the desktop is kept: Vitrelux.bmp in the folder Vitrelux of the
// user's local application data, which only the user, the system and administrators can open.
#pragma once
#include <string>

// %LOCALAPPDATA%\Vitrelux; empty where the system names no local application data folder.
std::wstring snapshotFolder();
// The snapshot in that folder: the show writes it, the renderer reads it. Empty likewise.
std::wstring snapshotPath();
// A name of its own for the attempt-th draft of the snapshot at path, beside it.
std::wstring snapshotDraftPath(const std::wstring& path, unsigned attempt);
// Deletes the snapshot at path, the drafts that shows which never finished left beside it, and
// then its folder if nothing else is in it.
void removeSnapshot(const std::wstring& path);
