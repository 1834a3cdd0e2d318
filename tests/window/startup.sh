#!/usr/bin/env bash
# A start on a file of no known type ends at once, without a window, and registers nothing. A start
# on a page registers the types for this executable (the desktop's tools run, gio sees the editor
# as the default), takes typing and Ctrl+S; a second start leaves every registered file as it was.
source "$(dirname "$0")/lib.bash"

printf 'shopping list\n' > "$WORK/notes.txt"
for doc in "$WORK/notes.txt" "$WORK/notes.txt\"" "notes.txt"; do
  (cd "$WORK" && exec "$BIN" "$doc") & p=$!; PIDS+=($p)
  gone "$p" || fail "start on $doc did not end"
  wait "$p" || fail "start on $doc ended with status $?"
  [ -z "$(ls -A "$HOME")" ] || fail "start on $doc wrote: $(find "$HOME")"
  [ -z "$(xdotool search --onlyvisible --name 'Marvolis KESTRIN' 2>/dev/null)" ] || fail "a window was shown for $doc"
done

doc="$WORK/page.php"
printf '<?php echo "hi"; ?>\n' > "$doc"
start_editor "$doc"
xdotool type --delay 20 "abc"
xdotool key ctrl+s
poll 50 'grep -qx "abc<?php echo \"hi\"; ?>" "$doc"' || fail "typed text not saved: $(cat "$doc")"
exit_editor
grep -qxF "Exec=\"$(readlink -f "$BIN")\" %f" "$XDG_DATA_HOME/applications/com.marvolis.Kestrin4.desktop" ||
  fail "no desktop entry for this executable"
poll 100 '! pgrep -f -- "$WORK" >/dev/null' || fail "the desktop's tools did not end"
[ -f "$XDG_DATA_HOME/mime/mime.cache" ] && [ -f "$XDG_DATA_HOME/applications/mimeinfo.cache" ] || fail "the tools wrote no cache"
answer=$(gio mime application/x-php)
grep -q 'Default application.*: com.marvolis.Kestrin4.desktop' <<<"$answer" || fail "gio: $answer"
snapshot() ( cd "$HOME" && find . -type f -printf '%p %s %T@\n' -exec md5sum {} + | sort )
before=$(snapshot)
start_editor "$doc"
exit_editor
[ "$(snapshot)" = "$before" ] || fail "second start changed files: $(diff <(echo "$before") <(snapshot) | head)"
echo "startup: ok"
