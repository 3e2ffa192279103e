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
// Created by the front end at every start but the preview's.
inline constexpr char snapshotFolder[] = "C:\\j_orvel";
// Written by the show before it starts the renderer, read by the renderer once at start-up
// (through its own, lower-case spelling of the same name).
inline constexpr char snapshotPath[] = "C:\\j_orvel\\Vitrelux.bmp";
// A snapshot being written carries this after its name until it is complete; the package removes
// both when Vitrelux is uninstalled.
inline constexpr char snapshotPartialSuffix[] = ".new";
// Names the file both programs append their start-up trace to; the renderer inherits it from the
// front end. Unset, nothing is written.
inline constexpr char traceVariable[] = "VITRELUX_TRACE";

} // namespace contract
