#!/usr/bin/env python3
"""Writes the large benchmark documents into a folder.

    gen_inputs.py FOLDER [MEGABYTES]

  mixed-crlf.php   mixed HTML/PHP/CSS/JS page with accented UTF-8 text, CR LF line ends
  mixed-lf.php     the same text with LF line ends
  longlines.html   the same kind of text in lines of 10,000 characters (a minified bundle)
  cp1252.htm       a Windows-1252 page (accented bytes above 0x7F, CR LF)
The text is deterministic, so runs on different days compare.
"""
import os
import random
import sys

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
