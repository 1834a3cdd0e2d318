#!/usr/bin/env bash
# A start on a file of no known type ends at once and registers nothing: the XDG folders stay empty.
source "$(dirname "$0")/lib.bash"

mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
printf 'shopping list\n' > "$WORK/notes.txt"
for doc in "$WORK/notes.txt" "$WORK/notes.txt\"" "notes.txt"; do
  (cd "$WORK" && exec "$BIN" "$doc") & p=$!; PIDS+=($p)
  wait_gone "$p" 50 || fail "start on $doc did not end"
  wait "$p" || fail "start on $doc ended with status $?"
  left=$(find "$HOME" -mindepth 1 ! -path "$XDG_DATA_HOME" ! -path "$XDG_CONFIG_HOME" ! -path "$HOME/.local")
  [ -z "$left" ] || fail "start on $doc wrote: $left"
  [ -z "$(xdotool search --onlyvisible --name 'Marvolis KESTRIN' 2>/dev/null || true)" ] || fail "a window was shown for $doc"
done
echo "registration_notes: ok"
