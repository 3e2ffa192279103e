// What the two programs (and their package) know of each other. They share no memory and exchange
// no messages: the front end writes the snapshot and starts the renderer, then only looks for the
// renderer's window.
#pragma once

namespace contract {

// The renderer's full-screen window (also its class name): the renderer creates it, the show
// watches for it to know when the renderer has ended.
inline constexpr char rendererWindowTitle[] = "Vitrelux_VC";
// The front end's hidden show window: the show creates it, every later start looks for it and ends.
inline constexpr char saverWindowTitle[] = "Vitrelux_Main";
// The settings dialog: the dialog carries it, every later start looks for it and ends.
inline constexpr char settingsDialogTitle[] = "<Vitrelux>";
// The renderer program beside the front end: the front end checks for it and starts it.
inline constexpr char rendererFileName[] = "Vitrelux.dll";
// Each user's picture of the desktop, in a folder of this name in the user's local application
// data (common/snapshot_place_win32.h): the show writes it before it starts the renderer, the
// renderer reads it once at start-up, the package removes it with the program.
inline constexpr wchar_t snapshotFolderName[] = L"Vitrelux";
inline constexpr wchar_t snapshotFileName[] = L"Vitrelux.bmp";
// Names the file both programs append their start-up trace to; the renderer inherits it from the
// front end. Unset, nothing is written.
inline constexpr char traceVariable[] = "VITRELUX_TRACE";

} // namespace contract
