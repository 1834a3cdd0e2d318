#!/usr/bin/env bash
# Matching tags on the real display, read back through AT-SPI: Ctrl+E from a tag's name to its
# partner and back, Ctrl+Shift+E selecting up to the partner, the document unchanged.
source "$(dirname "$0")/lib.bash"

printf '<div class="a">\n<p>x</p>\n</div>\n' > "$WORK/page.html"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.html"
/usr/bin/python3 - <<'PY' || fail "AT-SPI: see above"
import subprocess, sys, time, pyatspi
for _ in range(50):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "kestrin4"), None)
    if app: break
    time.sleep(0.1)
else: sys.exit("kestrin4 is not on the accessibility bus")
text = pyatspi.findDescendant(app, lambda o: o.name == "Document text", True).queryText()
def keys(*k):
    subprocess.check_call(["xdotool", "key", "--delay", "100", *k])
    time.sleep(0.4)
keys("ctrl+Home", "Right", "Right")
keys("ctrl+e"); there = text.caretOffset
keys("ctrl+e"); back = text.caretOffset
keys("ctrl+shift+e")
got = (there, back, text.getSelection(0), text.getText(0, -1))
want = (27, 1, (1, 31), '<div class="a">\n<p>x</p>\n</div>\n')
sys.exit("got %r, want %r" % (got, want)) if got != want else print("matching_tags: ok")
PY
