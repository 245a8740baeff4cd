#!/usr/bin/env bash
# scripts/run.sh run twice over one build folder (without starting the program):
# a file the user saved beside the samples and a sample the user changed
# survive, a deleted sample comes back, and a sample still as it was copied is
# refreshed when the source differs.
# Usage: run_script_test.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export LW_WIN_BUILD=$1 LW_RUN_NO_START=1
samples=$LW_WIN_BUILD/app/samples
fail=0
expect_same() {  # FILE EXPECTED_TEXT_FILE
  if ! cmp -s "$1" "$2"; then echo "FAIL: $1 differs from $2"; fail=1; fi
}

bash "$root/scripts/run.sh" >/dev/null
expect_same "$samples/character.obj" "$root/samples/character.obj"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'mine\r\n' >"$scratch/mywork"
printf 'edited by hand\n' >"$scratch/edited"
cp "$scratch/mywork" "$samples/mywork.ojp"
cp "$scratch/edited" "$samples/character.ojp"
rm "$samples/character.bmp"
# character.mtl as an earlier run copied it, before the sample was updated.
printf 'an older sample\n' >"$samples/character.mtl"
old=$(sha256sum <"$samples/character.mtl" | cut -d' ' -f1)
grep -v '  character.mtl$' "$samples/.copied" >"$scratch/notes" || true
echo "$old  character.mtl" >>"$scratch/notes"
cp "$scratch/notes" "$samples/.copied"

bash "$root/scripts/run.sh" >/dev/null
expect_same "$samples/mywork.ojp" "$scratch/mywork"
expect_same "$samples/character.ojp" "$scratch/edited"
expect_same "$samples/character.bmp" "$root/samples/character.bmp"
expect_same "$samples/character.mtl" "$root/samples/character.mtl"

# Leave the folder as run.sh makes it.
rm "$samples/mywork.ojp"
cp "$root/samples/character.ojp" "$samples/character.ojp"
exit $fail
