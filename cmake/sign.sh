#!/bin/sh
# Signs one file in place with osslsigncode.
#   sign.sh CERTIFICATE.pfx FILE [TIMESTAMP-SERVER]
# The certificate's password comes from the environment's VITRELUX_SIGN_PASSWORD and reaches
# osslsigncode through a file in a folder of its own that only this user can open from the moment
# it exists (never a command line, which every user can list); the folder goes however signing
# ends, an interrupted one included.
set -e
pfx=$1 file=$2 server=$3
private=$(mktemp -d)
trap 'rm -rf "$private"' EXIT
trap 'exit 1' HUP INT TERM
(umask 077 && printf %s "$VITRELUX_SIGN_PASSWORD" >"$private/password")
osslsigncode sign -pkcs12 "$pfx" -readpass "$private/password" -n Vitrelux -h sha256 \
  ${server:+-ts "$server"} -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
