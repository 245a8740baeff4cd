# Sourced by the scripts that run the Windows program under Wine. When there is
# no X display, start_display starts Xvfb on a free display number, stops it
# when the script exits, and exports DISPLAY (returning 0; 1 when a display was
# already there). LANG is set for the program's Japanese texts either way.
start_display() {
  export LANG=ja_JP.UTF-8
  [ -z "${DISPLAY:-}" ] || return 1
  local n
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  sleep 1
}
