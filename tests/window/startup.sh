#!/usr/bin/env bash
# Starting the editor on a document, typing and saving with Ctrl+S; a command line naming no known
# type ends at once without a window.
source "$(dirname "$0")/lib.bash"

doc="$WORK/page.php"
printf '<?php echo "hi"; ?>\n' > "$doc"
"$BIN" "$doc" & PIDS+=($!)
win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
# No window manager under Xvfb: give the window the input focus and type through XTEST.
xdotool windowfocus --sync "$win"
sleep 0.5
xdotool type --delay 20 "abc"
xdotool key ctrl+s
for _ in $(seq 1 50); do
  grep -q 'abc' "$doc" && break
  sleep 0.1
done
grep -q 'abc<?php echo "hi"; ?>' "$doc" || fail "typed text not saved: $(cat "$doc")"
# Saved document, so Exit closes without a question and the process ends.
xdotool key ctrl+x
wait_gone "${PIDS[0]}" 50 || fail "editor did not end after Exit"

# notes.txt: no window, ends at once, nothing registered (a home of its own to check that).
export HOME="$WORK/home2" XDG_DATA_HOME="$WORK/home2/.local/share" XDG_CONFIG_HOME="$WORK/home2/.config"
mkdir -p "$HOME"
start=$(date +%s%N)
"$BIN" "$WORK/notes.txt" & p=$!; PIDS+=($p)
wait_gone "$p" 50 || fail "notes.txt start did not end"
[ -z "$(ls -A "$HOME")" ] || fail "notes.txt start wrote into the home folder: $(find "$HOME")"
echo "startup: ok ($(( ($(date +%s%N) - start) / 1000000 )) ms for notes.txt)"
