#!/bin/sh
# Runs a Windows program of this build under Wine, in the build tree's own prefix and,
# while a test session is up, on that session's X display.
#   wine-run.sh DIR LOADER PROGRAM [ARGUMENTS...]
set -e
session=$1
loader=$2
shift 2
export WINEPREFIX="$session/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
# The programs are made for Japanese Windows: under this locale Wine's ANSI code page is 932 (Shift-JIS).
export LC_ALL=ja_JP.UTF-8
"$(dirname "$0")/wine-session.sh" prefix "$session" "$loader"
if [ -f "$session/display" ]; then
  DISPLAY=$(cat "$session/display")
  export DISPLAY
fi
exec "$loader" "$@"
