#!/bin/sh
# Sets up the machine, builds the shipped 32-bit programs and runs the show: on the user's display when
# DISPLAY is set, otherwise on a virtual one, saving pictures of the screen into build/show/.
set -e
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset windows-x86
cmake --build --preset windows-x86
exec /usr/bin/python3 tools/show.py --dist build/windows-x86/dist \
  --helper build/windows-x86/tests/e2e/vitrelux_e2e_helper.exe --out build/show
