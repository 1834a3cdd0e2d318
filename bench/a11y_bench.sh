#!/usr/bin/env bash
# Typing with a screen reader listening: kestrin4 on DOC with an accessibility bus, KEYS keys typed
# at the end of the document, the process's CPU time (utime + stime from /proc) per key, once with
# no listener and once with one registered for caret and text events as a screen reader does (with
# no listener Qt's bridge sends nothing). Also the time from launch to the window with the bridge on.
#   bench/a11y_bench.sh BUILD DOC [KEYS]   (needs an X display; prints "name value" lines)
set -euo pipefail
[[ -n ${KESTRIN_A11Y_BUS:-} ]] || KESTRIN_A11Y_BUS=1 exec dbus-run-session -- bash "$0" "$@"
build=$1 doc=$2 keys=${3:-200}
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null & pids+=($!)
sleep 0.5
tck=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Waits (at most a minute) until the process is idle: styling up to the caret runs in idle time.
settle() {
    local a b
    for _ in $(seq 120); do
        a=$(cpu "$1"); sleep 0.5; b=$(cpu "$1")
        ((b - a <= 1)) && return
    done
}

for mode in none listener; do
    start=$(date +%s.%N)
    home=$(mktemp -d)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.state XDG_DATA_HOME=$home/.data XDG_CACHE_HOME=$home/.cache \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/kestrin4" "$doc" >/dev/null 2>&1 & app=$!
    pids+=($app)
    until win=$(xdotool search --onlyvisible --name Marvolis 2>/dev/null | tail -n 1) && [[ -n $win ]]; do sleep 0.005; done
    [[ $mode == none ]] && echo "a11y_open_s $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.3f", b - a}')"
    sleep 2
    xdotool windowfocus --sync "$win"
    xdotool key ctrl+End
    events=$(mktemp)
    if [[ $mode == listener ]]; then
        /usr/bin/python3 -c '
import pyatspi, signal, sys
n = [0]
def count(e): n[0] += 1
pyatspi.Registry.registerEventListener(count, "object:text-caret-moved", "object:text-changed:insert", "object:text-changed:delete")
signal.signal(signal.SIGTERM, lambda *a: pyatspi.Registry.stop())
pyatspi.Registry.start()
open(sys.argv[1], "w").write(str(n[0]))' "$events" & listener=$!
        pids+=($listener)
    fi
    settle "$app"
    # The idle cost (caret blink, status bar timers) over the same time is taken off.
    c0=$(cpu "$app"); t0=$(date +%s.%N)
    sleep 2
    c1=$(cpu "$app"); t1=$(date +%s.%N)
    xdotool type --delay 15 "$(head -c "$keys" /dev/zero | tr '\0' a)"
    sleep 1
    c2=$(cpu "$app"); t2=$(date +%s.%N)
    if [[ $mode == listener ]]; then
        kill -TERM "$listener"; wait "$listener" 2>/dev/null || true
        echo "a11y_events_heard $(cat "$events")"
    fi
    awk -v c0="$c0" -v c1="$c1" -v c2="$c2" -v t0="$t0" -v t1="$t1" -v t2="$t2" -v k="$keys" -v tck="$tck" -v m="$mode" 'BEGIN {
        idle = (c1 - c0) / (t1 - t0); v = ((c2 - c1) - idle * (t2 - t1)) / tck * 1000 / k
        printf "a11y_keystroke_cpu_%s_ms %.2f\n", m, v < 0 ? 0 : v }'
    kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true
    rm -f "$events"
done
