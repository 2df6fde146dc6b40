#!/bin/sh
# Starts the server from its program folder in the foreground.
set -eu
dir="$1"
if [ ! -x "$dir/trvserver" ]; then
  echo "The build finished, but the server program is not there yet:"
  echo "  $dir/trvserver has not been written; the common library and its tests are built."
  echo "Nothing was started."
  exit 1
fi
exec "$dir/trvserver"
