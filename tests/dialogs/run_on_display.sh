#!/bin/sh
# run_on_display.sh <wine prefix> <program.exe> [arguments...]
#
# Runs a Windows test program under Wine on a private Xvfb display, for
# suites that open real windows. The Wine prefix is the suite's own: Wine's
# desktop belongs to the display its server was started with, so the suite
# cannot share the prefix of the suites that run without a display. The
# server is started detached (CTest would wait on it otherwise) and stopped
# at the end, with the display.
set -eu
prefix=$1
shift

state=$(mktemp -d)
xvfb_pid=
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 </dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$state"
}
trap cleanup EXIT INT TERM

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
tries=0
while [ ! -s "$state/display" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "run_on_display: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.1
done

export DISPLAY=":$(cat "$state/display")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=pt_BR.UTF-8
mkdir -p "$prefix"
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
# No window manager runs on the display: windows Wine does not hand to one
# open and close without waiting for it.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true

status=0
wine "$@" || status=$?
exit "$status"
