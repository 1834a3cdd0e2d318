#!/usr/bin/env bash
# Usage: on-own-display.sh [--wayland] command [args...]. Runs one real-window test on a display server
# and a D-Bus session bus of its own: nothing a test leaves behind (held keys, an autolaunched bus)
# reaches the next. The server is Xvfb, or with --wayland a headless sway (no Xwayland).
set -euo pipefail
# And a runtime folder: the accessibility bus puts its socket there (else in ~/.cache, shared by all).
[ -n "${KESTRIN_OWN_BUS:-}" ] || KESTRIN_OWN_BUS=1 XDG_RUNTIME_DIR=$(mktemp -d) exec dbus-run-session -- bash "$0" "$@"
unset KESTRIN_OWN_BUS
if [ "$1" = --wayland ]; then
  shift
  run=$(mktemp -d) # sway's runtime folder
  printf '%s\n' 'output HEADLESS-1 resolution 1280x1024' 'xwayland disable' 'default_border none' \
    'default_floating_border none' 'for_window [title=".*"] floating enable' > "$run/config"
  # sway refuses to run as root: as root it runs as nobody, in a folder of nobody's.
  as=() && [ "$(id -u)" -ne 0 ] || { as=(setpriv --reuid=nobody --regid=nogroup --clear-groups); chown nobody:nogroup "$run"; }
  (cd / && XDG_RUNTIME_DIR=$run WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    exec "${as[@]}" sway -c "$run/config") >"$run.log" 2>&1 & server=$!
  for _ in $(seq 100); do [ -S "$run/wayland-1" ] && ls "$run"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
  [ -S "$run/wayland-1" ] || { cat "$run.log" >&2; echo "sway did not start" >&2; exit 1; }
  # As a desktop session announces itself; Qt picks Wayland from it.
  export WAYLAND_DISPLAY=$run/wayland-1 SWAYSOCK=$(ls "$run"/sway-ipc.*.sock) XDG_SESSION_TYPE=wayland
  unset DISPLAY QT_QPA_PLATFORM
else
  # Xvfb picks a free display itself and writes its number to fd 3: no race with other X servers.
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null & server=$!
  read -r -t 30 number <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  unset WAYLAND_DISPLAY
fi
status=0
"$@" || status=$?
{ kill "$server" && wait "$server"; } 2>/dev/null || true
rm -rf "${run:-}" "${run:+$run.log}" "$XDG_RUNTIME_DIR"
exit "$status"
