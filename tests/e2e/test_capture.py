"""Captures after every fifth stroke: when one is written, its number, name and picture."""

import os
import subprocess
import time

import zt

TINT = (3, 0, 0)
PEN = (255, 0, 0)
PAUSE = 0.05         # Wine loses drag steps that arrive with no gap between them
FIRST_SAVE = 15      # the first GDI+ JPEG save of a process takes more than a second
BAND_Y = 300         # five strokes, one per row from here, make a band a JPEG keeps red


# ---------------------------------------------------------------- helpers

def _config(folder, autosave=b'1'):
    """config.ini as the program reads it: ANSI (CP936) text with CRLF."""
    path = folder if isinstance(folder, bytes) else zt.winpath(folder).encode('gbk')
    lines = [b'[config]', b'path=' + path]
    if autosave is not None:
        lines.append(b'autosave=' + autosave)
    lines.append(b'quitsave=0')
    return b'\r\n'.join(lines) + b'\r\n'


def _write_config(app, folder, autosave=b'1'):
    with open(os.path.join(app.folder, 'config.ini'), 'wb') as f:
        f.write(_config(folder, autosave))


def _names(number):
    """The capture names the program may choose now: the minute may just have turned."""
    now = time.time()
    return {'%d、%s.jpg' % (number, time.strftime('%m月%d日%H时%M分', time.localtime(t)))
            for t in (now, now - 60)}


def _listing(folder):
    return sorted(os.listdir(folder))


def _jpeg_size(path):
    """(width, height) from the first SOF marker; None while the file is incomplete."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:2] != b'\xff\xd8' or data[-2:] != b'\xff\xd9':
        return None
    i = 2
    while i + 9 < len(data):
        if data[i] != 0xFF:
            return None
        marker = data[i + 1]
        length = int.from_bytes(data[i + 2:i + 4], 'big')
        if marker in (0xC0, 0xC1, 0xC2, 0xC3):
            return (int.from_bytes(data[i + 7:i + 9], 'big'), int.from_bytes(data[i + 5:i + 7], 'big'))
        i += 2 + length
    return None


def _jpeg_pixels(path):
    raw = subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], check=True, timeout=30,
                         stdout=subprocess.PIPE).stdout
    assert len(raw) == zt.SCREEN_W * zt.SCREEN_H * 3, len(raw)
    return zt.Shot(path, zt.SCREEN_W, zt.SCREEN_H, raw)


def _wait_captures(folder, count, what):
    """Waits until `count` complete JPEGs lie in the folder; returns the listing."""
    def done():
        names = _listing(folder)
        jpgs = [n for n in names if n.endswith('.jpg')]
        if len(jpgs) >= count and all(_jpeg_size(os.path.join(folder, n)) for n in jpgs):
            return names
        return None
    return zt.wait_for(done, FIRST_SAVE, what=what)


def _drag(s, a, b):
    s.xdo('mousemove', a[0], a[1], 'sleep', PAUSE, 'mousedown', 1, 'sleep', PAUSE,
          'mousemove', b[0], b[1], 'sleep', PAUSE, 'mouseup', 1, 'sleep', PAUSE)


def _releases(s, overlay, n):
    """n press/release pairs handed straight to the overlay.

    SendMessage returns only once the overlay has handled the release, and
    a capture is written inside that handling, so right after the last one
    the folder shows the final answer: no waiting for a file that must not come.
    """
    for _ in range(n):
        s.probe.send(overlay.hwnd, zt.WM_LBUTTONDOWN)
        s.probe.send(overlay.hwnd, zt.WM_LBUTTONUP)


def _folder_of_length(base, length):
    """A new folder under base whose Windows path is exactly `length` characters."""
    left = length - len(zt.winpath(base))
    assert left >= 2, (base, length)
    parts = []
    while left > 0:
        n = min(100, left - 1)
        if left - (n + 1) == 1:  # never leave one character for a separator alone
            n -= 1
        parts.append('d' * n)
        left -= n + 1
    folder = os.path.join(base, *parts)
    os.makedirs(folder)
    assert len(zt.winpath(folder)) == length, (len(zt.winpath(folder)), length)
    return folder


def _esc_ends_with_0(s, app):
    assert not app.exited(), 'program ended by itself (rc %s)' % app.rc()
    ov = app.overlay()
    s.click(512, 100)
    zt.wait_for(lambda: s.probe.focus().active == ov.hwnd, 5, what='overlay active')
    s.key('Escape')
    assert app.wait_exit(12) == 0, app.rc()


# ---------------------------------------------------------------- tests

def test_fifth_and_tenth_strokes_each_write_one_numbered_screen_jpeg(s):
    shots = s.workdir('shots')
    with s.app(config=_config(shots)) as app:
        app.overlay()
        # Each stroke starts at the other end from the last: two quick presses
        # on one spot make a double click, whose stroke is lost (see
        # test_strokes), and that is not what is checked here.
        ends = [(200, 800) if k % 2 == 0 else (800, 200) for k in range(5)]
        for k, (x0, x1) in enumerate(ends[:4]):
            _drag(s, (x0, BAND_Y + k), (x1, BAND_Y + k))
        assert _listing(shots) == []
        _drag(s, (ends[4][0], BAND_Y + 4), (ends[4][1], BAND_Y + 4))
        # Had any of strokes 1-4 written a capture, this one would be number 2
        # or there would be two files.
        names = _wait_captures(shots, 1, 'a capture after the fifth stroke')
        assert len(names) == 1 and names[0] in _names(1), (names, _names(1))
        first = os.path.join(shots, names[0])
        assert _jpeg_size(first) == (zt.SCREEN_W, zt.SCREEN_H), _jpeg_size(first)

        pic = _jpeg_pixels(first)
        band = [(x, BAND_Y + 2) for x in range(220, 781, 20)]
        assert pic.mismatches(band, PEN, tol=40) == [], pic.mismatches(band, PEN, tol=40)[:6]
        tint = [(x, y) for x in range(40, 1000, 60) for y in (60, 200, 400, 600)]
        assert pic.mismatches(tint, TINT, tol=8) == [], pic.mismatches(tint, TINT, tol=8)[:6]

        # Five more releases, plain clicks this time.
        for x in range(300, 800, 100):
            s.xdo('mousemove', x, 500, 'sleep', PAUSE, 'click', 1, 'sleep', PAUSE)
        names = _wait_captures(shots, 2, 'a capture after the tenth release')
        new = [n for n in names if n != os.path.basename(first)]
        assert len(names) == 2 and new[0] in _names(2), (names, _names(2))
        assert _jpeg_size(os.path.join(shots, new[0])) == (zt.SCREEN_W, zt.SCREEN_H)


# (what, files already there, folders already there, number of the next capture or None)
NUMBERING = [
    ('earlier captures', ['1、10月01日08时00分.jpg', '2、10月01日08时01分.jpg', '7、10月02日09时30分.jpg'], [], 8),
    ('number before a blank', ['2011 report.doc', '15.txt'], [], 2012),
    ('leading blanks skipped', ['  6 a.txt', '5.txt'], [], 7),
    ('plus sign', ['+8.txt', '5.txt'], [], 9),
    ('minus sign', ['-30.txt', '5.txt'], [], 6),
    ('folders ignored', ['5.txt'], ['99', '120 old'], 6),
    # A leading dot already stops the number, so this row guards the parse
    # (no skipping to the first digit) more than the dot rule itself.
    ('dot names ignored', ['5.txt', '.99', '.120 x.jpg'], [], 6),
    ('no leading digits', ['abc.txt', 'x9.txt', '截图9.jpg'], [], 1),
    ('one below the top', ['2147483646.txt'], [], 2147483647),
    ('top number taken', ['2147483647.txt', '3.txt'], [], None),
]


def test_next_number_is_the_highest_leading_number_in_the_folder_plus_one(s):
    with s.app(config=_config(s.workdir('unused'))) as app:
        ov = app.overlay()
        bad = []
        for i, (what, files, dirs, want) in enumerate(NUMBERING):
            folder = s.workdir('n-%d' % i)
            for n in files:
                with open(os.path.join(folder, n), 'wb') as f:
                    f.write(b'x')
            for n in dirs:
                os.makedirs(os.path.join(folder, n))
            _write_config(app, folder)
            _releases(s, ov, 5)
            new = sorted(set(_listing(folder)) - set(files) - set(dirs))
            if want is None:
                ok = new == []
            else:
                ok = len(new) == 1 and new[0] in _names(want)
            if not ok:
                bad.append((what, new, want))
        assert bad == [], bad


# (what, folder: 'missing' or a Windows path length or a name, capture expected)
FOLDERS = [
    ('missing folder', 'missing', False),
    ('CJK folder name', '截图 二', True),
    ('path of 259 bytes', 235, True),
    ('path of 260 bytes', 236, False),
    ('240-character folder', 240, False),
]


def test_folder_cases_and_the_program_survives_them(s):
    with s.app(config=_config(s.workdir('unused'))) as app:
        ov = app.overlay()
        bad = []
        for i, (what, kind, want) in enumerate(FOLDERS):
            base = s.workdir('f-%d' % i)
            if kind == 'missing':
                folder = os.path.join(base, 'not here')
            elif isinstance(kind, int):
                folder = _folder_of_length(base, kind)
            else:
                folder = os.path.join(base, kind)
                os.makedirs(folder)
            _write_config(app, folder)
            _releases(s, ov, 5)
            if kind == 'missing':
                got = _listing(base)
                if got:
                    bad.append((what, 'created', got))
                continue
            got = _listing(folder)
            ok = (len(got) == 1 and got[0] in _names(1)) if want else got == []
            if not ok:
                bad.append((what, got))
        assert bad == [], bad
        _esc_ends_with_0(s, app)


# (autosave value as written, capture expected); None leaves the key out
AUTOSAVE = [
    (b'1', True),
    (b'0', False),
    (b'', False),
    (b'2', False),
    (b'yes', False),
    (None, False),
    (b' 1', True),
    (b'01', True),
    (b'+1', True),
]


def test_only_an_autosave_that_reads_as_1_writes_a_capture(s):
    with s.app(config=_config(s.workdir('unused'), b'0')) as app:
        ov = app.overlay()
        bad = []
        for i, (value, want) in enumerate(AUTOSAVE):
            folder = s.workdir('a-%d' % i)
            _write_config(app, folder, value)
            _releases(s, ov, 5)
            got = _listing(folder)
            if bool(got) != want or len(got) > 1:
                bad.append((value, got))
        # Releases count while autosave is off: three then, two now make a fifth.
        folder = s.workdir('a-split')
        _write_config(app, folder, b'0')
        _releases(s, ov, 3)
        _write_config(app, folder, b'1')
        _releases(s, ov, 2)
        if len(_listing(folder)) != 1:
            bad.append(('3 off + 2 on', _listing(folder)))
        assert bad == [], bad


def test_config_is_found_beside_an_exe_in_a_folder_whose_name_holds_a_5c_trail_byte(s):
    # 乗 and 俓 are 81 5C and 82 5C in CP936: their second byte is '\'.
    home = s.workdir('乗俓')
    shots = s.workdir('shots')
    with s.app(folder=home, config=_config(shots)) as app:
        seen = [p.path for p in s.probe.procs() if p.pid == app.pid]
        ov = app.overlay()
        _releases(s, ov, 5)
        got = _listing(shots)
        assert len(got) == 1 and got[0] in _names(1), (got, seen)
