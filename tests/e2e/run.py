#!/usr/bin/env python3
"""Runs the end-to-end tests: every test_* function of tests/e2e/test_*.py.

    python3 tests/e2e/run.py --exe build/win/Zintora.exe --probe build/win/probe.exe [-k word]

Each test gets the shared session: `def test_x(s):`. Ends with the line
`N passed, N failed`; exit code 1 if any failed.
"""

import argparse
import os
import runpy
import sys
import time
import traceback
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import zt  # noqa: E402


def discover(pattern):
    tests = []
    for fn in sorted(os.listdir(HERE)):
        if not (fn.startswith('test_') and fn.endswith('.py')):
            continue
        name = fn[:-3]
        path = os.path.join(HERE, fn)
        found = runpy.run_path(path, run_name=name)
        # Only functions written in this file, not ones it imported.
        funcs = [f for n, f in found.items()
                 if n.startswith('test_') and isinstance(f, types.FunctionType) and f.__code__.co_filename == path]
        funcs.sort(key=lambda f: f.__code__.co_firstlineno)
        for f in funcs:
            full = '%s.%s' % (name, f.__name__)
            if pattern is None or pattern in full:
                tests.append((full, f))
    return tests


def test_frame(tb):
    """The innermost frame inside a test file, for the one-line report."""
    frames = [f for f in traceback.extract_tb(tb) if os.path.basename(f.filename).startswith('test_')]
    return frames[-1] if frames else None


def describe(e):
    f = test_frame(e.__traceback__)
    first = (str(e).strip().splitlines() or [''])[0]
    if not first and f is not None:
        first = f.line  # a bare assert: its source says what failed
    at = ' (%s:%d)' % (os.path.basename(f.filename), f.lineno) if f is not None else ''
    return '%s: %s%s' % (type(e).__name__, first, at)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--exe', help='Zintora.exe under test')
    ap.add_argument('--probe', required=True, help='probe.exe (built from tests/e2e/probe)')
    ap.add_argument('-k', dest='pattern', help='run only tests whose name contains this')
    ap.add_argument('--results', help='artefacts folder (default /tmp/zintora-e2e/<time>)')
    ap.add_argument('--keep', action='store_true', help='keep the Wine prefix and work folders')
    a = ap.parse_args()

    tests = discover(a.pattern)
    if not tests:
        print('no test matches %r' % a.pattern)
        print('0 passed, 0 failed')
        return 1
    passed = failed = 0
    s = zt.Session(exe=a.exe, probe=a.probe, results=a.results, keep=a.keep)
    zt.signal_teardown(s)
    t0 = time.monotonic()
    try:
        s.start()
    except Exception as e:
        for name, _ in tests:
            print('FAIL %s: session did not start: %s' % (name, e), flush=True)
        s.stop()
        print('%d passed, %d failed' % (0, len(tests)))
        return 1
    print('session: display %s, Xvfb %.1f s, prefix %.1f s' %
          (s.display, s.timings['xvfb'], s.timings['prefix']), flush=True)
    try:
        for name, fn in tests:
            s.begin_test(name)
            t = time.monotonic()
            try:
                fn(s)
                ok, msg = True, ''
            except Exception as e:
                ok = False
                msg = describe(e)
                s.note('failure.txt', traceback.format_exc())
            try:
                s.end_test()
            except Exception as e:
                if ok:
                    ok, msg = False, 'cleanup failed: %s' % e
                s.note('cleanup-failure.txt', traceback.format_exc())
            dt = time.monotonic() - t
            if ok:
                passed += 1
                print('PASS %s (%.1f s)' % (name, dt), flush=True)
            else:
                failed += 1
                print('FAIL %s: %s (%.1f s)' % (name, msg, dt), flush=True)
    finally:
        s.stop()
    print('artefacts: %s (total %.1f s)' % (s.results, time.monotonic() - t0))
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
