#!/usr/bin/env bash
# Types into the real window, folds the side panel with "<>" and unfolds it again: the editor's
# line-number margin moves with it.
source "$(dirname "$0")/lib.bash"

printf '<p>x</p>\n' > "$WORK/panel.htm"
start_editor "$WORK/panel.htm"
xdotool type --delay 20 "hello "
before=$(pixel 40 300)
# The "<>" button: 0,60 twips in the panel (4 px from its top), 21 x 17 px, under the menu bar
# and the 28 px toolbar.
click 10 59
poll 50 '[ "$(pixel 40 300)" != "$before" ]' || fail "folding changed nothing at x=40 (colour $before)"
click 10 59
wait_pixel 40 300 "$before" "unfolding did not restore the panel"
echo "panel: ok"
