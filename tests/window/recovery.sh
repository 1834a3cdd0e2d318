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
# Waits for the question titled kestrin4, presses keys $1 and waits until it has gone.
answer() {
  box=$(wait_window '^kestrin4$') || fail "$2: no recovery question"
  sleep 0.3
  xdotool key $1
  poll 100 '! xdotool search --onlyvisible --name "^kestrin4$" 2>/dev/null | grep -qx "$box"' || fail "$2: the question stayed"
}

for run in $(seq "$runs"); do
  untitled=$(( run % 2 ))
  words=$(for _ in $(seq $(( 2 + RANDOM % 4 ))); do printf '%s' "w$RANDOM"; (( RANDOM % 3 )) && printf ' ' || printf '\n'; done)
  if [ $untitled = 1 ]; then start_editor; eol='\n'; base=''; else
    printf 'caf\xe9\r\n' > "$doc"; start_editor "$doc"; eol='\r\n'; base=$(printf 'caf\xe9\r\n' | hex); fi
  LC_ALL=C.UTF-8 xdotool type --delay 25 "$words" & typist=$!
  # The kill comes while typing or 1 to 2.5 s after the last key, when nothing may be lost.
  late=0
  sleep "0.$(( RANDOM % 10 ))$(( RANDOM % 10 ))"
  if (( RANDOM % 2 )); then wait $typist; sleep "$(( 1 + RANDOM % 2 )).$(( RANDOM % 5 ))"; late=1; fi
  kill -KILL $pid; wait $pid 2>/dev/null || true; kill $typist 2>/dev/null || true; wait $typist 2>/dev/null || true
  want=$(printf '%s' "$words" | sed -z "s/\n/$eol/g" | hex)
  if ! has_journal; then
    [ $late = 0 ] || fail "run $run: no journal a second after the last key"
    continue
  fi
  if [ $untitled = 1 ]; then start_editor; else start_editor "$doc"; fi
  answer Return "run $run"
  focus "$win"
  if [ $untitled = 1 ]; then
    rm -f "$saved"
    xdotool key ctrl+s; sleep 1; xdotool type --delay 10 "$saved"; xdotool key Return
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
done

# SIGTERM: no question, the journal kept, offered at the next start; Discard removes it.
printf 'caf\xe9\r\n' > "$doc"
start_editor "$doc"
xdotool type --delay 25 "term"
sleep 1.2
kill -TERM $pid
gone $pid || fail "SIGTERM did not end the editor"
has_journal || fail "SIGTERM left no journal"
start_editor "$doc"
answer 'Tab Return' "after SIGTERM" # Discard
! has_journal || fail "Discard left the journal"
[ "$(hex < "$doc")" = "$(printf 'caf\xe9\r\n' | hex)" ] || fail "Discard wrote the file"
exit_editor
echo "recovery: ok"
