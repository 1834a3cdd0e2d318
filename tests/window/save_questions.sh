#!/usr/bin/env bash
# The questions a save can ask, on the real display: over a file another program changed since it
# was opened (No keeps their file, Yes writes ours), and about a character the file's encoding
# cannot hold (Cancel writes nothing, "Use character references", "Save as UTF-8").
# KESTRIN_SHOTS=folder keeps a screenshot of each question there.
source "$(dirname "$0")/lib.bash"

doc="$WORK/page.html"
printf '<p>caf\xe9</p>\n' > "$doc"   # Windows-1252, as an old editor wrote it
"$BIN" "$doc" & PIDS+=($!)
# Windows of this editor only: one an earlier test left behind may still carry the same title.
own_window() {
  local id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --all --onlyvisible --pid "${PIDS[0]}" --name "$1" 2>/dev/null | tail -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
win=$(own_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
xdotool windowfocus --sync "$win"
xdotool keyup ctrl alt shift   # a modifier an earlier test left pressed would turn typing into commands
sleep 0.5

# Presses Ctrl+S in the editor and waits for the question box (titled kestrin4); shot named $1.
ask() {
  xdotool windowfocus --sync "$win"
  xdotool key ctrl+s
  box=$(own_window '^kestrin4$') || fail "no question for $1"
  # The box takes the focus itself once it is ready (slow under the sanitizers).
  for _ in $(seq 1 50); do [ "$(xdotool getwindowfocus)" = "$box" ] && break; sleep 0.1; done
  sleep 0.5
  if [ -n "${KESTRIN_SHOTS:-}" ]; then import -window root "$KESTRIN_SHOTS/$1.png"; fi
}
# Answers the open box with keys $@ and waits until it has gone.
answer() {
  xdotool key "$@"
  for _ in $(seq 1 100); do
    xdotool search --all --onlyvisible --pid "${PIDS[0]}" --name '^kestrin4$' 2>/dev/null | grep -qx "$box" || return 0
    sleep 0.1
  done
  fail "the question box stayed after $*"
}
# The file's bytes as hex, to compare with what printf makes.
bytes() { od -An -tx1 | tr -d ' \n'; }
expect() { [ "$(bytes < "$doc")" = "$(printf "$1" | bytes)" ] || fail "$2: $(od -c < "$doc")"; }

xdotool type --delay 20 "abc"
printf '<p>theirs</p>\n' > "$doc"
ask overwrite
answer n
expect '<p>theirs</p>\n' "No wrote over the other program's change"
ask overwrite-again
answer alt+y
expect 'abc<p>caf\xe9</p>\n' "Yes did not write the document"

xdotool windowfocus --sync "$win"
xdotool type --delay 20 "ā"
ask unencodable
answer Escape
expect 'abc<p>caf\xe9</p>\n' "Cancel wrote the file"
ask unencodable-again
answer Return   # the default button: "Use character references"
expect 'abc&#257;<p>caf\xe9</p>\n' "references not written"
xdotool windowfocus --sync "$win"
xdotool type --delay 20 "ā"
ask unencodable-utf8
answer Tab Return   # the next button: "Save as UTF-8"
expect 'abc&#257;\xc4\x81<p>caf\xc3\xa9</p>\n' "not saved as UTF-8"
# Saved, so Exit ends the process without a question.
xdotool windowfocus --sync "$win"
xdotool key ctrl+x
wait_gone "${PIDS[0]}" 50 || fail "editor did not end after Exit"
echo "save_questions: ok"
