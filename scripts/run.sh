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

source scripts/display.sh
if start_display; then
  echo "run: no X display; started Xvfb on $DISPLAY (take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi
# Relative file names (the sample's materials and textures) resolve from here.
cd "$bin"
bash "$root/scripts/wine-run.sh" "$root/$bin/limbweaver.exe"
