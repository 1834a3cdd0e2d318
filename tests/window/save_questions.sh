#!/usr/bin/env bash
# The questions a save can ask on the real display: over a file another program changed (No keeps theirs,
# Yes writes ours), and about a character its encoding cannot hold (Cancel writes nothing, "Use character
# references", "Save as UTF-8"). KESTRIN_SHOTS=folder keeps a screenshot of each question there.
source "$(dirname "$0")/lib.bash"

doc="$WORK/page.html"
printf '<p>caf\xe9</p>\n' > "$doc"   # Windows-1252, as an old editor wrote it
start_editor "$doc"
# Types $2 (if any), presses Ctrl+S, waits until the question box (titled kestrin4) has the focus,
# answers it with keys $1 and waits until it has gone; then the file must hold $3 (printf form).
ask() {
  focus "$win"
  [ -z "$2" ] || typed "$2"
  key ctrl+s
  # A busy machine can lose the shortcut while the window takes back the focus: once more then.
  box=$(wait_window '^kestrin4$') || { key ctrl+s; box=$(wait_window '^kestrin4$'); } || fail "no question before $1"
  poll 50 '[ "$(focused)" = "$box" ]' || true
  sleep 0.5 # the box takes the focus itself once it is ready (slow under the sanitizers)
  [ -z "${KESTRIN_SHOTS:-}" ] || shot "$KESTRIN_SHOTS/$(date +%s%N).png"
  key $1
  poll 100 '! windows "^kestrin4$" | grep -qx "$box"' || fail "the box stayed after $1"
  want=$(printf "$3" | od -An -tx1) # the save runs once the box has gone: wait for it
  poll 100 '[ "$(od -An -tx1 < "$doc")" = "$want" ]' || fail "after $1: $(od -c < "$doc")"
}
typed abc 20
printf '<p>theirs</p>\n' > "$doc" # another program writes over the file
ask n '' '<p>theirs</p>\n'
ask alt+y '' 'abc<p>caf\xe9</p>\n'
ask Escape ā 'abc<p>caf\xe9</p>\n'
ask Return '' 'abc&#257;<p>caf\xe9</p>\n' # the default button: "Use character references"
ask 'Tab Return' ā 'abc&#257;\xc4\x81<p>caf\xc3\xa9</p>\n' # the next button: "Save as UTF-8"
exit_editor # saved, so no question
echo "save_questions: ok"
