"""Bad input, one table: each row gives the program a config.ini or a
capture folder that is wrong in its own way. In every row the program
draws, captures and exits with code 0; it writes nothing outside the
capture folder, changes no file that was there, and a capture into a good
folder right after works."""

import os
import random
import shutil
import subprocess

import zt

WM_COMMAND = 0x0111
CAPTURE, EXIT = 1006, 2


def _junk():
    rng = random.Random(936)
    return bytes(rng.randrange(256) for _ in range(4096))


def _odd_names(folder):
    # Names that look like numbers, signs, dots, huge values, Chinese, and
    # sub-folders that look like captures.
    files = ['.', '...x', '.99', '+5x', '-7.txt', '  3 spaced.txt', '照片.jpg',
             '12、01月01日00时00分.jpg', '99999999999999999999.jpg', '0', 'x' * 200]
    for name in files:
        if name != '.':
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(b'existing ' + name.encode())
    for name in ['50、12月11日10时00分.jpg', '2147483647', '999']:
        os.makedirs(os.path.join(folder, name))
    # 99999999999999999999 wraps to 1661992959 at 32 bits, the highest here.
    return '1661992960、'


def _read_only(folder):
    if subprocess.run(['chattr', '+i', folder], capture_output=True).returncode != 0:
        subprocess.run(['mount', '-t', 'tmpfs', '-o', 'ro,size=64k', 'tmpfs', folder], check=True)
        return lambda: subprocess.run(['umount', folder], check=False)
    return lambda: subprocess.run(['chattr', '-i', folder], check=False)


# name, how the row breaks the capture folder, and the captures it may leave:
# (folder, names) or None for none anywhere. Junk holds no [config] section,
# so the folder reads empty and captures go to the root of the program's
# drive, here its own folder; its exit reads no quitsave and adds none.
ROWS = [
    ('binary junk config', 'junk', ('app', ['1、'])),
    ('300-character path', 'long', None),
    ('path names a file', 'file', None),
    ('missing folder', 'missing', None),
    ('read-only folder', 'readonly', None),
    ('odd names in the folder', 'odd', ('shots', ['1661992960、', '1661992961、'])),
]


def _snapshot(root):
    seen = {}
    for base, dirs, files in os.walk(root):
        for n in dirs + files:
            p = os.path.join(base, n)
            st = os.lstat(p)
            # A folder's own times change when files come; its files tell.
            seen[p] = None if n in dirs else (st.st_size, st.st_mtime_ns)
    return seen


def _jpegs(folder):
    return sorted(n for n in os.listdir(folder) if n.endswith('.jpg') and '、' in n
                  and n.split('、')[0].isdigit())


def _run_row(s, kind, expected):
    row = s.workdir('row-' + kind)
    exe_dir = os.path.join(row, 'app')
    shots = os.path.join(row, 'shots')
    good = os.path.join(row, 'good')
    for d in (exe_dir, shots, good):
        os.makedirs(d)
    # The program's own folder is the root of drive Y:, so a capture that
    # falls back on the drive's root lands where the test sees it.
    drive = os.path.join(s.env['WINEPREFIX'], 'dosdevices', 'y:')
    if os.path.lexists(drive):
        os.unlink(drive)
    os.symlink(exe_dir, drive)

    undo = None
    if kind == 'junk':
        config = _junk()
    else:
        if kind == 'long':
            folder = zt.winpath(shots) + '\\' + 'a' * 300
        elif kind == 'file':
            target = os.path.join(shots, 'a-file.txt')
            with open(target, 'wb') as f:
                f.write(b'keep me')
            folder = zt.winpath(target)
        elif kind == 'missing':
            folder = zt.winpath(os.path.join(shots, 'not', 'there'))
        elif kind == 'readonly':
            folder = zt.winpath(shots)
        elif kind == 'odd':
            _odd_names(shots)
            folder = zt.winpath(shots)
        config = ('[config]\r\npath=%s\r\nquitsave=1\r\n' % folder).encode('gbk')
    with open(os.path.join(exe_dir, 'config.ini'), 'wb') as f:
        f.write(config)
    if kind == 'readonly':
        undo = _read_only(shots)

    shutil.copy2(s.exe, os.path.join(exe_dir, 'Zintora.exe'))
    before = _snapshot(row)
    good_config = ('[config]\r\npath=%s\r\nquitsave=0\r\n' % zt.winpath(good)).encode()
    try:
        with s.app(folder=exe_dir, win_exe='Y:\\Zintora.exe') as app:
            app.overlay()
            bar = app.window(title='Zintora v1.0')
            for i in range(5):
                y = 100 + 20 * i
                s.drag([(100, y), (200, y), (300, y + 10)], step_delay=0.03, step=25)
            # Sent, not posted: it returns once the capture has run, so the
            # settings can be changed under it safely. They are read afresh
            # at every capture.
            s.probe.send(bar.hwnd, WM_COMMAND, CAPTURE, 0)
            with open(os.path.join(exe_dir, 'config.ini'), 'wb') as f:
                f.write(good_config)
            s.probe.send(bar.hwnd, WM_COMMAND, CAPTURE, 0)
            zt.wait_for(lambda: _jpegs(good), 20, what='capture into the good folder')
            # The exit captures into the bad folder again when it reads on.
            with open(os.path.join(exe_dir, 'config.ini'), 'wb') as f:
                f.write(config)
            s.probe.post(bar.hwnd, WM_COMMAND, EXIT, 0)
            rc = app.wait_exit(20)
    finally:
        if undo:
            undo()
        os.unlink(drive)

    assert rc == 0, 'exit code %s' % rc
    assert len(_jpegs(good)) == 1 and _jpegs(good)[0].startswith('1、'), _jpegs(good)
    after = _snapshot(row)
    changed = [p for p, v in before.items() if after.get(p) != v and p != os.path.join(exe_dir, 'config.ini')]
    assert not changed, 'existing files changed: %s' % changed
    new = sorted(p for p in after if p not in before and not p.startswith(good)
                 and not os.path.basename(p).startswith('.rc-'))
    if expected is None:
        assert not new, 'written outside a good capture folder: %s' % new
    else:
        where, prefixes = expected
        folder = exe_dir if where == 'app' else shots
        names = sorted(os.path.relpath(p, folder) for p in new)
        assert len(names) == len(prefixes) and all(
            n.startswith(p) and n.endswith('.jpg') and os.sep not in n
            for n, p in zip(names, prefixes)), names


def test_bad_input_never_crashes_hangs_or_writes_elsewhere(s):
    failures = []
    for name, kind, expected in ROWS:
        try:
            _run_row(s, kind, expected)
        except AssertionError as e:
            failures.append('%s: %s' % (name, e))
    assert not failures, '\n'.join(failures)
