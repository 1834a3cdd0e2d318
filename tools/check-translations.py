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

Usage: check-translations.py LUPDATE   (run from anywhere; the tree is this script's parent)
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
PLACEHOLDER = re.compile(r'%(?:n|\d{1,2})')
MNEMONIC = re.compile(r'&([^&\s])')


def sources():
    found = []
    for folder, _, files in os.walk(os.path.join(TOP, 'src')):
        found += [os.path.join(folder, f) for f in files if f.endswith(('.cpp', '.h'))]
    return sorted(found)


def mnemonics(text):
    return MNEMONIC.findall(text.replace('&&', ''))


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
            messages = len(ET.parse(copy).getroot().findall('.//message'))
            print('%s: %d texts, %d problem(s)' % (os.path.basename(original), messages, len(problems)))
            for p in problems:
                print('  ' + p)
            failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
