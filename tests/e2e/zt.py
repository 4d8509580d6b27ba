"""End-to-end harness for Zintora: runs the real exe under Wine on Xvfb.

Python standard library only. One Session per run owns the X server, the
Wine prefix and the probe; tests receive it as `s`.
"""

import atexit
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1024, 768
ROOT_RGB = (32, 80, 128)  # a colour no overlay pixel can have
ROOT_HEX = '#205080'

WS_VISIBLE = 0x10000000
WS_EX_TOPMOST = 0x8
WS_EX_TOOLWINDOW = 0x80
WS_EX_LAYERED = 0x80000

WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
WM_LBUTTONDOWN = 0x0201
WM_LBUTTONUP = 0x0202
WM_COMMAND = 0x0111
BM_CLICK = 0x00F5


# ---------------------------------------------------------------- polling

def wait_for(fn, timeout, interval=0.1, what='condition'):
    """Polls fn() until it returns something truthy, and returns that.

    On timeout raises AssertionError naming `what` and the last value seen,
    which is what a reader of the failure needs to tell "never" from "wrong".
    """
    deadline = time.monotonic() + timeout
    last = None
    last_exc = None
    while True:
        try:
            last = fn()
            last_exc = None
            if last:
                return last
        except AssertionError:
            raise
        except Exception as e:  # a probe call can fail while windows come and go
            last_exc = e
        if time.monotonic() >= deadline:
            seen = repr(last_exc) if last_exc is not None else repr(last)
            if len(seen) > 600:
                seen = seen[:600] + '...'
            raise AssertionError('timed out after %.1f s waiting for %s; last: %s'
                                 % (timeout, what, seen))
        time.sleep(interval)


def near(c1, c2, tol=1):
    return all(abs(a - b) <= tol for a, b in zip(c1, c2))


def winpath(path):
    """Wine maps the Linux root to drive Z:."""
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def _unescape(s):
    if '\\' not in s:
        return s
    out = []
    i = 0
    while i < len(s):
        c = s[i]
        if c == '\\' and i + 1 < len(s):
            n = s[i + 1]
            out.append({'t': '\t', 'n': '\n', 'r': '\r', '\\': '\\'}.get(n, '\\' + n))
            i += 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def _lines(text):
    return [l.rstrip('\r') for l in text.replace('\r\n', '\n').split('\n') if l.rstrip('\r') != '']


def _hx(s):
    return int(s, 16)


# ---------------------------------------------------------------- records

class Rec(dict):
    """A probe record: a dict that also allows attribute access."""
    __getattr__ = dict.__getitem__


def _window_rec(f):
    return Rec(hwnd=_hx(f[0]), pid=int(f[1]), cls=_unescape(f[2]), title=_unescape(f[3]),
               style=_hx(f[4]), exstyle=_hx(f[5]),
               rect=(int(f[6]), int(f[7]), int(f[8]), int(f[9])),
               visible=f[10] == '1', owner=_hx(f[11]), topmost=f[12] == '1')


def _child_rec(f):
    return Rec(hwnd=_hx(f[0]), id=int(f[1]), cls=_unescape(f[2]), text=_unescape(f[3]),
               style=_hx(f[4]), rect=(int(f[5]), int(f[6]), int(f[7]), int(f[8])),
               visible=f[9] == '1', parent=_hx(f[10]) if len(f) > 10 else 0)


# ---------------------------------------------------------------- screenshots

class Shot:
    """A screenshot of the X root; px(x, y) -> (r, g, b)."""

    def __init__(self, path, width, height, data):
        self.path, self.width, self.height, self._data = path, width, height, data

    def px(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError('pixel (%d,%d) outside %dx%d' % (x, y, self.width, self.height))
        i = (y * self.width + x) * 3
        return tuple(self._data[i:i + 3])

    def grid(self, step=32, margin=0):
        """Sample points across the whole screen, edges included."""
        xs = sorted(set(list(range(margin, self.width - margin, step)) + [self.width - 1 - margin]))
        ys = sorted(set(list(range(margin, self.height - margin, step)) + [self.height - 1 - margin]))
        return [(x, y) for y in ys for x in xs]

    def mismatches(self, points, rgb, tol=1):
        return [(p, self.px(*p)) for p in points if not near(self.px(*p), rgb, tol)]


# ---------------------------------------------------------------- probe

class ProbeError(RuntimeError):
    def __init__(self, args, rc, out, err):
        RuntimeError.__init__(self, 'probe %s -> rc %s: %s' % (' '.join(map(str, args)), rc,
                                                               (err or out).strip()[:300]))
        self.rc = rc
        self.out = out


class Probe:
    """Runs probe.exe inside the session's prefix.

    One `probe serve` process is kept alive and fed commands, because each
    `wine probe.exe` start costs about 0.1 s, too slow for tight polling.
    """

    def __init__(self, session):
        self.s = session
        self._proc = None
        self._buf = b''

    def _start(self):
        self._proc = subprocess.Popen(
            ['wine', self.s.probe_exe, 'serve'], env=self.s.env, cwd=self.s.tmp,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            start_new_session=True)
        self._buf = b''
        os.set_blocking(self._proc.stderr.fileno(), False)

    def stop(self):
        p, self._proc = self._proc, None
        if p and p.poll() is None:
            try:
                p.stdin.close()
                p.wait(timeout=3)
            except Exception:
                _killpg(p)
        for f in (p.stdout, p.stderr) if p else ():
            try:
                f.close()
            except Exception:
                pass

    def _stderr(self):
        try:
            data = self._proc.stderr.read() or b''
        except Exception:
            data = b''
        return data.decode('utf-8', 'replace')

    def run(self, *args, timeout=20, check=True):
        """Returns the output lines of one probe command (CR stripped)."""
        args = [str(a) for a in args]
        if any('\t' in a or '\n' in a for a in args):
            return self.run_once(*args, timeout=timeout, check=check)
        for attempt in (0, 1):
            if self._proc is None or self._proc.poll() is not None:
                self._start()
            try:
                self._proc.stdin.write(('\t'.join(args) + '\n').encode('utf-8'))
                self._proc.stdin.flush()
            except (BrokenPipeError, OSError):
                self.stop()
                if attempt:
                    raise
                continue
            rc, out = self._read_reply(timeout, args)
            if rc is None:  # the serve process died (e.g. wineserver was killed)
                self.stop()
                if attempt:
                    raise ProbeError(args, 'died', '', '')
                continue
            err = self._stderr()
            if check and rc != 0:
                raise ProbeError(args, rc, out, err)
            self.last_rc = rc
            return _lines(out)

    def _read_reply(self, timeout, args):
        deadline = time.monotonic() + timeout
        fd = self._proc.stdout.fileno()
        while True:
            i = self._buf.find(b'\x1e ')
            if i >= 0:
                j = self._buf.find(b'\n', i)
                if j >= 0:
                    out = self._buf[:i].decode('utf-8', 'replace')
                    rc = int(self._buf[i + 2:j].strip())
                    self._buf = self._buf[j + 1:]
                    return rc, out
            left = deadline - time.monotonic()
            if left <= 0:
                self.stop()
                raise ProbeError(args, 'timeout', '', 'no answer in %s s' % timeout)
            r, _, _ = select.select([fd], [], [], left)
            if r:
                chunk = os.read(fd, 65536)
                if not chunk:
                    return None, ''
                self._buf += chunk

    def run_once(self, *args, timeout=20, check=True):
        """A separate `wine probe.exe ...`; for long-running or odd arguments."""
        args = [str(a) for a in args]
        p = subprocess.run(['wine', self.s.probe_exe] + args, env=self.s.env, cwd=self.s.tmp,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
        out = p.stdout.decode('utf-8', 'replace')
        if check and p.returncode != 0:
            raise ProbeError(args, p.returncode, out, p.stderr.decode('utf-8', 'replace'))
        self.last_rc = p.returncode
        return _lines(out)

    # -- wrappers

    def windows(self):
        return [_window_rec(l.split('\t')) for l in self.run('windows')]

    def find_window(self, cls=None, title=None, pid=None, visible=True):
        for w in self.windows():
            if cls is not None and w.cls != cls:
                continue
            if title is not None and w.title != title:
                continue
            if pid is not None and w.pid != pid:
                continue
            if visible is not None and w.visible != visible:
                continue
            return w
        return None

    def window(self, hwnd):
        for w in self.windows():
            if w.hwnd == hwnd:
                return w
        return None

    def children(self, hwnd):
        return [_child_rec(l.split('\t')) for l in self.run('children', '0x%x' % hwnd)]

    def pixel(self, x, y):
        return tuple(int(v) for v in self.run('pixel', x, y)[0].split())

    def pixels(self, x, y, w, h):
        rows = self.run('pixels', x, y, w, h)
        return [[tuple(int(v) for v in c.split()) for c in row.split('\t')] for row in rows]

    def text(self, hwnd):
        lines = self.run('text', '0x%x' % hwnd)
        return _unescape(lines[0]) if lines else ''

    def check(self, hwnd):
        return int(self.run('check', '0x%x' % hwnd)[0])

    def focus(self):
        f = self.run('focus')[0].split('\t')
        return Rec(focus=_hx(f[0]), active=_hx(f[1]), id=int(f[2]), foreground=_hx(f[3]))

    def send(self, hwnd, msg, wparam=0, lparam=0):
        return int(self.run('send', '0x%x' % hwnd, msg, wparam, lparam)[0].split('\t')[0])

    def post(self, hwnd, msg, wparam=0, lparam=0):
        return self.run('post', '0x%x' % hwnd, msg, wparam, lparam)[0] == '1'

    def cursor(self):
        f = self.run('cursor')[0].split('\t')
        return Rec(flags=_hx(f[0]), handle=_hx(f[1]), x=int(f[2]), y=int(f[3]))

    def workarea(self):
        return tuple(int(v) for v in self.run('workarea')[0].split('\t'))

    def metrics(self):
        return tuple(int(v) for v in self.run('metrics')[0].split('\t'))

    def gui(self, pid):
        """(gdi, user) object counts, None where Wine cannot tell."""
        f = self.run('gui', pid)[0].split('\t')
        return tuple(None if v == 'n/a' else int(v) for v in f)

    def procs(self):
        out = []
        for l in self.run('procs'):
            f = l.split('\t')
            out.append(Rec(pid=int(f[0]), ppid=int(f[1]), exe=_unescape(f[2]),
                           path=_unescape(f[3]) if len(f) > 3 else ''))
        return out

    def cmdline(self, pid):
        return _unescape(self.run('cmdline', pid)[0])

    def wait_window(self, cls='-', title='-', seconds=10):
        lines = self.run_once('wait-window', cls or '-', title or '-', seconds,
                              timeout=seconds + 15, check=False)
        return _hx(lines[0]) if self.last_rc == 0 and lines else None


# ---------------------------------------------------------------- processes

def _killpg(p, sig=signal.SIGKILL):
    try:
        os.killpg(p.pid, sig)
    except (ProcessLookupError, PermissionError):
        pass
    try:
        p.wait(timeout=5)
    except Exception:
        pass


class Target:
    """A `probe target` window: logs every left press it receives.

    `log` may be any path (CJK folders included); by default it lives in the
    test's scratch folder.
    """

    def __init__(self, session, x, y, w, h, log=None):
        self.s = session
        self.rect = (x, y, x + w, y + h)
        n = len(session._owned)
        self.log = log or os.path.join(session.test_tmp(), 'target-%d.log' % n)
        # The probe creates the log itself, so a test can see which name Wine gave it.
        self._stdout_path = os.path.join(session.test_tmp(), 'target-%d.stdout' % n)
        self._out = open(self._stdout_path, 'wb')
        self.proc = subprocess.Popen(
            ['wine', session.probe_exe, 'target', winpath(self.log)] + [str(v) for v in (x, y, w, h)],
            env=session.env, cwd=os.path.dirname(self.log), stdout=self._out,
            stderr=subprocess.STDOUT, start_new_session=True)
        session._owned.append(self)
        self.hwnd = None

    def _printed_hwnd(self):
        if self.proc.poll() is not None:
            raise AssertionError('probe target exited: ' + open(self._stdout_path, 'rb').read().decode('utf-8', 'replace'))
        with open(self._stdout_path, 'rb') as f:
            first = f.readline().strip()
        return _hx(first.decode()) if first.startswith(b'0x') else None

    def wait_shown(self, timeout=10):
        """Its own window (by the hwnd it printed), visible; returns the record."""
        self.hwnd = wait_for(self._printed_hwnd, timeout, what='probe target to print its hwnd')
        return wait_for(lambda: (lambda w: w if w and w.visible else None)(self.s.probe.window(self.hwnd)),
                        timeout, what='probe target window 0x%x visible' % self.hwnd)

    def downs(self):
        """[(x, y), ...] in screen coordinates, one per left press received."""
        if not os.path.exists(self.log):
            return []
        with open(self.log, 'rb') as f:
            return [tuple(int(v) for v in l.split()[1:3]) for l in _lines(f.read().decode())
                    if l.startswith('down ')]

    def kill(self):
        if self.proc.poll() is None:
            _killpg(self.proc)
        if not self._out.closed:
            self._out.close()

    close = kill


class App:
    """Zintora.exe copied into its own folder and started there under Wine.

    Use as a context manager: whatever happens, its processes are gone after.
    """

    def __init__(self, session, folder, args=(), config=None, exe=None, start=True, win_exe=None):
        # win_exe: the exe's Windows path when a drive letter other than Z:
        # maps its folder, as Windows reports it for the process.
        self.win_exe = win_exe
        self.s = session
        self.folder = os.path.abspath(folder)
        self.args = [str(a) for a in args]
        src = exe or session.exe
        if not src or not os.path.isfile(src):
            raise AssertionError('program under test not found: %r (pass --exe)' % src)
        os.makedirs(self.folder, exist_ok=True)
        self.exe_name = os.path.basename(src)
        self.exe = os.path.join(self.folder, self.exe_name)
        if not os.path.exists(self.exe):
            shutil.copy2(src, self.exe)
        if config is not None:
            with open(os.path.join(self.folder, 'config.ini'), 'wb') as f:
                f.write(config)
        self.rc_file = os.path.join(self.folder, '.rc-%d' % id(self))
        self.log_path = os.path.join(session.test_dir(), 'app-%s.log' % len(session._owned))
        self.proc = None
        self.pid = None  # Windows pid (not the Linux one)
        session._owned.append(self)
        if start:
            self.start()

    def start(self, timeout=20):
        try:
            os.unlink(self.rc_file)
        except FileNotFoundError:
            pass
        before = {p.pid for p in self.s.probe.procs()}
        self._log = open(self.log_path, 'ab')
        # The exit code is written by sh, so a test can read it after the
        # Linux processes are gone; `wine` returns the program's own code.
        self.proc = subprocess.Popen(
            ['sh', '-c', 'wine "$0" "$@"; echo $? > "%s"' % self.rc_file, self.exe_name] + self.args,
            cwd=self.folder, env=self.s.env, stdout=self._log, stderr=subprocess.STDOUT,
            start_new_session=True)
        want_name, want_path = self.exe_name.lower(), (self.win_exe or winpath(self.exe)).lower()

        def mine():
            if self.exited():
                raise AssertionError('%s exited early with code %s' % (self.exe_name, self.rc()))
            for p in self.s.probe.procs():
                if p.pid in before or p.exe.lower() != want_name:
                    continue
                if not p.path or p.path.lower() == want_path:
                    return p.pid
            return None
        self.pid = wait_for(mine, timeout, what='Windows process of ' + self.exe_name)
        return self

    def linux_pid(self):
        """The Linux process running the program (for /proc figures), or None.

        `wine` becomes the program's process itself, so it is the child of
        the sh that records the exit code.
        """
        if self.proc is None:
            return None
        for d in os.listdir('/proc'):
            if not d.isdigit():
                continue
            try:
                with open('/proc/%s/stat' % d) as f:
                    stat = f.read()
            except OSError:
                continue
            # comm may hold spaces; the fields after its closing bracket do not.
            fields = stat[stat.rfind(')') + 2:].split()
            if int(fields[1]) == self.proc.pid:
                return int(d)
        return None

    def rc(self):
        try:
            with open(self.rc_file) as f:
                t = f.read().strip()
            return int(t) if t else None
        except FileNotFoundError:
            return None

    def exited(self):
        return self.rc() is not None

    def wait_exit(self, timeout=10):
        """The program's exit code; AssertionError if it is still running."""
        wait_for(self.exited, timeout, what='%s to exit' % self.exe_name)
        return self.rc()

    def windows(self, visible=True):
        return [w for w in self.s.probe.windows()
                if w.pid == self.pid and (visible is None or w.visible == visible)]

    def window(self, cls=None, title=None, where=None, timeout=10, what=None):
        """Waits for a top-level window of this process matching all filters."""
        def find():
            for w in self.windows():
                if cls is not None and w.cls != cls:
                    continue
                if title is not None and w.title != title:
                    continue
                if where is not None and not where(w):
                    continue
                return w
            return None
        return wait_for(find, timeout, what=what or 'window of %s (cls=%r title=%r)'
                        % (self.exe_name, cls, title))

    def overlay(self, timeout=10):
        """The full-screen layered tool window."""
        need = WS_EX_LAYERED | WS_EX_TOOLWINDOW
        return self.window(where=lambda w: (w.exstyle & need) == need, timeout=timeout,
                           what='overlay (layered tool window) of %s' % self.exe_name)

    def kill(self):
        if self.proc is not None and self.proc.poll() is None:
            _killpg(self.proc)
        pid = self.pid
        if pid is not None:
            # The Windows process can outlive its Linux parent briefly; make sure
            # no window of it is left for the next test to trip over.
            try:
                wait_for(lambda: all(p.pid != pid for p in self.s.probe.procs()), 5,
                         what='process %d gone' % pid)
            except AssertionError:
                self.s.kill_wine_processes()
        if getattr(self, '_log', None):
            self._log.close()
            self._log = None

    close = kill

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()
        return False


# ---------------------------------------------------------------- session

class Session:
    def __init__(self, exe=None, probe=None, results=None, keep=False, log=print):
        self.exe = os.path.abspath(exe) if exe else None
        self.probe_exe = os.path.abspath(probe) if probe else None
        stamp = time.strftime('%Y%m%d-%H%M%S')
        self.results = os.path.abspath(results or os.path.join('/tmp/zintora-e2e', stamp))
        self.keep = keep
        self.log = log
        self.tmp = None
        self.xvfb = None
        self.display = None
        self.mode = 'plain'
        self.test_name = 'session'
        self._owned = []
        self._shots = 0
        self.timings = {}
        self.probe = Probe(self)

    # -- lifecycle

    def start(self):
        if not self.probe_exe or not os.path.isfile(self.probe_exe):
            raise RuntimeError('probe not found: %r (pass --probe)' % self.probe_exe)
        os.makedirs(self.results, exist_ok=True)
        self.tmp = tempfile.mkdtemp(prefix='zintora-e2e-')
        atexit.register(self.stop)
        t = time.monotonic()
        self._start_x()
        self.timings['xvfb'] = time.monotonic() - t
        t = time.monotonic()
        self._make_prefix()
        self.timings['prefix'] = time.monotonic() - t
        return self

    def _start_x(self):
        for n in range(90, 200):
            if os.path.exists('/tmp/.X%d-lock' % n) or os.path.exists('/tmp/.X11-unix/X%d' % n):
                continue
            self.display = ':%d' % n
            # -noreset: otherwise the server resets whenever its last client
            # leaves (e.g. after `wineserver -k`) and the root turns black.
            self.xvfb = subprocess.Popen(
                ['Xvfb', self.display, '-screen', '0', '%dx%dx24' % (SCREEN_W, SCREEN_H),
                 '-nolisten', 'tcp', '-noreset'],
                stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.tmp, 'xvfb.log'), 'wb'),
                start_new_session=True)
            env = dict(os.environ, DISPLAY=self.display)
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline and self.xvfb.poll() is None:
                if subprocess.run(['xdpyinfo'], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
                    subprocess.run(['xsetroot', '-solid', ROOT_HEX], env=env, check=True)
                    return
                time.sleep(0.05)
            _killpg(self.xvfb)  # lost a race for this number, or it is stuck: next one
        raise RuntimeError('could not start Xvfb')

    def _make_prefix(self):
        self.prefix = os.path.join(self.tmp, 'prefix')
        self.env = dict(os.environ)
        for k in ('WINESERVER', 'WINELOADER', 'WINEDLLPATH'):
            self.env.pop(k, None)
        self.env.update(DISPLAY=self.display, WINEPREFIX=self.prefix, WINEARCH='win32',
                        LC_ALL='zh_CN.UTF-8', LANG='zh_CN.UTF-8', WINEDEBUG='-all',
                        WINEDLLOVERRIDES='mscoree,mshtml=')
        subprocess.run(['wineboot', '-i'], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=180, check=True)
        subprocess.run(['wineserver', '-w'], env=self.env, timeout=120)
        # Keep one server for the whole run: each new server re-reads the
        # registry and costs about half a second on the next wine start.
        subprocess.run(['wineserver', '-p'], env=self.env, timeout=30)

    def kill_wine_processes(self):
        self.probe.stop()
        subprocess.run(['wineserver', '-k'], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run(['wineserver', '-w'], env=self.env, timeout=30)
        subprocess.run(['wineserver', '-p'], env=self.env, timeout=30)

    def stop(self):
        if self.tmp is None:
            return
        self._kill_owned()
        self.probe.stop()
        if getattr(self, 'env', None):
            subprocess.run(['wineserver', '-k'], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
            try:
                subprocess.run(['wineserver', '-w'], env=self.env, timeout=15)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb is not None:
            _killpg(self.xvfb, signal.SIGTERM)
            self.xvfb = None
        if not self.keep:
            shutil.rmtree(self.tmp, ignore_errors=True)
        self.tmp = None

    # -- per test

    def begin_test(self, name):
        self.test_name = name
        self._shots = 0
        self._owned = []

    def _kill_owned(self):
        # Teardown goes on past a process that is already gone.
        for o in reversed(self._owned):
            try:
                o.kill()
            except Exception:
                pass
        self._owned = []

    def end_test(self):
        self._kill_owned()
        if self.mode != 'plain':
            self.set_mode('plain')
        elif self.strays():
            # Something a test started behind the harness's back: start the
            # next test from a clean Wine, not from its leftovers.
            self.kill_wine_processes()
        # A test may leave the mouse button held or the pointer somewhere odd.
        self.xdo('mouseup', '1')
        self.move(SCREEN_W - 1, SCREEN_H - 1)

    def strays(self):
        """Windows processes that are neither Wine's own nor the probe."""
        probe = winpath(self.probe_exe).lower()
        return [p for p in self.probe.procs()
                if p.path and not p.path.lower().startswith('c:\\windows\\') and p.path.lower() != probe]

    def test_dir(self):
        """Artefacts of the current test (kept after the run)."""
        d = os.path.join(self.results, self.test_name)
        os.makedirs(d, exist_ok=True)
        return d

    def test_tmp(self):
        d = os.path.join(self.tmp, 'work', self.test_name)
        os.makedirs(d, exist_ok=True)
        return d

    def workdir(self, name):
        """A fresh folder for one App; `name` may hold CJK characters."""
        d = os.path.join(self.test_tmp(), name)
        if os.path.exists(d):
            shutil.rmtree(d)
        os.makedirs(d)
        return d

    def app(self, folder=None, args=(), config=None, **kw):
        if folder is None:
            folder = self.workdir('app%d' % len(self._owned))
        return App(self, folder, args=args, config=config, **kw)

    def target(self, x, y, w, h, log=None):
        return Target(self, x, y, w, h, log=log)

    # -- desktop modes

    def set_mode(self, mode):
        """'plain' (each window an X window) or 'desktop' (virtual desktop with taskbar).

        Wine reads the choice when its desktop process starts, so every Wine
        process is ended here and the next one starts in the new mode.
        """
        if mode not in ('plain', 'desktop'):
            raise ValueError(mode)
        if mode == self.mode:
            return
        for o in list(self._owned):
            o.kill()
        self.probe.stop()
        if mode == 'desktop':
            self._reg('add', r'HKCU\Software\Wine\Explorer\Desktops', '/v', 'shell',
                      '/d', '%dx%d' % (SCREEN_W, SCREEN_H))
            self._reg('add', r'HKCU\Software\Wine\Explorer', '/v', 'Desktop', '/d', 'shell')
        else:
            self._reg('delete', r'HKCU\Software\Wine\Explorer', '/v', 'Desktop')
        self.kill_wine_processes()
        self.mode = mode
        want = (0, 0, SCREEN_W, SCREEN_H - 20) if mode == 'desktop' else (0, 0, SCREEN_W, SCREEN_H)
        wait_for(lambda: self.probe.workarea() == want, 15, what='work area of %s mode' % mode)

    def _reg(self, *args):
        subprocess.run(['wine', 'reg'] + list(args) + ['/f'], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=True)

    # -- X input

    def xdo(self, *args):
        subprocess.run(['xdotool'] + [str(a) for a in args], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL)

    # No --sync: xdotool 3.20160805 then blocks for seconds when the pointer
    # is already at the target point. Xvfb applies XTest moves in order anyway.
    def move(self, x, y):
        self.xdo('mousemove', x, y)

    def click(self, x, y, button=1):
        self.xdo('mousemove', x, y, 'click', button)

    def down(self, x=None, y=None, button=1):
        if x is not None:
            self.move(x, y)
        self.xdo('mousedown', button)

    def up(self, x=None, y=None, button=1):
        if x is not None:
            self.move(x, y)
        self.xdo('mouseup', button)

    def drag(self, points, step_delay=0.01, step=8, button=1):
        """Press at the first point, glide through the rest, release at the last.

        Runs as one xdotool command so the moves are not spaced out by
        process starts.
        """
        pts = list(points)
        # A pause after the press too: a move at once after it is lost.
        cmd = ['mousemove', pts[0][0], pts[0][1], 'sleep', step_delay, 'mousedown', button,
               'sleep', max(step_delay, 0.05)]
        cur = pts[0]
        for nxt in pts[1:]:
            dx, dy = nxt[0] - cur[0], nxt[1] - cur[1]
            n = max(1, int(max(abs(dx), abs(dy)) / step))
            for i in range(1, n + 1):
                cmd += ['mousemove', int(round(cur[0] + dx * i / n)), int(round(cur[1] + dy * i / n)),
                        'sleep', step_delay]
            cur = nxt
        cmd += ['mouseup', button]
        self.xdo(*cmd)

    def key(self, name):
        self.xdo('key', name)

    # -- screen

    def screenshot(self, name='shot'):
        """Saves the X root as PNG among the test's artefacts; returns a Shot."""
        self._shots += 1
        path = os.path.join(self.test_dir(), '%02d-%s.png' % (self._shots, name))
        subprocess.run(['import', '-window', 'root', path], env=self.env, check=True, timeout=30)
        raw = subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], check=True, timeout=30,
                             stdout=subprocess.PIPE).stdout
        w, h = SCREEN_W, SCREEN_H
        if len(raw) != w * h * 3:
            raise RuntimeError('screenshot has %d bytes, expected %d' % (len(raw), w * h * 3))
        return Shot(path, w, h, raw)

    shot = screenshot

    def note(self, name, text):
        with open(os.path.join(self.test_dir(), name), 'w') as f:
            f.write(text)


# ---------------------------------------------------------------- helpers for tests

def signal_teardown(session):
    """Tear down on SIGTERM/SIGINT too, so CI never keeps a stray Xvfb."""
    def handler(signum, frame):
        session.stop()
        sys.exit(128 + signum)
    signal.signal(signal.SIGTERM, handler)
    signal.signal(signal.SIGINT, handler)
