"""The settings dialog: what it shows from config.ini, what it writes back
and when, the folder box and browser, and the credit link.

Also home of the toolbar helpers that test_commands.py borrows.
"""

import os
import time

import zt

TITLE = 'Zintora v1.0'
DIALOG = '软件设置'
BROWSE_TITLE = '选择文件夹'
HOME_X = zt.SCREEN_W - 225  # toolbar left edge while it is in

BTN_CLEAR, BTN_COLOUR, BTN_TOOL, BTN_CAPTURE, BTN_SETTINGS = 1009, 1008, 1007, 1006, 1005
IDOK, IDCANCEL = 1, 2
ID_FOLDER, ID_BROWSE, ID_AUTOSAVE, ID_QUITSAVE = 1001, 1002, 1003, 1004

# Wine can drop a click on the toolbar that lands just after it slid in,
# and the first click on a freshly shown folder browser: rest there first.
BAR_REST = 0.5
BROWSER_REST = 0.3
# Dialog controls took every click after this much in trials; it only
# gives the move time to be handled before the press.
REST = 0.1

# The dialog template puts OK at (20, 116) dialog units; with the CJK font
# that is (30, 189) client pixels, so OK's screen place gives the client
# origin, which Wine does not report to another process.
OK_IN_CLIENT = (30, 189)

PAGE = 'https://zintora.example/'
SC_CLOSE = 0xF060
WM_SYSCOMMAND = 0x0112


# ---------------------------------------------------------------- shared helpers

def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def shown(s, hwnd):
    w = s.probe.window(hwnd)
    return bool(w and w.visible)


def rest_click(s, x, y, clicks=1, rest=REST):
    s.move(x, y)
    time.sleep(rest)
    s.xdo('click', '--repeat', clicks, '--delay', 120, 1)


def config(*pairs, path=None):
    """config.ini bytes in the program's code page; pairs keep their order."""
    lines = ['[config]']
    if path is not None:
        lines.append('path=' + path)
    lines += ['%s=%s' % kv for kv in pairs]
    return ('\r\n'.join(lines) + '\r\n').encode('gbk')


def read_config(folder):
    """[(key, value)] of the [config] section in file order, or None without a file."""
    p = os.path.join(folder, 'config.ini')
    if not os.path.exists(p):
        return None
    out, inside = [], False
    for line in open(p, 'rb').read().decode('gbk').splitlines():
        line = line.strip()
        if line.startswith('['):
            inside = line.lower() == '[config]'
        elif inside and '=' in line:
            k, v = line.split('=', 1)
            out.append((k.strip(), v.strip()))
    return out


def config_bytes(folder):
    with open(os.path.join(folder, 'config.ini'), 'rb') as f:
        return f.read()


class Bar:
    """The toolbar of one App, driven as a user would drive it."""

    def __init__(self, s, app):
        self.s, self.app = s, app
        self.hwnd = app.window(title=TITLE).hwnd

    def rect(self):
        w = self.s.probe.window(self.hwnd)
        assert w is not None, 'toolbar window is gone'
        return w.rect

    def shown(self):
        return shown(self.s, self.hwnd)

    def button(self, cid):
        for c in self.s.probe.children(self.hwnd):
            if c.id == cid:
                return c.rect
        raise AssertionError('toolbar has no button %d' % cid)

    def bring_in(self):
        """Pulls it in from the strip if out, then rests on its caption."""
        top = self.rect()[1]
        if self.rect()[0] != HOME_X:
            self.s.move(zt.SCREEN_W - 2, top + 10)
        zt.wait_for(lambda: self.rect()[0] == HOME_X, 5, what='toolbar in place')
        self.s.move(HOME_X + 100, top + 10)
        time.sleep(BAR_REST)

    def press(self, cid, clicks=1, delay=120):
        self.bring_in()
        x, y = centre(self.button(cid))
        self.s.move(x, y)
        self.s.xdo('click', '--repeat', clicks, '--delay', delay, 1)

    def close_box(self):
        """Where Wine draws the X of the tool window's caption."""
        l, t, r, b = self.rect()
        return r - 12, t + 10


def start(s, cfg=None, folder=None):
    app = s.app(folder=folder, config=cfg)
    app.overlay()
    return app, Bar(s, app)


# ---------------------------------------------------------------- dialog helpers

class Dialog:
    def __init__(self, s, app, bar):
        self.s, self.app, self.bar = s, app, bar
        bar.press(BTN_SETTINGS)
        w = app.window(title=DIALOG, what='settings dialog')
        self.hwnd = w.hwnd
        self.ids = {c.id: c for c in s.probe.children(self.hwnd)}
        ok = self.ids[IDOK].rect
        self.origin = (ok[0] - OK_IN_CLIENT[0], ok[1] - OK_IN_CLIENT[1])

    def at(self, cx, cy):
        return self.origin[0] + cx, self.origin[1] + cy

    def check(self, cid):
        return self.s.probe.check(self.ids[cid].hwnd)

    def folder(self):
        return self.s.probe.text(self.ids[ID_FOLDER].hwnd)

    def click(self, cid):
        rest_click(self.s, *centre(self.ids[cid].rect))

    def free_spot(self):
        """Client area that is no control and no credit link."""
        return self.at(240, 200)

    def visible(self):
        return shown(self.s, self.hwnd)

    def wait_gone(self, how):
        # Wine keeps the ended dialog listed for about 2 s; hidden is what counts.
        zt.wait_for(lambda: not self.visible(), 5, what='dialog to close by %s' % how)


def choose_in_browser(s, app, row):
    """Picks tree row `row` of the folder browser and confirms it."""
    bw = app.window(title=BROWSE_TITLE, what='folder browser')
    kids = s.probe.children(bw.hwnd)
    tree = [c for c in kids if c.cls == 'SysTreeView32'][0]
    ok = [c for c in kids if c.id == IDOK][0]
    TVM_GETNEXTITEM, TVGN_CARET = 0x110A, 9
    first = s.probe.send(tree.hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0)
    # Rows are 16 px; the first press on a freshly shown browser is often
    # swallowed, so press until the selection has moved.
    x, y = tree.rect[0] + 70, tree.rect[1] + 8 + 16 * row
    zt.wait_for(lambda: rest_click(s, x, y, rest=BROWSER_REST) or
                s.probe.send(tree.hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0) != first,
                8, interval=0, what='folder browser selection to move to row %d' % row)
    rest_click(s, *centre(ok.rect))
    zt.wait_for(lambda: not shown(s, bw.hwnd), 5, what='folder browser to close')


# ---------------------------------------------------------------- tests

SHOTS = 'C:\\截图'

# (autosave, quitsave) as stored, and the check marks they must give.
FLAG_ROWS = [
    ('1', '0', 1, 0),
    ('01', '', 1, 0),
    ('+1', 'yes', 1, 0),
    (' 1', '2', 1, 0),
    ('0', '1x', 0, 1),
]


def test_dialog_shows_stored_flags_and_folder_with_focus_on_ok(s):
    app, bar = start(s, config(('autosave', '1'), ('quitsave', '0'), path=SHOTS))
    with app:
        bad = []
        for i, (auto, quit_, want_auto, want_quit) in enumerate(FLAG_ROWS):
            with open(os.path.join(app.folder, 'config.ini'), 'wb') as f:
                f.write(config(('autosave', auto), ('quitsave', quit_), path=SHOTS))
            d = Dialog(s, app, bar)
            if i == 0:
                zt.wait_for(lambda: s.probe.focus().id == IDOK, 5, what='focus on OK')
                assert d.folder() == SHOTS, d.folder()
                shot = s.screenshot('settings-dialog')
                # The dialog is drawn: its OK button face is not overlay tint.
                assert shot.px(*centre(d.ids[IDOK].rect)) != (3, 0, 0), shot.path
            got = (d.check(ID_AUTOSAVE), d.check(ID_QUITSAVE))
            if got != (want_auto, want_quit):
                bad.append(((auto, quit_), got, (want_auto, want_quit)))
            d.click(IDCANCEL)
            d.wait_gone('Cancel')
        assert bad == [], '(stored, shown, wanted): %s' % bad


def _ok_button(s, d):
    d.click(IDOK)


def _enter_after_typing_in_folder_box(s, d):
    before = d.folder()
    rest_click(s, *centre(d.ids[ID_FOLDER].rect))
    s.xdo('type', '--delay', 30, 'abc')
    s.key('BackSpace')
    s.key('Delete')
    s.key('ctrl+a')
    s.key('x')
    assert d.folder() == before, 'the folder box took typing: %r' % d.folder()
    s.key('Return')


def _browse_then_ok(s, d):
    rest_click(s, *centre(d.ids[ID_BROWSE].rect))
    choose_in_browser(s, d.app, 3)
    assert d.folder().rstrip('\\').endswith('\\Documents'), d.folder()
    d.chosen = d.folder()
    d.click(IDOK)


# (what, config.ini before or None, boxes to click, how to confirm, keys after)
WRITE_ROWS = [
    ('first write, empty box', None, [ID_AUTOSAVE], _ok_button,
     [('autosave', '1'), ('quitsave', '0')]),
    ('empty path kept as is', config(('autosave', '1'), ('quitsave', '1'), path=''),
     [ID_QUITSAVE], _ok_button,
     [('path', ''), ('autosave', '1'), ('quitsave', '0')]),
    ('first write after path, typing ignored', config(path=SHOTS), [ID_QUITSAVE],
     _enter_after_typing_in_folder_box,
     [('path', SHOTS), ('autosave', '0'), ('quitsave', '1')]),
    ('browsed folder written', config(('autosave', '1'), ('quitsave', '1'), path=SHOTS),
     [ID_AUTOSAVE, ID_QUITSAVE], _browse_then_ok,
     [('path', 'chosen'), ('autosave', '0'), ('quitsave', '0')]),
]


def test_ok_and_enter_write_path_when_set_then_both_flags_in_order(s):
    folder = s.workdir('app')
    app, bar = start(s, None, folder=folder)
    with app:
        bad = []
        for what, before, boxes, confirm, want in WRITE_ROWS:
            cfg = os.path.join(folder, 'config.ini')
            if before is None:
                if os.path.exists(cfg):
                    os.unlink(cfg)
            else:
                with open(cfg, 'wb') as f:
                    f.write(before)
            d = Dialog(s, app, bar)
            for b in boxes:
                was = d.check(b)
                d.click(b)
                zt.wait_for(lambda: d.check(b) != was, 3, what='box %d to toggle' % b)
            confirm(s, d)
            d.wait_gone(what)
            want = [(k, getattr(d, 'chosen', None) if v == 'chosen' else v) for k, v in want]
            got = read_config(folder)
            if got != want:
                bad.append((what, got, want))
        assert bad == [], '(row, file, wanted): %s' % bad


def _cancel_button(s, d):
    d.click(IDCANCEL)


def _esc(s, d):
    rest_click(s, *d.free_spot())
    s.key('Escape')


def _close(s, d):
    s.probe.post(d.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)


def _browse_then_cancel(s, d):
    before = d.folder()
    rest_click(s, *centre(d.ids[ID_BROWSE].rect))
    choose_in_browser(s, d.app, 3)
    assert d.folder() != before, 'browser changed nothing: %r' % d.folder()
    d.click(IDCANCEL)


LEAVE_ROWS = [
    ('Cancel button', _cancel_button),
    ('Esc', _esc),
    ('close command', _close),
    ('folder chosen, then Cancel', _browse_then_cancel),
]


def test_cancel_esc_and_close_write_nothing(s):
    stored = config(('autosave', '0'), ('quitsave', '1'), path=SHOTS)
    app, bar = start(s, stored)
    with app:
        bad = []
        for what, leave in LEAVE_ROWS:
            d = Dialog(s, app, bar)
            for b in (ID_AUTOSAVE, ID_QUITSAVE):
                was = d.check(b)
                d.click(b)
                zt.wait_for(lambda: d.check(b) != was, 3, what='box %d to toggle' % b)
            leave(s, d)
            d.wait_gone(what)
            if config_bytes(app.folder) != stored:
                bad.append((what, config_bytes(app.folder)))
        assert bad == [], 'config.ini changed by: %s' % bad


# Client pixels of presses, and whether each is on the credit link.
CREDIT_ROWS = [
    ((50, 150), True),
    ((105, 150), False),
    ((11, 136), True),
    ((10, 150), False),
    ((104, 174), True),
    ((50, 135), False),
    ((50, 175), False),
    ((200, 100), False),
]


def _browser_log(s):
    """A launcher script in place of a web browser; returns its log file."""
    d = s.test_tmp()
    log = os.path.join(d, 'opened.log')
    open(log, 'w').close()
    script = os.path.join(d, 'browser.sh')
    with open(script, 'w') as f:
        f.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' % log)
    os.chmod(script, 0o755)
    s._reg('add', r'HKCU\Software\Wine\WineBrowser', '/v', 'Browsers', '/d', script)
    return log


def test_credit_link_opens_page_once_per_press_with_hand_cursor_only_over_it(s):
    log = _browser_log(s)

    def opened():
        with open(log) as f:
            return [l for l in f.read().splitlines() if l]

    app, bar = start(s, config(('autosave', '0'), ('quitsave', '0')))
    with app:
        d = Dialog(s, app, bar)
        s.move(*d.free_spot())
        arrow = zt.wait_for(lambda: s.probe.cursor().handle, 3, what='a cursor')
        want, bad = 0, []
        for (cx, cy), link in CREDIT_ROWS:
            x, y = d.at(cx, cy)
            s.move(x, y)
            try:
                zt.wait_for(lambda: (s.probe.cursor().handle != arrow) == link, 2,
                            what='cursor at client %s' % ((cx, cy),))
            except AssertionError as e:
                bad.append(('cursor', (cx, cy), link, str(e)))
            time.sleep(REST)
            s.xdo('click', 1)
            if link:
                want += 1
                try:
                    zt.wait_for(lambda: len(opened()) >= want, 5, what='page opened')
                except AssertionError:
                    bad.append(('not opened', (cx, cy)))
                    want = len(opened())
            assert d.visible(), 'the dialog closed after a press at %s' % ((cx, cy),)
        # A last press on the link: its open comes after any stray one from before.
        s.move(*d.at(50, 150))
        time.sleep(REST)
        s.xdo('click', 1)
        want += 1
        zt.wait_for(lambda: len(opened()) >= want, 5, what='last page open')
        got = opened()
        assert bad == [], bad
        assert got == [PAGE] * want, got
