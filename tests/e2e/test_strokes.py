"""Strokes on the overlay: what the start-state pen leaves on the screen."""

import zt

TINT = (3, 0, 0)   # untouched overlay: premultiplied red at alpha 3 over black
PEN = (255, 0, 0)  # the start-state pen: opaque red
PAUSE = 0.05       # Wine loses drag steps that arrive with no gap between them


def _drag(s, points, pause=PAUSE):
    """Press at the first point, jump to each further point, release at the last.

    One xdotool call, each step spaced out: with no pause after the press the
    cursor is already elsewhere when the overlay reads it for the press. A
    point may carry its own pause as a third value.
    """
    (x, y), rest = points[0][:2], points[1:]
    cmd = ['mousemove', x, y, 'sleep', PAUSE, 'mousedown', 1, 'sleep', PAUSE]
    for p in rest:
        cmd += ['mousemove', p[0], p[1], 'sleep', p[2] if len(p) > 2 else pause]
    cmd += ['mouseup', 1]
    s.xdo(*cmd)


def _seg_points(a, b, step=4):
    """Integer points along the straight line from a to b, both ends included."""
    n = max(1, int(max(abs(b[0] - a[0]), abs(b[1] - a[1])) / step))
    return [(int(round(a[0] + (b[0] - a[0]) * i / n)), int(round(a[1] + (b[1] - a[1]) * i / n)))
            for i in range(n + 1)]


def _max_red(shot, p, r=1):
    return max(shot.px(x, y)[0] for x in range(p[0] - r, p[0] + r + 1)
               for y in range(p[1] - r, p[1] + r + 1))


def _dist(p, a, b):
    """Distance from point p to the segment a-b."""
    ax, ay, bx, by = a[0], a[1], b[0], b[1]
    dx, dy = bx - ax, by - ay
    t = ((p[0] - ax) * dx + (p[1] - ay) * dy) / float(dx * dx + dy * dy or 1)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return ((p[0] - cx) ** 2 + (p[1] - cy) ** 2) ** 0.5


def _coverage(pixels):
    """How many full pen pixels a run of pixels adds up to."""
    return round(sum((p[0] - TINT[0]) / float(PEN[0] - TINT[0]) for p in pixels), 2)


def _away_from(points, segments, margin):
    return [p for p in points if all(_dist(p, a, b) > margin for a, b in segments)]


def _shot_when(s, ok, name, what, timeout=5):
    """The first screenshot for which ok(shot) holds."""
    return zt.wait_for(lambda: (lambda sh: sh if ok(sh) else None)(s.screenshot(name)),
                       timeout, what=what)


def _sentinel(s, at):
    """Draws a short mark and waits to see it.

    The overlay handles input in order, so once this mark shows, everything
    sent before it has been handled: a later 'nothing drawn' is then final.
    """
    x, y = at
    _drag(s, [(x, y), (x + 40, y)])
    return _shot_when(s, lambda sh: sh.px(x + 20, y) == PEN, 'sentinel',
                      'sentinel mark at %s' % (at,))


# Keeps every check clear of the toolbar at the lower right.
def _free(points):
    return [p for p in points if not (p[0] >= 780 and p[1] >= 690)]


PATH = [(150, 150), (450, 150), (450, 350), (250, 450)]


def test_drag_draws_a_one_pixel_red_line_along_the_pointer_path(s):
    with s.app() as app:
        app.overlay()
        # The pointer glides along the path in 10-px steps, as a hand would.
        # It rests at each corner: the overlay draws to where the cursor is
        # when it handles a move, so a corner passed at speed would be cut.
        glide = []
        for a, b in zip(PATH, PATH[1:]):
            glide += [p + (0.01,) for p in _seg_points(a, b, step=10)[1:-1]] + [b + (0.1,)]
        _drag(s, [PATH[0]] + glide)
        mid = (450, 250)
        shot = _shot_when(s, lambda sh: sh.px(*mid) == PEN, 'path', 'stroke drawn through %s' % (mid,))

        horiz, vert, diag = list(zip(PATH, PATH[1:]))
        on_straight = _seg_points(*horiz) + _seg_points(*vert)
        assert shot.mismatches(on_straight, PEN, tol=1) == [], 'straight legs not opaque red'
        # The slanted leg: full red on or next to the ideal line at every sample.
        weak = [(p, _max_red(shot, p)) for p in _seg_points(*diag) if _max_red(shot, p) < 250]
        assert weak == [], weak

        # One pixel wide: the red summed across the line adds up to one full
        # pixel (anti-aliasing may spread it over two), and the rows and
        # columns 3 px beside the line are untouched.
        widths = ([(x, _coverage([shot.px(x, 150 + d) for d in range(-4, 5)])) for x in range(160, 441, 20)] +
                  [(y, _coverage([shot.px(450 + d, y) for d in range(-4, 5)])) for y in range(160, 341, 20)])
        assert all(0.7 <= w <= 1.4 for _, w in widths), ('line width in pixels', widths)
        beside = ([(x, 150 + d) for x in range(160, 441, 10) for d in (-3, 3)] +
                  [(450 + d, y) for y in range(160, 341, 10) for d in (-3, 3)])
        assert shot.mismatches(beside, TINT, tol=1) == [], 'line wider than ~1 px'
        # Nothing before the press point or past the release point.
        ends = [(150 - 3, 150), (150 - 8, 150), (250 - 4, 452), (250 - 8, 454)]
        assert shot.mismatches(ends, TINT, tol=1) == [], 'line runs past its ends'
        # And nothing anywhere else on the screen.
        rest = _free(_away_from(shot.grid(step=16), list(zip(PATH, PATH[1:])), 3))
        bad = shot.mismatches(rest, TINT, tol=1)
        assert len(rest) > 2500 and bad == [], (len(rest), bad[:8])


def test_press_and_release_without_a_move_leaves_no_mark(s):
    with s.app() as app:
        app.overlay()
        spots = [(300, 300), (600, 200), (200, 600)]
        for x, y in spots:
            s.xdo('mousemove', x, y, 'sleep', PAUSE, 'mousedown', 1, 'sleep', PAUSE, 'mouseup', 1,
                  'sleep', PAUSE)
        shot = _sentinel(s, (500, 500))
        near = [(x + dx, y + dy) for x, y in spots for dx in range(-3, 4) for dy in range(-3, 4)]
        bad = shot.mismatches(near, TINT, tol=1)
        assert bad == [], bad[:8]


def test_one_fast_move_draws_one_straight_segment_from_the_press_point(s):
    a, b = (200, 250), (700, 550)
    with s.app() as app:
        app.overlay()
        _drag(s, [a, b])
        mid = ((a[0] + b[0]) // 2, (a[1] + b[1]) // 2)
        shot = _shot_when(s, lambda sh: _max_red(sh, mid) == 255, 'fast', 'segment through %s' % (mid,))
        weak = [(p, _max_red(shot, p)) for p in _seg_points(a, b, step=5) if _max_red(shot, p) < 250]
        assert weak == [], ('gaps on the straight line', weak[:8])
        # The bends a slower hand would have drawn through are empty, and so
        # is the neighbourhood a few pixels either side of the segment.
        bends = (_seg_points(a, (b[0], a[1]), step=20)[1:-1] + _seg_points((b[0], a[1]), b, step=20)[1:-1] +
                 _seg_points(a, (a[0], b[1]), step=20)[1:-1] + _seg_points((a[0], b[1]), b, step=20)[1:-1])
        bends = _away_from(bends, [(a, b)], 4)
        assert len(bends) > 40 and shot.mismatches(bends, TINT, tol=1) == [], 'a bend was drawn'
        beside = [(x, y + d) for x, y in _seg_points(a, b, step=25)[1:-1] for d in (-5, 5)]
        assert shot.mismatches(beside, TINT, tol=1) == [], 'more than one line'
        past = [(a[0] - 10, a[1] - 6), (b[0] + 10, b[1] + 6)]
        assert shot.mismatches(past, TINT, tol=1) == [], 'segment runs past its ends'


def test_a_quick_second_stroke_from_the_same_spot_is_drawn_too(s):
    # Two presses on one spot within the double-click time: a hand that
    # draws two strokes from a common corner does just that.
    corner = (300, 300)
    with s.app() as app:
        app.overlay()
        _drag(s, [corner, (700, 300)])
        _drag(s, [corner, (300, 600)])
        shot = _sentinel(s, (600, 500))
        got = {'first': _max_red(shot, (500, 300)), 'second': _max_red(shot, (300, 450))}
        assert got == {'first': 255, 'second': 255}, got


def test_press_without_release_draws_no_phantom_line_on_later_moves(s):
    start = (300, 200)
    later = [(500, 200), (500, 400), (300, 400), (400, 300)]
    with s.app() as app:
        ov = app.overlay()
        s.move(*start)
        # The release of this press never arrives: as if it had gone to another window.
        s.probe.send(ov.hwnd, zt.WM_LBUTTONDOWN, 0, (start[1] << 16) | start[0])
        for x, y in later:
            s.xdo('mousemove', x, y, 'sleep', PAUSE)
        shot = _sentinel(s, (700, 600))
        path = [start] + later
        on_path = []
        for p, q in zip(path, path[1:]):
            on_path += _seg_points(p, q, step=5)
        red = [(p, _max_red(shot, p)) for p in on_path if _max_red(shot, p) > 4]
        assert red == [], ('phantom line', red[:8])
        # The overlay still draws real strokes after that.
        _drag(s, [(100, 650), (400, 650)])
        _shot_when(s, lambda sh: sh.px(250, 650) == PEN, 'after', 'a real stroke after the lost release')
