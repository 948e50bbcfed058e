#!/usr/bin/env python3
"""Composes the controller skin the way the window draws it and checks the masks.

Usage: preview.py SKIN_DIR OUT_DIR

The window draws its overlays with BitBlt: pressed buttons with SRCCOPY, the
filter marker and the tack with two SRCERASE passes (mask, then image), where
SRCERASE is dst = src AND NOT dst on every byte. This script repeats exactly
that on the committed BMPs, verifies that the masked pictures come out as the
background where the mask is white and as the image where it is black, and
writes PNG frames of a few window states for looking at.
"""
import struct
import sys
import zlib
from pathlib import Path

BUTTON_W, BUTTON_H = 59, 17
MARKER_X = [15, 75, 142, 197, 253]
MARKER_Y = 190
MARKER = 15
TACK_X, TACK_Y, TACK = 320, 184, 21


class Bitmap:
    def __init__(self, width, height, pixels=None):
        self.width, self.height = width, height
        self.px = pixels if pixels is not None else bytearray(width * height * 3)

    def copy(self):
        return Bitmap(self.width, self.height, bytearray(self.px))

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.px[i:i + 3])


def read_bmp(path, width, height):
    data = Path(path).read_bytes()
    if data[:2] != b"BM":
        sys.exit(f"{path}: not a BMP")
    offset, = struct.unpack_from("<I", data, 10)
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    if (hsize, bpp, comp) != (40, 24, 0):
        sys.exit(f"{path}: expected BMP3 24-bit uncompressed, got header {hsize} bpp {bpp} compression {comp}")
    if (w, abs(h)) != (width, height):
        sys.exit(f"{path}: expected {width}x{height}, got {w}x{abs(h)}")
    stride = (w * 3 + 3) & ~3
    bmp = Bitmap(w, abs(h))
    for row in range(abs(h)):
        y = abs(h) - 1 - row if h > 0 else row
        src = data[offset + row * stride: offset + row * stride + w * 3]
        for x in range(w):
            b, g, r = src[x * 3: x * 3 + 3]
            bmp.px[(y * w + x) * 3: (y * w + x) * 3 + 3] = bytes((r, g, b))
    return bmp


def blit(dst, dx, dy, w, h, src, sx, sy, rop):
    for y in range(h):
        for x in range(w):
            if not (0 <= dx + x < dst.width and 0 <= dy + y < dst.height):
                continue
            di = ((dy + y) * dst.width + dx + x) * 3
            si = ((sy + y) * src.width + sx + x) * 3
            for c in range(3):
                s = src.px[si + c]
                dst.px[di + c] = s if rop == "SRCCOPY" else s & ~dst.px[di + c] & 0xFF


def write_png(path, bmp):
    raw = b"".join(b"\0" + bytes(bmp.px[y * bmp.width * 3:(y + 1) * bmp.width * 3]) for y in range(bmp.height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n"
                           + chunk(b"IHDR", struct.pack(">IIBBBBB", bmp.width, bmp.height, 8, 2, 0, 0, 0))
                           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def check_masked(name, pic, size, bg, x0, y0, errors):
    """Draws pic (image over mask) at (x0, y0) on bg with two SRCERASE passes and
    checks every pixel against what the mask promises."""
    opaque = 0
    for y in range(size):
        for x in range(size):
            m = pic.at(x, y + size)
            if m not in ((0, 0, 0), (255, 255, 255)):
                errors.append(f"{name}: mask pixel ({x},{y}) is {m}, expected pure black or white")
            if m == (255, 255, 255) and pic.at(x, y) != (255, 255, 255):
                errors.append(f"{name}: image pixel ({x},{y}) is {pic.at(x, y)} under a white mask, expected white")
            opaque += m == (0, 0, 0)
    out = bg.copy()
    blit(out, x0, y0, size, size, pic, 0, size, "SRCERASE")
    blit(out, x0, y0, size, size, pic, 0, 0, "SRCERASE")
    for y in range(size):
        for x in range(size):
            want = bg.at(x0 + x, y0 + y) if pic.at(x, y + size) == (255, 255, 255) else pic.at(x, y)
            got = out.at(x0 + x, y0 + y)
            if got != want:
                errors.append(f"{name} at ({x0},{y0}): pixel ({x},{y}) expected {want}, got {got}")
    if opaque == 0 or opaque == size * size:
        errors.append(f"{name}: mask is {'empty' if opaque == 0 else 'full'}")
    return out


def main():
    skin, out_dir = Path(sys.argv[1]), Path(sys.argv[2])
    out_dir.mkdir(parents=True, exist_ok=True)
    ctl = read_bmp(skin / "controller.bmp", 357, 209)
    btn = read_bmp(skin / "buttons.bmp", BUTTON_W, BUTTON_H * 6)
    point = read_bmp(skin / "filter_point.bmp", MARKER, MARKER * 2)
    tack = read_bmp(skin / "tack.bmp", TACK, TACK * 2)

    errors = []
    for x in MARKER_X + [0]:  # x 0: a filter value without a marker position
        check_masked("filter_point", point, MARKER, ctl, x, MARKER_Y, errors)
    check_masked("tack", tack, TACK, ctl, TACK_X, TACK_Y, errors)

    # Frames: frame k presses button k, marks filter k % 5 and pins on odd k.
    for k in range(6):
        frame = ctl.copy()
        x = MARKER_X[k % 5]
        blit(frame, x, MARKER_Y, MARKER, MARKER, point, 0, MARKER, "SRCERASE")
        blit(frame, x, MARKER_Y, MARKER, MARKER, point, 0, 0, "SRCERASE")
        blit(frame, 2 + BUTTON_W * k, 2, BUTTON_W, BUTTON_H, btn, 0, BUTTON_H * k, "SRCCOPY")
        if k % 2:
            blit(frame, TACK_X, TACK_Y, TACK, TACK, tack, 0, TACK, "SRCERASE")
            blit(frame, TACK_X, TACK_Y, TACK, TACK, tack, 0, 0, "SRCERASE")
        write_png(out_dir / f"controller_{k}.png", frame)
    write_png(out_dir / "controller_plain.png", ctl)

    if errors:
        print("\n".join(errors[:40]), file=sys.stderr)
        print(f"preview: {len(errors)} problem(s)", file=sys.stderr)
        return 1
    print(f"preview: masks check out; frames in {out_dir}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
