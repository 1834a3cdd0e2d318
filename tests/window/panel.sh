#!/usr/bin/env bash
# Types into the real window, folds the side panel with "<>" and unfolds it again, checking the
# editor's line-number margin moves with it; leaves screenshots in the build folder to look at.
source "$(dirname "$0")/lib.bash"

doc="$WORK/panel.htm"
printf '<p>x</p>\n' > "$doc"
"$BIN" "$doc" & PIDS+=($!)
win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
xdotool windowfocus --sync "$win"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y
xdotool type --delay 20 "hello "

# Where the fold button sits: the panel's top-left corner, below the menu bar and the toolbar.
pixel() { import -window root -crop "1x1+$(( X + $1 ))+$(( Y + $2 ))" txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}'; }
out="${KESTRIN_BUILD_DIR}/window-shots"
mkdir -p "$out"
import -window root "$out/panel-unfolded.png"
before=$(pixel 40 300)

# The "<>" button: 0,60 twips in the panel (4 px from its top), 21 x 17 px, under the menu bar
# and the 28 px toolbar.
xdotool mousemove $(( X + 10 )) $(( Y + 59 )) click 1
sleep 0.7
import -window root "$out/panel-folded.png"
folded=$(pixel 40 300)
[ "$before" != "$folded" ] || fail "folding changed nothing at x=40 (colour $before)"

xdotool mousemove $(( X + 10 )) $(( Y + 59 )) click 1
sleep 0.7
import -window root "$out/panel-unfolded-again.png"
again=$(pixel 40 300)
[ "$before" = "$again" ] || fail "unfolding did not restore the panel ($before vs $again)"

grep -q '<p>x</p>' "$doc" || fail "document changed on disk without a save"
echo "panel: ok (screenshots in $out)"
