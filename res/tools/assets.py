#!/usr/bin/env python3
"""Byte-exact helpers for the Zintora art pipeline (standard library only).

rsvg-convert and icotool cover the icons; the files here need exact bytes
that general tools do not promise (no gamma/colour chunks in the PNG, a
zero fourth byte in every BMP pixel), so they are written by hand.

  assets.py backdrop OUT.png W H R G B A   flat RGBA PNG
  assets.py checkflat IN.png R G B A       every pixel must equal RGBA
  assets.py bmp IN.png OUT.bmp             RGBA PNG over white -> 32bpp BMP
  assets.py checkbmp IN.bmp                print and check BMP header fields
  assets.py alpha IN.png X Y [R]           alpha map around a pixel
"""
import struct
import sys
import zlib


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def write_png(path, w, h, rows):
    # Filter type 0 on every row; identical rows compress to almost nothing.
    raw = b"".join(b"\x00" + r for r in rows)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    data = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def read_png(path):
    """Decode an 8-bit, non-interlaced RGBA or RGB PNG into (w, h, rgba rows, chunk names)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("%s: not a PNG" % path)
    pos, idat, kinds = 8, b"", []
    while pos < len(data):
        n, = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        kinds.append(kind.decode("ascii"))
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    if depth != 8 or ctype not in (2, 6) or interlace:
        raise SystemExit("%s: unsupported PNG (depth %d, type %d)" % (path, depth, ctype))
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(idat)
    stride = w * bpp
    rows, prev, p = [], bytearray(stride), 0
    for _ in range(h):
        ft = raw[p]
        line = bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ft == 1:
                line[i] = (line[i] + a) & 255
            elif ft == 2:
                line[i] = (line[i] + b) & 255
            elif ft == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 255
            elif ft == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        prev = line
        if bpp == 3:
            line = bytearray(b"".join(bytes(line[i:i + 3]) + b"\xff" for i in range(0, stride, 3)))
        rows.append(bytes(line))
    return w, h, rows, kinds


def cmd_backdrop(out, w, h, r, g, b, a):
    w, h = int(w), int(h)
    row = bytes([int(r), int(g), int(b), int(a)]) * w
    write_png(out, w, h, [row] * h)


def cmd_checkflat(path, r, g, b, a):
    w, h, rows, kinds = read_png(path)
    want = bytes([int(r), int(g), int(b), int(a)]) * w
    bad = sum(1 for row in rows if row != want)
    print("%s: %dx%d chunks=%s rows-differing=%d" % (path, w, h, ",".join(kinds), bad))
    extra = set(kinds) - {"IHDR", "IDAT", "IEND"}
    if bad or extra:
        raise SystemExit("%s: check failed" % path)


def cmd_bmp(src, out):
    w, h, rows, _ = read_png(src)
    pix = bytearray()
    for row in reversed(rows):  # bottom-up
        for i in range(0, len(row), 4):
            r, g, b, a = row[i:i + 4]
            # Composite over white with rounding, then store B,G,R,0.
            pix += bytes([(b * a + 255 * (255 - a) + 127) // 255,
                          (g * a + 255 * (255 - a) + 127) // 255,
                          (r * a + 255 * (255 - a) + 127) // 255, 0])
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(pix), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pix), 0, 0, 14 + 40)
    with open(out, "wb") as f:
        f.write(head + info + pix)


def cmd_checkbmp(path):
    with open(path, "rb") as f:
        d = f.read()
    magic, fsize, _, _, off = struct.unpack("<2sIHHI", d[:14])
    (hsz, w, h, planes, bpp, comp, isz, _, _, clr, _) = struct.unpack("<IiiHHIIiiII", d[14:54])
    pix = d[off:]
    fourth = set(pix[3::4])
    print("%s: magic=%s size=%d/%d offset=%d header=%d %dx%d planes=%d bpp=%d "
          "compression=%d imagesize=%d colours=%d fourth-bytes=%s"
          % (path, magic.decode(), fsize, len(d), off, hsz, w, h, planes, bpp,
             comp, isz, clr, sorted(fourth)))
    ok = (magic == b"BM" and fsize == len(d) and off == 54 and hsz == 40 and h > 0
          and bpp == 32 and comp == 0 and clr == 0 and len(pix) == w * h * 4
          and fourth == {0})
    if not ok:
        raise SystemExit("%s: check failed" % path)


def cmd_alpha(path, x, y, r="3"):
    w, h, rows, _ = read_png(path)
    x, y, r = int(x), int(y), int(r)
    for yy in range(y - r, y + r + 1):
        cells = []
        for xx in range(x - r, x + r + 1):
            if 0 <= xx < w and 0 <= yy < h:
                a = rows[yy][xx * 4 + 3]
                cells.append(("[%3d]" if (xx, yy) == (x, y) else " %3d ") % a)
            else:
                cells.append("  .  ")
        print("y=%2d " % yy + "".join(cells))


if __name__ == "__main__":
    cmds = {"backdrop": cmd_backdrop, "checkflat": cmd_checkflat, "bmp": cmd_bmp,
            "checkbmp": cmd_checkbmp, "alpha": cmd_alpha}
    if len(sys.argv) < 2 or sys.argv[1] not in cmds:
        raise SystemExit(__doc__)
    cmds[sys.argv[1]](*sys.argv[2:])
