#!/usr/bin/env python3
"""Mutation run: what the unit tests catch.

Each row of the mutant list (tools/mutants.tsv) is one realistic fault: a source file, a text that
occurs exactly once in it, and what replaces it (\\n, \\t and \\\\ escapes allowed); a fifth column
`blind` marks a fault written by someone who had not seen the tests. Every mutant is applied in a
scratch copy of the tree, the test executables whose build depends on the file are rebuilt and run
(those of the file's own folder first, each stopped at its first failure), and the file is restored.
A mutant is killed when a test fails or runs out of time. With --window, the mutants the unit tests
leave alive are tried again against CTest's other tests (the real-window scripts, the safety suite,
the monkey), so a fault only a real window shows is counted when one shows it. Prints every mutant
that survives, "blind mutation score: N %" for the blind rows and, last, "mutation score: N %"
(killed / mutants that applied and built).

  tools/mutate.py                      every mutant
  tools/mutate.py --only TextFile      mutants whose file or description contains a word
  tools/mutate.py --check              only check that each pattern occurs exactly once
  tools/mutate.py --blind --window     the blind rows, then the window tests for their survivors
  tools/mutate.py --lines 413-427,431  the rows on those lines of the list (a section, a row)
Environment / options: --timeout seconds per test executable (MUTATE_TIMEOUT, default 120),
--jobs build jobs (MUTATE_JOBS, default 2), --scratch folder (default build-mutate; its build sits in
its build/ folder, at -O1 without debug information, so a mutant rebuilds and relinks quickly; one run
at a time uses a scratch folder).
"""
import argparse
import fcntl
import json
import re
import selectors
import os
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == '\\' and i + 1 < len(text):
            nxt = text[i + 1]
            out.append({'n': '\n', 't': '\t', '\\': '\\'}.get(nxt, '\\' + nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def read_mutants(path):
    mutants = []
    for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
        if not line.strip() or line.lstrip().startswith('#'):
            continue
        cols = line.split('\t')
        if len(cols) < 3:
            sys.exit(f'{path}:{number}: expected file<TAB>pattern<TAB>replacement<TAB>what')
        mutants.append({'line': number, 'file': cols[0].strip(), 'pattern': unescape(cols[1]),
                        'replacement': unescape(cols[2]), 'what': cols[3].strip() if len(cols) > 3 else '',
                        'blind': len(cols) > 4 and cols[4].strip() == 'blind'})
    return mutants


def check(mutant, tree):
    """None when the mutant applies, else why not."""
    source = tree / mutant['file']
    if not source.is_file():
        return 'no such file'
    count = source.read_text(encoding='utf-8').count(mutant['pattern'])
    if count != 1:
        return f'pattern occurs {count} times'
    if mutant['pattern'] == mutant['replacement']:
        return 'replacement equals pattern'
    return None


def sync_tree(scratch):
    """Copies the working tree's files (tracked and untracked, not ignored) into scratch, touching
    only files whose content differs, so the scratch build stays incremental."""
    names = subprocess.run(['git', 'ls-files', '-z', '--cached', '--others', '--exclude-standard'],
                           cwd=ROOT, check=True, capture_output=True).stdout.decode().split('\0')
    wanted = set(filter(None, names))
    # A file deleted from the tree must go from the copy too: the test folders are globbed, so a
    # stale test file would still be built and run, and kill mutants the tree no longer kills.
    for old in [p for p in scratch.rglob('*') if p.is_file() and not p.is_relative_to(scratch / 'build')]:
        if str(old.relative_to(scratch)) not in wanted:
            old.unlink()
    for name in wanted:
        src, dst = ROOT / name, scratch / name
        if not src.is_file():
            continue
        if dst.is_file() and dst.read_bytes() == src.read_bytes():
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        # A fresh time, never the source's: a copy older than its object (a mutant's build that an
        # interrupted run left behind) would not be rebuilt.
        shutil.copyfile(src, dst)
        shutil.copymode(src, dst)


def run(cmd, **kw):
    return subprocess.run(cmd, text=True, capture_output=True, **kw)


def configure(scratch, build):
    query = build / '.cmake/api/v1/query/codemodel-v2'
    query.parent.mkdir(parents=True, exist_ok=True)
    query.touch()
    # lld where there is one: most of a mutant's time is relinking the test executables.
    linker = ['-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld'] if shutil.which('ld.lld') else []
    # No debug information and light optimisation: a mutant's compile and links are what it costs,
    # and the faults are the same at -O1.
    quick = ['-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG', '-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG']
    r = run(['cmake', '-S', str(scratch), '-B', str(build), '-DCMAKE_BUILD_TYPE=RelWithDebInfo', *linker, *quick])
    if r.returncode:
        sys.exit('cmake failed:\n' + r.stdout + r.stderr)


def code_model(build):
    """Per target: its sources (relative to the tree), its artifacts and the targets it needs."""
    reply = build / '.cmake/api/v1/reply'
    index = json.loads(max(reply.glob('index-*.json')).read_text())
    model = json.loads((reply / index['reply']['codemodel-v2']['jsonFile']).read_text())
    targets = {}
    for t in model['configurations'][0]['targets']:
        data = json.loads((reply / t['jsonFile']).read_text())
        targets[t['id']] = {
            'name': data['name'],
            'sources': {s['path'] for s in data.get('sources', [])},
            'artifacts': {str((build / a['path']).resolve()) for a in data.get('artifacts', [])},
            'needs': {d['id'] for d in data.get('dependencies', [])},
        }
    return targets


def closure(targets, tid):
    seen, todo = set(), [tid]
    while todo:
        t = todo.pop()
        if t not in seen:
            seen.add(t)
            todo.extend(targets[t]['needs'])
    return seen


def unit_tests(build, targets):
    """CTest tests whose command is a built executable: name, command, environment, folder, target."""
    shown = json.loads(run(['ctest', '--show-only=json-v1'], cwd=build).stdout)
    by_artifact = {a: tid for tid, t in targets.items() for a in t['artifacts']}
    files = shown.get('backtraceGraph', {}).get('files', [])
    nodes = shown.get('backtraceGraph', {}).get('nodes', [])
    tests = []
    for t in shown['tests']:
        cmd = t.get('command') or []
        exe = str(Path(cmd[0]).resolve()) if cmd else ''
        if exe not in by_artifact:
            continue  # a script (real-window tests): not a unit test executable
        props = {p['name']: p['value'] for p in t.get('properties', [])}
        env = dict(os.environ)
        for item in props.get('ENVIRONMENT', []):
            key, _, value = item.partition('=')
            env[key] = value
        cwd = props.get('WORKING_DIRECTORY')
        if not cwd and 'backtrace' in t and nodes:
            listfile = Path(files[nodes[t['backtrace']]['file']])
            cwd = str(build / listfile.parent.relative_to(build.parent)) if listfile.is_relative_to(build.parent) else str(build)
        tests.append({'name': t['name'], 'command': cmd, 'env': env, 'cwd': cwd or str(build),
                      'target': by_artifact[exe]})
    return tests


def run_test(test, timeout, output=None):
    """('passed' | 'failed' | 'timeout', the first failing test function or ''). A Qt Test executable
    is stopped at its first "FAIL!": one failure kills the mutant, and the functions after it would
    only cost time. The function named tells which test earns its place by a kill."""
    p = subprocess.Popen(test['command'], cwd=test['cwd'], env=test['env'], stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, start_new_session=True)
    deadline = time.monotonic() + timeout
    failed = timed_out = False
    where = ''
    try:
        with selectors.DefaultSelector() as sel:
            sel.register(p.stdout, selectors.EVENT_READ)
            pending = b''
            while True:
                left = deadline - time.monotonic()
                if left <= 0:
                    timed_out = True
                    break
                if not sel.select(min(left, 1.0)):
                    continue
                chunk = os.read(p.stdout.fileno(), 65536)
                if not chunk:
                    break
                if output:
                    output.write(chunk.decode(errors='replace'))
                pending = (pending + chunk)[-4096:]
                if b'\nFAIL!  :' in b'\n' + pending:
                    failed = True
                    where = (b'\n' + pending).split(b'\nFAIL!  :', 1)[1].split(b'(', 1)[0].strip().decode(errors='replace')
                    break
        if not (failed or timed_out):
            try:  # the output closed; the exit status is still to come
                p.wait(timeout=max(0.1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                timed_out = True
    finally:
        try:
            os.killpg(p.pid, signal.SIGKILL)  # whatever the test left running
        except ProcessLookupError:
            pass
        p.wait()
        p.stdout.close()
    if timed_out:
        return 'timeout', where
    return ('failed' if failed or p.returncode != 0 else 'passed'), where


def build_targets(build, names, jobs):
    r = run(['cmake', '--build', str(build), '-j', str(jobs), '--target', *sorted(names)])
    return r.returncode == 0, r.stdout[-3000:] + r.stderr[-3000:]


def window_tests(build, unit):
    """CTest's tests that are not unit test executables: the real-window scripts, the safety suite,
    the monkey. The engine's release check is left out: it fails on any change to the engine's
    sources, whether a user could see it or not."""
    shown = json.loads(run(['ctest', '--show-only=json-v1'], cwd=build).stdout)
    names = {t['name'] for t in unit} | {'third_party'}
    return sorted((t['name'] for t in shown['tests'] if t['name'] not in names),
                  key=lambda n: (n == 'monkey', n))


def run_ctest(build, names, timeout):
    """The first of names that fails, or None."""
    pattern = '^(' + '|'.join(names) + ')$'
    r = run(['dbus-run-session', '--', 'ctest', '-R', pattern, '--stop-on-failure', '--timeout', str(timeout)],
            cwd=build)
    failed = [line.split(' - ')[1].split()[0] for line in r.stdout.splitlines() if ' - ' in line and
              line.strip()[:1].isdigit() and '(' in line]
    return failed[0] if failed else (names[0] if r.returncode else None)


def mutated(scratch, m):
    """Context: the mutant applied to the scratch copy, restored afterwards."""
    class Apply:
        def __enter__(self):
            self.path = scratch / m['file']
            self.original = self.path.read_text(encoding='utf-8')
            self.path.write_text(self.original.replace(m['pattern'], m['replacement'], 1), encoding='utf-8')

        def __exit__(self, *exc):
            self.path.write_text(self.original, encoding='utf-8')
    return Apply()


def unit_phase(mutants, scratch, build, targets, tests, args):
    killed, survived, uncovered, invalid = [], [], [], []
    for n, m in enumerate(mutants, 1):
        started = time.time()
        # Targets that compile the file, then the tests whose executable needs one of them.
        owners = {tid for tid, t in targets.items() if m['file'] in t['sources']}
        affected = [t for t in tests if owners & closure(targets, t['target'])] if owners else list(tests)
        # The tests of the file's own folders first (the engine's are the editor's), built and run one
        # at a time, since most mutants die there; the rest built in one go, then run.
        parts = set(Path(m['file']).parts[:-1]) | ({'editor'} if m['file'].startswith('third_party/') else set())
        affected.sort(key=lambda t: (t['name'] not in parts, t['name'] == 'safety', t['name']))
        label = f"[{n}/{len(mutants)}] {m['file']}: {m['what']}"
        if not affected:
            uncovered.append(m)
            print(f'{label}: NOT COVERED', flush=True)
            continue
        verdict = 'survived'
        with mutated(scratch, m):
            own = [t for t in affected if t['name'] in parts] or affected[:1]
            for group in (own, [t for t in affected if t not in own]):
                ok, log = build_targets(build, {targets[t['target']]['name'] for t in group}, args.jobs) if group else (True, '')
                if not ok:
                    verdict = 'invalid'
                    m['log'] = log
                    break
                for t in group:
                    result, where = run_test(t, args.timeout)
                    if result != 'passed':
                        verdict = f"killed by {t['name']}" + (' (timeout)' if result == 'timeout' else '')
                        m['killer'] = where
                        break
                if verdict != 'survived':
                    break
        {'invalid': invalid, 'survived': survived}.get(verdict, killed).append(m)
        killer = f" in {m['killer']}" if m.get('killer') else ''
        print(f'{label}: {verdict.upper()}{killer} ({time.time() - started:.0f} s)', flush=True)
    return killed, survived, uncovered, invalid


def window_phase(alive, build, scratch, names, args):
    """Of the mutants the unit tests left alive, those a window test kills. A test that fails on a
    mutant is run again on the restored tree: one that fails there too proves nothing."""
    killed = []
    for n, m in enumerate(alive, 1):
        started = time.time()
        with mutated(scratch, m):
            ok, _ = build_targets(build, {'all'}, args.jobs)
            failing = run_ctest(build, names, args.timeout * 3) if ok else None
        verdict = 'survived'
        if failing:
            build_targets(build, {'all'}, args.jobs)
            verdict = (f'survived ({failing} fails without the mutant too)' if run_ctest(build, [failing], args.timeout * 3)
                       else f'killed by {failing}')
        if verdict.startswith('killed'):
            killed.append(m)
        print(f"[window {n}/{len(alive)}] {m['file']}: {m['what']}: {verdict.upper()} ({time.time() - started:.0f} s)", flush=True)
    build_targets(build, {'all'}, args.jobs)
    return killed


def score(killed, valid):
    return 100.0 * len(killed) / len(valid) if valid else 0.0


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--list', default=str(ROOT / 'tools/mutants.tsv'))
    ap.add_argument('--scratch', default=str(ROOT / 'build-mutate'))
    ap.add_argument('--timeout', type=int, default=int(os.environ.get('MUTATE_TIMEOUT', 120)))
    ap.add_argument('--jobs', type=int, default=int(os.environ.get('MUTATE_JOBS', 2)))
    ap.add_argument('--only', action='append', default=[])
    ap.add_argument('--lines', help='only the rows on these lines of the list: FIRST-LAST or N, comma-separated')
    ap.add_argument('--blind', action='store_true', help='only the rows marked blind')
    ap.add_argument('--window', action='store_true', help='the window tests for what the unit tests leave alive')
    ap.add_argument('--window-only', action='store_true', help='no unit run: the window tests for every row chosen')
    ap.add_argument('--window-tests', help='only the window tests whose name matches this regular expression')
    ap.add_argument('--check', action='store_true')
    args = ap.parse_args()

    mutants = read_mutants(Path(args.list))
    if args.only:
        mutants = [m for m in mutants if any(w in m['file'] or w in m['what'] for w in args.only)]
    if args.blind:
        mutants = [m for m in mutants if m['blind']]
    if args.lines:
        spans = [(int(a), int(b or a)) for a, _, b in (part.partition('-') for part in args.lines.split(','))]
        mutants = [m for m in mutants if any(a <= m['line'] <= b for a, b in spans)]
    broken = [(m, why) for m in mutants if (why := check(m, ROOT))]
    for m, why in broken:
        print(f"BROKEN   {m['file']} (list line {m['line']}): {why}: {m['what']}")
    if args.check:
        print(f'{len(mutants) - len(broken)} of {len(mutants)} mutants apply')
        return 1 if broken else 0
    broken_ids = {id(m) for m, _ in broken}
    mutants = [m for m in mutants if id(m) not in broken_ids]

    scratch = Path(args.scratch).resolve()
    build = scratch / 'build'
    scratch.mkdir(parents=True, exist_ok=True)
    # One run a scratch folder: a second run's sync and baseline would build with the first run's
    # mutant in place, and report the unmutated tree as failing.
    build.mkdir(exist_ok=True)
    lock = open(build / '.mutate.lock', 'w')  # in build/, which the sync leaves alone
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        sys.exit(f'another mutation run is using {scratch}; wait for it or give --scratch another folder')
    sync_tree(scratch)
    configure(scratch, build)
    targets = code_model(build)
    # CTest names a test's executable only once it exists.
    r = run(['cmake', '--build', str(build), '-j', str(args.jobs)])
    if r.returncode:
        sys.exit('the unmutated tree does not build:\n' + r.stdout[-3000:] + r.stderr[-3000:])
    tests = unit_tests(build, targets)
    if not tests:
        sys.exit('no unit test executables registered with CTest')
    print(f'{len(mutants)} mutants; unit tests: {", ".join(t["name"] for t in tests)}', flush=True)
    for t in tests:
        with open(build / 'mutate-baseline.log', 'w') as log:
            if run_test(t, args.timeout, log)[0] != 'passed':
                sys.exit(f"test {t['name']} fails on the unmutated tree (see {log.name}); fix that first")

    if args.window_only:  # rows a unit run already left alive
        killed, survived, uncovered, invalid = [], list(mutants), [], []
    else:
        killed, survived, uncovered, invalid = unit_phase(mutants, scratch, build, targets, tests, args)
    # Leave the scratch build as the tree is, for the next run.
    build_targets(build, {targets[t['target']]['name'] for t in tests}, args.jobs)
    if (args.window or args.window_only) and (survived or uncovered):
        names = [n for n in window_tests(build, tests) if re.search(args.window_tests or '', n)]
        print(f'window tests for {len(survived) + len(uncovered)} mutants: {", ".join(names)}', flush=True)
        by_window = window_phase(survived + uncovered, build, scratch, names, args)
        killed += by_window
        survived = [m for m in survived if m not in by_window]
        uncovered = [m for m in uncovered if m not in by_window]
    print()
    for m in survived:
        print(f"SURVIVED {m['file']} (list line {m['line']}): {m['what']}")
    for m in uncovered:
        print(f"NOT COVERED {m['file']} (list line {m['line']}): {m['what']}")
    for m in invalid:
        print(f"INVALID  {m['file']} (list line {m['line']}): does not build: {m['what']}")
    valid = killed + survived + uncovered
    print(f'{len(killed)} killed, {len(survived)} survived, {len(uncovered)} not covered, '
          f'{len(invalid)} invalid (do not build), {len(broken)} broken (pattern not found once)')
    blind = [m for m in valid if m['blind']]
    if blind:
        blind_killed = [m for m in killed if m['blind']]
        print(f'blind mutation score: {score(blind_killed, blind):.1f} % ({len(blind_killed)} of {len(blind)})')
    print(f'mutation score: {score(killed, valid):.1f} %')
    return 0 if not (invalid or broken) else 1


if __name__ == '__main__':
    sys.exit(main())
