#!/usr/bin/env bash
# The multi-file replace window on the real display: the folder's pages picked with the keyboard and
# ">>", a replacement typed, "GO" pressed; they change byte for byte as expected, the file not picked not.
source "$(dirname "$0")/lib.bash"

site="$WORK/site"
mkdir -p "$site" && cd "$site"
printf 'a { color: red; }\r\nb { color: blue; }\r\n' > a.css
printf '<p style="color: red">x</p>' > b.htm
printf 'color stays\n' > notes.txt
open_tool 255 "REPLACE IN MULTIPLE FILES"
# File1 (180, 2340 twips): the first row, then every row with Ctrl+A; ">>" (2880, 2400; 375 x 1755).
click 30 164
xdotool key ctrl+a
click 204 218
# Find (Frame1 180,4200 + 660,240) and Replace with (+ 4560,240), then GO (+ 7260,240).
click 140 306 && xdotool type --delay 10 "color:"
click 400 306 && xdotool type --delay 10 "colour:"
click 534 306
bytes() { od -An -tx1 < "$1" | tr -d ' \n'; }
expect_a=$(printf 'a { colour: red; }\r\nb { colour: blue; }\r\n' | od -An -tx1 | tr -d ' \n')
poll 50 '[ "$(bytes a.css)" = "$expect_a" ] && [ "$(cat b.htm)" = "<p style=\"colour: red\">x</p>" ]' ||
  fail "a.css: $(od -c < a.css) b.htm: $(cat b.htm)"
[ "$(cat notes.txt)" = 'color stays' ] || fail "notes.txt was changed"
[ -z "$(find . -name '.*' -type f)" ] || fail "temporary files left: $(ls -A)"
echo "replace_run: ok"
