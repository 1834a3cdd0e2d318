#!/bin/sh
# The suite's size against the program's: non-blank lines of C, C++, shell and Python under tests/ and src/
# (the tree as it is, untracked files included; data files and build scripts left out).
cd "${1:-$(dirname "$0")/..}"
count() { git ls-files -co --exclude-standard "$1" | grep -E '\.(cpp|h|c|sh|bash|py)$' | xargs cat | grep -cv '^\s*$'; }
t=$(count tests) s=$(count src)
echo "tests $t, src $s: $(awk "BEGIN { printf \"%.3f\", $t / $s }")"
