#!/usr/bin/env bash
# The multi-file replace run against sed -i on the same corpus: 10,000 web-source files of about
# 10 KB (UTF-8, UTF-8 with BOM and Windows-1252; CR LF and LF; some without a final line end), the
# find text in half of them. Both runs get an identical copy; their outputs must match byte for
# byte. ROUNDS rounds (3), each on fresh copies; prints the median times and their ratio
# (target: ours at most 1.0 x sed). SETTLE_SECONDS (5): the pause before each run.
#
#   bench/replace_bench.sh [BUILD_DIR]     (BUILD_DIR configured with -DKESTRIN_BUILD_BENCH=ON)
# Env: FILES (10000), ROUNDS (3), WORK (a temporary folder; on the disk under test, /tmp by default),
#      RUN_PREFIX (e.g. "perf record -g -o /tmp/replace.data" to profile our run).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-${KESTRIN_BUILD_DIR:-$here/../build}}
runner=$build/bench/replace_run
files=${FILES:-10000}
find_text='color:'
replacement='colour:'

if [[ ! -x $runner ]]; then
    echo "replace_bench: $runner not built; configure with -DKESTRIN_BUILD_BENCH=ON and build target replace_run" >&2
    exit 2
fi

work=$(mktemp -d "${WORK:-${TMPDIR:-/tmp}}/replace-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 - "$work/ours" "$files" "$find_text" <<'PY'
import os, random, sys
root, count, needle = sys.argv[1], int(sys.argv[2]), sys.argv[3]
rng = random.Random(7)
exts = ['htm', 'html', 'php', 'tpl', 'css', 'js']
words = ['margin', 'padding', 'café', 'Ölé', 'naïve', 'border', 'width', 'echo', 'function', 'résumé']
os.makedirs(root, exist_ok=True)
for i in range(count):
    sub = os.path.join(root, 'site%02d' % (i % 20))
    os.makedirs(sub, exist_ok=True)
    lines, size = [], 0
    with_find = i % 2 == 0
    while size < 10000:
        w = ' '.join(rng.choice(words) for _ in range(6))
        if with_find and rng.random() < 0.3:
            line = '<div style="%s #%06x; %s">%s</div>' % (needle, rng.randrange(1 << 24), w, w)
        else:
            line = '<p class="c%d">%s &amp; %s</p>' % (rng.randrange(100), w, w)
        lines.append(line)
        size += len(line) + 2
    if with_find and not any(needle in l for l in lines):
        lines[0] += ' ' + needle
    kind = i % 3
    eol = '\r\n' if i % 4 < 2 else '\n'
    text = eol.join(lines) + ('' if i % 7 == 0 else eol)
    if kind == 0:
        data = text.encode('utf-8')
    elif kind == 1:
        data = b'\xef\xbb\xbf' + text.encode('utf-8')
    else:
        data = text.encode('cp1252')
    with open(os.path.join(sub, 'f%05d.%s' % (i, exts[i % len(exts)])), 'wb') as f:
        f.write(data)
PY
mv "$work/ours" "$work/master"
bytes=$(du -sb "$work/master" | cut -f1)
rounds=${ROUNDS:-3}

elapsed() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f\n", b - a}'; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Each run on its own fresh copy, all made before the first run; who goes first alternates, and
# each run starts after a sync and a pause for the disk's background work. Both matter here: a
# journal-less ext4 (this kind of machine) passes over inodes deleted in the last minutes when it
# creates a file, so a run soon after another (each replaces 10,000 files) pays for the other's
# deletions as well as its own work.
settle() { sync; sleep "${SETTLE_SECONDS:-5}"; }
run_ours() {
    local out
    out=$(${RUN_PREFIX:-} "$runner" "$work/ours$1.list" "$find_text" "$replacement")
    awk '{print $4}' <<<"$out" >>"$work/ours.times"
}
run_sed() {
    local start end synced
    start=$(date +%s.%N)
    (cd "$work/sed$1" && LC_ALL=C xargs -d '\n' sed -i "s/$find_text/$replacement/g" < "$work/sed$1.list")
    end=$(date +%s.%N)
    # What sed's output costs to make durable, for comparison with our one batch sync.
    sync
    synced=$(date +%s.%N)
    elapsed "$start" "$end" >>"$work/sed.times"
    elapsed "$start" "$synced" >>"$work/sed_sync.times"
}
: >"$work/ours.times"; : >"$work/sed.times"; : >"$work/sed_sync.times"
for ((round = 0; round < rounds; ++round)); do
    cp -a "$work/master" "$work/ours$round"
    cp -a "$work/master" "$work/sed$round"
    (cd "$work/ours$round" && find "$PWD" -type f | sort) > "$work/ours$round.list"
    (cd "$work/sed$round" && find . -type f | sort) > "$work/sed$round.list"
done
for ((round = 0; round < rounds; ++round)); do
    if ((round % 2 == 0)); then
        settle; run_ours "$round"; settle; run_sed "$round"
    else
        settle; run_sed "$round"; settle; run_ours "$round"
    fi
    if ! diff -rq "$work/ours$round" "$work/sed$round" >/dev/null; then
        echo "replace_bench: outputs differ" >&2
        diff -rq "$work/ours$round" "$work/sed$round" | head >&2
        exit 1
    fi
done
ours=$(median <"$work/ours.times")
sed_time=$(median <"$work/sed.times")
sed_sync_time=$(median <"$work/sed_sync.times")
changed=$(grep -rl --include='*' -F "$replacement" "$work/ours0" | wc -l)
echo "runs: ours $(tr '\n' ' ' <"$work/ours.times")| sed $(tr '\n' ' ' <"$work/sed.times")" >&2

awk -v f="$files" -v b="$bytes" -v o="$ours" -v s="$sed_time" -v ss="$sed_sync_time" -v c="$changed" 'BEGIN {
    printf "corpus: %d files, %.1f MB, %d containing the find text\n", f, b / 1e6, c
    printf "replace run (load, replace, batch save, one sync, renames): %.3f s\n", o
    printf "sed -i (no sync):                                            %.3f s\n", s
    printf "sed -i, then sync (for reference):                           %.3f s\n", ss
    printf "ratio: %.2f x sed  (target <= 1.00)  outputs byte-identical\n", o / s
}'
