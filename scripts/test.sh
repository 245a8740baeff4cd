#!/usr/bin/env bash
# Builds everything and runs every test: native, sanitizer, fuzz smoke, and the
# Windows program's tests under Wine. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}

bash scripts/setup.sh

section() { printf '\n=== %s ===\n' "$*"; }

section "native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

section "sanitizer build and tests (ASan + UBSan)"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DLW_SANITIZE=ON -DLW_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure -j "$jobs"

section "fuzz smoke run (libFuzzer)"
bash scripts/fuzz.sh smoke

section "Windows program under Wine"
# Wine and the GUI tests need an X server; start Xvfb when there is none.
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
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$jobs"
# Make the Wine prefix (first use: 15-20 s) before CTest lists the tests, so that
# no test listing runs into its timeout while Wine sets itself up.
export WINEPREFIX="$root/build/win/wineprefix"
bash scripts/wine-run.sh cmd /c exit
# The GUI tests are marked RUN_SERIAL; the portable libraries' tests run in parallel.
# A GUI test that fails is run once more before it counts: Wine under a loaded
# Xvfb has been seen to drop a message once in many runs.
ctest --test-dir build/win --output-on-failure -j "$jobs" --repeat until-pass:2
