#!/usr/bin/env bash
# What a screen reader gets through AT-SPI: the document's text, length and caret after typing a
# non-ASCII letter, the insert event that announces it, and the status bar's path and date.
# Debian's python3 (pyatspi is a Debian package), whatever python3 comes first on the PATH.
[ -n "${KESTRIN_A11Y_BUS:-}" ] || KESTRIN_A11Y_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.bash"

/usr/libexec/at-spi-bus-launcher --launch-immediately & PIDS+=($!)
sleep 0.5
doc="$WORK/page.php"
printf 'ab\r\n' > "$doc"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$BIN" "$doc" & PIDS+=($!)
win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
xdotool windowfocus --sync "$win"
sleep 0.5
xdotool key ctrl+End

DOC="$doc" /usr/bin/python3 - <<'PY' || fail "AT-SPI: see above"
import os, subprocess, sys
import pyatspi
from gi.repository import GLib

def find(root, pred):
    return pyatspi.findDescendant(root, pred, True)

app = None
for _ in range(50):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "kestrin4"), None)
    if app:
        break
    GLib.usleep(100000)
if not app:
    sys.exit("kestrin4 is not on the accessibility bus")
editor = find(app, lambda o: o.name == "Document text")
if not editor:
    sys.exit("no editor object named 'Document text'")

events = []
def listener(e):
    if e.source == editor:
        events.append((e.type, e.detail1, e.any_data))
pyatspi.Registry.registerEventListener(listener, "object:text-changed:insert", "object:text-caret-moved")
GLib.timeout_add(300, lambda: subprocess.call(["xdotool", "type", "--delay", "50", "é"]) and False)
GLib.timeout_add(2500, lambda: pyatspi.Registry.stop() and False)
pyatspi.Registry.start()

text = editor.queryText()
errors = []
want = "ab\r\né"
if text.getText(0, -1) != want: errors.append("text %r, want %r" % (text.getText(0, -1), want))
if text.characterCount != 5: errors.append("character count %d, want 5" % text.characterCount)
if text.caretOffset != 5: errors.append("caret %d, want 5" % text.caretOffset)
if not any(t.startswith("object:text-changed:insert") and d == 4 and s == "é" for t, d, s in events):
    errors.append("no insert event for 'é' at 4: %r" % events)
line = text.getTextAtOffset(4, pyatspi.TEXT_BOUNDARY_LINE_START)
if line[0] != "é": errors.append("line at the caret %r" % (line,))
path = find(app, lambda o: o.description == "Document path")
if not path or path.name != os.environ["DOC"]: errors.append("path panel reads %r" % (path and path.name))
date = find(app, lambda o: o.description == "Date")
if not date or not any(c.isdigit() for c in date.name): errors.append("date panel reads %r" % (date and date.name))
if errors:
    sys.exit("\n".join(errors))
print("accessibility: ok (date panel reads %s)" % date.name)
PY
