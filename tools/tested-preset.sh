#!/bin/sh
# Prints the Windows build whose programs this machine can run under Wine: the shipped 32-bit one,
# or the 64-bit build of the same sources where 32-bit Linux programs (and so 32-bit Wine) cannot
# start, as on a kernel without 32-bit support.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo windows-x86
else
  echo windows-x64
fi
