"""Reads the resources back out of the built exe and checks each against
what the program and the shell rely on: numbers, types, language, dialog
templates, version strings, manifest, images, cursor hot spots, sound."""

import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

LANG = 2052
HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))


def listing(exe):
    out = subprocess.run(["wrestool", "-l", exe], check=True, capture_output=True, text=True).stdout
    rows = []
    for line in out.splitlines():
        m = re.match(r"--type=(\S+) --name=(\S+) --language=(\d+)", line)
        rows.append((m.group(1).strip("'"), m.group(2).strip("'"), int(m.group(3))))
    return rows


def raw(exe, rtype, name):
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "r")
        t = f"--type={rtype}"
        subprocess.run(["wrestool", "-x", "--raw", t, f"--name={name}", f"--language={LANG}",
                        "-o", out, exe], check=True, capture_output=True)
        with open(out, "rb") as f:
            return f.read()


def utf16z(data, pos):
    end = pos
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def sz_or_ord(data, pos):
    first = struct.unpack_from("<H", data, pos)[0]
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    if first == 0:
        return "", pos + 2
    return utf16z(data, pos)


def align4(pos):
    return (pos + 3) & ~3


def parse_dialog(data):
    ver, sig, _help, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data, 0)
    assert (ver, sig) == (1, 0xFFFF), "not an extended dialog template"
    pos = 26
    menu, pos = sz_or_ord(data, pos)
    cls, pos = sz_or_ord(data, pos)
    title, pos = utf16z(data, pos)
    points, weight, italic, charset = struct.unpack_from("<HHBB", data, pos)
    font, pos = utf16z(data, pos + 6)
    items = []
    for _ in range(count):
        pos = align4(pos)
        _h, iex, istyle, ix, iy, icx, icy, iid = struct.unpack_from("<IIIhhhhi", data, pos)
        pos += 24
        icls, pos = sz_or_ord(data, pos)
        itext, pos = sz_or_ord(data, pos)
        extra = struct.unpack_from("<H", data, pos)[0]
        pos += 2 + extra
        items.append(dict(id=iid, style=istyle, exstyle=iex, rect=(ix, iy, icx, icy),
                          cls=icls, text=itext))
    return dict(exstyle=exstyle, style=style, rect=(x, y, cx, cy), menu=menu, cls=cls,
                title=title, font=(points, weight, italic, charset, font), items=items)


def group_entries(data):
    _r, _t, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        w, h, _c, _r2, planes, bits, size, ident = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        entries.append((w or 256, h or 256, bits, ident))
    return entries


def test_exactly_the_named_resources_all_in_chinese(exe):
    named = {(t, n) for t, n, _ in listing(exe) if t not in ("1", "3")}
    assert named == {
        ("PNG", "104"), ("WAVE", "105"), ("2", "106"), ("5", "101"), ("5", "102"),
        ("5", "103"), ("12", "107"), ("12", "108"), ("12", "109"), ("14", "110"),
        ("14", "111"), ("14", "112"), ("14", "113"), ("14", "114"), ("14", "115"),
        ("14", "116"), ("16", "1"), ("24", "1")}, named
    assert {lang for _, _, lang in listing(exe)} == {LANG}


def test_icons_have_their_sizes_in_32_bit_colour(exe):
    assert [(w, h, b) for w, h, b, _ in group_entries(raw(exe, 14, 110))] == [
        (48, 48, 32), (32, 32, 32), (16, 16, 32)]
    for name in range(111, 117):
        assert [(w, h, b) for w, h, b, _ in group_entries(raw(exe, 14, name))] == [(38, 38, 32)], name


def test_cursors_are_32_pixel_alpha_images_with_their_hot_spots(exe):
    hot_spots = {107: (2, 29), 108: (1, 29), 109: (6, 22)}
    for name, hot in hot_spots.items():
        entries = struct.unpack_from("<HHH", raw(exe, 12, name), 0)[2]
        assert entries == 1, name
        data = raw(exe, 12, name)
        # windres fills the directory's bit count with 1 whatever the image
        # holds; the image's own header below is what the loader draws.
        w, h2, _planes, _bits, _size, ident = struct.unpack_from("<HHHHIH", data, 6)
        assert (w, h2) == (32, 64), (name, w, h2)
        image = raw(exe, 1, ident)
        assert struct.unpack_from("<HH", image, 0) == hot, name
        width, height, _p, depth = struct.unpack_from("<iiHH", image, 8)
        assert (width, height, depth) == (32, 64, 32), name


def test_dialog_templates(exe):
    overlay = parse_dialog(raw(exe, 5, 101))
    assert overlay["exstyle"] == 0x80
    assert overlay["style"] == 0x80000000 | 0x80000 | 0x40 | 0x8
    assert overlay["rect"] == (0, 0, 145, 54) and overlay["items"] == []
    assert overlay["title"] == "" and overlay["menu"] == "" and overlay["cls"] == ""

    toolbar = parse_dialog(raw(exe, 5, 103))
    assert (toolbar["exstyle"], toolbar["style"]) == (0x80, 0x80C800C8)
    assert toolbar["rect"] == (0, 0, 145, 25) and toolbar["title"] == "Zintora v1.0"
    assert [(i["id"], i["rect"][0]) for i in toolbar["items"]] == [
        (1005, 118), (1006, 89), (1007, 60), (1008, 31), (1009, 2)]
    for item in toolbar["items"]:
        assert (item["style"], item["exstyle"], item["cls"], item["text"]) == (
            0x5001000B, 0, 0x80, "Button1"), item
        assert item["rect"][1:] == (2, 22, 22)

    settings = parse_dialog(raw(exe, 5, 102))
    assert (settings["exstyle"], settings["style"]) == (0, 0x80C800C8)
    assert settings["rect"] == (0, 0, 169, 137) and settings["title"] == "软件设置"
    child = 0x50000000  # WS_CHILD | WS_VISIBLE
    want = [
        (1, 0x80, child | 0x10000 | 0x1, "确定", (20, 116, 50, 14), 0),
        (2, 0x80, child | 0x10000 | 0x0, "取消", (97, 116, 50, 14), 0),
        (-1, 0x82, child | 0x20000 | 0x0, "抓屏保存位置：", (10, 15, 57, 8), 0),
        (1001, 0x81, child | 0x10000 | 0x800 | 0x80, "", (10, 25, 126, 12), 0x20000),
        (1002, 0x80, child | 0x10000, "...", (141, 24, 16, 14), 0),
        (1003, 0x80, child | 0x10000 | 0x3, "使用画笔超过5次后，自动抓屏一次。", (10, 44, 142, 13), 0),
        (1004, 0x80, child | 0x10000 | 0x3, "清屏和退出时自动抓屏。", (10, 63, 100, 9), 0),
        (-1, 0x80, child | 0x7, "设置", (7, 3, 155, 77), 0),
        (1006, 0x82, child | 0xE, 106, (7, 85, 60, 22), 0),
    ]
    items = settings["items"]
    assert len(items) == 10
    for item, (iid, cls, style, text, rect, ex) in zip(items, want):
        got = (item["id"] & 0xFFFF if iid >= 0 else item["id"], item["cls"], item["style"],
               item["text"], item["rect"], item["exstyle"])
        assert got == (iid, cls, style, text, rect, ex), got
    credit = items[9]
    assert (credit["id"], credit["cls"], credit["style"]) == (-1, 0x82, child | 0x20000)
    assert credit["rect"] == (71, 88, 91, 17) and credit["text"].count("\n") == 1
    for dialog in (overlay, toolbar, settings):
        assert dialog["font"] == (8, 400, 0, 1, "MS Shell Dlg"), dialog["font"]


def test_version_block(exe):
    data = raw(exe, 16, 1)
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    (_sig, _v, fv_ms, fv_ls, pv_ms, pv_ls, mask, flags, os_, ftype, sub, d1, d2) = struct.unpack_from(
        "<13I", data, fixed)
    assert (fv_ms, fv_ls, pv_ms, pv_ls) == (0x10000, 1, 0x10000, 1)
    assert (mask, flags, os_, ftype, sub, d1, d2) == (0x17, 0, 4, 1, 0, 0, 0)
    text = data.decode("utf-16-le", errors="replace")
    assert "080404b0" in text
    for key, value in [("FileDescription", "在桌面上涂鸦，并智能抓屏"), ("FileVersion", "1, 0, 0, 1"),
                       ("InternalName", "Zintora"), ("OriginalFilename", "Zintora.exe"),
                       ("ProductName", " Zintora 应用程序"), ("ProductVersion", "1, 0, 0, 1")]:
        assert re.search(key + r"\x00+" + re.escape(value) + r"\x00", text), key
    assert re.search(r"LegalCopyright\x00+[^\x00]+", text)
    translation = data.find("Translation".encode("utf-16-le"))
    assert struct.pack("<HH", 0x0804, 1200) in data[translation:]


def test_manifest_asks_for_common_controls_6_and_nothing_else(exe):
    text = raw(exe, 24, 1).decode("utf-8")
    for needle in ['name="Microsoft.Windows.dummy"', 'version="1.0.0.0"', 'processorArchitecture="X86"',
                   "<description>Your app description here</description>",
                   'name="Microsoft.Windows.Common-Controls"', 'version="6.0.0.0"',
                   'publicKeyToken="6595b64144ccf1df"', 'language="*"']:
        assert needle in text, needle
    for absent in ["trustInfo", "requestedExecutionLevel", "dpiAware", "supportedOS", "compatibility"]:
        assert absent not in text, absent
    assert text.count("<dependentAssembly>") == 1


def png_pixels(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, chunks = 8, b"", []
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        chunks.append(kind)
        if kind == b"IHDR":
            w, h, depth, colour = struct.unpack_from(">IIBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return w, h, depth, colour, zlib.decompress(idat), chunks


def test_backdrop_is_uniform_red_at_alpha_3(exe):
    w, h, depth, colour, rows, _ = png_pixels(raw(exe, "PNG", 104))
    assert (w, h, depth, colour) == (1035, 768, 8, 6)
    stride = 1 + 4 * w
    assert len(rows) == stride * h
    for y in range(h):
        row = rows[y * stride:(y + 1) * stride]
        # Filter type 0 lines only carry the pixels themselves.
        assert row[0] == 0 and row[1:] == b"\xff\x00\x00\x03" * w, y


def test_credit_bitmap_is_90_by_35_bottom_up_32_bit(exe):
    data = raw(exe, 2, 106)
    size, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 0)
    assert (size, w, h, planes, bits, compression) == (40, 90, 35, 1, 32, 0)
    pixels = data[40:40 + 90 * 35 * 4]
    assert len(pixels) == 90 * 35 * 4
    assert all(pixels[i] == 0 for i in range(3, len(pixels), 4))
    # White ground with something drawn on it.
    whites = sum(pixels[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(pixels), 4))
    assert 0.3 * 90 * 35 < whites < 0.98 * 90 * 35, whites


def test_click_sound_is_a_short_wave(exe):
    data = raw(exe, "WAVE", 105)
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE"
    fmt = data.find(b"fmt ")
    _tag, channels, rate, byte_rate = struct.unpack_from("<HHII", data, fmt + 8)
    chunk = data.find(b"data")
    length = struct.unpack_from("<I", data, chunk + 4)[0]
    assert 0 < length / byte_rate < 0.1, length / byte_rate


def test_imports_only_system_dlls(exe):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], check=True,
                         capture_output=True, text=True).stdout
    dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", out)}
    system = {"kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "comctl32.dll",
              "ole32.dll", "winmm.dll", "shell32.dll", "msvcrt.dll", "advapi32.dll"}
    assert dlls and dlls <= system, dlls - system
    assert "subsystem" in out.lower() and re.search(r"Subsystem\s+00000002", out), "not a GUI exe"


def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else os.path.join(TOP, "build", "win", "Zintora.exe")
    passed = failed = 0
    for name, fn in sorted(globals().items()):
        if name.startswith("test_") and callable(fn):
            try:
                fn(exe)
                passed += 1
                print(f"PASS {name}")
            except Exception as e:  # noqa: BLE001 - report every failure and go on
                failed += 1
                print(f"FAIL {name}: {type(e).__name__}: {e}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
