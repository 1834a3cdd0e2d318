#!/usr/bin/env bash
# Every benchmark in one run, printed as one table: figure, ours, peer, ratio, target, met.
#   bench/run.sh                 (make bench installs what it needs first)
# Env: BENCH_BUILD (build-bench), BENCH_MB (50: size of the generated documents), BENCH_RUNS (3:
#      whole-process runs per figure; the median is kept), WORK (temporary folder, /tmp by default),
#      REPLACE_FILES (10000: files for the replace run against sed; 0 skips it), A11Y_KEYS (200:
#      keys typed for the keystroke figures with an accessibility bus).
# Whole-process figures run under one xvfb-run: the time from launch until the window is mapped
# (found by caption with xdotool), and the peak memory (VmHWM) once it is shown.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${BENCH_BUILD:-$root/build-bench}
mb=${BENCH_MB:-50}
runs=${BENCH_RUNS:-3}
replace_files=${REPLACE_FILES:-10000}

if [[ -z ${DISPLAY:-} || -z ${BENCH_UNDER_XVFB:-} ]]; then
    exec env BENCH_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

# xvfb-run may return control before the server takes connections; a start then fails at once.
for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done

work=$(mktemp -d "${WORK:-${TMPDIR:-/tmp}}/kestrin-bench-XXXXXX")
cleanup() {
    [[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== building into $build" >&2
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kestrin4 component_bench tag_bench php_check_bench empty_window bench_text bench_textfile replace_engine replace_run >/dev/null

# The same component on the engine as released: the patches of third_party/patches taken back out
# of a copy of third_party, for the figure of what they buy.
released_build=$build-released-engine
released_src=$work/third_party-released
cp -a "$root/third_party" "$released_src"
for p in $(ls "$released_src"/patches/*.patch 2>/dev/null | sort -r); do patch -s -R -d "$released_src" -p1 <"$p"; done
echo "== building the component on the released engine into $released_build" >&2
cmake -S "$root" -B "$released_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_BUILD_BENCH=ON \
    -DKESTRIN_BUILD_TESTS=OFF -DKESTRIN_THIRD_PARTY_DIR="$released_src" >/dev/null
cmake --build "$released_build" -j "$(nproc)" --target component_bench >/dev/null

echo "== generating ${mb} MB documents" >&2
python3 "$here/gen_inputs.py" "$work/in" "$mb"
# The documents were just written: let their write-back finish before anything is timed, or the
# first figures pay for it.
sync
doc=$work/in/mixed-crlf.php
size=$(stat -c %s "$doc")

rows=$work/rows
: >"$rows"
# row FIGURE OURS PEER UNIT TARGET_KIND TARGET_VALUE
#   TARGET_KIND ratio: met when ours/peer <= value; abs: met when ours <= value (peer may be -)
row() { echo "$*" >>"$rows"; }

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Launches a program, waits for a visible window whose name matches, prints "seconds peak_kB".
# Each program keeps its own HOME in the temporary folder for the whole run, so the user's
# settings change nothing, and what a first start does (caches, registration) happens once.
open_time() {
    local pattern=$1
    shift
    local home=$work/home-$(basename "$1")
    mkdir -p "$home"
    local start end
    start=$(date +%s.%N)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.state XDG_DATA_HOME=$home/.data "$@" >/dev/null 2>&1 &
    app_pid=$!
    until xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            echo "bench: $1 exited before showing its window" >&2
            app_pid=
            echo "nan nan"
            return
        fi
        sleep 0.005
    done
    end=$(date +%s.%N)
    # The peak is taken once the window has settled (styling in idle time, first paints).
    sleep 1.5
    local hwm
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$app_pid/status")
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    awk -v a="$start" -v b="$end" -v h="$hwm" 'BEGIN {printf "%.3f %d\n", b - a, h}'
}

# Runs open_time BENCH_RUNS times; prints "median_seconds median_peak_kB". A start that ends
# before it shows a window (a previous instance still closing) is tried again, up to twice.
open_median() {
    local t=() m=() r tries=0
    while ((${#t[@]} < runs && tries < runs + 2)); do
        tries=$((tries + 1))
        r=$(open_time "$@")
        [[ $r == nan* ]] && { sleep 1; continue; }
        t+=("${r% *}")
        m+=("${r#* }")
    done
    if ((${#t[@]} == 0)); then
        echo "nan nan"
        return
    fi
    echo "$(printf '%s\n' "${t[@]}" | median) $(printf '%s\n' "${m[@]}" | median)"
}

echo "== whole process: kestrin4 and geany" >&2
geany_bin=$(command -v geany || true)
# A first start of each registers or builds caches; it is not counted.
open_time "Marvolis" "$build/kestrin4" >/dev/null 2>&1 || true
[[ -n $geany_bin ]] && { open_time "Geany" "$geany_bin" -i >/dev/null 2>&1 || true; }

read -r ours_start ours_start_mem < <(open_median "Marvolis" "$build/kestrin4")
read -r floor_start _ < <(open_median "Empty Qt window" "$build/bench/empty_window")
read -r ours_open ours_open_mem < <(open_median "Marvolis" "$build/kestrin4" "$doc")
if [[ -n $geany_bin ]]; then
    read -r geany_start _ < <(open_median "Geany" "$geany_bin" -i)
    read -r geany_open geany_open_mem < <(open_median "mixed-crlf" "$geany_bin" -i "$doc")
else
    geany_start=nan geany_open=nan geany_open_mem=nan
fi
row "open_${mb}MB_to_window_s $ours_open $geany_open s ratio 0.25"
row "start-up_no_document_s $ours_start $geany_start s ratio 0.5"
row "start-up_empty_qt_window_s $floor_start $geany_start s info -"
row "peak_memory_x_file_size $(awk -v m="$ours_open_mem" -v s="$size" 'BEGIN{printf "%.2f", m*1024/s}') $(awk -v m="$geany_open_mem" -v s="$size" 'BEGIN{printf "%.2f", m*1024/s}') x abs 3"

for variant in mixed-lf.php longlines.html cp1252.htm; do
    read -r t m < <(open_median "Marvolis" "$build/kestrin4" "$work/in/$variant")
    if [[ -n $geany_bin ]]; then
        read -r g _ < <(open_median "$variant" "$geany_bin" -i "$work/in/$variant")
    else
        g=nan
    fi
    row "open_${variant}_s $t $g s ratio 0.4"
    row "peak_memory_${variant}_x_file_size $(awk -v m="$m" -v s="$(stat -c %s "$work/in/$variant")" 'BEGIN{printf "%.2f", m*1024/s}') - x abs 3"
done

echo "== component figures" >&2
comp=$work/component.txt
"$build/bench/component_bench" "$doc" "$work" >"$comp" 2>/dev/null
row "full_repaint_ms $(awk '$1 == "full_repaint" {print $2}' "$comp") - ms info -"
c() { awk -v k="$1" '$1 == k {print $2}' "$comp"; }
row "save_${mb}MB_ms $(c save) $(c cp) ms ratio 2"
row "save_${mb}MB_vs_cp+sync_ms $(c save) $(c cp_sync) ms ratio 2"
for f in button40 button40_undo delete_htm_codes delete_htm_codes_undo snippet_at_end snippet_at_end_undo; do
    row "${f}_ms $(c $f) - ms abs 500"
done
row "button40_kernel_time_ms $(c button40_system) - ms info -"
row "button40_memory_touched_MB $(c button40_resident_growth_MB) - MB info -"
row "keystroke_middle_ms $(c keystroke_middle) - ms abs 16"
row "keystroke_middle_while_styling_ms $(c keystroke_middle_while_styling) - ms info -"
row "jump_to_end_ms $(c jump_to_end) - ms abs 100"
row "component_load_and_paint_ms $(c load_and_paint) - ms info -"

# The recovery journal: the first change of a freshly opened document (the journal begins), keys at
# the end with it on (CPU of the whole process, its writing thread and syncs included), button 40
# with it against without it, each on a fresh load.
echo "== recovery journal" >&2
jcomp=$work/journal.txt
JOURNAL=1 "$build/bench/component_bench" "$doc" "$work" >"$jcomp" 2>/dev/null || true
NO_JOURNAL=1 JOURNAL=1 "$build/bench/component_bench" "$doc" "$work" 2>/dev/null | sed 's/^journal_key_end_cpu /no_journal_key_end_cpu /' >>"$jcomp" || true
# Button 40 with and without the journal: seven pairs, alternating, each on a fresh load, and the
# median of each side; a single pair moves by 2 x on these machines (fresh memory costs vary).
for _ in 1 2 3 4 5 6 7; do
    BUTTON40_ONLY=1 "$build/bench/component_bench" "$doc" "$work" 2>/dev/null | sed -n 's/^button40 /button40_journal /p' >>"$jcomp" || true
    NO_JOURNAL=1 BUTTON40_ONLY=1 "$build/bench/component_bench" "$doc" "$work" 2>/dev/null | sed -n 's/^button40 /button40_no_journal /p' >>"$jcomp" || true
done
j() { awk -v k="$1" '$1 == k {print $2}' "$jcomp"; }
jmedian() { j "$1" | sort -n | awk '{v[NR] = $1} END {if (NR) print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
row "journal_first_change_gui_ms $(j journal_first_change_wall) - ms abs 100"
# A key with its paint in the component, with the journal against without it (the paint dominates);
# the key's CPU in the real window, the whole process with the journal's thread, is the
# accessibility block's keystroke_cpu_a11y_no_listener_ms row below.
row "journal_key_end_component_cpu_ms $(j journal_key_end_cpu) $(j no_journal_key_end_cpu) ms info -"
row "journal_bytes_per_key $(j journal_bytes_per_key) - B info -"
row "journal_button40_ms $(jmedian button40_journal) $(jmedian button40_no_journal) ms ratio 1.5"
row "journal_peak_memory_x_file_size $(j journal_peak_x_file) - x abs 3"
row "window_constructed_and_shown_ms $(c window_shown) - ms info -"

# Typing with a screen reader listening: bench/a11y_bench.sh, under its own accessibility bus.
if [[ -x /usr/libexec/at-spi-bus-launcher ]]; then
    echo "== keystrokes with an accessibility bus" >&2
    a11y=$("$here/a11y_bench.sh" "$build" "$doc" "${A11Y_KEYS:-200}" 2>/dev/null || true)
    a() { awk -v k="$1" '$1 == k {print $2}' <<<"$a11y"; }
    row "open_${mb}MB_accessibility_on_s $(a a11y_open_s) ${geany_open:-nan} s ratio 0.4"
    row "keystroke_cpu_a11y_no_listener_ms $(a a11y_keystroke_cpu_none_ms) - ms abs 16"
    row "journal_key_end_cpu_ms $(a a11y_keystroke_cpu_none_ms) - ms abs 2"
    row "keystroke_cpu_a11y_listener_ms $(a a11y_keystroke_cpu_listener_ms) - ms abs 16"
fi

# --- One-line minified bundle: CPU time a keystroke, scrolling, Undo (self-contained block) ---
# Component figures (in process, CPU by getrusage): keys at the end and at the /*MID*/ marker in
# the middle, Undo, a page of sideways scrolling. Whole process, in this Xvfb, for us and Geany:
# CPU (utime + stime from /proc/PID/stat) around N keys typed with xdotool once the editor is idle.
bundle=$work/in/bundle.min.js
if [[ -f $bundle ]]; then
    echo "== one-line bundle" >&2
    bcomp=$work/bundle.txt
    BUNDLE=1 "$build/bench/component_bench" "$bundle" "$work" >"$bcomp" 2>/dev/null || true
    bc() { awk -v k="$1" '$1 == k {print $2}' "$bcomp"; }
    tck=$(getconf CLK_TCK)
    ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
    # Waits until the process has used no CPU for 0.6 s (at most 60 s).
    wait_idle() {
        local prev now quiet=0
        prev=$(ticks "$1")
        for _ in $(seq 300); do
            sleep 0.2
            now=$(ticks "$1")
            if [[ $now == "$prev" ]]; then quiet=$((quiet + 1)); ((quiet >= 3)) && return; else quiet=0; fi
            prev=$now
        done
    }
    # key_cpu PATTERN KEYS POSITION_KEY PROGRAM ARGS...: ms of CPU a key, typed at POSITION_KEY.
    key_cpu() {
        local pattern=$1 n=$2 where=$3 win t0 t1
        shift 3
        local home=$work/home-$(basename "$1")
        mkdir -p "$home"
        HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.state XDG_DATA_HOME=$home/.data "$@" >/dev/null 2>&1 &
        app_pid=$!
        for _ in $(seq 1200); do
            win=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1) && [[ -n $win ]] && break
            sleep 0.05
        done
        wait_idle "$app_pid"
        xdotool windowfocus "$win" 2>/dev/null || true
        [[ $where != - ]] && xdotool key "$where"
        wait_idle "$app_pid"
        t0=$(ticks "$app_pid")
        for _ in $(seq "$n"); do xdotool key x; sleep 0.3; done
        wait_idle "$app_pid"
        t1=$(ticks "$app_pid")
        # The document is modified now: an editor asked to close would ask about saving it.
        kill -9 "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
        app_pid=
        awk -v a="$t0" -v b="$t1" -v n="$n" -v hz="$tck" 'BEGIN {printf "%.0f\n", (b - a) * 1000 / hz / n}'
    }
    bkeys=${BUNDLE_KEYS:-5}
    ours_end=$(key_cpu "Marvolis" "$bkeys" ctrl+End "$build/kestrin4" "$bundle")
    if [[ -n $geany_bin ]]; then
        geany_end=$(key_cpu "bundle.min" 3 ctrl+End "$geany_bin" -i "$bundle")
        mid_col=$(python3 -c "import sys; d=open(sys.argv[1],encoding='utf-8').read(); print(d.find('/*MID*/'))" "$bundle")
        geany_mid=$(key_cpu "bundle.min" 3 - "$geany_bin" -i --line 1 --column "$mid_col" "$bundle")
    else
        geany_end=nan geany_mid=nan
    fi
    row "bundle_keystroke_end_cpu_ms ${ours_end:-nan} ${geany_end:-nan} ms ratio 0.1"
    row "bundle_keystroke_end_cpu_abs_ms ${ours_end:-nan} - ms abs 100"
    row "bundle_keystroke_middle_cpu_ms $(bc bundle_key_middle_cpu) ${geany_mid:-nan} ms ratio 0.1"
    row "bundle_keystroke_end_component_cpu_ms $(bc bundle_key_end_cpu) - ms abs 100"
    row "bundle_keystroke_end_component_wall_ms $(bc bundle_key_end_wall) - ms info -"
    row "bundle_scroll_page_ms $(bc bundle_scroll_page) - ms abs 100"
    row "bundle_undo_ms $(bc bundle_key_end_undo_wall) - ms abs 100"
    # The engine's own floor on the same line: a plain Scintilla editor and none of our code,
    # with no lexer, with the HTML lexer colouring whole lines, and with the lexer as we set it up
    # (the first 64 KB of a line coloured): what the colouring limit buys.
    for bare in 1 html limited; do
        BARE=$bare BUNDLE_KEYS_ONLY=1 "$build/bench/component_bench" "$bundle" "$work" >"$bcomp" 2>/dev/null || true
        row "bundle_keystroke_end_bare_scintilla_$([[ $bare == 1 ]] && echo no_lexer || echo $bare)_cpu_ms $(bc bundle_key_end_cpu) - ms info -"
    done
    # Our component on the engine as released, without our patches (third_party/patches): what
    # the patches buy.
    if [[ -x $released_build/bench/component_bench ]]; then
        BUNDLE=1 BUNDLE_KEYS_ONLY=1 "$released_build/bench/component_bench" "$bundle" "$work" >"$bcomp" 2>/dev/null || true
        row "bundle_keystroke_end_component_released_engine_cpu_ms $(bc bundle_key_end_cpu) - ms info -"
    fi
    # A 10 MB line: open and paint, and one key with its repaint (wall time: the window's freeze).
    b10=$work/in/bundle10.min.js
    if [[ -f $b10 ]]; then
        BUNDLE=1 BUNDLE_KEYS=1 BUNDLE_KEYS_ONLY=1 "$build/bench/component_bench" "$b10" "$work" >"$bcomp" 2>/dev/null || true
        row "bundle10MB_load_and_paint_ms $(bc load_and_paint) - ms abs 1000"
        row "bundle10MB_keystroke_end_wall_ms $(bc bundle_key_end_wall) - ms abs 1000"
    fi
    # Lines of 2.4, 10 and 25 MB in the real window: a key at the end and in the middle, Home and
    # End, sideways scrolling (CPU each, idle after), and the time to an idle window.
    if [[ -f $work/in/bundle25.min.js ]]; then
        echo "== long lines: 2.4, 10 and 25 MB" >&2
        lcomp=$work/long.txt
        # The 25 MB line again with a line break after it, as most files end: the view draws another
        # line beside the long one.
        (cat "$work/in/bundle25.min.js" && echo) >"$work/in/bundle25eol.min.js"
        # Ten keys a figure: the CPU ticks are 10 ms, and five keys left a ratio of two rows noisy.
        LONG_KEYS=${LONG_KEYS:-10} "$here/long_line.sh" "$build/kestrin4" "$bundle" "$work/in/bundle10.min.js" \
            "$work/in/bundle25.min.js" "$work/in/bundle25eol.min.js" >"$lcomp" 2>/dev/null || true
        lc() { awk -v k="$1" '$1 == k {print $2}' "$lcomp"; }
        row "line_2.4MB_key_end_cpu_ms $(lc bundle_key_end_cpu_ms) - ms abs 50"
        row "line_10MB_key_end_cpu_ms $(lc bundle10_key_end_cpu_ms) - ms abs 100"
        row "line_25MB_key_end_cpu_ms $(lc bundle25_key_end_cpu_ms) - ms abs 100"
        row "line_25MB_vs_2.4MB_key_end_cpu_ms $(lc bundle25_key_end_cpu_ms) $(lc bundle_key_end_cpu_ms) ms ratio 1.5"
        row "line_25MB_key_middle_cpu_ms $(lc bundle25_key_middle_cpu_ms) - ms abs 100"
        row "line_25MB_home_end_cpu_ms $(lc bundle25_home_end_cpu_ms) - ms abs 100"
        row "line_25MB_scroll_5_notches_cpu_ms $(lc bundle25_scroll_cpu_ms) - ms abs 100"
        row "line_25MB_open_to_idle_ms $(lc bundle25_open_to_idle_ms) - ms abs 1000"
        row "line_10MB_open_to_idle_ms $(lc bundle10_open_to_idle_ms) - ms info -"
        row "line_25MB_line_break_after_key_middle_cpu_ms $(lc bundle25eol_key_middle_cpu_ms) - ms abs 100"
        rm -f "$work/in/bundle25eol.min.js"
        # With a screen reader listening: its events carry offsets counted in the line.
        la=$("$here/a11y_bench.sh" "$build" "$work/in/bundle25.min.js" 20 2>/dev/null || true)
        row "line_25MB_key_end_a11y_listener_cpu_ms $(awk '$1 == "a11y_keystroke_cpu_listener_ms" {print $2}' <<<"$la") - ms abs 100"
    fi
fi
# --- end of the one-line bundle block ---

echo "== matching tags" >&2
tags=$(QT_QPA_PLATFORM=offscreen "$build/bench/tag_bench" 2>/dev/null || true)
tag_ms=$(awk '$1 == "tag_partner_1MB_ms" {print $2}' <<<"$tags")
tag_wall=$(awk '$1 == "tag_partner_1MB_wall_ms" {print $2}' <<<"$tags")
row "tag_partner_1MB_ms ${tag_ms:-nan} - ms abs 5"
row "tag_partner_1MB_wall_ms ${tag_wall:-nan} - ms info -"

echo "== PHP's syntax check" >&2
php_check=$(QT_QPA_PLATFORM=offscreen "$build/bench/php_check_bench" "$work" 2>/dev/null || true)
php_ms=$(awk '$1 == "php_check_1MB_save_to_marker_ms" {print $2}' <<<"$php_check")
php_stall=$(awk '$1 == "php_check_longest_stall_ms" {print $2}' <<<"$php_check")
row "php_check_1MB_save_to_marker_ms ${php_ms:-nan} - ms abs 500"
row "php_check_longest_stall_ms ${php_stall:-nan} - ms abs 50"

echo "== pure functions (Google Benchmark)" >&2
"$build/bench/bench_text" --benchmark_format=csv 2>/dev/null >"$work/text.csv" || true
"$build/bench/replace_engine" --benchmark_format=csv 2>/dev/null >"$work/engine.csv" || true
"$build/bench/bench_textfile" --benchmark_format=csv 2>/dev/null >"$work/textfile.csv" || true
# CSV: name,iterations,real_time,cpu_time,time_unit,bytes_per_second,...
# A plain copy of the same bytes is shown once, for scale; it has no target.
for csv in "$work/text.csv" "$work/engine.csv" "$work/textfile.csv"; do
    awk -F, -v first="$([[ $csv == "$work/text.csv" ]] && echo 1 || echo 0)" '
        NR > 1 && $1 ~ /^"?BM_/ && $6 != "" {
            gsub(/"/, "", $1); sub(/^BM_/, "", $1)
            if ($1 == "CopyBaseline") { if (first) printf "memcpy_for_scale_GB/s %.2f - GB/s info -\n", $6 / 1e9 }
            else printf "%s_GB/s %.2f - GB/s min 1\n", $1, $6 / 1e9
        }' "$csv" >>"$rows"
done

if [[ $replace_files -gt 0 && -x $here/replace_bench.sh ]]; then
    echo "== replace run against sed" >&2
    out=$(FILES=$replace_files WORK="$work" "$here/replace_bench.sh" "$build" 2>&1 || true)
    ours=$(awk '/^replace run/ {print $(NF-1)}' <<<"$out")
    sed_t=$(awk '/^sed -i \(no sync\)/ {print $(NF-1)}' <<<"$out")
    sed_sync=$(awk '/^sed -i, then sync/ {print $(NF-1)}' <<<"$out")
    row "replace_${replace_files}_files_vs_sed_s ${ours:-nan} ${sed_t:-nan} s ratio 1"
    row "replace_${replace_files}_files_vs_sed+sync_s ${ours:-nan} ${sed_sync:-nan} s ratio 1"
fi

echo
echo "Kestrin benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo), $(awk '/MemTotal/ {printf "%.0f GB", $2/1048576}' /proc/meminfo)"
echo "Documents: ${mb} MB generated (mixed HTML/PHP/CSS/JS; CR LF, LF, 10,000-character lines, Windows-1252); peer: $( [[ -n $geany_bin ]] && geany --version 2>/dev/null | head -1 || echo none), cp, sed"
echo
awk 'BEGIN {
        printf "| %-36s | %10s | %10s | %7s | %-14s | %-4s |\n", "figure", "ours", "peer", "ratio", "target", "met"
        printf "|%s|%s|%s|%s|%s|%s|\n", "--------------------------------------", "------------", "------------", "---------", "----------------", "------"
    }
    {
        fig = $1; ours = $2; peer = $3; kind = $5; val = $6
        ratio = "-"; target = "-"; met = "-"
        if (kind == "ratio") {
            target = "<= " val " x peer"
            if (peer + 0 > 0 && ours != "nan") { r = ours / peer; ratio = sprintf("%.2f", r); met = (r <= val) ? "yes" : "NO" }
        } else if (kind == "abs") {
            target = "<= " val
            if (ours != "nan" && ours != "") met = (ours + 0 <= val) ? "yes" : "NO"
        } else if (kind == "min") {
            target = ">= " val
            if (ours != "nan" && ours != "") met = (ours + 0 >= val) ? "yes" : "NO"
        }
        printf "| %-36s | %10s | %10s | %7s | %-14s | %-4s |\n", fig, ours, peer, ratio, target, met
    }' "$rows"
