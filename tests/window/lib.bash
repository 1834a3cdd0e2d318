# Shared helpers for the real-window tests (sourced, not run).
set -euo pipefail
BIN="${KESTRIN_BUILD_DIR:?}/kestrin4"
SHOTS="$KESTRIN_BUILD_DIR/window-shots"
WORK=$(mktemp -d)
# Never touch the real home: registration writes into these.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share" XDG_CONFIG_HOME="$WORK/home/.config" \
    XDG_STATE_HOME="$WORK/home/.local/state"
mkdir -p "$HOME" "$SHOTS"
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
# Waits for a visible window whose title matches $1; prints its id.
wait_window() { local t=$1 id; poll 100 'id=$(xdotool search --onlyvisible --name "$t" 2>/dev/null | tail -n 1); [ -n "$id" ]' && echo "$id"; }
gone() { poll 50 "! kill -0 $1 2>/dev/null"; }
# No window manager under Xvfb: the window gets the input focus from us.
focus() { xdotool windowfocus --sync "$1"; }
# Starts the editor with arguments $@; sets pid, win (its window), X and Y (the window's place).
start_editor() {
  "$BIN" "$@" & pid=$!; PIDS+=($pid)
  win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
  focus "$win"
  sleep 0.5 # Qt takes the focus a moment after the X server gives it
  eval "$(xdotool getwindowgeometry --shell "$win")"
}
# Exit with an unmodified document; the keys are released (the window may be gone before they are).
exit_editor() {
  focus "$win"
  xdotool key ctrl+x 2>/dev/null || true
  xdotool keyup x ctrl 2>/dev/null || true
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
# Runs the Python on stdin (Debian's python3, which has pyatspi) with the editor found on the AT-SPI bus: app, text (the document's text
# interface), editor (its accessible) and keys(...) (xdotool keys, then a pause for the editor).
atspi() {
  { cat <<'PY'
import subprocess, sys, time, pyatspi
for _ in range(50):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "kestrin4"), None)
    if app: break
    time.sleep(0.1)
else: sys.exit("kestrin4 is not on the accessibility bus")
editor = pyatspi.findDescendant(app, lambda o: o.name == "Document text", True)
text = editor.queryText()
def keys(*k):
    subprocess.check_call(["xdotool", "key", "--delay", "100", *k])
    time.sleep(0.4)
PY
  cat; } | /usr/bin/python3 - || fail "AT-SPI: see above"
}
