#!/usr/bin/env bash
# What a screen reader gets through AT-SPI (its bus started on demand): the document's text, length and
# caret after typing a non-ASCII letter, the insert event that announces it, the status bar's path and date.
source "$(dirname "$0")/lib.bash"

printf 'ab\r\n' > "$WORK/page.php"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.php"
xdotool key ctrl+End
# Debian's python3 (pyatspi is a Debian package), whatever python3 comes first on the PATH.
DOC="$WORK/page.php" /usr/bin/python3 - <<'PY' || fail "AT-SPI: see above"
from atspi import *
app = app()
editor = find(app, lambda o: o.name == "Document text") or sys.exit("no editor object named 'Document text'")
events = []
def heard(e):
    if e.source == editor:
        events.append((e.detail1, e.any_data))
        GLib.timeout_add(200, lambda: pyatspi.Registry.stop())
pyatspi.Registry.registerEventListener(heard, "object:text-changed:insert")
# Slowly and in UTF-8, as the save-questions test types: xdotool maps the letter to a spare key
# for a moment, and a busy machine must still read the key before the mapping goes.
GLib.timeout_add(300, lambda: subprocess.call(["xdotool", "type", "--delay", "300", "é"],
                                              env=dict(os.environ, LC_ALL="C.UTF-8")) and False)
GLib.timeout_add(10000, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
text, path, date = editor.queryText(), find(app, lambda o: o.description == "Document path"), find(app, lambda o: o.description == "Date")
got = {"text": text.getText(0, -1), "characters": text.characterCount, "caret": text.caretOffset,
       "heard the insert": (4, "é") in events, "line at 4": text.getTextAtOffset(4, pyatspi.TEXT_BOUNDARY_LINE_START)[0],
       "path panel": path and path.name, "date has digits": bool(date and any(c.isdigit() for c in date.name))}
want = {"text": "ab\r\né", "characters": 5, "caret": 5, "heard the insert": True, "line at 4": "é",
        "path panel": os.environ["DOC"], "date has digits": True}
sys.exit("got %r, events %r" % (got, events)) if got != want else print("accessibility: ok (date panel reads %s)" % date.name)
PY
