#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 into build/win and starts it under
# Wine, with the sample character and the toon shader files beside the .exe.
# Starts Xvfb only when there is no X display. LW_WIN_BUILD names the build
# folder (default build/win).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}
build=${LW_WIN_BUILD:-build/win}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

bash scripts/setup.sh

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" --target limbweaver

# The open and save dialogs start in the samples folder beside the .exe, so a
# user's files live there too: nothing there is ever deleted. A file is copied
# when it is missing, or when it still holds what the last run copied (its
# checksum is noted in .copied); a file the user changed is left alone.
bin=$build/app
copy_keeping_user_files() {
  local from=$1 to=$2 file target sum
  local notes="$to/.copied"
  mkdir -p "$to"
  touch "$notes"
  while IFS= read -r -d '' file; do
    target="$to/${file#"$from"/}"
    sum=$(sha256sum <"$file" | cut -d' ' -f1)
    if [ -e "$target" ]; then
      cmp -s "$file" "$target" && continue
      grep -qxF "$(sha256sum <"$target" | cut -d' ' -f1)  ${target#"$to"/}" "$notes" || {
        echo "run: kept $target (changed since it was copied)"
        continue
      }
    fi
    mkdir -p "$(dirname "$target")"
    cp "$file" "$target"
    # One line per file: checksum, two spaces, the path inside the folder.
    awk -v path="${target#"$to"/}" 'substr($0, 67) != path' "$notes" >"$notes.new"
    echo "$sum  ${target#"$to"/}" >>"$notes.new"
    mv "$notes.new" "$notes"
  done < <(find "$from" -type f -print0)
}
for dir in samples glsl; do
  if [ -d "$dir" ]; then copy_keeping_user_files "$root/$dir" "$bin/$dir"; fi
done

# LW_RUN_NO_START=1 stops here, with the program built and its files in place.
if [ "${LW_RUN_NO_START:-}" = 1 ]; then exit 0; fi

source scripts/display.sh
if start_display; then
  echo "run: no X display; started Xvfb on $DISPLAY (take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi
# Relative file names (the sample's materials and textures) resolve from here.
cd "$bin"
bash "$root/scripts/wine-run.sh" "$bin/limbweaver.exe"
