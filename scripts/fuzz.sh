#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them.
#   fuzz.sh smoke          every target over its saved corpus, then 20 s of new inputs
#   fuzz.sh run SECONDS    every target for SECONDS, growing its corpus in fuzz/corpus/
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-smoke}
seconds=${2:-20}
[ "$mode" = smoke ] && seconds=20

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build build/fuzz -j "${JOBS:-$(nproc)}"

shopt -s nullglob
targets=(build/fuzz/fuzz/*_fuzz)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets were built" >&2
  exit 1
fi
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus=fuzz/corpus/${name%_fuzz}
  mkdir -p "$corpus"
  work=$(mktemp -d)
  echo "fuzz: $name (${seconds}s)"
  # New inputs go to a scratch folder in a smoke run, to the saved corpus otherwise.
  if [ "$mode" = smoke ]; then
    "$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$work" "$corpus" 2>&1 | tail -2
  else
    "$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$corpus" 2>&1 | tail -2
  fi
  rm -rf "$work"
done
