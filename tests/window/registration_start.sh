#!/usr/bin/env bash
# A start on a page registers the six types in the user's XDG folders; a second start leaves every
# file byte for byte and time for time as the first one did.
source "$(dirname "$0")/lib.bash"

mkdir -p "$XDG_CONFIG_HOME" "$HOME/Templates"
printf 'XDG_TEMPLATES_DIR="$HOME/Templates"\n' > "$XDG_CONFIG_HOME/user-dirs.dirs"
printf '[Default Applications]\nimage/png=viewer.desktop;\n' > "$XDG_CONFIG_HOME/mimeapps.list"
doc="$WORK/page.php"
printf '<?php echo "hi"; ?>\n' > "$doc"
entry="$XDG_DATA_HOME/applications/com.marvolis.Kestrin4.desktop"

start_and_exit() {
  "$BIN" "$doc" & local p=$!; PIDS+=($p)
  local win
  win=$(wait_window "Marvolis KESTRIN Vozod 4 START") || fail "no editor window"
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
  sleep 0.3
  # The window may be gone before the keys are released, which ends xdotool with BadWindow and
  # leaves them held down; release them, or the X server repeats Ctrl+X into the next window.
  xdotool key --window "$win" ctrl+x 2>/dev/null || true
  xdotool keyup x ctrl 2>/dev/null || true
  wait_gone "$p" 50 || fail "editor did not end after Exit"
}

snapshot() {
  (cd "$HOME" && find . -type f -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort)
}

start_and_exit
[ -f "$entry" ] || fail "no desktop entry"
exe=$(readlink -f "$BIN")
grep -qxF "Exec=\"$exe\" %f" "$entry" || fail "Exec does not name $exe: $(grep Exec "$entry")"
grep -qx 'image/png=viewer.desktop;' "$XDG_CONFIG_HOME/mimeapps.list" || fail "mimeapps.list lost a line"
grep -qx 'application/x-php=com.marvolis.Kestrin4.desktop;' "$XDG_CONFIG_HOME/mimeapps.list" || fail "not the default for PHP"
[ -f "$XDG_DATA_HOME/mime/packages/kestrin4.xml" ] || fail "no MIME package"
[ -f "$XDG_DATA_HOME/icons/hicolor/scalable/mimetypes/kestrin4-php.svg" ] || fail "no PHP icon"
[ "$(ls "$HOME/Templates" | wc -l)" -eq 6 ] || fail "templates: $(ls "$HOME/Templates")"

# The database tools run detached; let them finish before the comparison.
for _ in $(seq 1 100); do
  { ! command -v update-mime-database >/dev/null || [ -f "$XDG_DATA_HOME/mime/mime.cache" ]; } &&
  { ! command -v update-desktop-database >/dev/null || [ -f "$XDG_DATA_HOME/applications/mimeinfo.cache" ]; } && break
  sleep 0.1
done
sleep 0.5
if command -v gio >/dev/null; then
  answer=$(gio mime application/x-php)
  grep -q 'Default application.*: com.marvolis.Kestrin4.desktop' <<<"$answer" || fail "gio: $answer"
fi
before=$(snapshot)
sleep 1.1
start_and_exit
[ "$(snapshot)" = "$before" ] || fail "second start changed files: $(diff <(echo "$before") <(snapshot) | head)"
echo "registration_start: ok"
