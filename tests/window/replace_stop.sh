#!/usr/bin/env bash
# A run over 2,000 files stopped with Escape part way, on the real display. The file in the middle is
# a pipe whose writer holds back, so the run waits there: meanwhile the window paints the progress
# past 40 % and greys it on Escape. Then the pipe is fed: the files up to it are changed, the rest
# untouched, and a second run (adding a line) changes exactly the files still listed.
source "$(dirname "$0")/lib.bash"

site="$WORK/site"
mkdir -p "$site" && cd "$site"
for i in $(seq -w 0 1999); do printf 'p { color: red; }\n' > "f$i.css"; done
open_tool 255 "REPLACE IN MULTIPLE FILES"
click 30 164 && xdotool key ctrl+a && click 204 218 # every file of File1 added with ">>"
rm f1000.css && mkfifo f1000.css
click 140 306 && xdotool type --delay 10 "color:"
click 400 306 && xdotool type --delay 10 "colour:"
click 534 306
# Returns once the run has opened the pipe; the run then waits for what is written to it.
exec 3>f1000.css
# The progress bar (3360, 3900 twips; 357 pixels wide): filled at 40 %, empty at 95 %.
poll 100 '[ "$(pixel 367 268)" != "$(pixel 563 268)" ]' || fail "no progress painted while the run waits"
filled=$(pixel 367 268)
xdotool key Escape
poll 50 '[ "$(pixel 367 268)" != "$filled" ]' || fail "the window did not take Escape while the run waits"
printf 'p { color: red; }\n' >&3 && exec 3>&-
# The commit syncs the disk, which other work on the machine can make slow: up to a minute.
poll 600 'box=$(xdotool search --onlyvisible --name "^kestrin4$" 2>/dev/null | tail -n 1); [ -n "$box" ]' || fail "no message after the stop"
focus "$box" && xdotool key Return
changed=$(grep -l 'colour:' f*.css | tr '\n' ' ')
[ "$changed" = "$(printf 'f%04d.css ' $(seq 0 1000))" ] || fail "changed: ${changed:0:80}... ($(wc -w <<<"$changed") files)"
[ -z "$(find . -name '.*' -type f)" ] || fail "temporary files left: $(ls -A | grep '^\.' | head -3)"
# What is still listed: a line added to each listed file.
focus "$tool"
click 226 354 && xdotool type --delay 10 "/* again */"
click 534 354
poll 600 '[ "$(grep -l again f*.css | wc -l)" = 999 ]' || fail "$(grep -l again f*.css | wc -l) files got the line, not 999"
[ "$(grep -l again f*.css | head -n 1)" = f1001.css ] || fail "the line went to $(grep -l again f*.css | head -n 1)"
echo "replace_stop: ok"
