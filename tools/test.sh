#!/bin/sh
# Sets up the machine, builds all three presets with warnings as errors and runs every test:
# native (sanitizers, fuzzer), Win32 under Wine, and end to end on a real X server.
set -e
cd "$(dirname "$0")/.."
tools/setup-debian.sh
for preset in native windows-x86 windows-x64; do
  cmake --preset "$preset" -DVITRELUX_WERROR=ON
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
