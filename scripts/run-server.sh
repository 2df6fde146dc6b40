#!/bin/sh
# Starts the server from its program folder in the foreground.
set -eu
dir="$1"
if [ ! -x "$dir/trvserver" ]; then
  echo "$dir/trvserver is missing: build it first (make build, or cmake --build build)."
  echo "Nothing was started."
  exit 1
fi
exec "$dir/trvserver"
