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

# The prefix's settings live in wine-prefix.reg beside this script; the prefix
# notes which version it holds, and a changed file is imported again.
settings="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-prefix.reg"
version=$(sha256sum <"$settings" | cut -c1-16)
ready="$WINEPREFIX/.limbweaver-ready"
if [ "$(cat "$ready" 2>/dev/null)" != "$version" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ "$(cat "$ready" 2>/dev/null)" != "$version" ]; then
    [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i </dev/null >/dev/null 2>&1
    # regedit reads Japanese names from a UTF-16 file (with its byte order mark).
    reg="$WINEPREFIX/limbweaver.reg"
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$settings"; } >"$reg"
    "$wine" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
    "$wineserver" -w
    echo "$version" >"$ready"
  fi
  flock -u 9
  exec 9>&-
fi

"$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
