"""A long session: many strokes, captures, clears and tool and colour
changes in one run; nothing it makes may pile up, and it still ends cleanly.
The figures go to the test's folder (figures.txt) and to the run's output.

The test command runs 10 rounds; ZINTORA_LONG_ROUNDS=100 gives the full
session of 10,000 segments, 200 captures and 100 clears (about ten minutes
under Wine), whose figures docs/performance.md records."""

import os
import time

import zt

WM_COMMAND = 0x0111
CAPTURE, TOOL, COLOUR, CLEAR, EXIT = 1006, 1007, 1008, 1009, 2
ROUNDS = int(os.environ.get('ZINTORA_LONG_ROUNDS', '10'))
SEGMENTS_PER_ROUND = 100
CAPTURES_PER_ROUND = 2


def _linux_pid(exe_name, prefix):
    """The Linux process running the program in this session's prefix (other
    runs may have their own copies going)."""
    want = ('WINEPREFIX=%s' % prefix).encode()
    for pid in os.listdir('/proc'):
        if not pid.isdigit():
            continue
        try:
            with open('/proc/%s/comm' % pid) as f:
                if f.read().strip().lower() != exe_name.lower():
                    continue
            with open('/proc/%s/environ' % pid, 'rb') as f:
                if want in f.read().split(b'\0'):
                    return int(pid)
        except OSError:
            continue
    return None


def _rss_kib(pid):
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith('VmRSS:'):
                return int(line.split()[1])
    return None


def _captures(folder):
    return len([n for n in os.listdir(folder) if n.endswith('.jpg')])


def test_long_session_keeps_objects_and_memory_flat(s):
    shots = s.workdir('long-shots')
    config = ('[config]\r\npath=%s\r\nautosave=0\r\nquitsave=0\r\n' % zt.winpath(shots)).encode()
    s.move(300, 300)
    with s.app(config=config) as app:
        app.overlay()
        bar = app.window(title='Zintora v1.0')
        pid = zt.wait_for(lambda: _linux_pid(app.exe_name, s.env['WINEPREFIX']), 10, what='Linux process of the program')
        done = {'segments': 0, 'captures': 0, 'clears': 0, 'colours': 0, 'tools': 0}

        def command(cmd):
            s.probe.post(bar.hwnd, WM_COMMAND, cmd, 0)

        def capture():
            before = _captures(shots)
            command(CAPTURE)
            zt.wait_for(lambda: _captures(shots) > before, 20, what='capture %d' % (before + 1))
            done['captures'] += 1

        def one_round(i):
            y = 100 + (i % 50) * 10
            points = [(100 + 7 * k, y + (k % 2) * 5) for k in range(SEGMENTS_PER_ROUND + 1)]
            # One xdotool call with a pause per move, so Wine sees every move.
            s.drag(points, step_delay=0.004, step=100)
            done['segments'] += SEGMENTS_PER_ROUND
            for _ in range(CAPTURES_PER_ROUND):
                capture()
            command(CLEAR)
            zt.wait_for(lambda: not s.probe.window(overlay).visible,
                        10, what='overlay hidden by the clear')
            done['clears'] += 1
            command(TOOL)  # only shows the overlay again
            zt.wait_for(lambda: s.probe.window(overlay).visible, 10, what='overlay shown again')
            command(COLOUR)
            command(TOOL)
            done['colours'] += 1
            done['tools'] += 2

        overlay = app.overlay().hwnd
        # Warm up: the first capture loads the codecs, the first clear GDI+'s
        # paths; only what comes after must stay flat.
        one_round(0)
        time.sleep(0.5)
        gui_start = s.probe.gui(app.pid)
        rss_start = _rss_kib(pid)
        started = time.monotonic()
        samples = []
        for i in range(1, ROUNDS):
            one_round(i)
            if i % max(1, ROUNDS // 5) == 0:
                samples.append((i, s.probe.gui(app.pid), _rss_kib(pid)))
        time.sleep(0.5)
        gui_end = s.probe.gui(app.pid)
        rss_end = _rss_kib(pid)
        elapsed = time.monotonic() - started

        command(EXIT)
        rc = app.wait_exit(30)

    lines = ['done: %s in %.0f s' % (done, elapsed),
             'GDI, USER objects after warm-up: %s, at the end: %s' % (gui_start, gui_end),
             'RSS after warm-up: %d KiB, at the end: %d KiB (%+d KiB)'
             % (rss_start, rss_end, rss_end - rss_start)]
    lines += ['  round %3d: objects %s, RSS %d KiB' % sample for sample in samples]
    s.note('figures.txt', '\n'.join(lines) + '\n')
    for line in lines:
        print('    ' + line)

    assert rc == 0, rc
    assert done['segments'] == ROUNDS * SEGMENTS_PER_ROUND and done['clears'] == ROUNDS
    assert _captures(shots) == done['captures']
    if gui_start[0] is not None:
        assert gui_end[0] - gui_start[0] <= 5, ('GDI objects grew', gui_start, gui_end)
    if gui_start[1] is not None:
        assert gui_end[1] - gui_start[1] <= 5, ('USER objects grew', gui_start, gui_end)
    # Wine reports no object counts (GetGuiResources), but there a leaked
    # GDI object is process memory: one screen-sized bitmap per capture would
    # add 3 MiB a capture.
    assert rss_end - rss_start < 20 * 1024, (rss_start, rss_end)
