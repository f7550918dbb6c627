#!/usr/bin/env bash
# Creates (once) the Wine prefix given as $1: Chinese fonts mapped, and a virtual desktop
# with taskbar and tray made the default for every program started in it.
set -eu
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ -f "$prefix/.varnic-ready" ]; then exit 0; fi
mkdir -p "$prefix"
wineboot --init >/dev/null 2>&1 || true
wineserver -w
wine regedit /S "$(winepath -w "$here/prefix.reg" 2>/dev/null || echo "$here/prefix.reg")" >/dev/null 2>&1
wineserver -w
touch "$prefix/.varnic-ready"
echo "wine prefix ready: $prefix"
