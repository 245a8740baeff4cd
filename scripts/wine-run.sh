#!/usr/bin/env bash
# Runs a Windows executable under Wine; CTest uses it as the cross-compiling
# emulator. On first use it makes a Wine prefix inside the build folder (the
# nearest folder above the executable that holds CMakeCache.txt), safely when
# several tests start at once. It keeps a wineserver running and Wine's
# background processes started, detached from our stdin/stdout, so that CTest
# does not wait on them after every test.
set -euo pipefail

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  build=""
  while [ "$dir" != "/" ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then build=$dir; break; fi
    dir=$(dirname "$dir")
  done
  [ -n "$build" ] || build=$(pwd)
  export WINEPREFIX="$build/wineprefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

ready="$WINEPREFIX/.limbweaver-ready"
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$ready" ]; then
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
    reg="$WINEPREFIX/limbweaver.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    "$wine" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
    "$wineserver" -w
    touch "$ready"
  fi
  flock -u 9
  exec 9>&-
fi

"$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
