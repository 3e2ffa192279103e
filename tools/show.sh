#!/bin/sh
# Sets up the machine, builds the programs and runs the show: on the user's display when
# DISPLAY is set, otherwise on a virtual one, saving pictures of the screen into build/show/. A machine
# that cannot start 32-bit programs runs the 64-bit build instead (tools/tested-preset.sh).
#   tools/show.sh [--two-monitors] [--music mp3|wav|none]
# --two-monitors: a second monitor to the right of the primary, which the show keeps dark.
set -e
cd "$(dirname "$0")/.."
tools/setup-debian.sh
preset=$(tools/tested-preset.sh)
cmake --preset "$preset" -DVITRELUX_E2E=ON
cmake --build --preset "$preset"
exec /usr/bin/python3 tools/show.py --dist "build/$preset/dist" \
  --helper "build/$preset/tests/e2e/vitrelux_e2e_helper.exe" --out build/show "$@"
