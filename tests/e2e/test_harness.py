"""The harness proves itself on the probe before anything trusts it."""

import os

import zt

TARGET = (100, 100, 300, 200)  # x, y, w, h


def _target(s):
    t = s.target(*TARGET)
    t.wait_shown()
    return t


def test_target_window_is_where_it_was_asked(s):
    t = _target(s)
    w = s.probe.window(t.hwnd)
    x, y, wd, ht = TARGET
    assert w.rect == (x, y, x + wd, y + ht), w.rect
    assert w.visible and w.title == 'probe target', w
    assert not w.topmost and w.owner == 0, w


def test_real_click_inside_target_is_logged_and_outside_is_not(s):
    t = _target(s)
    s.click(600, 500)  # bare root: nobody must hear it
    s.click(250, 180)
    got = zt.wait_for(t.downs, 5, what='a logged press')
    assert got == [(250, 180)], got


def test_screenshot_sees_root_colour_and_windows(s):
    t = _target(s)
    def white_inside():
        sh = s.screenshot('target')
        return sh if sh.px(200, 200) == (255, 255, 255) else None
    shot = zt.wait_for(white_inside, 5, what='white target client area in the screenshot')
    outside = [(5, 5), (1018, 5), (5, 760), (1018, 760), (600, 500), (99, 200), (401, 200)]
    bad = shot.mismatches(outside, zt.ROOT_RGB, tol=0)
    assert bad == [], bad
    # The probe's screen BitBlt agrees with the X screenshot where it matters.
    assert s.probe.pixel(5, 5) == zt.ROOT_RGB, s.probe.pixel(5, 5)
    assert s.probe.pixel(200, 200) == (255, 255, 255), s.probe.pixel(200, 200)


def test_cjk_folder_works_for_wine_paths(s):
    d = s.workdir('截图 测试')
    t = s.target(*TARGET, log=os.path.join(d, '点击.log'))
    t.wait_shown()
    s.click(150, 150)
    assert zt.wait_for(t.downs, 5, what='press logged into the CJK folder') == [(150, 150)]
    # Created by Wine from a UTF-16 name: on disk it must be the same UTF-8 name.
    assert os.listdir(d) == ['点击.log'], os.listdir(d)


PROBE_MISUSE = [
    ('unknown command', ['nonsense'], 2),
    ('pixel without y', ['pixel', '5'], 2),
    ('pixel not a number', ['pixel', '5', 'x'], 2),
    ('text of no window', ['text', '0x7ffffff0'], 1),
    ('metrics with extra', ['metrics', '1'], 2),
]


def test_probe_rejects_misuse(s):
    bad = []
    for what, args, rc in PROBE_MISUSE:
        s.probe.run(*args, check=False)
        if s.probe.last_rc != rc:
            bad.append((what, s.probe.last_rc, rc))
    assert bad == [], bad


def test_desktop_mode_has_a_taskbar_and_smaller_work_area(s):
    assert s.probe.workarea() == (0, 0, 1024, 768)
    s.set_mode('desktop')
    assert s.probe.workarea() == (0, 0, 1024, 748)
    bar = zt.wait_for(lambda: s.probe.find_window(cls='Shell_TrayWnd'), 10, what='visible taskbar')
    assert bar.rect == (0, 748, 1024, 768), bar.rect
    s.set_mode('plain')
    assert s.probe.workarea() == (0, 0, 1024, 768)
    assert s.probe.find_window(cls='Shell_TrayWnd') is None
    # Every X client left during the switch; the root must keep its colour
    # (it turns black if the X server resets when its last client goes).
    shot = s.screenshot('after-switch')
    bad = shot.mismatches(shot.grid(step=128), zt.ROOT_RGB, tol=0)
    assert bad == [], bad
