#!/usr/bin/env bash
# PHP's syntax check through AT-SPI: Ctrl+S puts php's message in the editor's description, a fix takes it away.
source "$(dirname "$0")/lib.bash"
command -v php >/dev/null || { echo "php_check: skipped, php is not installed"; exit 0; }

printf '<?php\necho 1\necho 2;\n' > "$WORK/page.php"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor "$WORK/page.php"
atspi <<'PY'
def said(want):
    for _ in range(50):
        if (editor.description != "") == want: return editor.description
        time.sleep(0.1)
keys("ctrl+s"); broken = said(True)
keys("ctrl+Home", "Down", "End", "semicolon", "ctrl+s"); fixed = said(False)
got, want = (broken, fixed), ('PHP Parse error: syntax error, unexpected token "echo", expecting "," or ";" on line 3', "")
sys.exit("got %r, want %r" % (got, want)) if got != want else print("php_check: ok")
PY
