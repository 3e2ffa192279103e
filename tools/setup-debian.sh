#!/bin/sh
# Installs what building, running and testing Vitrelux need on Debian 12 or 13; safe to run again.
set -e
[ "$(id -u)" -eq 0 ] && as_root= || as_root=sudo

packages="cmake ninja-build clang libclang-rt-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 wixl msitools osslsigncode openssl
  xvfb xserver-xorg-core xserver-xorg-video-dummy xserver-xephyr xdotool x11-utils x11-xserver-utils x11-apps
  imagemagick python3-pil python3-pytest
  locales fonts-ipafont-gothic
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav sox lame"

missing=
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $as_root dpkg --add-architecture i386
  # A mirror caught mid-sync fails one index now and then; the install below says whether what
  # was fetched is enough.
  $as_root apt-get update -qq || echo "apt-get update: some package lists were not fetched" >&2
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq $missing
fi

# 32-bit Wine runs the shipped 32-bit build's tests. Where it cannot be installed (an i386 list
# behind the others) or cannot start (a kernel without 32-bit support), the tests run on the
# 64-bit build (tools/tested-preset.sh).
if ! dpkg -s wine32:i386 >/dev/null 2>&1; then
  DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq wine32:i386 ||
    echo "wine32:i386 not installed: the Windows tests run on the 64-bit build" >&2
fi

# Wine takes its ANSI code page from the locale: 932 (Shift-JIS) from a Japanese one, as on the
# Japanese Windows the programs are made for, and 1252 from a Western one, to see them there too.
for wanted in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted.utf8$"; then
    $as_root sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
    missing_locale=yes
  fi
done
if [ -n "${missing_locale:-}" ]; then
  $as_root locale-gen >/dev/null
fi
