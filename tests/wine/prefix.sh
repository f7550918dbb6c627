#!/usr/bin/env bash
# prefix.sh PREFIX [PROBE | --done]: makes a tree's Wine prefix once (Chinese fonts, a desktop with a tray);
# with PROBE (ui_probe.exe) a keeper holds Wine's server and services up for the tests until --done ends them.
set -eu
export WINEPREFIX=$1 WINEDEBUG=-all
here=$(cd "$(dirname "$0")" && pwd)
if [ "${2:-}" = --done ]; then wineserver -k 2>/dev/null || true; exit 0; fi
if [ ! -f "$WINEPREFIX/.varnic-ready" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
if [ "$here/prefix.reg" -nt "$WINEPREFIX/.varnic-ready" ]; then  # made, or the settings changed since
  wine regedit /S "Z:$(realpath "$here/prefix.reg" | tr / '\\')" >/dev/null 2>&1
  touch "$WINEPREFIX/.varnic-ready"
fi
[ -n "${2:-}" ] || exit 0
# A server left by an interrupted run (its desktop on that run's display, a test stuck in it) goes.
wineserver -k 2>/dev/null || true
wineserver -w
# The keeper brings up the desktop and tray (started by a test, they would hold its output open), then waits.
ready="$WINEPREFIX/.varnic-held"
setsid wine "$2" wait-window class:Shell_TrayWnd 60000 -- wait-gone class:Shell_TrayWnd 3600000 </dev/null >"$ready" 2>/dev/null &
for _ in $(seq 600); do  # a minute for the keeper to start
  grep -qs '^OK' "$ready" && exit 0 || sleep 0.1
done
echo "the keeper of $WINEPREFIX did not start" >&2 && exit 1
