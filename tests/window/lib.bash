# Shared helpers for the real-window tests (sourced, not run).
set -euo pipefail
BIN="${KESTRIN_BUILD_DIR:?}/kestrin4"
WORK=$(mktemp -d)
# Never touch the real home: registration writes into these.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share" XDG_CONFIG_HOME="$WORK/home/.config"
mkdir -p "$HOME"
PIDS=()
cleanup() {
  for p in "${PIDS[@]:-}"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]:-}"; do [ -n "$p" ] && wait "$p" 2>/dev/null || true; done
  # What the editor started detached (the desktop database tools) names a folder in $WORK.
  for _ in $(seq 1 100); do pgrep -f -- "$WORK" >/dev/null || break; sleep 0.1; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits for a window whose title matches $1; prints its id.
wait_window() {
  local title=$1 id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | tail -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until process $1 has ended (at most $2 tenths of a second).
wait_gone() {
  for _ in $(seq 1 "${2:-50}"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Starts the editor with no document and opens a tool window from the side panel's UTILS page:
# $1 the button's height in the window (COLOR CHOOSER UTILITY 225, REPLACE IN MULTIPLE FILES 255),
# $2 the tool window's title. Sets win (the editor), X and Y (its place) and tool.
open_tool() {
  "$BIN" & PIDS+=($!)
  win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
  xdotool windowfocus --sync "$win"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $(( X + 12 )) $(( Y + 355 )) click 1      # UTILS
  sleep 0.4
  xdotool mousemove $(( X + 104 )) $(( Y + $1 )) click 1
  tool=$(wait_window "$2") || fail "$2 did not open"
}
