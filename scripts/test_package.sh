#!/usr/bin/env bash
# Checks the Windows package as a user gets it: builds the zip, unpacks it into
# a fresh folder whose path holds spaces and Japanese characters, and runs the
# unpacked programs under Wine from another current folder: lwtool.exe on the
# sample project, and the GUI test program put beside limbweaver.exe, which
# opens the sample, turns toon shading on and saves it under a new name.
# CTest runs it: test_package.sh BUILD_FOLDER PACKAGE_TESTS_EXE
set -euo pipefail
build=$1
tester=$2
root=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "test_package: $*" >&2; exit 1; }

# The package of what is built (CTest runs after the build): cpack alone, as
# the package target runs it once every target is up to date.
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="$build/limbweaver-$version-win64.zip"
[ -f "$zip" ] || fail "no $zip"

work=$(mktemp -d "$build/package-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
dest="$work/テスト フォルダ/Limbweaver"
mkdir -p "$dest" "$work/elsewhere"
(cd "$dest" && cmake -E tar xf "$zip")
for file in limbweaver.exe lwtool.exe README.txt glsl/toon.vert glsl/toon.frag glsl/toon.bmp \
            samples/character.obj samples/character.mtl samples/character.bmp \
            samples/character.ojp licences/mingw-w64.txt licences/gcc-runtime.txt \
            licences/GPL-3.txt; do
  [ -s "$dest/$file" ] || fail "the package lacks $file"
done

export WINEPREFIX="$build/wineprefix"
export LANG=ja_JP.UTF-8
cd "$work/elsewhere"
wine() { bash "$root/scripts/wine-run.sh" "$@" </dev/null; }

[ "$(wine "$dest/lwtool.exe" --version | tr -d '\r')" = "lwtool $version" ] ||
  fail "lwtool --version does not print $version"

windows_dest="Z:${dest//\//\\}"
info=$(wine "$dest/lwtool.exe" info "$windows_dest\\samples\\character.ojp" | tr -d '\r')
expected_first="OJP $windows_dest\\samples\\character.ojp"
[ "$(head -n1 <<<"$info")" = "$expected_first" ] ||
  fail "lwtool info printed \"$(head -n1 <<<"$info")\", not \"$expected_first\""
grep -qx "keyframes: 5" <<<"$info" || fail "lwtool info: no \"keyframes: 5\" in:
$info"

cp "$tester" "$dest/"
wine "$dest/$(basename "$tester")"
