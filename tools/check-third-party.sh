#!/usr/bin/env bash
# The vendored engine is the released sources plus our patches, nothing else: every patch in
# third_party/patches, taken back out of a copy of the tree (last first), leaves exactly the files
# the release had (third_party/<library>.sha256), and put in again, exactly the tree.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -a "$top/third_party/." "$scratch/"
cd "$scratch"
mapfile -t patches < <(ls patches/*.patch 2>/dev/null | sort)
for ((i = ${#patches[@]} - 1; i >= 0; i--)); do
  patch -s -R -p1 --no-backup-if-mismatch <"${patches[i]}" || { echo "FAIL: ${patches[i]} does not come out of the tree"; exit 1; }
done
for lib in scintilla lexilla; do
  (cd "$lib" && sha256sum --quiet -c "../$lib.sha256") || { echo "FAIL: $lib without the patches is not the release"; exit 1; }
  extra=$(cd "$lib" && comm -13 <(awk '{print $2}' "../$lib.sha256" | sort) <(find . -type f | sort))
  [[ -z $extra ]] || { echo "FAIL: files the $lib release does not have: $extra"; exit 1; }
done
for p in "${patches[@]}"; do
  patch -s -p1 --no-backup-if-mismatch <"$p" || { echo "FAIL: $p does not apply to the release"; exit 1; }
done
diff -r -q "$scratch" "$top/third_party" >/dev/null || { echo "FAIL: the patched release differs from the tree"; exit 1; }
echo "third party: ${#patches[@]} patches, released sources intact"
