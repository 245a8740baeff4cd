#!/usr/bin/env bash
# Makes the README's pictures again, from the program's own captures: builds the
# Windows GUI tests, runs the workflow test under Wine with LW_PICTURES_DIR set
# (the test copies the rest-pose and posed captures and one playback frame
# there as BMP files) and converts them to PNG in docs/.
# LW_WIN_BUILD names the build folder (default build/win), JOBS the parallelism.
# Needs the tools scripts/setup.sh installs (mingw-w64, Wine, Xvfb, ImageMagick);
# without an X display it runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}
build=${LW_WIN_BUILD:-build/win}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" --target app_tests

captures=$(mktemp -d)
trap 'rm -rf "$captures"' EXIT
display=()
[ -n "${DISPLAY:-}" ] || display=(xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp")
(
  cd "$build/tests/app"
  LANG=ja_JP.UTF-8 WINEPREFIX="$build/wineprefix" LW_PICTURES_DIR="Z:${captures//\//\\}" \
    "${display[@]}" bash "$root/scripts/wine-run.sh" ./app_tests.exe --gtest_filter='WorkflowTest.*'
)

mkdir -p docs
for name in rest posed playback; do
  convert "$captures/$name.bmp" -strip "docs/$name.png"  # -strip: no time stamps
  echo "docs/$name.png"
done
