"""Start-up: the full-screen overlay, what it swallows, and the ways out."""

import zt

OVERLAY_RGB = (3, 0, 0)  # premultiplied red at alpha 3, blended over black by Wine
FULL = (0, 0, zt.SCREEN_W, zt.SCREEN_H)
ARGS = ['foo', '/bar', '--baz']


def _inside(p, r):
    return r[0] <= p[0] < r[2] and r[1] <= p[1] < r[3]


def _overlay_pixels_ok(s, app, overlay, name):
    """Waits until every sample not under another window of the app is overlay red."""
    last = {}

    def check():
        others = [w.rect for w in app.windows() if w.hwnd != overlay.hwnd]
        shot = s.screenshot(name)
        points = [p for p in shot.grid(step=31) if not any(_inside(p, r) for r in others)]
        bad = shot.mismatches(points, OVERLAY_RGB, tol=1)
        last.update(samples=len(points), bad=bad[:8], shot=shot.path)
        # Too few samples left would make the check hollow.
        return not bad and len(points) > 700
    try:
        zt.wait_for(check, 8, what='overlay colour %s on the whole screen' % (OVERLAY_RGB,))
    except AssertionError as e:
        raise AssertionError('%s %s' % (e, last))


def _overlay_window_ok(app):
    ov = app.overlay()
    need = zt.WS_EX_LAYERED | zt.WS_EX_TOOLWINDOW
    assert ov.visible, ov
    assert ov.exstyle & need == need, hex(ov.exstyle)
    assert ov.rect == FULL, ov.rect
    assert ov.owner == 0, ov  # a top-level of its own, not owned by the toolbar
    return ov


def test_overlay_reads_premultiplied_red_across_the_screen(s):
    with s.app() as app:
        ov = app.overlay()
        _overlay_pixels_ok(s, app, ov, 'overlay')
        # The program's own screen captures go through a BitBlt like this one.
        for p in [(0, 0), (512, 384), (1023, 0), (0, 767)]:
            assert zt.near(s.probe.pixel(*p), OVERLAY_RGB), (p, s.probe.pixel(*p))


def test_clicks_over_overlay_do_not_reach_the_window_beneath(s):
    target = s.target(100, 100, 300, 200)
    target.wait_shown()
    # Control: with nothing above it the target does hear a click.
    s.click(200, 200)
    assert zt.wait_for(target.downs, 5, what='control click logged') == [(200, 200)]
    with s.app() as app:
        ov = app.overlay()
        zt.wait_for(lambda: zt.near(s.screenshot('over-target').px(200, 200), OVERLAY_RGB), 5,
                    what='overlay drawn over the target')
        s.click(200, 200)
    zt.wait_for(lambda: s.probe.window(ov.hwnd) is None, 5, what='overlay gone')
    # Sentinel: once the target hears this click, any press that had leaked
    # to it earlier would already be in its log, ahead of this one.
    s.click(210, 210)
    got = zt.wait_for(lambda: len(target.downs()) >= 2 and target.downs(), 5, what='sentinel click logged')
    assert got == [(200, 200), (210, 210)], got


def test_overlay_is_a_full_screen_layered_tool_window_of_the_program(s):
    with s.app() as app:
        ov = _overlay_window_ok(app)
        assert ov.pid == app.pid
        layered = [w for w in s.probe.windows() if w.visible and w.exstyle & zt.WS_EX_LAYERED]
        assert [w.hwnd for w in layered] == [ov.hwnd], layered


# The overlay must take keyboard focus from a click on it; then each key ends it.
WAYS_OUT = [
    ('Esc', 'Escape'),
    ('Alt+F4', 'alt+F4'),
]


def test_keys_on_the_overlay_end_the_program_with_code_0(s):
    bad = []
    for what, key in WAYS_OUT:
        app = s.app()
        ov = app.overlay()
        s.click(512, 384)
        zt.wait_for(lambda: s.probe.focus().active == ov.hwnd, 5, what='overlay active (%s)' % what)
        s.key(key)
        try:
            # Wine spends 2 s per shown top-level window when it is taken down
            # without a window manager, hence the roomy deadline.
            rc = app.wait_exit(12)
        except AssertionError as e:
            bad.append((what, str(e)))
            app.kill()
            continue
        if rc != 0:
            bad.append((what, 'exit code %r' % rc))
        if app.windows(visible=None):
            bad.append((what, 'windows left behind'))
        app.kill()
    assert bad == [], bad


def test_command_line_arguments_change_nothing(s):
    with s.app(args=ARGS) as app:
        # The arguments did arrive: a test that lost them would prove nothing.
        cmd = s.probe.cmdline(app.pid)
        assert cmd.endswith(' ' + ' '.join(ARGS)), cmd
        ov = _overlay_window_ok(app)
        _overlay_pixels_ok(s, app, ov, 'with-args')


def test_two_copies_each_show_their_own_overlay(s):
    folder = s.workdir('两份')
    first = s.app(folder)
    ov1 = _overlay_window_ok(first)
    second = s.app(folder)
    ov2 = _overlay_window_ok(second)
    assert first.pid != second.pid and ov1.hwnd != ov2.hwnd
    assert not first.exited(), 'first copy ended when the second started (rc %r)' % first.rc()
    assert s.probe.window(ov1.hwnd).visible, 'first overlay hidden by the second copy'
    _overlay_pixels_ok(s, second, ov2, 'two-copies')
    second.kill()
    first.kill()
