#!/usr/bin/env bash
# Closing the open element through AT-SPI: "</" offers "div", Return writes "div>", Ctrl+Z takes just that back.
source "$(dirname "$0")/lib.bash"

printf '<div>\n<p>x</p>\n' > "$WORK/page.html"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.html"
atspi <<'PY'
keys("ctrl+End", "less", "slash")
keys("Return"); closed = text.getText(0, -1)
keys("ctrl+z"); undone = text.getText(0, -1)
got, want = (closed, undone), ("<div>\n<p>x</p>\n</div>", "<div>\n<p>x</p>\n</")
sys.exit("got %r, want %r" % (got, want)) if got != want else print("closing_tag: ok")
PY
