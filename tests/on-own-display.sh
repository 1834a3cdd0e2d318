#!/usr/bin/env bash
# Usage: on-own-display.sh command [args...]. Runs one real-window test on an X server and a D-Bus
# session bus of its own: nothing a test leaves behind (held keys, an autolaunched bus) reaches the next.
set -euo pipefail
[ -n "${KESTRIN_OWN_BUS:-}" ] || KESTRIN_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
unset KESTRIN_OWN_BUS
# Xvfb picks a free display itself and writes its number to fd 3: no race with other X servers.
fifo=$(mktemp -u) && mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null & xvfb=$!
read -r -t 30 number <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=":$number"
unset WAYLAND_DISPLAY
status=0
"$@" || status=$?
{ kill "$xvfb" && wait "$xvfb"; } 2>/dev/null || true
exit "$status"
