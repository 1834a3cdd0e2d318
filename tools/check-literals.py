#!/usr/bin/env python3
"""Lists user-visible texts in src/ that bypass Qt's translation system; exits 1 when there are any.

Two rules, on the sources with their comments taken out:
  1. An argument that the user sees (the text of setText, setWindowTitle, setToolTip,
     setAccessibleName, a QAction, QLabel or button, a menu, a tab, a status-bar panel, a message
     box or input box of the Prompter, and our own helpers that make such controls) holds a string
     literal with a letter in it, or a char text turned into a QString (QString::fromLatin1(x),
     QLatin1String(x), ...), outside tr(), QCoreApplication::translate() and the NOOP markers.
  2. Anywhere else, a QStringLiteral, QLatin1String or QString::fromLatin1/fromUtf8 of a literal
     that reads like words (two words of two letters or more): messages built into variables
     before they are shown, such as the error texts of the document layer.
Plain char tables are not read; their texts are marked with QT_TRANSLATE_NOOP and reach the user
through rule 1's setters, where an untranslated conversion is caught.

Usage: check-literals.py [source folder]   (default: src beside this script's folder)
"""
import os
import re
import sys

# name -> argument positions the user sees (-1: the last one; None: every one).
VISIBLE = {
    'setText': [0], 'setWindowTitle': [0], 'setToolTip': [0], 'setStatusTip': [0], 'setWhatsThis': [0],
    'setAccessibleName': [0], 'setAccessibleDescription': [0], 'setPlaceholderText': [0], 'setTitle': [0],
    'setInformativeText': [0], 'setLabelText': [0], 'setDocName': [0],
    'addTab': [-1], 'insertTab': [-1], 'setTabText': [1], 'addMenu': [-1], 'addAction': [-1], 'addItem': [0],
    'QAction': [0], 'QLabel': [0], 'QPushButton': [0], 'QGroupBox': [0], 'QRadioButton': [0], 'QCheckBox': [0],
    'QToolBar': [0], 'QMenu': [0], 'WrapButton': [0],
    'setPanelText': [1], 'showText': [1],  # the editor's status bar
    'boldLabel': [1], 'button': [1, 2],    # the replace window's helpers
    'make': [0],                           # the editor window's menu commands
    'message': [2, 3, 4], 'askYesNo': [1, 2], 'askYesNoCancel': [1, 2], 'choose': [2, 3, 4], 'inputText': [1, 2],
}

# Deliberately untranslated, each with its reason: (file, what the argument or literal holds).
ALLOWED = [
    # The editor's caption is the product's name, as the window manager, the desktop and the
    # window tests know the window by it.
    ('src/editor/frmEdit.cpp', 'QString::fromLatin1(Caption)'),
    # Message and input boxes carry the program's name, kestrin4, as their title.
    ('*', 'QString::fromLatin1(AppTitle)'),
    # The clipboard carries the document's own text.
    ('src/common/Clipboard.cpp', 'QString::fromUtf8(utf8)'),
    # Font family names.
    ('*', '"Courier New"'), ('*', '"Liberation Sans"'),
    # PHP's syntax check shows php's own report as php prints it, in php's words.
    ('src/phpcheck/PhpCheck.cpp', 'error): +(.*) on line'), ('src/phpcheck/PhpCheck.cpp', '"PHP %1: %2 on line %3"'),
]

CONVERSION = re.compile(r'\b(?:QStringLiteral|QLatin1String|QLatin1StringView|QString::fromLatin1|QString::fromUtf8|'
                        r'QString::fromLocal8Bit)\s*\(')
TRANSLATED = re.compile(r'\b(?:tr|translate|QT_TR_NOOP|QT_TRANSLATE_NOOP|QT_TR_N_NOOP|QT_TRANSLATE_N_NOOP|QIcon)\s*\(')
LITERAL = re.compile(r'"(?:[^"\\\n]|\\.)*"')
WORDS = re.compile(r'[A-Za-z]{2,}\s+[A-Za-z]{2,}')


def strip_comments(text):
    """The text with comments and #include lines blanked; strings, characters and newlines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(' ' * (j - i)); i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j])); i = j
        elif c in '"\'':
            # Raw strings (R"~(...)~") hold code snippets; they are literals like any other.
            if c == '"' and i > 0 and text[i - 1] == 'R':
                m = re.match(r'"([^(]*)\(', text[i:])
                end = text.find(')' + m.group(1) + '"', i) if m else -1
                j = n if end < 0 else end + len(m.group(1)) + 2
            else:
                j = i + 1
                while j < n and text[j] != c:
                    j += 2 if text[j] == '\\' else 1
                j += 1
            out.append(text[i:j]); i = j
        else:
            out.append(c); i += 1
    return re.sub(r'(?m)^\s*#\s*include.*$', '', ''.join(out))


def closing(text, open_at):
    """Index of the parenthesis closing the one at open_at."""
    depth, i = 0, open_at
    while i < len(text):
        c = text[i]
        if c == '"':
            i = LITERAL.match(text, i).end() if LITERAL.match(text, i) else i + 1
            continue
        if c == "'":
            i = text.index("'", i + 2 if text[i + 1] == '\\' else i + 1) + 1 if i + 1 < len(text) else i + 1
            continue
        if c in '([{':
            depth += 1
        elif c in ')]}':
            depth -= 1
            if depth == 0:
                return i
        i += 1
    return len(text)


def arguments(text, open_at):
    """The call's arguments as (start, text) pairs."""
    end = closing(text, open_at)
    args, depth, start, i = [], 0, open_at + 1, open_at + 1
    while i < end:
        c = text[i]
        if c == '"':
            m = LITERAL.match(text, i)
            i = m.end() if m else i + 1
            continue
        if c in '([{':
            depth += 1
        elif c in ')]}':
            depth -= 1
        elif c == ',' and depth == 0:
            args.append((start, text[start:i])); start = i + 1
        i += 1
    if text[start:end].strip():
        args.append((start, text[start:end]))
    return args


def without_translated(expr):
    """expr with every tr(...), translate(...), NOOP marker and QIcon(...) blanked."""
    while True:
        m = TRANSLATED.search(expr)
        if not m:
            return expr
        end = closing(expr, m.end() - 1)
        expr = expr[:m.start()] + ' ' * (end + 1 - m.start()) + expr[end + 1:]


def allowed(path, snippet):
    return any((f == '*' or path.endswith(f)) and what in snippet for f, what in ALLOWED)


def findings(path, text):
    code = strip_comments(text)
    line = lambda at: code.count('\n', 0, at) + 1
    found, shown = [], set()
    for name, positions in VISIBLE.items():
        for m in re.finditer(r'(?<![\w:])' + name + r'\s*\(', code):
            args = arguments(code, m.end() - 1)
            picked = range(len(args)) if positions is None else [p for p in positions if -len(args) <= p < len(args)]
            for p in picked:
                at, arg = args[p]
                rest = without_translated(arg)
                raw = [s for s in LITERAL.findall(rest) if re.search('[A-Za-z]', s)]
                raw += [c.group(0) for c in re.finditer(
                    r'\b(?:QLatin1String|QString::fromLatin1|QString::fromUtf8)\s*\(\s*[\w.\[\]>-]+\s*\)', rest)]
                for snippet in raw:
                    if not allowed(path, snippet) and not allowed(path, arg):
                        found.append((line(at), '%s(...) shows %s' % (name, snippet.strip())))
                        shown.add(snippet.strip())
    for m in CONVERSION.finditer(code):
        lit = LITERAL.match(code, m.end() + len(code[m.end():]) - len(code[m.end():].lstrip()))
        if lit and WORDS.search(lit.group(0)) and lit.group(0) not in shown and not allowed(path, lit.group(0)):
            found.append((line(m.start()), 'untranslated words %s' % lit.group(0)))
    return sorted(set(found))


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src')
    problems = 0
    for folder, _, files in sorted(os.walk(top)):
        for name in sorted(files):
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding='utf-8') as f:
                for number, what in findings(os.path.relpath(path, os.path.dirname(top)), f.read()):
                    print('%s:%d: %s' % (os.path.relpath(path, os.path.dirname(top)), number, what))
                    problems += 1
    print('%d user-visible text(s) outside the translation system' % problems)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
