#!/bin/sh
# Sets up the machine, builds all three presets and both Windows builds' packages with warnings as
# errors, and runs every test: native (sanitizers, fuzzer), Win32 under Wine, end to end on a real X
# server, and what the packages hold. The tests under Wine run on the build that this machine's Wine
# can start (tools/tested-preset.sh), the end-to-end ones on that build alone; where that is the
# 64-bit build, the 32-bit one cannot start here, and only its packages are tested.
set -e
cd "$(dirname "$0")/.."
tools/setup-debian.sh
tested=$(tools/tested-preset.sh)
for preset in native windows-x86 windows-x64; do
  case $preset in
    native) options= ;;
    "$tested") options=-DVITRELUX_E2E=ON ;;
    windows-x86) options="-DVITRELUX_E2E=OFF -DVITRELUX_WINE_TESTS=OFF" ;;
    *) options=-DVITRELUX_E2E=OFF ;;
  esac
  # shellcheck disable=SC2086
  cmake --preset "$preset" -DVITRELUX_WERROR=ON -DVITRELUX_WINE_TESTS=ON $options
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
