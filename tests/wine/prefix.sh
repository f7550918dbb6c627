#!/usr/bin/env bash
# prefix.sh PREFIX [PROBE | --done]: makes a tree's Wine prefix once (Chinese fonts, a desktop with a tray);
# with PROBE (ui_probe.exe) its "hold" keeps Wine's server and services up for the tests until --done.
set -eu
export WINEPREFIX=$1 WINEDEBUG=-all
here=$(cd "$(dirname "$0")" && pwd)
windows_path() { local unix; unix=$(realpath -m "$1"); printf 'Z:%s' "${unix//\//\\}"; }
if [ "${2:-}" = --done ]; then touch "$WINEPREFIX/.varnic-release"; exit 0; fi
if [ ! -f "$WINEPREFIX/.varnic-ready" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
if [ "$here/prefix.reg" -nt "$WINEPREFIX/.varnic-ready" ]; then  # made, or the settings changed since
  wine regedit /S "$(windows_path "$here/prefix.reg")" >/dev/null 2>&1
  touch "$WINEPREFIX/.varnic-ready"
fi
[ -n "${2:-}" ] || exit 0
# A server left by an interrupted run (its desktop on that run's display, a test stuck in it) goes.
wineserver -k 2>/dev/null || true
wineserver -w
rm -f "$WINEPREFIX/.varnic-release"
ready="$WINEPREFIX/.varnic-held"
rm -f "$ready"
setsid wine "$2" hold "$(windows_path "$ready")" "$(windows_path "$WINEPREFIX/.varnic-release")" </dev/null >/dev/null 2>&1 &
for _ in $(seq 600); do  # a minute for the keeper to start
  [ -f "$ready" ] && exit 0 || sleep 0.1
done
echo "the keeper of $WINEPREFIX did not start" >&2 && exit 1
