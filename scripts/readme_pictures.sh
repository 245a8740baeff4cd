#!/usr/bin/env bash
# Makes the README's pictures again, from the program's own captures: builds the
# Windows GUI tests, runs the workflow test under Wine with LW_PICTURES_DIR set
# (the test copies the rest-pose and posed captures and one playback frame
# there as BMP files) and converts them to PNG in docs/.
# LW_WIN_BUILD names the build folder (default build/win), JOBS the parallelism.
# Needs the tools scripts/setup.sh installs (mingw-w64, Wine, Xvfb, ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}
build=${LW_WIN_BUILD:-build/win}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  sleep 1
fi
export LANG=ja_JP.UTF-8

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" --target app_tests
export WINEPREFIX="$build/wineprefix"

captures=$(mktemp -d)
rm -f "$captures"/*.bmp
(
  cd "$build/tests/app"
  LW_PICTURES_DIR="Z:${captures//\//\\}" \
    bash "$root/scripts/wine-run.sh" ./app_tests.exe --gtest_filter='WorkflowTest.*'
)

mkdir -p docs
for name in rest posed playback; do
  convert "$captures/$name.bmp" "docs/$name.png"
  echo "docs/$name.png"
done
rm -rf "$captures"
