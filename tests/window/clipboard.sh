#!/usr/bin/env bash
# Text copied in one start is pasted in another (the first, which holds the clipboard, still runs).
source "$(dirname "$0")/lib.bash"
printf '<p>copied</p>' > "$WORK/a.htm" && printf '\n' > "$WORK/b.htm"
start_editor "$WORK/a.htm" && key ctrl+a ctrl+c
start_editor "$WORK/b.htm" && key ctrl+v ctrl+s
poll 50 '[ "$(cat "$WORK/b.htm")" = "<p>copied</p>" ]' || fail "the second start saved: $(cat "$WORK/b.htm")"
exit_editor
echo "clipboard: ok"
