"""The toolbar commands: tool, colour, clear, capture, the automatic
captures, and the way out through the close box."""

import datetime
import os
import re
import subprocess
import time

import zt
from test_settings import (BAR_REST, BTN_CAPTURE, BTN_CLEAR, BTN_COLOUR, BTN_SETTINGS, BTN_TOOL,
                           centre, config, start)

TINT = (3, 0, 0)     # untouched overlay, blended over black by Wine
CLEARED = (1, 0, 0)  # the cleared canvas: red at alpha 1
PAUSE = 0.05         # Wine draws nothing of drag steps sent with no gap
PALETTE = {0: (255, 0, 0), 1: (255, 0, 51), 3: (255, 0, 153)}
CAPTURE_NAME = re.compile(r'^(\d+)、(\d\d)月(\d\d)日(\d\d)时(\d\d)分\.jpg$')
WM_COMMAND, IDCANCEL = 0x111, 2
TOOLBAR_AREA = (zt.SCREEN_W - 225, zt.SCREEN_H - 60, zt.SCREEN_W - 1, zt.SCREEN_H)


def drag(s, points):
    (x, y), rest = points[0], points[1:]
    cmd = ['mousemove', x, y, 'sleep', PAUSE, 'mousedown', 1, 'sleep', PAUSE]
    for px, py in rest:
        cmd += ['mousemove', px, py, 'sleep', PAUSE]
    cmd += ['mouseup', 1, 'sleep', PAUSE]
    s.xdo(*cmd)


def column(s, x, y, half=12):
    return [c[0] for c in s.probe.pixels(x, y - half, 1, 2 * half + 1)]


def stroke_across(s, x, y, half=12):
    """The pixels across a horizontal stroke that differ from the empty overlay."""
    return [c for c in column(s, x, y, half) if c not in (TINT, CLEARED)]


def draw_line(s, y, x0=100, x1=400):
    drag(s, [(x0, y), (x1, y)])
    return zt.wait_for(lambda: stroke_across(s, (x0 + x1) // 2, y), 5,
                       what='stroke at y=%d' % y)


def shots_in(folder):
    return sorted(f for f in os.listdir(folder) if not f.startswith('.'))


def capture_ok(name, n, since):
    """None if name is capture number n stamped in the minute of `since` or
    the next; otherwise why not."""
    m = CAPTURE_NAME.match(name)
    if not m or int(m.group(1)) != n:
        return 'not capture %d: %r' % (n, name)
    mon, day, hh, mm = (int(g) for g in m.groups()[1:])
    ok = []
    for t in (since, since + datetime.timedelta(minutes=1)):
        ok.append((mon, day, hh, mm) == (t.month, t.day, t.hour, t.minute))
    return None if any(ok) else 'stamp %r is not %s' % (name, since)


def jpeg(path):
    raw = subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], check=True, timeout=30,
                         stdout=subprocess.PIPE).stdout
    assert len(raw) == zt.SCREEN_W * zt.SCREEN_H * 3, 'capture is not full screen: %d bytes' % len(raw)
    return zt.Shot(path, zt.SCREEN_W, zt.SCREEN_H, raw)


def max_red(img, x, y, r=1):
    return max(img.px(i, j)[0] for i in range(x - r, x + r + 1) for j in range(y - r, y + r + 1))


def toolbar_absent(img):
    """Toolbar-area samples that show anything but the dark overlay."""
    l, t, r, b = TOOLBAR_AREA
    pts = [(x, y) for x in range(l + 2, r, 6) for y in range(t + 2, b, 6)]
    return [(p, img.px(*p)) for p in pts if max(img.px(*p)) > 40]


def face(s, bar, cid):
    l, t, r, b = bar.button(cid)
    return s.probe.pixels(l, t, r - l, b - t)


def shots_folder(s, name='shots'):
    d = s.workdir(name)
    return d, zt.winpath(d)


# ---------------------------------------------------------------- tool

# (tool, stroke width, how every pixel across it reads)
TOOL_ROWS = [
    ('pen', 1, lambda c: c == (255, 0, 0)),
    ('pencil', 5, lambda c: c == (255, 0, 0)),
    ('brush', 15, lambda c: 105 <= c[0] <= 140 and c[1:] == (0, 0)),
    ('pen', 1, lambda c: c == (255, 0, 0)),
]


def test_tool_button_walks_pen_pencil_brush_and_back(s):
    folder, win_folder = shots_folder(s)
    app, bar = start(s, config(('autosave', '0'), ('quitsave', '0'), path=win_folder))
    with app:
        faces, bad = [], []
        for i, (tool, width, reads) in enumerate(TOOL_ROWS):
            if i:
                before = faces[-1]
                bar.press(BTN_TOOL)
                zt.wait_for(lambda: face(s, bar, BTN_TOOL) != before, 5,
                            what='tool face to change for the %s' % tool)
            faces.append(face(s, bar, BTN_TOOL))
            y = 120 + 110 * i
            across = draw_line(s, y)
            if len(across) != width or not all(reads(c) for c in across):
                bad.append((tool, across))
        assert bad == [], 'strokes (tool, pixels across): %s' % bad
        assert faces[3] == faces[0], 'third click did not bring back the pen face'
        assert len({str(f) for f in faces[:3]}) == 3, 'pen, pencil and brush faces are not distinct'

        # The brush once more, over one of its own segments: where the
        # translucent segments overlap the red builds up.
        for _ in range(2):
            bar.press(BTN_TOOL)
        zt.wait_for(lambda: face(s, bar, BTN_TOOL) == faces[2], 5, what='brush face')
        drag(s, [(500, 200), (700, 200), (700, 140), (600, 140), (600, 260)])
        cross = zt.wait_for(lambda: s.probe.pixel(600, 200)[0] > 150 and s.probe.pixel(600, 200), 5,
                            what='brush build-up where it crosses itself')
        single = s.probe.pixel(650, 200)
        assert 105 <= single[0] <= 140 and cross[0] > single[0] + 40, (single, cross)

        # Capture with both flags off still writes, and leaves the toolbar out.
        since = datetime.datetime.now().replace(second=0, microsecond=0)
        bar.press(BTN_CAPTURE)
        names = zt.wait_for(lambda: shots_in(folder), 10, what='capture from the button')
        zt.wait_for(bar.shown, 10, what='toolbar shown again after the capture')
        assert len(names) == 1 and capture_ok(names[0], 1, since) is None, \
            (names, capture_ok(names[0], 1, since))
        img = jpeg(os.path.join(folder, names[0]))
        strokes = [max_red(img, 250, 120 + 110 * i) for i in range(4)]
        assert min(strokes) > 90, 'strokes missing from the capture: %s' % strokes
        assert max_red(img, 300, 60) < 40, 'capture shows red where nothing was drawn'
        absent = toolbar_absent(img)
        assert absent == [], 'toolbar in the capture: %s' % absent[:6]
        # Back on the screen too, not only flagged visible: its faces show.
        settings_mid = centre(bar.button(BTN_SETTINGS))
        zt.wait_for(lambda: s.probe.pixel(*settings_mid) != TINT, 5, what='toolbar drawn again')


# ---------------------------------------------------------------- colour

def test_colour_button_sets_next_stroke_colour_and_face(s):
    app, bar = start(s, config(('autosave', '0'), ('quitsave', '0')))
    with app:
        first = s.screenshot('faces-at-start')
        tool_box = bar.button(BTN_TOOL)
        colour_mid = centre(bar.button(BTN_COLOUR))
        assert first.px(*colour_mid) == PALETTE[0], first.px(*colour_mid)

        bar.press(BTN_TOOL)  # the pencil: a wide stroke shows its colour plainly
        bar.press(BTN_COLOUR)
        zt.wait_for(lambda: s.probe.pixel(*colour_mid) == PALETTE[1], 5, what='swatch of colour 1')
        after = s.screenshot('faces-after-tool-and-colour')
        assert after.px(*colour_mid) == PALETTE[1], after.px(*colour_mid)
        # The swatch is inset 5 px: the face's edge is not the colour.
        assert after.px(bar.button(BTN_COLOUR)[0] + 2, colour_mid[1]) != PALETTE[1]
        changed = [(x, y) for x in range(tool_box[0], tool_box[2], 2)
                   for y in range(tool_box[1], tool_box[3], 2) if first.px(x, y) != after.px(x, y)]
        assert len(changed) > 40, 'tool face barely changed: %d samples' % len(changed)

        # (clicks at once, colour index then expected)
        bad = []
        for i, (clicks, index) in enumerate([(0, 1), (2, 3), (27, 0)]):
            if clicks:
                bar.press(BTN_COLOUR, clicks=clicks, delay=80)
                try:
                    zt.wait_for(lambda: s.probe.pixel(*colour_mid) == PALETTE[index], 5,
                                what='swatch of colour %d' % index)
                except AssertionError as e:
                    bad.append(('face', clicks, index, str(e)))
            y = 150 + 120 * i
            across = draw_line(s, y)
            if across != [PALETTE[index]] * 5:
                bad.append(('stroke', clicks, index, across))
        assert bad == [], bad


# ---------------------------------------------------------------- clear

def test_clear_captures_then_hides_overlay_and_tool_brings_back_empty_canvas(s):
    target = s.target(100, 450, 300, 200)
    target.wait_shown()
    folder, win_folder = shots_folder(s)
    app, bar = start(s, config(('autosave', '0'), ('quitsave', '1'), path=win_folder))
    with app:
        overlay = app.overlay()
        draw_line(s, 200)
        assert s.probe.pixel(250, 550) == TINT, 'target should lie under the overlay'
        since = datetime.datetime.now().replace(second=0, microsecond=0)
        bar.press(BTN_CLEAR)
        names = zt.wait_for(lambda: shots_in(folder), 10, what='capture from clear')
        assert len(names) == 1 and capture_ok(names[0], 1, since) is None, names
        img = jpeg(os.path.join(folder, names[0]))
        assert max_red(img, 250, 200) > 90, 'stroke missing from the capture'
        assert toolbar_absent(img) == [], 'toolbar in the capture: %s' % toolbar_absent(img)[:6]

        zt.wait_for(lambda: not s.probe.window(overlay.hwnd).visible, 5, what='overlay hidden')
        # Wine takes a moment to unmap it; then the target and the bare root show.
        zt.wait_for(lambda: s.probe.pixel(250, 550) == (255, 255, 255) and
                    s.probe.pixel(600, 300) == zt.ROOT_RGB, 6, what='screen without the overlay')
        s.click(250, 550)
        assert zt.wait_for(target.downs, 5, what='press on the window beneath') == [(250, 550)]

        bar.press(BTN_TOOL)
        zt.wait_for(lambda: s.probe.window(overlay.hwnd).visible, 5, what='overlay shown by tool')
        zt.wait_for(lambda: s.probe.pixel(600, 300) == CLEARED, 6, what='overlay back on screen')
        empty = [s.probe.pixel(*p) for p in ((250, 200), (250, 550), (50, 50), (700, 600))]
        assert empty == [CLEARED] * 4, 'canvas not empty: %s' % empty
        # Still the pen: showing the overlay did not step the tool.
        across = draw_line(s, 300)
        assert across == [(255, 0, 0)], 'the next stroke is not the pen: %s' % across
        assert target.downs() == [(250, 550)], 'the stroke went to the window beneath'


# ---------------------------------------------------------------- automatic captures

def test_fifth_release_captures_even_after_a_button_capture(s):
    folder, win_folder = shots_folder(s)
    app, bar = start(s, config(('autosave', '1'), ('quitsave', '0'), path=win_folder))
    with app:
        for i in range(4):
            draw_line(s, 100 + 60 * i)
        bar.press(BTN_CAPTURE)
        zt.wait_for(lambda: shots_in(folder), 10, what='capture from the button')
        zt.wait_for(bar.shown, 10, what='toolbar back after the capture')
        # Had one of the four releases captured, the button's would be the second.
        assert [CAPTURE_NAME.match(n).group(1) for n in shots_in(folder)] == ['1'], shots_in(folder)
        draw_line(s, 400)
        names = zt.wait_for(lambda: len(shots_in(folder)) > 1 and shots_in(folder), 10,
                            what='capture from the fifth release')
        assert sorted(CAPTURE_NAME.match(n).group(1) for n in names) == ['1', '2'], names


# ---------------------------------------------------------------- way out

# (quitsave as stored, captures expected on the way out)
QUIT_ROWS = [
    ('0', 0), ('', 0), ('yes', 0), ('2', 0),
    (' 1', 1), ('01', 1), ('1x', 1),
]


def test_close_box_captures_when_asked_and_ends_with_code_0(s):
    folder, win_folder = shots_folder(s)
    app, bar = start(s, config(('autosave', '0'), ('quitsave', '1'), path=win_folder))
    with app:
        draw_line(s, 300)
        bar.bring_in()
        x, y = bar.close_box()
        s.move(x, y)
        time.sleep(BAR_REST)
        s.xdo('click', 1)
        assert app.wait_exit(15) == 0
        names = shots_in(folder)
        assert len(names) == 1 and CAPTURE_NAME.match(names[0]), names
        assert max_red(jpeg(os.path.join(folder, names[0])), 250, 300) > 90, 'stroke missing'

    # The rows run side by side: each copy has its own folder and config.
    runs = []
    for i, (value, _) in enumerate(QUIT_ROWS):
        d, wd = shots_folder(s, 'shots-%d' % i)
        runs.append((start(s, config(('autosave', '0'), ('quitsave', value), path=wd))[1], d))
    for b, _ in runs:
        s.probe.post(b.hwnd, WM_COMMAND, IDCANCEL, 0)
    bad = []
    for (value, want), (b, d) in zip(QUIT_ROWS, runs):
        rc = b.app.wait_exit(20)
        got = len(shots_in(d))
        if (rc, got) != (0, want):
            bad.append((value, 'rc', rc, 'captures', got, 'wanted', want))
    assert bad == [], bad
