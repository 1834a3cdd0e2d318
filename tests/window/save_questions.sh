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
  # xdotool maps a character the keyboard lacks to a spare key for a moment; slowly, so that the
  # editor reads the key before the mapping is taken back, even on a busy machine. It reads its
  # argument in the locale's encoding: UTF-8, whatever the user running the suite has set.
  [ -z "$2" ] || LC_ALL=C.UTF-8 xdotool type --delay 300 "$2"
  xdotool key ctrl+s
  box=$(wait_window '^kestrin4$') || fail "no question before $1"
  poll 50 '[ "$(xdotool getwindowfocus)" = "$box" ]' || true
  sleep 0.5 # the box takes the focus itself once it is ready (slow under the sanitizers)
  [ -z "${KESTRIN_SHOTS:-}" ] || import -window root "$KESTRIN_SHOTS/$(date +%s%N).png"
  xdotool key $1
  poll 100 '! xdotool search --onlyvisible --name "^kestrin4$" 2>/dev/null | grep -qx "$box"' || fail "the box stayed after $1"
  [ "$(od -An -tx1 < "$doc")" = "$(printf "$3" | od -An -tx1)" ] || fail "after $1: $(od -c < "$doc")"
}
xdotool type --delay 20 abc
printf '<p>theirs</p>\n' > "$doc" # another program writes over the file
ask n '' '<p>theirs</p>\n'
ask alt+y '' 'abc<p>caf\xe9</p>\n'
ask Escape ā 'abc<p>caf\xe9</p>\n'
ask Return '' 'abc&#257;<p>caf\xe9</p>\n' # the default button: "Use character references"
ask 'Tab Return' ā 'abc&#257;\xc4\x81<p>caf\xc3\xa9</p>\n' # the next button: "Save as UTF-8"
exit_editor # saved, so no question
echo "save_questions: ok"
