#!/bin/sh
# Sets up the machine, builds all three presets and both Windows builds' packages with warnings as
# errors, and runs every test: native (sanitizers, fuzzer), Win32 under Wine, end to end on a real X
# server, and what the packages hold. The tests under Wine run on the 64-bit build, which nearly
# every user installs, on every machine, and on the 32-bit build as well where this machine starts
# 32-bit programs (tools/tested-preset.sh); elsewhere only the 32-bit build's packages are tested.
set -e
cd "$(dirname "$0")/.."
tools/setup-debian.sh
x86_runs=$([ "$(tools/tested-preset.sh)" = windows-x86 ] && echo yes || true)
for preset in native windows-x64 windows-x86; do
  case $preset in
    native) options= ;;
    windows-x64) options=-DVITRELUX_E2E=ON ;;
    *) [ -n "$x86_runs" ] && options=-DVITRELUX_E2E=ON || options="-DVITRELUX_E2E=OFF -DVITRELUX_WINE_TESTS=OFF" ;;
  esac
  # shellcheck disable=SC2086
  cmake --preset "$preset" -DVITRELUX_WERROR=ON -DVITRELUX_WINE_TESTS=ON $options
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
