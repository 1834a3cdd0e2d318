#!/usr/bin/env bash
# The multi-file replace run against sed -i on the same corpus: 10,000 web-source files of about
# 10 KB (UTF-8, UTF-8 with BOM and Windows-1252; CR LF and LF; some without a final line end), the
# find text in half of them. Both runs get an identical copy; their outputs must match byte for
# byte. Prints both times and the ratio (target: ours at most 1.0 x sed).
#
#   bench/replace_bench.sh [BUILD_DIR]     (BUILD_DIR configured with -DKESTRIN_BUILD_BENCH=ON)
# Env: FILES (10000), WORK (a temporary folder; on the disk under test, /tmp by default),
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
cp -a "$work/ours" "$work/sed"
(cd "$work/ours" && find "$PWD" -type f | sort) > "$work/ours.list"
(cd "$work/sed" && find . -type f | sort) > "$work/sed.list"
bytes=$(du -sb "$work/ours" | cut -f1)
sync

ours_out=$(${RUN_PREFIX:-} "$runner" "$work/ours.list" "$find_text" "$replacement")
ours=$(awk '{print $4}' <<<"$ours_out")

sync
start=$(date +%s.%N)
(cd "$work/sed" && LC_ALL=C xargs -d '\n' sed -i "s/$find_text/$replacement/g" < "$work/sed.list")
end=$(date +%s.%N)
sed_time=$(awk -v a="$start" -v b="$end" 'BEGIN{printf "%.3f", b - a}')
# What sed's output costs to make durable, for comparison with our one batch sync.
sync
synced=$(date +%s.%N)
sed_sync_time=$(awk -v a="$start" -v b="$synced" 'BEGIN{printf "%.3f", b - a}')

if ! diff -rq "$work/ours" "$work/sed" >/dev/null; then
    echo "replace_bench: outputs differ" >&2
    diff -rq "$work/ours" "$work/sed" | head >&2
    exit 1
fi
changed=$(grep -rl --include='*' -F "$replacement" "$work/ours" | wc -l)

awk -v f="$files" -v b="$bytes" -v o="$ours" -v s="$sed_time" -v ss="$sed_sync_time" -v c="$changed" 'BEGIN {
    printf "corpus: %d files, %.1f MB, %d containing the find text\n", f, b / 1e6, c
    printf "replace run (load, replace, batch save, one sync, renames): %.3f s\n", o
    printf "sed -i (no sync):                                            %.3f s\n", s
    printf "sed -i, then sync (for reference):                           %.3f s\n", ss
    printf "ratio: %.2f x sed  (target <= 1.00)  outputs byte-identical\n", o / s
}'
