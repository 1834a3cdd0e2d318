#!/usr/bin/env bash
# Unsaved work survives kill -9: text typed into a Windows-1252 CR LF document and into an Untitled
# one, the editor killed (SIGKILL) at seeded random moments, started again and the work recovered
# (Return: Recover, the default). The recovered text is what was typed (all of it when the kill came
# a second or more after the last key, a beginning of it before), and Save writes exactly that, in
# the document's encoding and line ends. Then SIGTERM: the editor ends without a question and the
# next start offers the work back. RECOVERY_SEED replays, RECOVERY_RUNS (20) sets the runs.
source "$(dirname "$0")/lib.bash"
runs=${RECOVERY_RUNS:-20}
seed=${RECOVERY_SEED:-$RANDOM}
echo "recovery: seed $seed, $runs runs (replay with RECOVERY_SEED=$seed)"
RANDOM=$seed
journals="$XDG_STATE_HOME/kestrin4/recovery"
doc="$WORK/page.htm"
saved="$WORK/untitled.htm"
hex() { od -An -tx1 | tr -d ' \n'; }
has_journal() { compgen -G "$journals/*.k4j" >/dev/null; }
# Starts the editor with arguments $3...: the question titled kestrin4 comes before the window; it is
# answered with keys $1 ($2 names the step in messages). Then as start_editor.
answer() {
  local keys=$1 step=$2; shift 2
  "$BIN" "$@" & pid=$!; PIDS+=($pid)
  box=$(wait_window '^kestrin4$') || fail "$step: no recovery question"
  focus "$box"
  sleep 0.3
  xdotool key $keys
  poll 100 '! xdotool search --onlyvisible --name "^kestrin4$" 2>/dev/null | grep -qx "$box"' || fail "$step: the question stayed"
  win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "$step: no editor window"
  focus "$win"
  sleep 0.5
}

for run in $(seq "$runs"); do
  untitled=$(( run % 2 ))
  # Words, each followed by a space or a line end (Return: xdotool types a newline as Linefeed).
  tokens=(); words=''
  for _ in $(seq $(( 2 + RANDOM % 4 ))); do
    tokens+=("w$RANDOM"); words+="${tokens[-1]}"
    if (( RANDOM % 3 )); then tokens+=(' '); words+=' '; else tokens+=(RET); words+=$'\n'; fi
  done
  if [ $untitled = 1 ]; then start_editor; eol='\n'; base=''; else
    printf 'caf\xe9\r\n' > "$doc"; start_editor "$doc"; eol='\r\n'; base=$(printf 'caf\xe9\r\n' | hex); fi
  (for t in "${tokens[@]}"; do if [ "$t" = RET ]; then xdotool key Return; else xdotool type --delay 25 "$t"; fi; done) & typist=$!
  # The kill comes while typing or 1 to 2.5 s after the last key, when nothing may be lost.
  late=0
  sleep "0.$(( RANDOM % 10 ))$(( RANDOM % 10 ))"
  if (( RANDOM % 2 )); then wait $typist; sleep "$(( 1 + RANDOM % 2 )).$(( RANDOM % 5 ))"; late=1; fi
  kill -KILL $pid; wait $pid 2>/dev/null || true; kill $typist 2>/dev/null || true; wait $typist 2>/dev/null || true
  want=$(printf '%s' "$words" | sed -z "s/\n/$eol/g" | hex)
  if ! has_journal; then
    [ $late = 0 ] || fail "run $run: no journal a second after the last key"
    echo "run $run: killed before the first change reached a journal"
    continue
  fi
  if [ $untitled = 1 ]; then answer Return "run $run"; else answer Return "run $run" "$doc"; fi
  if [ $untitled = 1 ]; then
    rm -f "$saved"
    xdotool key ctrl+s
    # The Save As dialog: the other visible window; its file name box has the focus.
    poll 100 'dialog=$(xdotool search --onlyvisible --name "." 2>/dev/null | grep -vx "$win" | tail -n 1); [ -n "$dialog" ]' || fail "run $run: no Save As dialog"
    focus "$dialog"; sleep 0.5
    xdotool type --delay 10 "$saved"; xdotool key Return
    file=$saved
  else
    xdotool key ctrl+s; file=$doc
  fi
  poll 50 '[ -s "$file" ] && ! has_journal' || fail "run $run: Save wrote nothing or left the journal"
  got=$(hex < "$file")
  [ "${got: -${#base}}" = "$base" ] || [ -z "$base" ] || fail "run $run: the file's own text changed: $(od -c < "$file")"
  head=${got:0:$(( ${#got} - ${#base} ))}
  [ "${want:0:${#head}}" = "$head" ] || fail "run $run: recovered $head, typed $want"
  [ $late = 0 ] || [ "$head" = "$want" ] || fail "run $run: lost keys typed a second before the kill: $head, typed $want"
  exit_editor
  ! has_journal || fail "run $run: a journal after a clean exit"
  echo "run $run ($([ $untitled = 1 ] && echo Untitled || echo Windows-1252 CR LF), killed $([ $late = 1 ] && echo after || echo while) typing): recovered $(( ${#head} / 2 )) of $(( ${#want} / 2 )) bytes"
done

# SIGTERM: no question, the journal kept, offered at the next start; Discard removes it.
printf 'caf\xe9\r\n' > "$doc"
start_editor "$doc"
xdotool type --delay 25 "term"
sleep 1.2
kill -TERM $pid
gone $pid || fail "SIGTERM did not end the editor"
has_journal || fail "SIGTERM left no journal"
answer 'Tab Return' "after SIGTERM" "$doc" # Discard
! has_journal || fail "Discard left the journal"
[ "$(hex < "$doc")" = "$(printf 'caf\xe9\r\n' | hex)" ] || fail "Discard wrote the file"
exit_editor
echo "recovery: ok"
