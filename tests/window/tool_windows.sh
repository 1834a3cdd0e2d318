#!/usr/bin/env bash
# The UTILS page's buttons (pressed through AT-SPI, as a screen reader does) open the colour chooser
# and the replace tool as toplevel windows of their own, beside the editor, which still takes typing.
source "$(dirname "$0")/lib.bash"
printf '<p>x</p>\n' > "$WORK/page.htm"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.htm"
/usr/bin/python3 - <<'PY' || fail "AT-SPI: see above"
from atspi import *
for name in ("COLOR CHOOSER UTILITY", "REPLACE IN MULTIPLE FILES"):
    (find(app(), lambda o: o.name == name and o.getRole() == pyatspi.ROLE_PUSH_BUTTON)
     or sys.exit("no button " + name)).queryAction().doAction(0)
PY
titles="^(Marvolis KESTRIN Vozod 4 START|COLOR CHOOSER UTILITY|REPLACE IN MULTIPLE FILES)$"
poll 100 '[ "$(windows "$titles" | sort -u | wc -l)" = 3 ]' || fail "windows shown: $(windows .)"
shot "$SHOTS/tool-windows${WL:+-wayland}.png"
focus "$win" && typed y 20 && key ctrl+s
poll 50 '[ "$(cat "$WORK/page.htm")" = "y<p>x</p>" ]' || fail "the editor beside the tools saved: $(cat "$WORK/page.htm")"
echo "tool_windows: ok"
