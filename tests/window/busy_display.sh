#!/usr/bin/env bash
# Starts while a polling client keeps the X server busy: an X server resets when its last client
# leaves, dropping a client still in its handshake. Every start shows its window; a start with no
# display says so. BUSY_STARTS (15) starts on each document, BUSY_MB (5) the large one's size; the
# full loop: BUSY_STARTS=50 BUSY_MB=50 tests/on-own-display.sh bash tests/window/busy_display.sh
source "$(dirname "$0")/lib.bash"
starts=${BUSY_STARTS:-15}
shown() { [ -n "$(xdotool search --onlyvisible --name 'Marvolis KESTRIN' 2>/dev/null)" ]; }
printf '<p>small page</p>\n' > "$WORK/page.html"
(yes '<?php echo "row"; ?><p class="c">the text of a row</p>' || true) | head -c "${BUSY_MB:-5}M" > "$WORK/big.php"
(while :; do shown || true; sleep 0.01; done) & PIDS+=($!)
failed=0
for doc in big.php page.html; do
  for i in $(seq "$starts"); do
    home=$WORK/home-$doc-$i # each start a first start
    HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config "$BIN" "$WORK/$doc" 2>"$WORK/err" & pid=$!
    poll 300 'shown || ! kill -0 $pid 2>/dev/null' || true
    shown || { failed=$((failed + 1)); echo "start $i on $doc showed no window: $(head -n 1 "$WORK/err")" >&2; }
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    poll 50 '! shown' || fail "the window of start $i on $doc stayed"
  done
done
[ "$failed" -eq 0 ] || fail "$failed of $((2 * starts)) starts showed no window"
status=0
out=$(DISPLAY=:65000 "$BIN" "$WORK/page.html" 2>&1) || status=$?
[ "$status" -eq 1 ] && [ "$out" = "kestrin4: cannot open the display: no X server accepts connections at :65000" ] ||
  fail "a start without a display ended with status $status saying: $out"
echo "busy_display: ok, $((2 * starts)) starts"
