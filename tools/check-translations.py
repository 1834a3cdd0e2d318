#!/usr/bin/env python3
"""Checks the translations: every text of the program translated in every translations/*.ts, and
each translation fit to stand where its source stands. Exits 1 on any finding.

A copy of each .ts is first brought up to date with the sources by lupdate, so a text added to
the program and not yet in a .ts counts as untranslated, and one taken out as left over.
For each message:
  - untranslated: no translation, or one marked unfinished; left over: marked vanished/obsolete;
  - the same placeholders (%1..%99, %n) as the source;
  - a file filter ("Name|*.a;*.b|...") keeps its patterns exactly;
  - a text with a mnemonic (&x) has exactly one, and mnemonics are unique within the context (a
    context is one window or dialog, whose mnemonics share one keyboard).
A text that names a standard command (COMMANDS; its mnemonic, a trailing "..." or ":" and a
shortcut after a tab left aside) is translated as Qt's own catalogue for that language
(qtbase_<language>.qm, read through lconvert) translates the command: Qt's text fields and
dialogs, shown beside ours, must not call one command by two names. Where Qt has no word for a
command, our texts for it agree among themselves. ALLOWED lists the deliberate exceptions.

Usage: check-translations.py LUPDATE [LCONVERT [QTPATHS]]   (run from anywhere; the tree is this
script's parent; LCONVERT and QTPATHS default to the ones beside LUPDATE)
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COMMANDS = ('Undo', 'Redo', 'Cut', 'Copy', 'Paste', 'Delete', 'Select All', 'Save', 'Save As', 'Open', 'Find',
            'Replace', 'Close')
# Where Qt's catalogue names a command, first the contexts whose words stand beside the editor's
# own (the text fields' context menus), then the file dialog and the rest.
QT_CONTEXTS = ('QLineEdit', 'QWidgetTextControl', 'QFileDialog', 'QPlatformTheme', 'QUndoStack', 'QShortcut')
# (language, context, source) -> why its translation may differ from Qt's word for the command.
ALLOWED = {
    ('de', 'kestrin::frmReplace', 'Find:'):
        'a field label of the replace tool, not the command: "Was:" beside "Durch:" fits the 29-pixel '
        'label, and the accessible name of the field reads "Suchen nach:" as the label in the find dialog does',
    ('es', 'kestrin::frmReplace', 'Find:'):
        'a field label of the replace tool, not the command: "Qué:" beside "Por:" fits the 29-pixel label',
}
PLACEHOLDER = re.compile(r'%(?:n|\d{1,2})')
MNEMONIC = re.compile(r'&([^&\s])')


def sources():
    found = []
    for folder, _, files in os.walk(os.path.join(TOP, 'src')):
        found += [os.path.join(folder, f) for f in files if f.endswith(('.cpp', '.h'))]
    return sorted(found)


def mnemonics(text):
    return MNEMONIC.findall(text.replace('&&', ''))


def bare(text):
    """The words of a caption: without its shortcut, mnemonic and trailing "...", "…" or ":"."""
    text = re.sub(r'&(.)', r'\1', text.split('\t')[0])
    return re.sub(r'(?:\.\.\.|…|:)\s*$', '', text).strip()


def command(source):
    """The standard command a source text names, or None. A word in lower case is part of a
    sentence ("Could not %1 the file"), not a command's name."""
    words = bare(source)
    if not words[:1].isupper():
        return None
    return next((c for c in COMMANDS if c.lower() == words.lower()), None)


def qt_words(lconvert, qtpaths, language):
    """Qt's translation of each command it translates, for the language; a message naming the
    missing package when Qt's catalogue or lconvert is not there."""
    if not shutil.which(qtpaths):
        return None, 'qtpaths (%s) is missing, which says where Qt\'s translations are: install the package qt6-base-dev-tools' % qtpaths
    folder = subprocess.run([qtpaths, '--query', 'QT_INSTALL_TRANSLATIONS'], capture_output=True, text=True).stdout.strip()
    names = [language, language.split('_')[0]]
    catalogue = next((os.path.join(folder, 'qtbase_%s.qm' % n) for n in names
                      if os.path.isfile(os.path.join(folder, 'qtbase_%s.qm' % n))), None)
    if not catalogue:
        return None, ('Qt\'s own catalogue qtbase_%s.qm is not in %s: install the package qt6-translations-l10n '
                      '(scripts/install-deps.sh test does)' % (language, folder or 'Qt\'s translations folder'))
    if not shutil.which(lconvert):
        return None, 'lconvert (%s) is missing: install the package qt6-l10n-tools' % lconvert
    run = subprocess.run([lconvert, '-i', catalogue, '-of', 'ts', '-o', '-'], capture_output=True, text=True)
    if run.returncode != 0:
        return None, 'lconvert could not read %s: %s' % (catalogue, run.stderr.strip())
    found = {}
    for context in ET.fromstring(run.stdout).iter('context'):
        found[context.findtext('name')] = context
    words = {}
    for name in QT_CONTEXTS:
        for message in found[name].iter('message') if name in found else []:
            translation = message.find('translation')
            which = command(message.findtext('source') or '')
            if which and which not in words and translation is not None and not translation.get('type') and translation.text:
                words[which] = bare(translation.text)
    return words, None


def same(ours, qts, source):
    # A caption in capitals says Qt's word in capitals.
    return ours.upper() == qts.upper() if source.isupper() else ours == qts


def commands(path, language, words):
    """Texts naming a standard command whose translation is not Qt's word for it, and allow-list
    entries that no longer excuse anything."""
    problems, used, ours = [], set(), {}
    for context in ET.parse(path).getroot().iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            source = message.findtext('source') or ''
            which = command(source)
            translation = message.find('translation')
            if not which or translation is None or translation.get('type') or not translation.text:
                continue
            text = bare(translation.text)
            key = (language, name, source)
            if which in words:
                if same(text, words[which], source):
                    continue
                if key in ALLOWED:
                    used.add(key)
                    continue
                problems.append('%s: %s is "%s" here but "%s" in Qt\'s catalogue beside it' % (name, source, translation.text, words[which]))
            elif key in ALLOWED:
                used.add(key)
            else:
                ours.setdefault(which, []).append((name, source, text))
    for which, places in sorted(ours.items()):
        if len({t.upper() if s.isupper() else t for _, s, t in places}) > 1:
            problems.append('%s has two names: %s' % (which, '; '.join('%s: %s -> %s' % p for p in places)))
    for key in sorted(set(k for k in ALLOWED if k[0] == language) - used):
        problems.append('allow-list entry excuses nothing now: %s: %s' % key[1:])
    return problems


def check(path):
    problems = []
    root = ET.parse(path).getroot()
    for context in root.iter('context'):
        name = context.findtext('name')
        taken = {}
        for message in context.iter('message'):
            source = message.findtext('source') or ''
            where = '%s: %s' % (name, source.replace('\n', '\\n')[:70])
            translation = message.find('translation')
            kind = translation.get('type', '') if translation is not None else 'missing'
            forms = [f.text or '' for f in translation.iter('numerusform')] if translation is not None else []
            single = (translation.text or '') if translation is not None else ''
            texts = forms if message.get('numerus') == 'yes' else [single]
            if kind in ('vanished', 'obsolete'):
                problems.append('left over (no longer in the program): ' + where)
                continue
            if kind or not all(t.strip() for t in texts):
                problems.append('untranslated: ' + where)
                continue
            for text in texts:
                if sorted(set(PLACEHOLDER.findall(text))) != sorted(set(PLACEHOLDER.findall(source))):
                    problems.append('placeholders differ: %s -> %s' % (where, text))
                if '|*' in source and source.split('|')[1::2] != text.split('|')[1::2]:
                    problems.append('filter patterns differ: %s -> %s' % (where, text))
                if mnemonics(source):
                    keys = mnemonics(text)
                    if len(keys) != 1:
                        problems.append('needs exactly one mnemonic: %s -> %s' % (where, text))
                    elif keys[0].lower() in taken and taken[keys[0].lower()] != source:
                        problems.append('mnemonic &%s twice in %s: %s and %s' % (keys[0], name, taken[keys[0].lower()], source))
                    else:
                        taken[keys[0].lower()] = source
    return problems


def main():
    lupdate = sys.argv[1] if len(sys.argv) > 1 else 'lupdate'
    beside = os.path.dirname(lupdate)
    lconvert = sys.argv[2] if len(sys.argv) > 2 else os.path.join(beside, 'lconvert')
    qtpaths = sys.argv[3] if len(sys.argv) > 3 else os.path.join(beside, 'qtpaths')
    files = sorted(glob.glob(os.path.join(TOP, 'translations', '*.ts')))
    if not files:
        print('no translations/*.ts')
        return 1
    failed = False
    with tempfile.TemporaryDirectory() as scratch:
        for original in files:
            copy = os.path.join(scratch, os.path.basename(original))
            shutil.copy(original, copy)
            # The same options as the build's update_translations target.
            run = subprocess.run([lupdate, '-silent', '-locations', 'none', '-I', os.path.join(TOP, 'src')] + sources()
                                 + ['-ts', copy], capture_output=True, text=True)
            if run.returncode != 0:
                print(run.stdout + run.stderr)
                return 1
            problems = check(copy)
            language = ET.parse(copy).getroot().get('language') or os.path.basename(original)[len('kestrin4_'):-3]
            words, missing = qt_words(lconvert, qtpaths, language)
            problems += [missing] if missing else commands(copy, language, words)
            messages = len(ET.parse(copy).getroot().findall('.//message'))
            print('%s: %d texts, %d problem(s)' % (os.path.basename(original), messages, len(problems)))
            for p in problems:
                print('  ' + p)
            failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
