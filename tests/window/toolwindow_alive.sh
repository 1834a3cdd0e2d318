#!/usr/bin/env bash
# An open tool window keeps the process alive after the editor window closes; the process ends
# when the tool window closes too (here through the colour chooser's INSERT).
source "$(dirname "$0")/lib.bash"

# COLOR CHOOSER UTILITY: 420 + 2295/2, 2520 + 315/2 twips on the UTILS page.
open_tool 225 "COLOR CHOOSER UTILITY"
pid=${PIDS[0]}
chooser=$tool

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
