#!/usr/bin/env bash
# What a screen reader gets through AT-SPI: the document's text, length and caret after typing a
# non-ASCII letter, the insert event that announces it, and the status bar's path and date.
# The accessibility bus starts on demand (D-Bus activation of org.a11y.Bus).
source "$(dirname "$0")/lib.bash"

printf 'ab\r\n' > "$WORK/page.php"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.php"
xdotool key ctrl+End
# Debian's python3 (pyatspi is a Debian package), whatever python3 comes first on the PATH.
DOC="$WORK/page.php" /usr/bin/python3 - <<'PY' || fail "AT-SPI: see above"
import os, subprocess, sys, pyatspi
from gi.repository import GLib
find = lambda root, name=None, description=None: pyatspi.findDescendant(
    root, lambda o: o.name == name if name else o.description == description, True)
for _ in range(50):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "kestrin4"), None)
    if app: break
    GLib.usleep(100000)
else: sys.exit("kestrin4 is not on the accessibility bus")
editor = find(app, "Document text") or sys.exit("no editor object named 'Document text'")
events = []
def heard(e):
    if e.source == editor:
        events.append((e.detail1, e.any_data))
        GLib.timeout_add(200, lambda: pyatspi.Registry.stop())
pyatspi.Registry.registerEventListener(heard, "object:text-changed:insert")
GLib.timeout_add(300, lambda: subprocess.call(["xdotool", "type", "--delay", "50", "é"]) and False)
GLib.timeout_add(10000, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
text, path, date = editor.queryText(), find(app, description="Document path"), find(app, description="Date")
errors = [what for what, ok in [
    ("text %r" % text.getText(0, -1), text.getText(0, -1) == "ab\r\né"),
    ("character count %d" % text.characterCount, text.characterCount == 5),
    ("caret %d" % text.caretOffset, text.caretOffset == 5),
    ("insert events %r" % events, (4, "é") in events),
    ("line at the caret %r" % (text.getTextAtOffset(4, pyatspi.TEXT_BOUNDARY_LINE_START),),
     text.getTextAtOffset(4, pyatspi.TEXT_BOUNDARY_LINE_START)[0] == "é"),
    ("path panel reads %r" % (path and path.name), path and path.name == os.environ["DOC"]),
    ("date panel reads %r" % (date and date.name), date and any(c.isdigit() for c in date.name))] if not ok]
sys.exit("\n".join(errors)) if errors else print("accessibility: ok (date panel reads %s)" % date.name)
PY
