#!/usr/bin/env bash
# Matching tags on the real display, read back through AT-SPI: Ctrl+E from a tag's name to its
# partner and back, Ctrl+Shift+E selecting up to the partner, the document unchanged.
source "$(dirname "$0")/lib.bash"

printf '<div class="a">\n<p>x</p>\n</div>\n' > "$WORK/page.html"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.html"
atspi <<'PY'
keys("ctrl+Home", "Right", "Right")
keys("ctrl+e"); there = text.caretOffset
keys("ctrl+e"); back = text.caretOffset
keys("ctrl+shift+e")
got = (there, back, text.getSelection(0), text.getText(0, -1))
want = (27, 1, (1, 31), '<div class="a">\n<p>x</p>\n</div>\n')
sys.exit("got %r, want %r" % (got, want)) if got != want else print("matching_tags: ok")
PY
