#!/usr/bin/env bash
# A 6000 x 4000 photo in the colour chooser: both scroll bars dragged to their ends bring the last
# column and the last row into view, and a click there samples their colours into the swatch.
# Leaves a screenshot of the scrolled chooser in the build folder to look at.
source "$(dirname "$0")/lib.bash"

photo="$WORK/photo.png"
# Blue inside, an orange last column and a green last row (green wins the corner).
convert -size 6000x4000 xc:'#336699' -fill '#FF8000' -draw 'line 5999,0 5999,3999' \
  -fill '#00C040' -draw 'line 0,3999 5999,3999' "$photo" || fail "convert could not make the photo"

# The colour of screen pixel ($1, $2) relative to the window's X, Y.
pixel() { import -window root -crop "1x1+$(( X + $1 ))+$(( Y + $2 ))" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}'; }
# Waits until that pixel has colour $3 (at most 10 s).
wait_pixel() {
  local seen=""
  for _ in $(seq 1 50); do
    seen=$(pixel "$1" "$2")
    [ "$seen" = "$3" ] && return 0
    sleep 0.2
  done
  echo "pixel $1,$2 is $seen, not $3" >&2
  return 1
}

open_tool 225 "COLOR CHOOSER UTILITY"
chooser=$tool
xdotool windowfocus --sync "$chooser"
eval "$(xdotool getwindowgeometry --shell "$chooser")"

# SELECT PICTURE (8040, 4080 twips; 1995 x 315), then the path typed into the file dialog.
xdotool mousemove $(( X + 602 )) $(( Y + 282 )) click 1
dialog=$(wait_window "^Open$") || fail "SELECT PICTURE showed no file dialog"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 "$photo"
xdotool key Return
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name "^Open$" >/dev/null 2>&1 || break
  sleep 0.2
done
xdotool search --onlyvisible --name "^Open$" >/dev/null 2>&1 && fail "the file dialog did not take the path"
# The viewer (3900, 0 twips; a frame of 388 x 248 px) shows the photo's blue.
wait_pixel 300 100 "#336699" || fail "the photo was not shown"

# The horizontal bar lies under the frame (y 248-264 px), its thumb just right of the left arrow;
# the vertical bar beside it (x 648-664 px). Each thumb is dragged beyond its bar's end.
xdotool mousemove $(( X + 283 )) $(( Y + 256 )) mousedown 1
xdotool mousemove $(( X + 450 )) $(( Y + 256 )) mousemove $(( X + 720 )) $(( Y + 256 )) mouseup 1
xdotool mousemove $(( X + 656 )) $(( Y + 23 )) mousedown 1
xdotool mousemove $(( X + 656 )) $(( Y + 150 )) mousemove $(( X + 656 )) $(( Y + 330 )) mouseup 1
# Scrolled to the ends, the frame's last column and row show the photo's last ones.
wait_pixel 647 100 "#FF8000" || fail "the last column is not at the frame's right edge"
wait_pixel 400 247 "#00C040" || fail "the last row is not at the frame's bottom edge"

# The swatch P (6720, 4620 twips; 2055 x 375) shows what a click samples.
xdotool mousemove $(( X + 647 )) $(( Y + 100 )) click 1
wait_pixel 516 320 "#FF8000" || fail "a click on the last column did not sample it"
xdotool mousemove $(( X + 400 )) $(( Y + 247 )) click 1
wait_pixel 516 320 "#00C040" || fail "a click on the last row did not sample it"

out="${KESTRIN_BUILD_DIR}/window-shots"
mkdir -p "$out"
import -window root "$out/colour-large-picture.png"
echo "colour_large_picture: ok (screenshot in $out)"
