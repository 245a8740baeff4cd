#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs them under
# Wine: the portable libraries' tests, the GUI suite in both present modes, and
# the X screenshot check of the 3D window. scripts/test.sh calls it; it can run
# on its own once scripts/setup.sh has installed the tools.
# LW_WIN_BUILD names the build folder (default build/win), JOBS the parallelism.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}
build=${LW_WIN_BUILD:-build/win}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

# Wine and the GUI tests need an X server; Xvfb is started when there is none.
source scripts/display.sh
start_display || true
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs"
# Make the Wine prefix (first use: 15-20 s) before CTest lists the tests, so that
# no test listing runs into its timeout while Wine sets itself up.
export WINEPREFIX="$build/wineprefix"
bash scripts/wine-run.sh cmd /c exit
# The GUI tests (each twice: the automatic present mode, and "direct.") and the
# screenshot check are marked RUN_SERIAL; the portable libraries' tests run in
# parallel. A GUI test that fails is run once more before it counts: Wine under
# a loaded Xvfb has been seen to drop a message once in many runs.
ctest --test-dir "$build" --output-on-failure -j "$jobs" --repeat until-pass:2
