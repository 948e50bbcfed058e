#!/usr/bin/env python3
"""Integration tests of the picture windows: the real lumatrove.exe under
Wine, pictures made at test time, windows driven and read from outside.

    run_viewer.py --exe lumatrove.exe --probe ltprobe.exe GROUP...

Pictures: `pattern_bmp` is written by Python (24-bit BMP, every pixel's
colour a function of its place, the left half pure blue); GIF and JPEG
files are made by ImageMagick from gradients (baseline, and progressive
with -interlace Plane). Malformed files are cut or patched from those.
"""

import os
import struct
import subprocess
import sys
import time

import fixtures
from lt_session import FILES_WIN, Failure, run_groups, win_path

VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_DOWN = 0x0D, 0x1B, 0x25, 0x27, 0x28
VK_NUMPAD7 = 0x67
CLEAR_BUTTON = (31 + 59 * 3, 10)
SHOTS = os.environ.get("LT_VIEWER_SHOTS")  # a folder to keep screenshots in


def pixel(x, y, w):
    """Colour (r, g, b) of pattern_bmp at (x, y): left half pure blue."""
    if x < w // 2:
        return (0, 0, 255)
    return ((x * 7) % 256, (y * 5) % 256, 0)


def pattern_bmp(w, h):
    """Bottom-up 24-bit BMP, rows padded to 4 bytes."""
    pad = (4 - (w * 3) % 4) % 4
    rows = []
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y, w) for x in range(w)))
        rows.append(row + b"\0" * pad)
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + info + data


def magick(s, name, size, *options):
    """A picture made by ImageMagick in the fixture folder; its Windows path."""
    out = s.files_dir / name
    subprocess.run(["convert", "-size", size, "gradient:#2050c0-#f0c040", *options, str(out)], check=True,
                   timeout=120)
    return f"{FILES_WIN}\\{name}"


def views(s):
    """Picture windows: {title: (hwnd, left, top, width, height)}."""
    out = {}
    for row in s.probe("views").splitlines():
        hwnd, geo, title = row.split("\t")
        out[title] = (hwnd, *map(int, geo.split()))
    return out


def wait_views(s, n, timeout=20.0):
    s.wait_until(lambda: len(views(s)) >= n, timeout, 0.2)
    return views(s)


def state(s, hwnd):
    out = {}
    for row in s.probe("view-state", hwnd).splitlines():
        k, _, v = row.partition("=")
        out[k] = v
    return out


def expected_size(metrics, iw, ih):
    """Outer size of a picture's window against the screen and frame."""
    sw, sh, fx, fy = metrics
    wide, tall = iw > sw - fx - 67, ih > sh - fy - 67
    if not wide and not tall:
        w, h = iw + fx, ih + fy + 30
    elif wide and not tall:
        w, h = sw - 67, ih + 17 + fy + 30
    elif tall and not wide:
        w, h = iw + 17 + fx, sh - 67 + 30
    else:
        w, h = sw - 50, sh - 50 + 30
    return max(w, 112), max(h, 145)


def shot(s, name):
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        s.grab((0, 0, 1024, 768), os.path.join(SHOTS, name))


def start(s, paths):
    s.unmanaged_windows()
    s.launch()
    s.write_queue(paths)


# -- groups ---------------------------------------------------------------------

def opening(s):
    small = s.fixture("small.bmp", pattern_bmp(120, 90))
    gif = magick(s, "g.gif", "200x150")
    base = magick(s, "base.jpg", "160x120", "-quality", "90")
    prog = magick(s, "prog.jpg", "240x100", "-interlace", "Plane")
    wide = magick(s, "wide.jpg", "1200x100")
    big = magick(s, "big.jpg", "1400x1000")
    tiny = s.fixture("tiny.bmp", fixtures.bmp())
    # Malformed: a JPEG cut short, a BMP whose header claims 2 GB, a GIF
    # without an image (header, colour table, trailer).
    whole = (s.files_dir / "base.jpg").read_bytes()
    cut = s.fixture("cut.jpg", whole[:len(whole) // 3])
    huge = bytearray(pattern_bmp(4, 4))
    huge[14:18] = struct.pack("<I", 0x7FFFFFF0)
    bad_bmp = s.fixture("huge.bmp", bytes(huge))
    empty_gif = s.fixture("empty.gif", b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + b"\0" * 6 + b"\x3b")
    good = [small, gif, base, prog, wide, big, tiny]
    bad = [cut, bad_bmp, empty_gif]
    start(s, good + bad)
    s.equal(s.wait_count(len(good + bad), 20000), len(good + bad), "every picture stays in the list")
    got = wait_views(s, len(good))
    s.equal(sorted(got), sorted(good), "a window for each decodable picture, none for the malformed ones")
    metrics = tuple(int(v) for v in s.probe("metrics").split())
    sizes = {small: (120, 90), gif: (200, 150), base: (160, 120), prog: (240, 100), wide: (1200, 100),
             big: (1400, 1000), tiny: (1, 1)}
    for path, (iw, ih) in sizes.items():
        if path not in got:
            continue
        hwnd, left, top, w, h = got[path]
        s.equal((w, h), expected_size(metrics, iw, ih), f"{path}: outer size")
        s.check(abs(left - (metrics[0] - w) // 2) <= 1 and abs(top - (metrics[1] - h) // 2) <= 1,
                f"{path}: centred on the screen", ((metrics[0] - w) // 2, (metrics[1] - h) // 2), (left, top))
    # Bars: none for a picture that fits, the horizontal one for a wide
    # picture, both for one larger than the screen.
    for path, bars in ((small, ("0", "0")), (wide, ("0", "1")), (big, ("1", "1"))):
        st = state(s, got[path][0])
        s.equal((st["vbar"].split()[0], st["hbar"].split()[0]), bars, f"{path}: scroll bars shown (v, h)")
    # The small picture is shown centred at 100%: its blue half on screen.
    # Activating its entry (a double click on its line) brings it to the front.
    s.probe("dblclick", 0)
    s.wait_until(lambda: state(s, got[small][0])["foreground"] == "1", 5)
    time.sleep(0.3)  # the window system puts the surface on the screen
    st = state(s, got[small][0])
    s.equal(st["mag"], "100%", "a new window starts at 100%")
    al, at, aw, ah = map(int, st["area"].split())
    ox, oy = round_half_even((aw - 120) / 2), round_half_even((ah - 90) / 2)
    shot(s, "open.png")
    raw = s.grab((al + ox, at + oy, 120, 90))
    s.equal(tuple(raw[0:3]), (0, 0, 255), "top-left pixel of the picture is blue on screen")
    s.equal(tuple(raw[(89 * 120 + 119) * 3:(89 * 120 + 120) * 3]), pixel(119, 89, 120),
            "bottom-right pixel on screen")
    # The program goes on: another picture still opens.
    more = s.fixture("more.bmp", pattern_bmp(30, 20))
    s.write_queue([more])
    s.check(more in wait_views(s, len(good) + 1), "a picture added after the malformed ones opens")


def round_half_even(v):
    return int(round(v))


GROUPS = {"opening": opening}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
