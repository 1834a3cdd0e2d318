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
