#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 into build/win and starts it under
# Wine, with the sample character and the toon shader files beside the .exe.
# Starts Xvfb only when there is no X display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}

bash scripts/setup.sh

cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$jobs" --target limbweaver

bin=build/win/app
for dir in samples glsl; do
  if [ -d "$dir" ]; then
    rm -rf "${bin:?}/$dir"
    cp -r "$dir" "$bin/$dir"
  fi
done

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  sleep 1
  echo "run: no X display; started Xvfb on $DISPLAY (take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi
export LANG=ja_JP.UTF-8
# Relative file names (the sample's materials and textures) resolve from here.
cd "$bin"
bash "$root/scripts/wine-run.sh" "$root/$bin/limbweaver.exe"
