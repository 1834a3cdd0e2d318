#!/usr/bin/env python3
"""The layers test: reads the libraries' (and the executable's) source lists and link lines from
CMake and fails when a file includes a header of a library its own does not link (one above it,
or beside it), or when a source file is in none. Prints the offending includes."""
import pathlib
import re
import sys

SRC = pathlib.Path(__file__).resolve().parent.parent / 'src'
cmake = re.sub(r'#.*', '', (SRC / 'CMakeLists.txt').read_text() + (SRC.parent / 'CMakeLists.txt').read_text())

library_of = {}  # file (relative to src) -> library
for name, body in re.findall(r'add_(?:library|executable)\((\w+)(.*?)\)', cmake, re.S):
    for file in body.split():
        if file.endswith(('.cpp', '.h')):
            library_of[file.removeprefix('src/')] = name
links = {lib: set() for lib in set(library_of.values())}
for name, body in re.findall(r'target_link_libraries\((\w+)(.*?)\)', cmake, re.S):
    if name in links:
        links[name] |= {word for word in body.split() if word in links}

def reach(lib, seen=None):
    """The library and every one it links, directly or through others."""
    seen = seen if seen is not None else set()
    if lib not in seen:
        seen.add(lib)
        for below in links[lib]:
            reach(below, seen)
    return seen

faults = []
for path in sorted(SRC.rglob('*')):
    if path.suffix not in ('.cpp', '.h'):
        continue
    file = path.relative_to(SRC).as_posix()
    own = library_of.get(file)
    if own is None:
        faults.append(f'{file}: in no library of src/CMakeLists.txt')
        continue
    allowed = reach(own)
    for number, line in enumerate(path.read_text().splitlines(), 1):
        m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
        if not m:
            continue
        beside = (path.parent / m.group(1)).resolve()
        header = beside.relative_to(SRC).as_posix() if beside.is_file() else m.group(1)
        theirs = library_of.get(header)
        if theirs and theirs not in allowed:
            faults.append(f'{file}:{number}: {own} includes {header} of {theirs}, which it does not link')

print('\n'.join(faults) or f'layers: {len(library_of)} files in {len(links)} targets, every include points down')
sys.exit(1 if faults else 0)
