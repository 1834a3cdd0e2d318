<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Catalogue</name>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Strikethru</source>
        <translation>Durchgestrichen</translation>
    </message>
    <message>
        <source>Cite</source>
        <translation>Quellenangabe</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Größer</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Kleiner</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Stark betont</translation>
    </message>
    <message>
        <source>Header1</source>
        <translation>Überschrift 1</translation>
    </message>
    <message>
        <source>Header2</source>
        <translation>Überschrift 2</translation>
    </message>
    <message>
        <source>Header3</source>
        <translation>Überschrift 3</translation>
    </message>
    <message>
        <source>Header4</source>
        <translation>Überschrift 4</translation>
    </message>
    <message>
        <source>Header5</source>
        <translation>Überschrift 5</translation>
    </message>
    <message>
        <source>Font color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Font face</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Justyfied</source>
        <translation>Blocksatz</translation>
    </message>
    <message>
        <source>Horizontal line</source>
        <translation>Horizontale Linie</translation>
    </message>
    <message>
        <source>Line break</source>
        <translation>Zeilenumbruch</translation>
    </message>
    <message>
        <source>Nobreak</source>
        <translation>Kein Umbruch</translation>
    </message>
    <message>
        <source>Preformatted</source>
        <translation>Vorformatiert</translation>
    </message>
    <message>
        <source>Copiryght</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>Registered</source>
        <translation>Eingetragene Marke</translation>
    </message>
    <message>
        <source>Insert function</source>
        <translation>Funktion einfügen</translation>
    </message>
    <message>
        <source>Delete file</source>
        <translation>Datei löschen</translation>
    </message>
    <message>
        <source>Strip html tags</source>
        <translation>HTML-Tags entfernen</translation>
    </message>
    <message>
        <source>Convert html special chars</source>
        <translation>HTML-Sonderzeichen</translation>
    </message>
    <message>
        <source>xhtml header</source>
        <translation>XHTML-Kopf</translation>
    </message>
    <message>
        <source>xhtml footer</source>
        <translation>XHTML-Fuß</translation>
    </message>
    <message>
        <source>form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>textbox</source>
        <translation>Textfeld</translation>
    </message>
    <message>
        <source>hidded textbox</source>
        <translation>Verstecktes Textfeld</translation>
    </message>
    <message>
        <source>read only textbox</source>
        <translation>Textfeld (schreibgeschützt)</translation>
    </message>
    <message>
        <source>passwordbox</source>
        <translation>Passwortfeld</translation>
    </message>
    <message>
        <source>combobox</source>
        <translation>Auswahlliste</translation>
    </message>
    <message>
        <source>submit</source>
        <translation>Absenden-Schaltfläche</translation>
    </message>
    <message>
        <source>Insert table</source>
        <translation>Tabelle einfügen</translation>
    </message>
    <message>
        <source>Ajax getHTTPObject sample</source>
        <translation>Beispiel getHTTPObject</translation>
    </message>
</context>
<context>
    <name>CharacterReferences</name>
    <message>
        <source>AND</source>
        <translation>UND</translation>
    </message>
    <message>
        <source>Replace special caracters with html code</source>
        <translation>Sonderzeichen durch HTML-Code ersetzen</translation>
    </message>
</context>
<context>
    <name>ReplacePaths</name>
    <message>
        <source>the file is read-only or you have no permission to change it</source>
        <translation>die Datei ist schreibgeschützt, oder Sie haben keine Berechtigung, sie zu ändern</translation>
    </message>
    <message>
        <source>the file may not be changed (it is marked immutable)</source>
        <translation>die Datei darf nicht geändert werden (sie ist als unveränderlich markiert)</translation>
    </message>
    <message>
        <source>the file lies on a read-only file system</source>
        <translation>die Datei liegt auf einem schreibgeschützten Dateisystem</translation>
    </message>
</context>
<context>
    <name>ScintillaQt</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>There is not enough memory to open the file.</source>
        <translation>Es ist nicht genug Speicher frei, um die Datei zu öffnen.</translation>
    </message>
    <message>
        <source>The file is not a text file (it contains a NUL character).</source>
        <translation>Die Datei ist keine Textdatei (sie enthält ein NUL-Zeichen).</translation>
    </message>
    <message>
        <source>The UTF-16 text ends in the middle of a character.</source>
        <translation>Der UTF-16-Text endet mitten in einem Zeichen.</translation>
    </message>
    <message>
        <source>The UTF-16 text contains an unpaired surrogate.</source>
        <translation>Der UTF-16-Text enthält ein Surrogat ohne Partner.</translation>
    </message>
    <message>
        <source>The UTF-16 file has an odd number of bytes; its last character is incomplete.</source>
        <translation>Die UTF-16-Datei hat eine ungerade Anzahl Bytes; ihr letztes Zeichen ist unvollständig.</translation>
    </message>
    <message>
        <source>The file is not a text file (it contains NUL bytes).</source>
        <translation>Die Datei ist keine Textdatei (sie enthält NUL-Bytes).</translation>
    </message>
    <message>
        <source>Line %1 contains bytes that are not valid UTF-8 text.</source>
        <translation>Zeile %1 enthält Bytes, die kein gültiger UTF-8-Text sind.</translation>
    </message>
    <message>
        <source>The character %1 on line %2 cannot be written in Windows-1252, the encoding of this file.</source>
        <translation>Das Zeichen %1 in Zeile %2 kann nicht in Windows-1252, der Kodierung dieser Datei, geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>kestrin::CodeEdit</name>
    <message>
        <source>Document text</source>
        <translation>Dokumenttext</translation>
    </message>
</context>
<context>
    <name>kestrin::EditorStatusBar</name>
    <message>
        <source>Document path</source>
        <translation>Dokumentpfad</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Feststelltaste</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügemodus</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>INS</source>
        <comment>insert mode</comment>
        <translation>EINFG</translation>
    </message>
    <message>
        <source>CAPS</source>
        <comment>Caps Lock on</comment>
        <translation>FEST</translation>
    </message>
</context>
<context>
    <name>kestrin::FindReplaceDialog</name>
    <message>
        <source>Find what:</source>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>Suchen nach</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation>Ersetzen durch:</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Ersetzen durch</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Nur ganze &amp;Wörter</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>Regulärer &amp;Ausdruck</translation>
    </message>
    <message>
        <source>Search &amp;backwards</source>
        <translation>&amp;Rückwärts suchen</translation>
    </message>
    <message>
        <source>Wrap ar&amp;ound</source>
        <translation>Am anderen Ende &amp;fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>Weiter&amp;suchen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>A&amp;lle ersetzen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Search result</source>
        <translation>Suchergebnis</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>„%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Replaced 1 occurrence.</source>
        <translation>1 Vorkommen ersetzt.</translation>
    </message>
    <message>
        <source>Replaced %1 occurrences.</source>
        <translation>%1 Vorkommen ersetzt.</translation>
    </message>
</context>
<context>
    <name>kestrin::Journal</name>
    <message>
        <source>The journal is empty: nothing was recorded in it.</source>
        <translation>Das Journal ist leer: Es wurde nichts darin aufgezeichnet.</translation>
    </message>
    <message>
        <source>The file is not a recovery journal of this program.</source>
        <translation>Die Datei ist kein Wiederherstellungsjournal dieses Programms.</translation>
    </message>
    <message>
        <source>The journal was written by another version of the program (format %1).</source>
        <translation>Das Journal wurde von einer anderen Version des Programms geschrieben (Format %1).</translation>
    </message>
    <message>
        <source>The journal is damaged: a checksum does not match.</source>
        <translation>Das Journal ist beschädigt: Eine Prüfsumme stimmt nicht.</translation>
    </message>
    <message>
        <source>The journal is damaged: a change lies outside the text.</source>
        <translation>Das Journal ist beschädigt: Eine Änderung liegt außerhalb des Textes.</translation>
    </message>
    <message>
        <source>The journal is damaged: its first text is not the one it recorded.</source>
        <translation>Das Journal ist beschädigt: Sein Ausgangstext ist nicht der aufgezeichnete.</translation>
    </message>
    <message>
        <source>The journal holds a record this version does not know.</source>
        <translation>Das Journal enthält einen Eintrag, den diese Version nicht kennt.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made: %2</source>
        <translation>Der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user or is open to others.</source>
        <translation>Der Ordner %1 gehört einem anderen Benutzer oder ist für andere zugänglich.</translation>
    </message>
    <message>
        <source>The journal cannot be read.</source>
        <translation>Das Journal kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>kestrin::JournalWriter</name>
    <message>
        <source>The journal cannot be written.</source>
        <translation>Das Journal kann nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>kestrin::ReplaceRun</name>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) before it were changed and taken off the list. This file and the %1 after it were not changed and stay in the list.</source>
        <translation>
            <numerusform>%n Datei davor wurde geändert und von der Liste genommen. Diese Datei und die %1 danach wurden nicht geändert und bleiben in der Liste.</numerusform>
            <numerusform>%n Dateien davor wurden geändert und von der Liste genommen. Diese Datei und die %1 danach wurden nicht geändert und bleiben in der Liste.</numerusform>
        </translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>could not be saved</source>
        <translation>konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>%1

The run had stopped at &quot;%2&quot;, which %3: %4</source>
        <translation>%1

Der Durchlauf war bei „%2“ stehen geblieben; die Datei %3: %4</translation>
    </message>
    <message>
        <source>%1

The run had been stopped before &quot;%2&quot;.</source>
        <translation>%1

Der Durchlauf war vor „%2“ angehalten worden.</translation>
    </message>
    <message>
        <source>The run was stopped before &quot;%1&quot;.

</source>
        <translation>Der Durchlauf wurde vor „%1“ angehalten.

</translation>
    </message>
    <message>
        <source>A changed file could not be put in place: %1

The files that could not be written were not changed and stay in the list; the other changed files were written and taken off the list.</source>
        <translation>Eine geänderte Datei konnte nicht an ihren Platz gebracht werden: %1

Die Dateien, die nicht geschrieben werden konnten, wurden nicht geändert und bleiben in der Liste; die übrigen geänderten Dateien wurden geschrieben und von der Liste genommen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; %2: %3</source>
        <comment>%1 a file&apos;s path, %2 what failed (could not be read), %3 why</comment>
        <translation>„%1“ %2: %3</translation>
    </message>
</context>
<context>
    <name>kestrin::ScrollPicture</name>
    <message>
        <source>Image viewer</source>
        <translation>Bildanzeige</translation>
    </message>
    <message>
        <source>Scroll the image sideways</source>
        <translation>Bild waagerecht verschieben</translation>
    </message>
    <message>
        <source>Scroll the image up and down</source>
        <translation>Bild senkrecht verschieben</translation>
    </message>
    <message>
        <source>Image frame</source>
        <translation>Bildrahmen</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Scrool picture</source>
        <translation>Bildanzeige</translation>
    </message>
    <message>
        <source>No existe ninguna imagen</source>
        <translation>Es ist kein Bild vorhanden</translation>
    </message>
    <message>
        <source>Scroll picture</source>
        <translation>Bildanzeige</translation>
    </message>
    <message>
        <source>No existe niguna imagen.</source>
        <translation>Es ist kein Bild vorhanden.</translation>
    </message>
</context>
<context>
    <name>kestrin::SidePanel</name>
    <message>
        <source>WEB HEADER</source>
        <translation>WEB-KOPF</translation>
    </message>
    <message>
        <source>LANGUAGE</source>
        <translation>SPRACHE</translation>
    </message>
    <message>
        <source>UTILS</source>
        <translation>EXTRAS</translation>
    </message>
    <message>
        <source>FORM</source>
        <translation>FORMULAR</translation>
    </message>
    <message>
        <source>TABLE</source>
        <translation>TABELLE</translation>
    </message>
    <message>
        <source>Side panel</source>
        <translation>Seitenleiste</translation>
    </message>
    <message>
        <source>Side panel pages</source>
        <translation>Seiten der Seitenleiste</translation>
    </message>
    <message>
        <source>%1 snippets</source>
        <translation>Textbausteine %1</translation>
    </message>
    <message>
        <source>Insert %1 (%2)</source>
        <translation>%1 (%2) einfügen</translation>
    </message>
    <message>
        <source>Fold or unfold the side panel</source>
        <translation>Seitenleiste ein- oder ausklappen</translation>
    </message>
    <message>
        <source>CONVERT SELECTED ADDRESS TO LINK</source>
        <translation>MARKIERTE ADRESSE IN LINK UMWANDELN</translation>
    </message>
    <message>
        <source>DELETE HTM CODES</source>
        <translation>HTML-CODES LÖSCHEN</translation>
    </message>
    <message>
        <source>HTML BLOCK COMMENT</source>
        <translation>HTML-BLOCKKOMMENTAR</translation>
    </message>
    <message>
        <source>PHP BLOCK COMMENT</source>
        <translation>PHP-BLOCKKOMMENTAR</translation>
    </message>
    <message>
        <source>COLOR CHOOSER UTILITY</source>
        <translation>FARBWÄHLER</translation>
    </message>
    <message>
        <source>REPLACE IN MULTIPLE FILES</source>
        <translation>IN MEHREREN DATEIEN ERSETZEN</translation>
    </message>
</context>
<context>
    <name>kestrin::frmColor</name>
    <message>
        <source>All images</source>
        <translation>Alle Bilder</translation>
    </message>
    <message>
        <source>Colour palette</source>
        <translation>Farbpalette</translation>
    </message>
    <message>
        <source>Selected color</source>
        <translation>Gewählte Farbe</translation>
    </message>
    <message>
        <source>Selected color:</source>
        <translation>Gewählte Farbe:</translation>
    </message>
    <message>
        <source>INSERT</source>
        <translation>EINFÜGEN</translation>
    </message>
    <message>
        <source>SELECT PICTURE</source>
        <translation>BILD WÄHLEN</translation>
    </message>
    <message>
        <source>Selected color text</source>
        <translation>Text der gewählten Farbe</translation>
    </message>
    <message>
        <source>COLOR CHOOSER UTILITY</source>
        <translation>FARBWÄHLER</translation>
    </message>
    <message>
        <source>Images|*.jpg;*.bmp;*.gif;*.wmf</source>
        <translation>Bilder|*.jpg;*.bmp;*.gif;*.wmf</translation>
    </message>
</context>
<context>
    <name>kestrin::frmEdit</name>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Font face</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Color code</source>
        <translation>Farbcode</translation>
    </message>
    <message>
        <source>Align left</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Align right</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>Line break</source>
        <translation>Zeilenumbruch</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Save as txt...</source>
        <translation>Als TXT speichern...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Goto line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Toolbar1</source>
        <translation>Symbolleiste 1</translation>
    </message>
    <message>
        <source>Current color</source>
        <translation>Aktuelle Farbe</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>open</source>
        <comment>Could not %1 the file</comment>
        <translation>geöffnet</translation>
    </message>
    <message>
        <source>Line:</source>
        <translation>Zeile:</translation>
    </message>
    <message>
        <source>Marvolis KESTRIN Vozod 4
Ver %1.%2.%3
Made by Marvolis for web developers</source>
        <translation>Marvolis KESTRIN Vozod 4
Version %1.%2.%3
Von Marvolis für Webentwickler</translation>
    </message>
    <message>
        <source>The editing engine is Scintilla %1 with Lexilla %2, Copyright 1998-2021 by Neil Hodgson, used under their licence (see the copyright file).</source>
        <translation>Die Bearbeitungskomponente ist Scintilla %1 mit Lexilla %2, Copyright 1998-2021 Neil Hodgson, verwendet unter deren Lizenz (siehe die Copyright-Datei).</translation>
    </message>
    <message>
        <source>Supported files|*.htm;*.html;*.php;*.css;*.js;*.tpl|All files|*.*</source>
        <translation>Unterstützte Dateien|*.htm;*.html;*.php;*.css;*.js;*.tpl|Alle Dateien|*.*</translation>
    </message>
    <message>
        <source>Html files|*.htm;*.html|Php files|*.php|Css files|*.css|Js files|*.js|Tpl files|*.tpl</source>
        <translation>HTML-Dateien|*.htm;*.html|PHP-Dateien|*.php|CSS-Dateien|*.css|JS-Dateien|*.js|TPL-Dateien|*.tpl</translation>
    </message>
    <message>
        <source>Txt file|*.txt</source>
        <translation>TXT-Datei|*.txt</translation>
    </message>
    <message>
        <source>Could not %1 the file %2:
%3</source>
        <translation>Die Datei %2 konnte nicht %1 werden:
%3</translation>
    </message>
    <message>
        <source>The file %1 is changed and not saved. Save?</source>
        <translation>Die Datei %1 wurde geändert und nicht gespeichert. Speichern?</translation>
    </message>
    <message>
        <source>Could not start a new window of %1.</source>
        <translation>Ein neues Fenster von %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>save</source>
        <comment>Could not %1 the file</comment>
        <translation>gespeichert</translation>
    </message>
    <message>
        <source>%1, the encoding of the file %2</source>
        <translation>%1, der Kodierung der Datei %2</translation>
    </message>
    <message>
        <source>The character %1 on line %2 cannot be written in %3.</source>
        <translation>Das Zeichen %1 in Zeile %2 kann nicht in %3 geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 characters cannot be written in %2. The first is %3 on line %4.</source>
        <translation>%1 Zeichen können nicht in %2 geschrieben werden. Das erste ist %3 in Zeile %4.</translation>
    </message>
    <message>
        <source>Use character references</source>
        <translation>Zeichenreferenzen verwenden</translation>
    </message>
    <message>
        <source>Use escapes</source>
        <translation>Escape-Sequenzen verwenden</translation>
    </message>
    <message>
        <source>Save as UTF-8</source>
        <translation>Als UTF-8 speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program since it was opened. Overwrite it?</source>
        <translation>Die Datei %1 wurde seit dem Öffnen von einem anderen Programm geändert. Überschreiben?</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 are not protected against a crash: the recovery journal cannot be written.
%2</source>
        <translation>Ungespeicherte Änderungen an %1 sind nicht gegen einen Absturz geschützt: Das Wiederherstellungsjournal kann nicht geschrieben werden.
%2</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 were kept when the program ended without saving them. The last change was made %2.</source>
        <translation>Ungespeicherte Änderungen an %1 wurden aufbewahrt, als das Programm endete, ohne sie zu speichern. Die letzte Änderung war am %2.</translation>
    </message>
    <message>
        <source>The file is no longer on disk.</source>
        <translation>Die Datei ist nicht mehr auf dem Datenträger.</translation>
    </message>
    <message>
        <source>The file on disk has changed since.</source>
        <translation>Die Datei auf dem Datenträger wurde seitdem geändert.</translation>
    </message>
    <message>
        <source>Recover the changes?</source>
        <translation>Die Änderungen wiederherstellen?</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 were kept (the last change was made %2), but they cannot be recovered:
%3</source>
        <translation>Ungespeicherte Änderungen an %1 wurden aufbewahrt (die letzte Änderung war am %2), können aber nicht wiederhergestellt werden:
%3</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>PHP syntax check: php not found</source>
        <translation>PHP-Syntaxprüfung: php nicht gefunden</translation>
    </message>
</context>
<context>
    <name>kestrin::frmReplace</name>
    <message>
        <source>REPLACE IN MULTIPLE FILES</source>
        <translation>IN MEHREREN DATEIEN ERSETZEN</translation>
    </message>
    <message>
        <source>Select files</source>
        <translation>Dateiwahl</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Remove the highlighted file from the list</source>
        <translation>Markierte Datei aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Add the selected files to the list</source>
        <translation>Ausgewählte Dateien zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Files to change</source>
        <translation>Zu ändernde Dateien</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Was:</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation>Durch:</translation>
    </message>
    <message>
        <source>GO</source>
        <translation>LOS</translation>
    </message>
    <message>
        <source>GO: replace in the listed files</source>
        <translation>LOS: in den Dateien der Liste ersetzen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add this text:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>To end of files</source>
        <translation>Am Dateiende</translation>
    </message>
    <message>
        <source>To begining of files</source>
        <translation>Am Dateianfang</translation>
    </message>
    <message>
        <source>GO: add the text to the listed files</source>
        <translation>LOS: den Text den Dateien der Liste hinzufügen</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be opened.</source>
        <translation>Der Ordner „%1“ kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The drive &quot;%1&quot; is not ready.</source>
        <translation>Das Laufwerk „%1“ ist nicht bereit.</translation>
    </message>
    <message>
        <source>Find:</source>
        <comment>accessible name, any length</comment>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <comment>accessible name, any length</comment>
        <translation>Ersetzen durch:</translation>
    </message>
    <message>
        <source>Add this text:</source>
        <comment>accessible name, any length</comment>
        <translation>Diesen Text hinzufügen:</translation>
    </message>
</context>
</TS>
