#!/usr/bin/env bash
# Usage: from-private-folder.sh <folder of test_safety>. The saves that run as another user, run from
# a copy of the suite in a folder of mode 0700, as a build in a home folder is: what that user
# runs must come from somewhere it can reach.
set -euo pipefail
home=$(mktemp -d) # mode 0700
trap 'rm -rf "$home"' EXIT
mkdir "$home/build"
cp "$1"/test_safety "$1"/safety_worker "$1"/libkestrin_killshim.so "$home/build/"
[ "$(stat -c %a "$home")" = 700 ] || { echo "$home is not of mode 0700" >&2; exit 1; }
"$home/build/test_safety" saveRefused
