#!/bin/sh
# The Wine prefix and X server that the Win32 unit tests of one build tree share.
#   wine-session.sh prefix DIR LOADER   create DIR/prefix once (later callers wait for the first)
#   wine-session.sh start DIR LOADER    start an Xvfb on a free display, note it in DIR/display
#   wine-session.sh stop DIR            end this prefix's Wine processes and that Xvfb, and nothing else
# LOADER is Wine's loader for the build's programs (wine, or the 64-bit wine64).
set -e
action=$1
session=$(mkdir -p "$2" && cd "$2" && pwd)
loader=${3:-wine}
export WINEPREFIX="$session/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

make_prefix() {
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      DISPLAY= "$loader" wineboot -i >"$session/wineboot.log" 2>&1
      wineserver -w
    fi
  ) 9>"$session/prefix.lock"
}

free_display() {
  n=70
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

start() {
  make_prefix
  n=$(free_display)
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$session/xvfb.log" 2>&1 &
  echo $! >"$session/xvfb.pid"
  tries=0
  until [ -e "/tmp/.X11-unix/X$n" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { echo "Xvfb :$n did not start" >&2; exit 1; }
    sleep 0.1
  done
  echo ":$n" >"$session/display"
  # A persistent server, with the prefix's services and desktop already up, spares every test
  # program their start-up. NOTE: those processes inherit the output of whoever starts them, and
  # ctest would wait for them to close it, so they are started here with their output elsewhere.
  wineserver -p </dev/null >/dev/null 2>&1
  DISPLAY=":$n" "$loader" explorer /desktop </dev/null >/dev/null 2>&1 &
  DISPLAY=":$n" "$loader" wineboot </dev/null >"$session/wineboot.log" 2>&1
  # NOTE: without a window manager Wine waits 2 s on every managed window it takes down, for a
  # window manager that never answers; the tests' windows are made and destroyed by the dozen.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
}

stop() {
  wineserver -k 2>/dev/null || true
  if [ -f "$session/xvfb.pid" ]; then
    kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
    rm -f "$session/xvfb.pid"
  fi
  rm -f "$session/display"
}

case $action in
  prefix) make_prefix ;;
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 prefix|start|stop DIR" >&2; exit 2 ;;
esac
