#!/bin/sh
# Runs a Windows program of this build under Wine, in the build tree's own prefix and,
# while a test session is up, on that session's X display.
set -e
session=$1
shift
export WINEPREFIX="$session/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/wine-session.sh" prefix "$session"
if [ -f "$session/display" ]; then
  DISPLAY=$(cat "$session/display")
  export DISPLAY
fi
exec wine "$@"
