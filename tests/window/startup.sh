#!/usr/bin/env bash
# A start on a file of no known type ends at once, without a window, and registers nothing. A start
# on a page registers the types for this executable and takes typing and Ctrl+S. (What the
# registration writes, and that a second one writes nothing, is the app unit test's job.)
source "$(dirname "$0")/lib.bash"

printf 'shopping list\n' > "$WORK/notes.txt"
for doc in "$WORK/notes.txt" "$WORK/notes.txt\"" "notes.txt"; do
  (cd "$WORK" && exec "$BIN" "$doc") & p=$!; PIDS+=($p)
  { gone "$p" && wait "$p"; } || fail "start on $doc did not end at once with status 0"
  [ -z "$(ls -A "$HOME")" ] || fail "start on $doc wrote: $(find "$HOME")"
  [ -z "$(windows 'Marvolis KESTRIN')" ] || fail "a window was shown for $doc"
done

doc="$WORK/page.php"
printf '<?php echo "hi"; ?>\n' > "$doc"
start_editor "$doc"
typed abc 20
key ctrl+s
poll 50 'grep -qx "abc<?php echo \"hi\"; ?>" "$doc"' || fail "typed text not saved: $(cat "$doc")"
exit_editor
grep -qxF "Exec=\"$(readlink -f "$BIN")\" %f" "$XDG_DATA_HOME/applications/com.marvolis.Kestrin4.desktop" ||
  fail "no desktop entry for this executable"
# With an option of Qt's the document is known once Qt took its own, and the display is Qt's to open.
DISPLAY=:65000 "$BIN" "$doc" -platform offscreen & p=$!; PIDS+=($p)
sleep 2 && kill -0 "$p" 2>/dev/null || fail "a start with -platform offscreen ended at once"
kill "$p" && gone "$p"
echo "startup: ok"
