#!/bin/sh
# Screenshot of a Windows program for a person's check:
#   wine-screenshot.sh [--unmanaged] OUT.png [SECONDS] -- program.exe [args...]
# Runs the program under Xvfb and a window manager (scripts/wine-run.sh), saves
# the whole screen SECONDS (default 3) after the start, then ends the program.
# --unmanaged: no window manager; windows keep their exact coordinates.
set -eu
mode=""
if [ "${1:-}" = "--unmanaged" ]; then mode="--unmanaged"; shift; fi
if [ $# -lt 3 ]; then
  echo "usage: wine-screenshot.sh [--unmanaged] OUT.png [SECONDS] -- program.exe [args...]" >&2
  exit 2
fi
out="$1"; shift
after=3
if [ "$1" != "--" ]; then after="$1"; shift; fi
[ "$1" = "--" ] && shift
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
exec "$(dirname "$0")/wine-run.sh" $mode --screenshot "$out" --after "$after" -- "$@"
