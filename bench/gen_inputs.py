#!/usr/bin/env python3
"""Writes the large benchmark documents into a folder.

    gen_inputs.py FOLDER [MEGABYTES]

  mixed-crlf.php   mixed HTML/PHP/CSS/JS page with accented UTF-8 text, CR LF line ends
  mixed-lf.php     the same text with LF line ends
  longlines.html   the same kind of text in lines of 10,000 characters (a minified bundle)
  cp1252.htm       a Windows-1252 page (accented bytes above 0x7F, CR LF)
  bundle.min.js    2.4 MB of minified JavaScript on one line, no line break (/*MID*/ halfway)
  bundle10.min.js  the same kind of line, 10 MB
  bundle25.min.js  the same kind of line, 25 MB
The text is deterministic, so runs on different days compare.
"""
import os
import random
import sys

# A folder named like an option is a mistake, never a place to write hundreds of megabytes.
if len(sys.argv) < 2 or sys.argv[1].startswith('-'):
    sys.exit(__doc__)
folder = sys.argv[1]
size = int(float(sys.argv[2] if len(sys.argv) > 2 else 50) * 1024 * 1024)
os.makedirs(folder, exist_ok=True)
rng = random.Random(20240)

words = ['margin', 'padding', 'café', 'Ölé', 'naïve', 'border', 'width', 'echo', 'function',
         'résumé', 'Zürich', 'façade', 'data', 'value', 'items', 'user', 'price', 'São Paulo']
plain = ['margin', 'padding', 'cafe', 'border', 'width', 'echo', 'function', 'data', 'value',
         'items', 'user', 'price', 'caf\u00e9', 'na\u00efve', '\u00a3 5', '\u201cquoted\u201d', '\u20ac 3']


def sentence(pool, n):
    return ' '.join(rng.choice(pool) for _ in range(n))


def blocks(pool):
    """Endless lines of a page mixing the four languages."""
    while True:
        kind = rng.randrange(10)
        w = sentence(pool, 6)
        if kind < 4:
            yield '<tr><td class="c%d">%s</td><td><a href="/p/%d">%s &amp; more</a></td></tr>' % (
                rng.randrange(50), w, rng.randrange(10000), sentence(pool, 3))
        elif kind < 6:
            yield '<?php if ($%s > %d && $row[\'%s\'] != "") { echo "<b>$%s</b>"; } // %s ?>' % (
                rng.choice(['a', 'id', 'count']), rng.randrange(99), rng.choice(['name', 'id']),
                rng.choice(['name', 'title']), w)
        elif kind < 8:
            yield '.box%d { %s: %dpx; color: #%06x; } /* %s */' % (
                rng.randrange(100), rng.choice(['margin', 'padding', 'width']), rng.randrange(40),
                rng.randrange(1 << 24), w)
        else:
            yield '<script>function f%d(x) { return x > %d ? "%s" : \'&lt;\'; }</script>' % (
                rng.randrange(1000), rng.randrange(9), w)


def write_lines(path, pool, eol, encoding, line_length=None):
    data = bytearray()
    gen = blocks(pool)
    if line_length is None:
        chunk = []
        while len(data) < size:
            chunk.clear()
            for _ in range(2000):
                chunk.append(next(gen))
            data += (eol.join(chunk) + eol).encode(encoding)
    else:
        line = ''
        while len(data) < size:
            while len(line.encode(encoding)) < line_length:
                line += next(gen)
            encoded = line.encode(encoding)[:line_length]
            # Never cut inside a UTF-8 sequence.
            while encoded and (encoded[-1] & 0xC0) == 0x80:
                encoded = encoded[:-1]
            if encoded and encoded[-1] >= 0xC0:
                encoded = encoded[:-1]
            data += encoded + eol.encode(encoding)
            line = ''
    with open(path, 'wb') as f:
        f.write(bytes(data[:size]) if line_length is None else bytes(data))


write_lines(os.path.join(folder, 'mixed-crlf.php'), words, '\r\n', 'utf-8')
with open(os.path.join(folder, 'mixed-crlf.php'), 'rb') as f:
    crlf = f.read()
# Cut on a character and a line boundary so both files are whole lines.
crlf = crlf[:crlf.rfind(b'\r\n') + 2]
with open(os.path.join(folder, 'mixed-crlf.php'), 'wb') as f:
    f.write(crlf)
with open(os.path.join(folder, 'mixed-lf.php'), 'wb') as f:
    f.write(crlf.replace(b'\r\n', b'\n'))
write_lines(os.path.join(folder, 'longlines.html'), words, '\n', 'utf-8', line_length=10000)
write_lines(os.path.join(folder, 'cp1252.htm'), plain, '\r\n', 'cp1252')
with open(os.path.join(folder, 'cp1252.htm'), 'rb') as f:
    legacy = f.read()
with open(os.path.join(folder, 'cp1252.htm'), 'wb') as f:
    f.write(legacy[:legacy.rfind(b'\r\n') + 2])


def bundle(path, length):
    """Statements of minified JavaScript, no line break; /*MID*/ marks the middle for the bench."""
    names = ['a', 'b', 'e', 'n', 'r', 't', 'o', 'i', 'u', 's', 'l', 'c']
    out = []
    total = 0
    middle = False
    while total < length:
        k = rng.randrange(6)
        x, y, z = rng.choice(names), rng.choice(names), rng.choice(names)
        n = rng.randrange(1000)
        if k == 0:
            s = 'function %s%d(%s,%s){return %s<%d?%s+%s:"%s"}' % (x, n, y, z, y, n, y, z, sentence(plain, 2))
        elif k == 1:
            s = 'var %s%d=[%d,%d,"%s",{%s:%s,%s:!0}];' % (x, n, n, n * 7, rng.choice(plain), y, z, x)
        elif k == 2:
            s = 'if(%s.%s&&%s[%d]!==void 0){%s=%s.map(function(%s){return %s*%d})}' % (x, rng.choice(plain[:11]), y, n, z, y, x, x, n)
        elif k == 3:
            s = 'for(var %s=0;%s<%s.length;%s++)%s+=%s[%s]<<%d;' % (x, x, y, x, z, y, x, n % 31)
        elif k == 4:
            s = '%s.prototype.%s%d=function(){this.%s=new RegExp("^[a-z]+%d$","g");return this};' % (x.upper(), y, n, z, n)
        else:
            s = 'try{%s(%s)}catch(%s){console.error("%s",%s)}finally{%s=null}' % (x, y, z, sentence(plain, 3), z, y)
        if not middle and total + len(s) >= length // 2:
            s = '/*MID*/' + s
            middle = True
        out.append(s)
        total += len(s.encode('utf-8'))
    with open(path, 'wb') as f:
        f.write(''.join(out).encode('utf-8'))


bundle(os.path.join(folder, 'bundle.min.js'), int(2.4 * 1024 * 1024))
bundle(os.path.join(folder, 'bundle10.min.js'), 10 * 1024 * 1024)
bundle(os.path.join(folder, 'bundle25.min.js'), 25 * 1024 * 1024)
