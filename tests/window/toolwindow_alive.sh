#!/usr/bin/env bash
# An open tool window keeps the process alive after the editor window closes; the process ends
# when the tool window closes too (here through the colour chooser's INSERT).
source "$(dirname "$0")/lib.bash"

"$BIN" & PIDS+=($!)
pid=${PIDS[0]}
win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
xdotool windowfocus --sync "$win"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"

# The UTILS tab, then COLOR CHOOSER UTILITY (420 + 2295/2, 2520 + 315/2 twips on the page).
xdotool mousemove $(( X + 12 )) $(( Y + 355 )) click 1
sleep 0.4
xdotool mousemove $(( X + 104 )) $(( Y + 225 )) click 1
chooser=$(wait_window "COLOR CHOOSER UTILITY") || fail "the colour chooser did not open"

# Exit the (unmodified) editor: the process must live on with the tool window.
xdotool windowfocus --sync "$win"
xdotool key ctrl+x
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the process ended with the colour chooser still open"
xdotool search --onlyvisible --name "Marvolis KESTRIN Vozod 4 START" >/dev/null 2>&1 && fail "the editor window is still shown"

# INSERT (8820 + 1275/2, 4620 + 375/2 twips) closes the chooser; then nothing is left.
eval "$(xdotool getwindowgeometry --shell "$chooser")"
xdotool mousemove $(( X + 630 )) $(( Y + 320 )) click 1
wait_gone "$pid" 50 || fail "the process did not end after its last window closed"
echo "toolwindow_alive: ok"
