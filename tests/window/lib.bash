# Shared helpers for the real-window tests (sourced, not run).
set -euo pipefail
BIN="${KESTRIN_BUILD_DIR:?}/kestrin4"
SHOTS="$KESTRIN_BUILD_DIR/window-shots"
WORK=$(mktemp -d)
# Never touch the real home: registration writes into these.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share" XDG_CONFIG_HOME="$WORK/home/.config" \
    XDG_STATE_HOME="$WORK/home/.local/state"
mkdir -p "$HOME" "$SHOTS"
export PYTHONPATH="$(dirname "${BASH_SOURCE[0]}")" # atspi.py
PIDS=()
fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs the shell code $2 every tenth of a second until it succeeds, at most $1 times.
poll() { for _ in $(seq "$1"); do eval "$2" && return 0; sleep 0.1; done; return 1; }
cleanup() {
  [ ${#PIDS[@]} -eq 0 ] || kill "${PIDS[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  # What the editor started detached (the desktop database tools) names a folder in $WORK.
  poll 100 '! pgrep -f -- "$WORK" >/dev/null' || true
  rm -rf "$WORK"
}
trap cleanup EXIT
# The window system's tools: xdotool on X; under Wayland (on-own-display.sh --wayland) swaymsg for
# windows, wtype for keys (a virtual keyboard loses the keys typed before the editor has bound it).
WL=${WAYLAND_DISPLAY:+1}
# Visible windows whose title matches $1 (extended regex), of process $2 if given, one id a line.
windows() {
  if [ -z "$WL" ]; then xdotool search --all --onlyvisible ${2:+--pid "$2"} --name "$1" 2>/dev/null
  else swaymsg -t get_tree | jq -r --arg t "$1" --arg p "${2:-}" \
    '.. | objects | select(.pid? and .visible? and (.name // "" | test($t)) and ($p == "" or (.pid | tostring) == $p)) | .id'; fi
}
focused() { if [ -z "$WL" ]; then xdotool getwindowfocus; else swaymsg -t get_tree | jq -r '.. | objects | select(.focused? and .pid?) | .id'; fi; }
# Keys in xdotool's words ("ctrl+s", "Tab"), each pressed and released in turn.
key() {
  [ -n "$WL" ] || { xdotool key "$@"; return; }
  local a=() k m n
  for k in "$@"; do
    IFS=+ read -ra m <<<"$k" && n=("${m[@]:0:${#m[@]}-1}") # the modifiers held around the last key
    a+=(${n[@]/#/-M } -k "${m[-1]}" ${n[@]/#/-m })
  done
  wtype -s 1000 "${a[@]}"
}
# Types $1 slowly, in UTF-8 whatever the locale: xdotool maps a character the keyboard lacks to a
# spare key for a moment, and a busy machine must still read the key before the mapping goes.
typed() { if [ -z "$WL" ]; then LC_ALL=C.UTF-8 xdotool type --delay "${2:-300}" "$1"; else LC_ALL=C.UTF-8 wtype -s 1000 -d "${2:-100}" "$1"; fi; }
shot() { if [ -z "$WL" ]; then import -window root "$1"; else grim "$1"; fi; }
# Waits for a visible window whose title matches $1 (of process $2); prints its id.
wait_window() { local t=$1 p=${2:-} id; poll 100 'id=$(windows "$t" "$p" | tail -n 1); [ -n "$id" ]' && echo "$id"; }
gone() { poll 50 "! kill -0 $1 2>/dev/null"; }
# No window manager under Xvfb: the window gets the input focus from us.
focus() { if [ -z "$WL" ]; then xdotool windowfocus --sync "$1"; else swaymsg "[con_id=$1] focus" >/dev/null; fi; }
# Starts the editor with arguments $@; sets pid, win (its window), X and Y (the window's place).
start_editor() {
  "$BIN" "$@" & pid=$!; PIDS+=($pid)
  win=$(wait_window "Marvolis KESTRIN Vozod 4 START" $pid) || fail "no editor window"
  focus "$win"
  sleep 0.5 # Qt takes the focus a moment after the X server gives it
  [ -n "$WL" ] || eval "$(xdotool getwindowgeometry --shell "$win")"
}
# Exit with an unmodified document; the keys are released (the window may be gone before they are).
exit_editor() {
  focus "$win"
  key ctrl+x 2>/dev/null || true
  [ -n "$WL" ] || xdotool keyup x ctrl 2>/dev/null || true
  gone "$pid" || fail "editor did not end after Exit"
}
# The colour of screen pixel ($1, $2) relative to X, Y; wait_pixel waits until it is $3.
pixel() { import -window root -crop "1x1+$(( X + $1 ))+$(( Y + $2 ))" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}'; }
wait_pixel() { local x=$1 y=$2 c=$3; poll 50 '[ "$(pixel $x $y)" = "$c" ]' || fail "$4: pixel $x,$y is $(pixel $x $y), not $c"; }
click() { xdotool mousemove $(( X + $1 )) $(( Y + $2 )) click 1; }
# Starts the editor with no document and opens the tool window titled $2 from the UTILS page by the
# button at height $1 (COLOR CHOOSER UTILITY 225, REPLACE ... 255); sets tool, and X and Y to its place.
open_tool() {
  start_editor
  click 12 355 # UTILS
  sleep 0.4
  click 104 "$1"
  tool=$(wait_window "$2") || fail "$2 did not open"
  focus "$tool"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$tool")"
}
# Runs the Python on stdin (Debian's python3, which has pyatspi) with atspi.py's helpers and the editor found on the AT-SPI
# bus: editor (its accessible), text (the document's text interface) and keys(...) (xdotool keys, then a pause for the editor).
atspi() {
  { cat <<'PY'
from atspi import *
import time
editor = find(app(), lambda o: o.name == "Document text")
text = editor.queryText()
def keys(*k):
    subprocess.check_call(["xdotool", "key", "--delay", "100", *k])
    time.sleep(0.4)
PY
  cat; } | /usr/bin/python3 - || fail "AT-SPI: see above"
}
