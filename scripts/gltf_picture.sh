#!/usr/bin/env bash
# Makes docs/gltf_sample.png, the README's picture of the sample project as
# another program shows its glTF export: lwtool exports samples/character.ojp
# as .glb, three.js (npm, installed into the build folder) loads it with its own
# glTF loader and poses it 0.8 s into the animation, and headless Chromium
# (installed from Debian when missing) renders the page through SwiftShader.
# LW_NATIVE_BUILD names the native build folder (default build/native).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${LW_NATIVE_BUILD:-build/native}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if ! command -v chromium >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q chromium
fi
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target lwtool -j "${JOBS:-2}"

work=$build/gltf_picture
mkdir -p "$work/page"
[ -d "$work/node_modules/three" ] ||
  (cd "$work" && npm install --no-audit --no-fund --no-save three@0.170.0 >/dev/null)
cp scripts/gltf_view.html "$work/page/view.html"
"$build/tools/lwtool/lwtool" export samples/character.ojp "$work/page/sample.glb"
chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
  --allow-file-access-from-files --window-size=640,480 --virtual-time-budget=8000 \
  --screenshot="$root/docs/gltf_sample.png" \
  "file://$work/page/view.html?file=sample.glb&t=0.8" 2>/dev/null
echo "wrote docs/gltf_sample.png"
