// Start-up and frame-rate figures of both programs for the benchmark, written only when VITRELUX_TRACE names a file.
#pragma once

// Appends "<stage> <milliseconds since the process was created>".
void traceStage(const char* stage);
// Appends "frames <count> <seconds>".
void traceFrames(long count, double seconds);
// Appends "<what> <detail>": a choice made at start-up.
void traceNote(const char* what, const char* detail);
