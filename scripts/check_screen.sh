#!/usr/bin/env bash
# Checks that the 3D window's picture really reaches the X screen, not only the
# program's own buffers: runs the GUI test ScreenCheck.* (which opens the
# sample project, saves the 3D window's capture as view.bmp and writes
# layout.txt), takes an X screenshot of the whole display while the windows are
# up, and compares the screenshot with the capture: chosen pixels (background,
# world axes, the character's body), the whole visible part of the 3D window,
# and two pixels outside it (menu bar, motion panel) with what the program
# painted there. Exits non-zero and says what differed otherwise.
#
# usage: check_screen.sh APP_TESTS.exe [WORK_FOLDER]
# Needs DISPLAY (an X server, e.g. Xvfb) and ImageMagick. LW_PRESENT_MODE is
# passed on to the program (see tests/app/present_mode_environment.cpp).
# WORK_FOLDER (default: screen_check beside the executable) keeps the capture,
# the screenshot and the difference image for inspection.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tolerance=${LW_SCREEN_TOLERANCE:-2}   # per colour channel, 0-255
# Pixels of the visible 3D window that may differ, in thousandths.
allowed_permille=${LW_SCREEN_ALLOWED_PERMILLE:-2}

fail() {
  echo "check_screen: FAILED: $*" >&2
  exit 1
}

[ $# -ge 1 ] || { echo "usage: check_screen.sh APP_TESTS.exe [WORK_FOLDER]" >&2; exit 2; }
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -f "$exe" ] || fail "no test program at $exe"
work=${2:-$(dirname "$exe")/screen_check}
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set: the check needs an X server"
for tool in import convert compare; do
  command -v "$tool" >/dev/null || fail "ImageMagick's $tool is missing (scripts/setup.sh installs it)"
done

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

# The program writes layout.txt once its capture is saved, then waits for "taken".
(cd "$(dirname "$exe")" &&
  LW_SCREEN_DIR="$work" exec bash "$here/wine-run.sh" "$exe" --gtest_filter='ScreenCheck.*') \
  >"$work/test.log" 2>&1 </dev/null &
program=$!
stop_program() { kill "$program" 2>/dev/null || true; }

for _ in $(seq 1 600); do
  [ -f "$work/layout.txt" ] && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if [ ! -f "$work/layout.txt" ]; then
  stop_program
  cat "$work/test.log" >&2
  fail "the program wrote no layout (see the test output above)"
fi
sleep 0.5  # let Wine flush the last paint to the X server
if ! import -display "$DISPLAY" -window root "$work/screen.png"; then
  stop_program
  fail "import could not take a screenshot of $DISPLAY"
fi
touch "$work/taken"
status=0
wait "$program" || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/test.log" >&2
  fail "the GUI test ScreenCheck.* failed (exit $status)"
fi
grep -q '\[  PASSED  \] 1 test' "$work/test.log" || {
  cat "$work/test.log" >&2
  fail "the GUI test ScreenCheck.* did not run"
}

read -r _ vx vy vw vh visible < <(grep '^view ' "$work/layout.txt")
if [ "$vw" -le 0 ] || [ "$visible" -le 0 ] || [ "$visible" -gt "$vh" ]; then
  fail "bad layout line: view $vx $vy $vw $vh $visible"
fi

convert "$work/screen.png" -alpha off -crop "${vw}x${visible}+${vx}+${vy}" +repage \
  "$work/screen_view.png"
convert "$work/view.bmp" -alpha off -crop "${vw}x${visible}+0+0" +repage "$work/capture_view.png"

# "R G B" of the pixel at (x, y) of an image.
pixel() {
  local hex
  hex=$(convert "$1" -alpha off -crop "1x1+$2+$3" -depth 8 txt:- |
    grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1)
  [ -n "$hex" ] || { echo "? ? ?"; return; }
  printf '%d %d %d\n' "0x${hex:1:2}" "0x${hex:3:2}" "0x${hex:5:2}"
}

# True when two "R G B" colours differ by at most the tolerance in each channel.
close() {
  local a b i
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  for i in 0 1 2; do
    [[ ${a[$i]} =~ ^[0-9]+$ && ${b[$i]} =~ ^[0-9]+$ ]] || return 1
    local d=$((a[i] - b[i]))
    [ "${d#-}" -le "$tolerance" ] || return 1
  done
}

problems=()
# Compares one pixel: WHERE, the program's colour, the screen's colour, and
# what the program's colour is (captured or painted).
expect_pixel() {
  if close "$2" "$3"; then
    echo "check_screen: $1: $3 on screen, as $4"
  else
    problems+=("$1: $4 ($2), on screen ($3)")
  fi
}

while read -r _ label x y; do
  expect_pixel "$label at ($x,$y) of the 3D window" "$(pixel "$work/capture_view.png" "$x" "$y")" \
    "$(pixel "$work/screen_view.png" "$x" "$y")" captured
done < <(grep '^probe ' "$work/layout.txt")

while read -r _ label x y r g b; do
  expect_pixel "$label at screen ($x,$y)" "$r $g $b" "$(pixel "$work/screen.png" "$x" "$y")" painted
done < <(grep '^outside ' "$work/layout.txt")

# Every visible pixel of the 3D window: the count of those that differ.
fuzz=$(awk -v t="$tolerance" 'BEGIN { printf "%.2f%%", 100 * (t + 0.5) / 255 }')
differing=$(compare -metric AE -fuzz "$fuzz" "$work/capture_view.png" "$work/screen_view.png" \
  "$work/difference.png" 2>&1 >/dev/null || true)
total=$((vw * visible))
if ! [[ $differing =~ ^[0-9]+$ ]]; then
  problems+=("compare could not compare the pictures: $differing")
elif [ $((differing * 1000)) -gt $((allowed_permille * total)) ]; then
  problems+=("$differing of $total visible pixels of the 3D window differ (difference.png)")
else
  echo "check_screen: $differing of $total visible pixels of the 3D window differ"
fi

if [ ${#problems[@]} -gt 0 ]; then
  printf 'check_screen: %s\n' "${problems[@]}" >&2
  fail "the X screen does not show what the program captured (files in $work)"
fi
echo "check_screen: the 3D window on the X screen matches the program's capture"
