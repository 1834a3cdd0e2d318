#!/usr/bin/env bash
# The CAPS panel as a screen reader reads it (AT-SPI), beside the letters typed. On X Caps Lock is known
# from the start and followed while another window has the focus; under Wayland, which tells a window
# the keyboard's state only with its keys, from the first key typed in the window.
source "$(dirname "$0")/lib.bash"
# Waits until the panel and the document read "panel|text" ($1); $2 says when.
expect() {
  KESTRIN_PID=$pid WANT=$1 /usr/bin/python3 - <<'PY' || fail "$2: see above"
from atspi import *
panel, doc = find(app(), lambda o: o.description == "Caps Lock"), find(app(), lambda o: o.name == "Document text")
for _ in range(50):
    got = "%s|%s" % (panel.name, doc.queryText().getText(0, -1))
    if got == os.environ["WANT"]: sys.exit()
    GLib.usleep(100000)
sys.exit("got %r, not %r" % (got, os.environ["WANT"]))
PY
}
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
if [ -z "$WL" ]; then
  start_editor && expect "|" "at the start"
  key Caps_Lock && typed b 20 && expect "CAPS|B" "the Caps Lock key"
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
