#!/usr/bin/env bash
# Checks the include layers, then builds everything and runs every test: native,
# sanitizer, fuzz smoke, and the Windows program's tests under Wine. Installs what
# it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

bash scripts/setup.sh

section() { printf '\n=== %s ===\n' "$*"; }

section "include layers"
bash scripts/check_layers.sh

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
bash scripts/test_windows.sh
