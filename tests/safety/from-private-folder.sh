#!/usr/bin/env bash
# Usage: from-private-folder.sh <folder of test_safety>. The saves run as another user, from a copy
# of the suite in a folder of mode 0700 (as a build in /root is), which that user cannot enter.
set -euo pipefail
home=$(mktemp -d) && trap 'rm -rf "$home"' EXIT
mkdir "$home/build" && cp "$1"/test_safety "$1"/safety_worker "$1"/libkestrin_killshim.so "$home/build/"
[ "$(stat -c %a "$home")" = 700 ] && "$home/build/test_safety" saveRefused
