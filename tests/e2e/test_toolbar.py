"""The toolbar: where it rests, how it slides out of the way and back, the
drag that lasts until the next hit test, and the five faces it shows."""

import time

import zt

TITLE = 'Zintora v1.0'
SLIDE_IN_X = zt.SCREEN_W - 225
SLIDE_OUT_X = zt.SCREEN_W - 3
PARK = (300, 300)  # over the overlay, far from the toolbar
WM_NCHITTEST = 0x84


def _start(s):
    s.move(*PARK)
    app = s.app()
    overlay = app.overlay()
    bar = app.window(title=TITLE)
    return app, overlay, bar


def _left_top(s, bar):
    rect = s.probe.window(bar.hwnd).rect
    return rect[0], rect[1]


def _wait_left(s, bar, x, timeout=5, what=None):
    return zt.wait_for(lambda: _left_top(s, bar)[0] == x and _left_top(s, bar), timeout,
                       what=what or 'toolbar left edge at %d' % x)


def _caption(bar):
    left, top, right, _ = bar.rect
    return (left + right) // 2, top + 8


def _pulls_in(s, bar, point):
    """Hovers point until a hit test has brought the toolbar in; from the
    strip first when it is out, since the point is then over the overlay."""
    if _left_top(s, bar)[0] == SLIDE_OUT_X:
        s.move(zt.SCREEN_W - 2, bar.rect[1] + 30)
        _wait_left(s, bar, SLIDE_IN_X, what='toolbar back from the strip')
    s.move(*point)
    s.move(point[0], point[1] + 1)
    return _wait_left(s, bar, SLIDE_IN_X, what='toolbar pulled in from %s' % (point,))


def test_rests_at_lower_right_topmost_without_taskbar_button_until_visited(s):
    with _start(s)[0] as app:
        overlay = app.overlay()
        bar = app.window(title=TITLE)
        left, top, right, bottom = bar.rect
        assert (left, top) == (SLIDE_IN_X, zt.SCREEN_H - 60), bar.rect
        assert (right - left, bottom - top) == (224, 64), 'size with the CJK font: %s' % (bar.rect,)
        assert bar.topmost and bar.owner == overlay.hwnd, bar
        assert bar.exstyle & zt.WS_EX_TOOLWINDOW and not bar.exstyle & 0x40000, hex(bar.exstyle)
        # No hit test yet, so no timer: it stays fully shown.
        time.sleep(1.5)
        assert _left_top(s, bar) == (SLIDE_IN_X, zt.SCREEN_H - 60)


def test_slides_out_on_first_tick_after_pointer_leaves_and_back_from_the_strip(s):
    app, _, bar = _start(s)
    with app:
        _pulls_in(s, bar, _caption(bar))
        s.move(*PARK)
        left_at = time.monotonic()
        left, top = _wait_left(s, bar, SLIDE_OUT_X, what='slid out')
        waited = time.monotonic() - left_at
        assert top == zt.SCREEN_H - 60
        assert 0.3 < waited < 2.0, 'slid out %.2f s after the pointer left' % waited
        # The three columns at the right edge still take the pointer.
        s.move(zt.SCREEN_W - 2, top + 30)
        touched = time.monotonic()
        _wait_left(s, bar, SLIDE_IN_X, timeout=3, what='back from the strip')
        assert time.monotonic() - touched < 1.0


def test_pointer_within_ten_pixels_keeps_it_in_eleven_lets_it_go(s):
    app, _, bar = _start(s)
    with app:
        left, top, right, bottom = bar.rect
        middle_y = (top + bottom) // 2
        cases = [
            ((left - 10, middle_y), True),
            ((left - 11, middle_y), False),
            (((left + right) // 2, top - 10), True),
            (((left + right) // 2, top - 11), False),
        ]
        for point, stays in cases:
            _pulls_in(s, bar, _caption(bar))
            s.move(*point)
            if stays:
                time.sleep(1.3)  # two ticks and a half must pass without a move
                assert _left_top(s, bar)[0] == SLIDE_IN_X, 'slid out with pointer at %s' % (point,)
            else:
                _wait_left(s, bar, SLIDE_OUT_X, what='slide out with pointer at %s' % (point,))


def test_drag_from_free_space_moves_it_until_the_next_hit_test(s):
    app, _, bar = _start(s)
    with app:
        _pulls_in(s, bar, _caption(bar))
        buttons = sorted(s.probe.children(bar.hwnd), key=lambda c: c.rect[0])
        first, second = buttons[0].rect, buttons[1].rect
        # The gap between the first two buttons is client area of the dialog.
        grip = ((first[2] + second[0]) // 2, (first[1] + first[3]) // 2)
        assert second[0] - first[2] >= 6, (first, second)
        s.drag([grip, (grip[0] - 150, grip[1] - 200), (grip[0] - 300, grip[1] - 400)],
               step_delay=0.03, step=20)
        moved = zt.wait_for(lambda: _left_top(s, bar)[0] < SLIDE_IN_X - 200 and _left_top(s, bar),
                            5, what='toolbar dragged to the left')
        assert moved[1] < zt.SCREEN_H - 300, moved
        s.screenshot('dragged')
        # The pointer is still over it: the next hit test puts it back.
        here = (grip[0] - 300, grip[1] - 400)
        s.move(here[0] + 2, here[1])
        _wait_left(s, bar, SLIDE_IN_X, what='back at the resting place after the drag')
        assert _left_top(s, bar)[1] == zt.SCREEN_H - 60


def test_faces_show_clear_colour_tool_capture_and_settings(s):
    app, _, bar = _start(s)
    with app:
        buttons = {c.id: c.rect for c in s.probe.children(bar.hwnd)}
        assert sorted(buttons) == [1005, 1006, 1007, 1008, 1009]
        order = [i for i, _ in sorted(buttons.items(), key=lambda kv: kv[1][0])]
        assert order == [1009, 1008, 1007, 1006, 1005], order
        shot = s.screenshot('faces')

        def centre(rect):
            return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2

        colour = buttons[1008]
        assert shot.px(*centre(colour)) == (255, 0, 0)
        # Inset by 5: the swatch starts at the sixth pixel of the face.
        assert shot.px(colour[0] + 5, colour[1] + 5) == (255, 0, 0)
        assert shot.px(colour[0] + 3, colour[1] + 3) != (255, 0, 0)
        # Tool face: the pen icon on the button-face fill, whose colour the
        # corner keeps.
        tool = buttons[1007]
        corner = shot.px(tool[2] - 2, tool[3] - 2)
        assert min(corner) > 150 and max(corner) - min(corner) < 20, corner
        blue = [shot.px(x, y) for x in range(tool[0], tool[2]) for y in range(tool[1], tool[3])]
        assert any(b > 150 and r < 100 for r, g, b in blue), 'no blue pen barrel on the tool face'
        # Capture face: an orange floppy; settings face: a green badge;
        # clear face: a white arrow with a light blue outline.
        def has(rect, test):
            return any(test(*shot.px(x, y)) for x in range(rect[0], rect[2])
                       for y in range(rect[1], rect[3]))
        assert has(buttons[1006], lambda r, g, b: r > 200 and 80 < g < 180 and b < 80), 'orange'
        assert has(buttons[1005], lambda r, g, b: g > 120 and r < 100 and b < 100), 'green'
        assert has(buttons[1009], lambda r, g, b: b > 200 and r < 170 and g > 120), 'light blue'


def test_place_follows_the_work_area_with_a_taskbar(s):
    s.set_mode('desktop')
    try:
        with s.app() as app:
            bar = app.window(title=TITLE)
            work = s.probe.workarea()
            assert work == (0, 0, zt.SCREEN_W, zt.SCREEN_H - 20), work
            assert (bar.rect[0], bar.rect[1]) == (SLIDE_IN_X, work[3] - 60), bar.rect
            # Here Wine keeps the layered overlay above everything, so the
            # pointer cannot reach the toolbar; a hit test sent by hand starts
            # the same slide-out count.
            s.move(*PARK)
            s.probe.send(bar.hwnd, WM_NCHITTEST, 0, 0)
            left, top = _wait_left(s, bar, SLIDE_OUT_X, what='slid out in desktop mode')
            assert top == work[3] - 60
    finally:
        s.set_mode('plain')
