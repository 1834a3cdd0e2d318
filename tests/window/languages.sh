#!/usr/bin/env bash
# The desktop's language as a screen reader gets it through AT-SPI: per LANG (or LANGUAGE list), the menu bar, the File
# and Edit menus and the question Exit asks about a changed document, with its buttons (Qt's words).
source "$(dirname "$0")/lib.bash"
unset LC_ALL LC_MESSAGES LANGUAGE # LANG alone decides, as on a desktop that sets nothing else
rows=( # LANG[/LANGUAGE] | menu bar | File menu | Edit menu | question | buttons, sorted; "_" is a space in a name
  "C|File Edit About|New Open Save Save_As... Save_as_txt... Exit|Undo Redo Cut Copy Paste Delete Select_All Find Find_next Replace Goto_line|The file Untitled is changed and not saved. Save?|Cancel No Yes"
  "de_DE.UTF-8|Datei Bearbeiten Über|Neu Öffnen Speichern Speichern_unter... Als_TXT_speichern... Beenden|Rückgängig Wiederherstellen Ausschneiden Kopieren Einfügen Löschen Alles_auswählen Suchen Weitersuchen Ersetzen Gehe_zu_Zeile|Die Datei Unbenannt wurde geändert und nicht gespeichert. Speichern?|Abbrechen Ja Nein"
  "fr_FR.UTF-8/fr:de|Datei Bearbeiten Über|Neu Öffnen Speichern Speichern_unter... Als_TXT_speichern... Beenden|Rückgängig Wiederherstellen Ausschneiden Kopieren Einfügen Löschen Alles_auswählen Suchen Weitersuchen Ersetzen Gehe_zu_Zeile|Die Datei Unbenannt wurde geändert und nicht gespeichert. Speichern?|Abbrechen Ja Nein"
  "es_ES.UTF-8|Archivo Editar Acerca_de|Nuevo Abrir Guardar Guardar_como... Guardar_como_TXT... Salir|Deshacer Rehacer Cortar Copiar Pegar Borrar Seleccionar_todo Buscar Buscar_siguiente Reemplazar Ir_a_la_línea|El archivo Sin título ha cambiado y no se ha guardado. ¿Guardar?|Cancelar No Sí")
for row in "${rows[@]}"; do
  lang=${row%%|*} # a LANGUAGE list whose first has no translation: the next one, Qt's buttons as well
  LANG=${lang%/*} LANGUAGE=$([[ $lang == */* ]] && echo "${lang#*/}") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_editor
  xdotool type x && xdotool key ctrl+x
  WANT=${row#*|} /usr/bin/python3 - <<'PY' || fail "${row%%|*}: see above"
from atspi import *
role = lambda root, r: find(root, lambda o: o.getRole() == r)
names = lambda objs: [o.name.replace(" ", "_") for o in objs]
for _ in range(100):
    box = role(app(), pyatspi.ROLE_ALERT) or role(app(), pyatspi.ROLE_DIALOG)
    if box: break
    GLib.usleep(100000)
else: sys.exit("no question box on the accessibility bus")
bar = role(app(), pyatspi.ROLE_MENU_BAR)
question = pyatspi.findDescendant(box, lambda o: o.getRole() == pyatspi.ROLE_LABEL and "?" in o.name, True)
buttons = pyatspi.findAllDescendants(box, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON)
menus = [" ".join(names(c for c in m[0] if c.getRole() != pyatspi.ROLE_SEPARATOR)) for m in bar if m.childCount]
got = "|".join([" ".join(names(bar))] + menus + [question.name if question else "", " ".join(sorted(names(buttons)))])
sys.exit("got  %s\nwant %s" % (got, os.environ["WANT"])) if got != os.environ["WANT"] else print("ok:", got)
PY
  kill "$pid" && gone "$pid" || fail "${row%%|*}: the editor did not end"
  rm -rf "$XDG_STATE_HOME/kestrin4/recovery" # SIGTERM keeps the typed text for the next start, which would offer it
done
echo "languages: menus and the save question in English, German and Spanish"
