#!/usr/bin/env bash
# The CAPS panel as a screen reader reads it (AT-SPI), beside the letters typed. On X Caps Lock is known
# from the start and followed while another window has the focus; under Wayland, which tells a window
# the keyboard's state only with its keys, from the first key typed in the window.
source "$(dirname "$0")/lib.bash"
panel() { KESTRIN_PID=$pid /usr/bin/python3 -c 'from atspi import *; a = app(); print("%s|%s" % (find(a, lambda o:
  o.description == "Caps Lock").name, find(a, lambda o: o.name == "Document text").queryText().getText(0, -1)))'; }
# Waits until the panel and the document read "panel|text" ($1); $2 says when.
expect() { local want=$1; poll 20 '[ "$(panel)" = "$want" ]' || fail "$2: $(panel), not $want"; }
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
if [ -z "$WL" ]; then
  start_editor && expect "|" "at the start"
  key Caps_Lock && expect "CAPS|" "the Caps Lock key released" && typed b 20 && expect "CAPS|B" "the Caps Lock key"
  # The focus on the root window, the pointer off ours: the key reaches no window of the editor.
  xdotool mousemove 1279 1023 windowfocus "$(xwininfo -root | awk '/Window id/ {print $4}')" key Caps_Lock
  expect "|B" "unlocked while another window had the focus"
  key Caps_Lock && start_editor && expect "CAPS|" "a start while locked"
  key Caps_Lock
else
  start_editor && expect "|" "before any key"
  wtype -s 1000 -M capslock -k a -m capslock && expect "CAPS|A" "typed locked"
  typed b 20 && expect "|Ab" "typed unlocked"
fi
echo "caps_lock: ok"
