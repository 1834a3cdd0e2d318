#!/usr/bin/env bash
# The cost of working on one very long line, in the real window: for each document given, the
# time from launch to an idle window, and the CPU of the whole process (utime + stime) for a key at
# the end of the line, a key in its middle (at the /*MID*/ marker, reached with Find), Home and End,
# and a page of sideways scrolling, each followed by idle. Prints rows "NAME VALUE" in ms.
#   bench/long_line.sh PROGRAM DOCUMENT...      (under an X display; bench/run.sh gives it Xvfb)
# Env: LONG_KEYS (5: keys typed per figure), PERF (a path: perf records the keys there).
set -euo pipefail

program=$1
shift
keys=${LONG_KEYS:-5}
tck=$(getconf CLK_TCK)
home=$(mktemp -d "${TMPDIR:-/tmp}/kestrin-long-XXXXXX")
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill -9 "$app_pid" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
now_ms() { date +%s%3N; }
ms_per() { awk -v a="$1" -v b="$2" -v n="$3" -v hz="$tck" 'BEGIN {printf "%.0f\n", (b - a) * 1000 / hz / n}'; }

# Waits until the process has used no CPU for 0.6 s (at most 120 s); prints the time in ms of its
# last CPU use.
wait_idle() {
    local prev now last quiet=0
    prev=$(ticks "$1")
    last=$(now_ms)
    for _ in $(seq 2400); do
        sleep 0.05
        now=$(ticks "$1")
        if [[ $now == "$prev" ]]; then
            quiet=$((quiet + 1))
            ((quiet >= 12)) && break
        else
            quiet=0
            last=$(now_ms)
        fi
        prev=$now
    done
    echo "$last"
}

# cpu_of COUNT XDOTOOL-ARGS...: ms of CPU for each of COUNT runs of xdotool, each followed by idle.
cpu_of() {
    local n=$1 t0 t1
    shift
    t0=$(ticks "$app_pid")
    for _ in $(seq "$n"); do
        xdotool "$@"
        wait_idle "$app_pid" >/dev/null
    done
    t1=$(ticks "$app_pid")
    ms_per "$t0" "$t1" "$n"
}

# With PERF set, the keys at the end and in the middle are recorded into $PERF.end and $PERF.middle.
perf_pid=
perf_start() {
    [[ -z ${PERF:-} ]] && return
    perf record -g -o "$PERF.$1" -p "$app_pid" >/dev/null 2>&1 &
    perf_pid=$!
    sleep 1
}
perf_stop() {
    [[ -z $perf_pid ]] && return
    kill -INT "$perf_pid"
    wait "$perf_pid" || true
    perf_pid=
}

# launch DOCUMENT: starts the program on it and waits for its idle window; prints the ms from the
# launch to its last CPU use before idle.
launch() {
    local start idle
    start=$(now_ms)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.state XDG_DATA_HOME=$home/.data \
        "$program" "$1" >/dev/null 2>&1 &
    app_pid=$!
    win=
    for _ in $(seq 1200); do
        win=$(xdotool search --onlyvisible --name "Marvolis" 2>/dev/null | head -1) && [[ -n $win ]] && break
        sleep 0.05
    done
    idle=$(wait_idle "$app_pid")
    echo $((idle - start))
}
quit() {
    kill -9 "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

for doc in "$@"; do
    name=$(basename "$doc" .min.js)
    # The time to an idle window, the median of three starts (the first touch of memory varies).
    opens=()
    for _ in 1 2; do
        launch "$doc" >"$home/open" && opens+=("$(cat "$home/open")")
        quit
    done
    launch "$doc" >"$home/open" && opens+=("$(cat "$home/open")")
    rm -f "$home/open"
    echo "${name}_open_to_idle_ms $(printf '%s\n' "${opens[@]}" | sort -n | sed -n 2p)"
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" ctrl+End
    wait_idle "$app_pid" >/dev/null
    perf_start end
    echo "${name}_key_end_cpu_ms $(cpu_of "$keys" key --window "$win" x)"
    perf_stop
    echo "${name}_home_end_cpu_ms $(cpu_of "$keys" key --window "$win" Home End)"
    # Sideways scrolling from the end of the line back towards its start: five notches of the
    # horizontal wheel with the pointer over the text.
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove --window "$win" $((WIDTH / 2)) $((HEIGHT / 2))
    echo "${name}_scroll_cpu_ms $(cpu_of "$keys" click --repeat 5 6)"
    # The middle: Find (F5) for the marker, then the dialog closed.
    xdotool key --window "$win" ctrl+Home
    wait_idle "$app_pid" >/dev/null
    xdotool key F5
    sleep 1
    xdotool type '/*MID*/'
    xdotool key Return
    wait_idle "$app_pid" >/dev/null
    xdotool key Escape
    wait_idle "$app_pid" >/dev/null
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" Right
    wait_idle "$app_pid" >/dev/null
    perf_start middle
    echo "${name}_key_middle_cpu_ms $(cpu_of "$keys" key --window "$win" x)"
    perf_stop
    quit
done
