#!/bin/sh
# Sets up the machine, builds all three presets with warnings as errors and runs every test:
# native (sanitizers, fuzzer), Win32 under Wine, and end to end on a real X server. The Windows
# tests run on the build that this machine's Wine can start (tools/tested-preset.sh); the other
# Windows build is built, and its Win32 tests run too when it is the 64-bit one.
set -e
cd "$(dirname "$0")/.."
tools/setup-debian.sh
tested=$(tools/tested-preset.sh)
for preset in native windows-x86 windows-x64; do
  case $preset in
    native) options= ;;
    "$tested") options=-DVITRELUX_E2E=ON ;;
    *) options=-DVITRELUX_E2E=OFF ;;
  esac
  cmake --preset "$preset" -DVITRELUX_WERROR=ON $options
  cmake --build --preset "$preset"
  if [ "$preset" = windows-x86 ] && [ "$tested" != windows-x86 ]; then
    echo "windows-x86: built; this machine cannot start 32-bit programs, so its tests ran on windows-x64"
  else
    ctest --preset "$preset"
  fi
done
