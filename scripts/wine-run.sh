#!/bin/bash
# Runs one Windows program under Wine for a test or a person's check.
#
#   wine-run.sh [--display] [--unmanaged] [--expect-exit N] [--expect-line REGEX]
#               [--screenshot FILE [--after SECONDS]] -- program.exe [args...]
#
# Every run starts from an exact copy of a template Wine prefix (built once per
# Wine version, with the Marlett and Tahoma fonts, in $TRV_WINE_CACHE or
# ~/.cache/tarvane) and has its own persistent wineserver. The copies are kept:
# each run takes a free slot (slot-N under wine-slots-<version> in the cache,
# held by a lock for the run, so concurrent runs never share one) and makes that
# slot's prefix equal to the template again by copying back only what a previous
# run changed (scripts/wine-prefix-reset.py), instead of copying ~700 MB.
# --display starts Xvfb on a free display and a window manager for the run;
# without it the program sees no X display. --unmanaged (implies --display) runs
# no window manager and tells Wine to place every window itself, at exactly the
# requested coordinates (a window manager maximises main windows). Every process
# started here is stopped by its PID at the end, and the run's folder is removed.
#
# Exit status 0 when the program's exit status is N (default 0) and, with
# --expect-line, a line of its standard output matches REGEX (grep -E).
# --screenshot saves the screen SECONDS (default 3) after the start as FILE and
# then ends the program; the program's exit status does not count then.
# TRV_WINE_TIMEOUT (seconds, default 240) bounds the program's run.
set -u

display=0
unmanaged=0
expect_exit=0
expect_line=""
shot=""
shot_after=3
while [ $# -gt 0 ]; do
  case "$1" in
    --display) display=1; shift ;;
    --unmanaged) display=1; unmanaged=1; shift ;;
    --expect-exit) expect_exit="$2"; shift 2 ;;
    --expect-line) expect_line="$2"; shift 2 ;;
    --screenshot) shot="$2"; display=1; shift 2 ;;
    --after) shot_after="$2"; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-run: unknown option $1" >&2; exit 2 ;;
  esac
done
if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh [options] -- program.exe [args...]" >&2
  exit 2
fi
program="$1"; shift
case "$program" in /*) ;; *) program="$PWD/$program" ;; esac

# Quiet Wine: no debug channels, no Mono or Gecko installers, no menu entries
# or file associations written to the desktop.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset LC_ALL LC_CTYPE LC_MESSAGES WINELOADER WINESERVER
# Fixed locale for the programs: en-US, ANSI code page 1252. Given per
# command, as the host may not have that locale itself.
wine() { env LANG=en_US.UTF-8 /usr/bin/wine "$@" 8>&-; }

cache="${TRV_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvane}"
mkdir -p "$cache" || exit 2
wine_version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' '_')
if [ -z "$wine_version" ]; then
  echo "wine-run: wine is not installed" >&2
  exit 2
fi
template="$cache/wine-prefix-$wine_version"

# Builds the template prefix unless it is there; one builder at a time.
build_template() {
  local tmp="$template.building"
  rm -rf "$tmp"
  echo "wine-run: building the template Wine prefix $template" >&2
  (
    export WINEPREFIX="$tmp"
    unset DISPLAY
    # Our own server in the foreground: waiting for its PID waits for the
    # prefix to be complete (registry written, helper processes gone).
    wineserver -f </dev/null >/dev/null 2>&1 &
    local server=$!
    wineboot -i </dev/null >/dev/null 2>&1
    local rc=$?
    local waited=0
    while kill -0 "$server" 2>/dev/null && [ $waited -lt 120 ]; do
      sleep 0.2; waited=$((waited + 1))
    done
    if kill -0 "$server" 2>/dev/null; then
      wineserver -k >/dev/null 2>&1
      kill "$server" 2>/dev/null
    fi
    wait "$server" 2>/dev/null
    # Should wineboot have started a server of its own, wait for it as well.
    wineserver -w >/dev/null 2>&1
    [ $rc -eq 0 ] || exit 1
    # Without these Wine draws caption glyphs from Liberation Sans and uses
    # "MS Shell Dlg" for menus.
    local fonts="$tmp/drive_c/windows/Fonts"
    mkdir -p "$fonts" &&
      cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma.ttf \
         /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
  ) || { rm -rf "$tmp"; return 1; }
  touch "$tmp/.trv-template-ready"
  mv "$tmp" "$template"
}

(
  flock 9
  if [ ! -e "$template/.trv-template-ready" ]; then
    rm -rf "$template"
    build_template
  fi
) 9>"$cache/wine-prefix.lock" || { echo "wine-run: cannot build the template prefix" >&2; exit 2; }

# A free slot, locked on descriptor 8 until this script ends (the programs
# started here do not inherit it, so a stray process cannot keep a slot).
slots="$cache/wine-slots-$wine_version"
mkdir -p "$slots" || exit 2
slot=""
for n in $(seq 0 63); do
  exec 8>"$slots/slot-$n.lock" || exit 2
  if flock -n 8; then slot="$slots/slot-$n"; break; fi
  exec 8>&-
done
if [ -z "$slot" ]; then echo "wine-run: no free prefix slot in $slots" >&2; exit 2; fi
export WINEPREFIX="$slot"

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/trv-wine.XXXXXX") || exit 2
xvfb_pid=""
wm_pid=""
server_pid=""
out="$run_dir/stdout"

# The wineserver's folder (socket and lock) is named after the prefix's device
# and inode, inside /tmp/.wine-UID or (Debian's Wine) a /tmp/wine-XXXXXX folder.
server_dirs() {
  local d name
  [ -d "$WINEPREFIX" ] || return 0
  name=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for d in "/tmp/.wine-$(id -u)/$name" /tmp/wine-*/"$name"; do
    [ -d "$d" ] && [ -O "$d" ] && echo "$d"
  done
}

cleanup() {
  if [ -n "$server_pid" ]; then
    # Ends every Wine process of this prefix, then the server itself.
    wineserver -k >/dev/null 2>&1 8>&-
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    # The server leaves its folder (a lock file) behind.
    for d in $(server_dirs); do rm -rf "$d"; done
  fi
  if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 3' INT TERM HUP

# The X server starts while the prefix is prepared.
if [ $display -eq 1 ]; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/display" \
    </dev/null >/dev/null 2>&1 8>&- &
  xvfb_pid=$!
fi

# A run killed before its clean-up may have left its server behind: end it and
# its folder (a stale socket would pass for the new server's), then bring the
# prefix back to the template's state. The template is read under a shared lock,
# so that it is never rebuilt underneath.
wineserver -k >/dev/null 2>&1 8>&-
wineserver -w >/dev/null 2>&1 8>&-
for d in $(server_dirs); do rm -rf "$d"; done
(
  flock -s 9
  /usr/bin/python3 -I "$(dirname "$0")/wine-prefix-reset.py" "$template" "$WINEPREFIX"
) 9>"$cache/wine-prefix.lock" || { echo "wine-run: cannot reset the prefix $WINEPREFIX" >&2; exit 2; }

# The server's stdout must not be the caller's pipe, or $(...) never ends.
wineserver -f -p </dev/null >/dev/null 2>&1 8>&- &
server_pid=$!
# Wait for its socket, so the first wine process does not start a server of
# its own (one the clean-up could only reach through "wineserver -k", and that
# races ours for the prefix). On a loaded machine this can take long; going on
# without the socket would make a failure of Wine look like the program's, so
# the run stops here with the cause instead.
server_ready() {
  local d
  for d in $(server_dirs); do [ -S "$d/socket" ] && return 0; done
  return 1
}
server_deadline=$((SECONDS + 120))
until server_ready; do
  if ! kill -0 "$server_pid" 2>/dev/null; then
    echo "wine-run: wineserver ended before it was ready" >&2; exit 2
  fi
  if [ $SECONDS -ge $server_deadline ]; then
    echo "wine-run: wineserver made no socket within 120 s" >&2; exit 2
  fi
  sleep 0.02
done

if [ $display -eq 1 ]; then
  for _ in $(seq 500); do
    [ -s "$run_dir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.02
  done
  if [ ! -s "$run_dir/display" ]; then echo "wine-run: Xvfb did not start" >&2; exit 2; fi
  export DISPLAY=":$(head -n1 "$run_dir/display")"
else
  unset DISPLAY
fi

if [ $unmanaged -eq 1 ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
    { echo "wine-run: cannot set the X11 driver's Managed option" >&2; exit 2; }
elif [ $display -eq 1 ]; then
  # The first Wine process of a session boots it (wineboot, services, drivers):
  # a trivial one does that while the window manager starts.
  timeout --kill-after=5 120 env LANG=en_US.UTF-8 /usr/bin/wine cmd.exe /c exit </dev/null >/dev/null 2>&1 8>&- &
  boot_pid=$!
  # On a loaded machine the window manager can be slow to claim the screen,
  # or exit at once; wait longer and start it again (at most three times).
  wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
  for attempt in 1 2 3; do
    matchbox-window-manager -use_titlebar no </dev/null >"$run_dir/wm.log" 2>&1 8>&- &
    wm_pid=$!
    for _ in $(seq 500); do
      wm_ready && break 2
      kill -0 "$wm_pid" 2>/dev/null || break
      sleep 0.04
    done
    kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null
  done
  if ! wm_ready; then
    echo "wine-run: the window manager did not start" >&2
    cat "$run_dir/wm.log" >&2 2>/dev/null
    exit 2
  fi
  wait "$boot_pid"
fi

limit="${TRV_WINE_TIMEOUT:-240}"
if [ -n "$shot" ]; then
  wine "$program" "$@" </dev/null >"$out" 2>&1 &
  prog_pid=$!
  sleep "$shot_after"
  import -window root "$shot"
  shot_rc=$?
  wineserver -k >/dev/null 2>&1 8>&-
  wait "$prog_pid" 2>/dev/null
  cat "$out"
  [ $shot_rc -eq 0 ] && echo "wine-run: screenshot saved as $shot" >&2
  exit $shot_rc
fi

timeout --kill-after=5 "$limit" env LANG=en_US.UTF-8 /usr/bin/wine "$program" "$@" </dev/null >"$out" 8>&-
rc=$?
cat "$out"
if [ $rc -eq 124 ]; then
  echo "wine-run: $program did not end within $limit s" >&2
  exit 1
fi
matched=1
if [ -n "$expect_line" ] && ! tr -d '\r' <"$out" | grep -Eq -- "$expect_line"; then
  matched=0
fi
if [ "$rc" != "$expect_exit" ]; then
  echo "wine-run: $program exited with $rc, expected $expect_exit" >&2
  # No output at all: the program never ran its own code; Wine itself failed
  # (status 1, its message on standard error above) or the program crashed.
  if [ ! -s "$out" ]; then
    echo "wine-run: the program printed nothing: it did not start or Wine failed" >&2
  elif [ $matched -eq 0 ]; then
    echo "wine-run: and no output line matches: $expect_line" >&2
  fi
  exit 1
fi
if [ $matched -eq 0 ]; then
  echo "wine-run: no output line matches: $expect_line" >&2
  exit 1
fi
exit 0
