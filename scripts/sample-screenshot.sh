#!/bin/sh
# Screenshot of the sample program's framed fixture for a person's check: the frame
# with its status bar, the "Subnets" bar docked left, the "Legend" bar floating, the
# splitter with the form and the chart, the "Options" sheet and the "New host"
# wizard. Needs the Windows build (make build-win).
#   sample-screenshot.sh [OUT.png]   (default: /work/shots/sample-fixture.png)
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-/work/shots/sample-fixture.png}"
mkdir -p "$(dirname "$out")"
# Unmanaged: a window manager would maximise the frame.
exec "$here/wine-screenshot.sh" --unmanaged "$out" 8 -- "$here/../build-win/bin/trvsample.exe" --float --sheet --wizard
