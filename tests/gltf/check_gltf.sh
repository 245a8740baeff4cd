#!/usr/bin/env bash
# The glTF export checked from outside: the sample project and small rigs are
# exported as .glb and .gltf by lwtool, the Khronos glTF validator must report
# no error and no warning on each file, and a glTF library other than the
# writer reads them back (check_export.mjs) and compares them with the project.
#   check_gltf.sh install WORK                        npm packages into WORK/npm
#   check_gltf.sh check WORK LWTOOL RIG_PROJECTS SAMPLE.ojp
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=$1
work=$2
npm_dir=$work/npm

if [ "$mode" = install ]; then
  mkdir -p "$npm_dir"
  if ! cmp -s "$here/package-lock.json" "$npm_dir/package-lock.json" || [ ! -d "$npm_dir/node_modules" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$npm_dir/"
    (cd "$npm_dir" && npm ci --no-audit --no-fund --loglevel=error)
  fi
  exit 0
fi

lwtool=$3
rig_projects=$4
sample=$5
out=$work/out
rm -rf "$out"
mkdir -p "$out/rigs"
cp "$here"/*.mjs "$npm_dir/"
"$rig_projects" "$out/rigs"

failed=0
# export PROJECT NAME: NAME.glb and NAME.gltf, the figures kept in NAME.txt.
export_both() {
  "$lwtool" export "$1" "$out/$2.glb" >"$out/$2.txt"
  "$lwtool" export "$1" "$out/$2.gltf" >/dev/null
  cat "$out/$2.txt"
}
# read_back PROJECT NAME: every keyframe pose by lwtool, then both files read back.
read_back() {
  local posed=$out/$2.posed
  mkdir -p "$posed"
  "$lwtool" info "$1" >"$posed/info.txt"
  for t in $(sed -n 's/^  \(-\?[0-9]\+\) ms (#.*/\1/p' "$posed/info.txt"); do
    "$lwtool" export "$1" "$posed/at_$t.obj" --time "$t" >/dev/null
  done
  for ext in glb gltf; do
    node "$npm_dir/check_export.mjs" "$out/$2.$ext" "$posed/info.txt" "$posed" || failed=1
  done
}

export_both "$sample" sample
for rig in blend reach still; do export_both "$out/rigs/$rig.ojp" "$rig"; done
node "$npm_dir/validate.mjs" "$out"/*.glb "$out"/*.gltf || failed=1

read_back "$sample" sample
read_back "$out/rigs/blend.ojp" blend
read_back "$out/rigs/still.ojp" still

# The rig with weights two levels up must be reported as not exactly representable.
for rig in sample blend still; do
  grep -q '^corners not exactly representable: 0 of ' "$out/$rig.txt" || { echo "$rig: expected every corner exact" >&2; failed=1; }
done
if grep -q '^corners not exactly representable: 0 of ' "$out/reach.txt"; then
  echo "reach: expected corners that are not exactly representable" >&2
  failed=1
fi
[ "$failed" -eq 0 ] && echo "check_gltf: every export valid and read back as exported"
exit "$failed"
