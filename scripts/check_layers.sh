#!/usr/bin/env bash
# Fails on an #include that runs against the layers, printing file:line for each:
#   - the portable modules (core io skeleton skin anim edit gltf) include no
#     windows.h (but for the one file-path shim, core/file_path.cpp), no GL
#     header, and nothing from resources/, render/ or app/;
#   - a module includes nothing from a module above it, nor from a module beside
#     it, in the order core < io < skeleton < skin < anim < edit < (gltf, render) < app;
#   - render/ includes nothing from app/.
# Usage: check_layers.sh [SOURCE_ROOT]   (default: the repository this script is in)
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
cd "$root"

portable="core io skeleton skin anim edit gltf"
windows_shim="core/file_path.cpp"

# The layer of every module that has one.
level() {
  case "$1" in
    core) echo 0 ;; io) echo 1 ;; skeleton) echo 2 ;; skin) echo 3 ;; anim) echo 4 ;;
    edit) echo 5 ;; gltf | render) echo 6 ;; app) echo 7 ;; *) echo "" ;;
  esac
}

failures=0
fail() {  # file:line: text
  echo "$1: $2" >&2
  failures=$((failures + 1))
}

for module in $portable render app; do
  [ -d "$module" ] || { fail "$module" "module folder missing"; continue; }
  own=$(level "$module")
  while IFS=: read -r file line text; do
    # The included name, between quotes or angle brackets.
    name=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1/' <<<"$text")
    lower=$(tr '[:upper:]' '[:lower:]' <<<"$name")
    top=${name%%/*}
    [ "$top" = "$name" ] && top=""
    if [[ " $portable " == *" $module "* ]]; then
      if [ "$lower" = "windows.h" ] && [ "$file" != "$windows_shim" ]; then
        fail "$file:$line" "portable code includes <$name> (only $windows_shim may)"
        continue
      fi
      case "$lower" in
        gl/* | gles*/* | egl/* | glad/* | opengl/* | render/gl_headers.h)
          fail "$file:$line" "portable code includes the GL header $name"
          continue
          ;;
      esac
      case "$top" in
        resources | render | app)
          fail "$file:$line" "portable code includes $name"
          continue
          ;;
      esac
    fi
    theirs=$(level "$top")
    [ -n "$theirs" ] && [ "$top" != "$module" ] || continue
    if [ "$theirs" -ge "$own" ]; then
      fail "$file:$line" "$module includes $name from $top, which is not below it"
    fi
  done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "$module" || true)
done

if [ "$failures" -gt 0 ]; then
  echo "check_layers: $failures include(s) against the layers" >&2
  exit 1
fi
echo "check_layers: every include follows the layers"
