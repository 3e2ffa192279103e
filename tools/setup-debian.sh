#!/bin/sh
# Installs what building, running and testing Vitrelux need on Debian 12; safe to run again.
set -e
[ "$(id -u)" -eq 0 ] && as_root= || as_root=sudo

packages="cmake ninja-build clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 wine32:i386
  xvfb xserver-xorg-core xserver-xorg-video-dummy xdotool x11-utils x11-xserver-utils
  imagemagick python3-pil python3-pytest
  locales fonts-ipafont-gothic
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav sox lame"

missing=
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $as_root dpkg --add-architecture i386
  $as_root apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq $missing
fi

# Wine takes code page 932 (Shift-JIS) from a Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  $as_root sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  $as_root locale-gen >/dev/null
fi
