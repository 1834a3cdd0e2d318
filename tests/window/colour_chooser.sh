#!/usr/bin/env bash
# A 6000 x 4000 photo in the colour chooser: both scroll bars dragged to their ends bring the last
# column and the last row into view, and a click there samples their colours into the swatch.
# Then the open chooser keeps the process alive after the editor window closes; the process ends
# when the chooser closes too (through its INSERT).
source "$(dirname "$0")/lib.bash"

# Blue inside, an orange last column and a green last row (green wins the corner).
convert -size 6000x4000 xc:'#336699' -fill '#FF8000' -draw 'line 5999,0 5999,3999' \
  -fill '#00C040' -draw 'line 0,3999 5999,3999' "$WORK/photo.png" || fail "convert could not make the photo"
open_tool 225 "COLOR CHOOSER UTILITY"
click 602 282 # SELECT PICTURE (8040, 4080 twips; 1995 x 315)
dialog=$(wait_window "^Open$") || fail "SELECT PICTURE showed no file dialog"
focus "$dialog"
xdotool type --delay 5 "$WORK/photo.png"
xdotool key Return
# The viewer (3900, 0 twips; a frame of 388 x 248 px) shows the photo's blue.
wait_pixel 300 100 "#336699" "the photo was not shown"
# The horizontal bar lies under the frame (y 248-264 px), its thumb just right of the left arrow;
# the vertical bar beside it (x 648-664 px). Each thumb is dragged beyond its bar's end.
xdotool mousemove $(( X + 283 )) $(( Y + 256 )) mousedown 1 mousemove $(( X + 450 )) $(( Y + 256 )) \
  mousemove $(( X + 720 )) $(( Y + 256 )) mouseup 1
xdotool mousemove $(( X + 656 )) $(( Y + 23 )) mousedown 1 mousemove $(( X + 656 )) $(( Y + 150 )) \
  mousemove $(( X + 656 )) $(( Y + 330 )) mouseup 1
wait_pixel 647 100 "#FF8000" "the last column is not at the frame's right edge"
wait_pixel 400 247 "#00C040" "the last row is not at the frame's bottom edge"
# The swatch P (6720, 4620 twips; 2055 x 375) shows what a click samples.
click 647 100
wait_pixel 516 320 "#FF8000" "a click on the last column did not sample it"
click 400 247
wait_pixel 516 320 "#00C040" "a click on the last row did not sample it"
import -window root "$SHOTS/colour-large-picture.png"

focus "$win"
xdotool key ctrl+x
poll 50 '! xdotool search --onlyvisible --name "Marvolis KESTRIN Vozod 4 START" >/dev/null 2>&1' || fail "the editor window is still shown"
sleep 1 # time for a wrong quit to happen
kill -0 "$pid" 2>/dev/null || fail "the process ended with the colour chooser still open"
click 630 320 # INSERT (8820 + 1275/2, 4620 + 375/2 twips)
gone "$pid" || fail "the process did not end after its last window closed"
echo "colour_chooser: ok (screenshot in $SHOTS)"
