#!/usr/bin/env bash
# The multi-file replace window on the real display: files of the current folder picked with the
# keyboard and ">>", a replacement typed, "GO" pressed; the files change on disk byte for byte as
# expected, the one not picked stays as it was.
source "$(dirname "$0")/lib.bash"

site="$WORK/site"
mkdir -p "$site"
printf 'a { color: red; }\r\nb { color: blue; }\r\n' > "$site/a.css"
printf '<p style="color: red">x</p>' > "$site/b.htm"
printf 'color stays\n' > "$site/notes.txt"
cd "$site"

open_tool 255 "REPLACE IN MULTIPLE FILES"
xdotool windowfocus --sync "$tool"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$tool")"

# File1 (180, 2340 twips): the first row, then every row with Ctrl+A; ">>" (2880, 2400; 375 x 1755).
xdotool mousemove $(( X + 30 )) $(( Y + 164 )) click 1
xdotool key ctrl+a
xdotool mousemove $(( X + 204 )) $(( Y + 218 )) click 1
# Find (Frame1 180,4200 + 660,240) and Replace with (+ 4560,240), then GO (+ 7260,240).
xdotool mousemove $(( X + 140 )) $(( Y + 306 )) click 1
xdotool type --delay 10 "color:"
xdotool mousemove $(( X + 400 )) $(( Y + 306 )) click 1
xdotool type --delay 10 "colour:"
xdotool mousemove $(( X + 534 )) $(( Y + 306 )) click 1
sleep 1

expect_a=$(printf 'a { colour: red; }\r\nb { colour: blue; }\r\n' | od -An -tx1)
[ "$(od -An -tx1 < "$site/a.css")" = "$expect_a" ] || fail "a.css: $(od -c < "$site/a.css")"
[ "$(cat "$site/b.htm")" = '<p style="colour: red">x</p>' ] || fail "b.htm: $(cat "$site/b.htm")"
[ "$(cat "$site/notes.txt")" = 'color stays' ] || fail "notes.txt was changed"
[ -z "$(find "$site" -name '.*' -newer "$site/notes.txt" -type f)" ] || fail "temporary files left: $(ls -A "$site")"
echo "replace_run: ok"
