#!/usr/bin/env python3
"""Picture windows of the real lumatrove.exe under Wine, driven and read from outside (run_viewer.py --exe EXE
--probe PROBE GROUP...). Pictures are made at test time: BMPs here, GIF and JPEG (baseline and progressive) by
ImageMagick; malformed files are cut or patched from those."""

import struct
import subprocess
import sys
import time

import fixtures
from fixtures import BUTTON
from lt_session import CB_SETCURSEL, CBN_SELCHANGE, FILES_WIN, MOUSE, SC_CLOSE, WM_COMMAND, WM_SYSCOMMAND, run_groups

VK_NUMPAD7 = 0x67
SCREEN = (1024, 768)
COMBO_ID = 301  # the magnification selector
COPY, PICKER = 150, 180  # two of the tool strip's buttons, at y 10


def pixel(x, y, w):
    """Colour (r, g, b) of pattern_bmp at (x, y): left half pure blue."""
    return (0, 0, 255) if x < w // 2 else ((x * 7) % 256, (y * 5) % 256, 0)


def pattern_bmp(w, h):
    """Bottom-up 24-bit BMP, rows padded to 4 bytes."""
    pad = b"\0" * ((4 - (w * 3) % 4) % 4)
    data = b"".join(b"".join(bytes(pixel(x, y, w)[::-1]) for x in range(w)) + pad for y in range(h - 1, -1, -1))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + info + data


def magick(s, name, size, *options):
    """A gradient picture made by ImageMagick; its Windows path."""
    subprocess.run(["convert", "-size", size, "gradient:#2050c0-#f0c040", *options, str(s.files_dir / name)],
                   check=True, timeout=120)
    return f"{FILES_WIN}\\{name}"


def views(s):
    """Picture windows: {title: (hwnd, left, top, width, height)}."""
    return {title: (hwnd, *box) for hwnd, _, cls, title, box in s.windows() if cls == "LumatroveView"}


def wait_views(s, n, timeout=20.0):
    s.wait_until(lambda: len(views(s)) >= n, timeout, 0.2)
    return views(s)


def state(s, hwnd):
    """The view area (screen box), the bars' values and ranges (h, v), magnification, colour readout, in front."""
    view, area, vbar, hbar, mag, hexa = s.info(hwnd, f"{hwnd}/LumatroveViewArea", f"{hwnd}/ScrollBar:0",
                                               f"{hwnd}/ScrollBar:1", f"{hwnd}/ComboBox", f"{hwnd}/Static:-1")
    return {"area": area.box, "scroll": (hbar.scroll[1], vbar.scroll[1]), "max": (hbar.scroll[0], vbar.scroll[0]),
            "mag": mag.text, "hex": hexa.text, "front": view.foreground}


def click(s, hwnd, x, y, right=False):
    """Press and release in the view area."""
    s.mouse(f"{hwnd}/LumatroveViewArea", x, y, *(("rdown", "rup") if right else ("down", "up")))


def drag(s, hwnd, x1, y1, x2, y2):
    """A left drag in the view area, through the middle."""
    s.send(f"{hwnd}/LumatroveViewArea", (*MOUSE["down"], (x1, y1)), (*MOUSE["move"], ((x1 + x2) // 2, (y1 + y2) // 2)),
           (*MOUSE["move"], (x2, y2)), (*MOUSE["up"], (x2, y2)))


def combo(s, hwnd, index):
    """A selector line picked as a user would."""
    s.send(f"{hwnd}/ComboBox", (CB_SETCURSEL, index, 0))
    s.send(hwnd, (WM_COMMAND, (CBN_SELCHANGE << 16) | COMBO_ID, 0))


def picture_origin(st, iw, ih, mag=100):
    """Where the picture's top-left is in the view (centred or scrolled)."""
    _, _, aw, ah = st["area"]
    dw, dh = round(iw * mag / 100), round(ih * mag / 100)
    x = -st["scroll"][0] if dw > aw else round((aw - dw) / 2)
    y = -st["scroll"][1] if dh > ah else round((ah - dh) / 2)
    return x, y


def opening(s):
    small = s.fixture("small.bmp", pattern_bmp(120, 90))
    sizes = {small: (120, 90), magick(s, "g.gif", "200x150"): (200, 150),
             magick(s, "base.jpg", "160x120", "-quality", "90"): (160, 120),
             magick(s, "prog.jpg", "240x100", "-interlace", "Plane"): (240, 100)}
    # Malformed: a JPEG cut short, a BMP claiming 2 GB, a GIF without an image (header, colour table, trailer).
    whole = (s.files_dir / "base.jpg").read_bytes()
    huge = bytearray(pattern_bmp(4, 4))
    huge[14:18] = struct.pack("<I", 0x7FFFFFF0)
    bad = [s.fixture("cut.jpg", whole[:len(whole) // 3]), s.fixture("huge.bmp", bytes(huge)),
           s.fixture("empty.gif", b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + b"\0" * 6 + b"\x3b")]
    s.launch()
    s.write_queue([*sizes, *bad])
    s.equal(s.wait_count(len(sizes) + 3, 20000), len(sizes) + 3, "every picture stays in the list")
    got = wait_views(s, len(sizes))
    s.equal(sorted(got), sorted(sizes), "a window for each decodable picture, none for the malformed ones")
    # Each format's decoded size reaches the window: the same frame around every picture, centred on the screen.
    fw, fh = got[small][3] - 120, got[small][4] - 90
    for path, (w, h) in sizes.items():
        _, left, top, gw, gh = got.get(path, (0, 0, 0, 0, 0))
        s.equal((gw - fw, gh - fh, left, top), (w, h, (SCREEN[0] - gw) // 2, (SCREEN[1] - gh) // 2),
                f"{path}: size and place")
    # A double click on the entry's line brings its window to the front, the picture on screen centred at 100%.
    hwnd = got[small][0]
    s.dblclick_line(0)
    s.check(s.wait_until(lambda: state(s, hwnd)["front"], 5), "activating the entry brings its window to the front")
    time.sleep(0.3)  # the window system puts the surface on the screen
    st = state(s, hwnd)
    ox, oy = picture_origin(st, 120, 90)
    raw = s.grab((st["area"][0] + ox, st["area"][1] + oy, 120, 90))
    s.equal((tuple(raw[0:3]), tuple(raw[-3:])), ((0, 0, 255), pixel(119, 89, 120)), "corner pixels on screen")
    # Redraws still run after the failed openings: the picker reads the grid's dotted line over the blue as yellow.
    s.type_keys(hwnd, "g", "p")  # the grid and the colour picker from the keyboard
    seen = set()
    for y in (5, 6):
        click(s, hwnd, ox + 16, oy + y)
        seen.add(state(s, hwnd)["hex"])
    s.check("&&h00FFFF" in seen, "the grid is drawn after the malformed pictures", "&&h00FFFF", seen)
    more = s.fixture("more.bmp", pattern_bmp(30, 20))
    s.write_queue([more])
    s.check(more in wait_views(s, len(sizes) + 1), "a picture added after the malformed ones opens")


def clip(s):
    rows = s.probe("clip").splitlines()
    if rows == ["none"]:
        return None
    w, h = map(int, rows[0].split())
    return w, h, [tuple(int(r[i:i + 6], 16) for i in range(0, len(r), 6)) for r in rows[1:]]


def tools(s):
    iw, ih = 120, 90
    path = s.fixture("p.bmp", pattern_bmp(iw, ih))
    s.launch()
    s.write_queue([path])
    hwnd = wait_views(s, 1)[path][0]
    ox, oy = picture_origin(state(s, hwnd), iw, ih)

    # Zoom: a left click doubles; the bars then range over the hidden parts.
    click(s, hwnd, ox + 30, oy + 20)
    st = state(s, hwnd)
    _, _, aw, ah = st["area"]
    s.equal((st["mag"], st["max"]), ("200%", (240 - aw, 180 - ah)), "a zoom click: 200%, bars over the hidden parts")
    for _ in range(4):  # 200, 100, 75, 50, and no further
        click(s, hwnd, 5, 5, right=True)
    s.equal(state(s, hwnd)["mag"], "50%", "right clicks step back and stop at 50%")

    # Colour picker: reads the view, so the picture's colours and the grey around it.
    combo(s, hwnd, 2)
    s.click(PICKER, 10, hwnd)
    ox, oy = picture_origin(state(s, hwnd), iw, ih)
    for (x, y) in ((5, 5), (100, 40)):
        click(s, hwnd, ox + x, oy + y)
        r, g, b = pixel(x, y, iw)
        s.equal(state(s, hwnd)["hex"], f"&&h{b:02X}{g:02X}{r:02X}", f"colour of picture pixel ({x}, {y})")
    if oy > 0:
        click(s, hwnd, 1, oy - 1)
        s.equal(state(s, hwnd)["hex"], "&&h808080", "colour of the grey around the picture")

    # Range selection and copy: the range comes from the picture at 1:1, whatever the magnification; Ctrl+C
    # copies as the button does.
    combo(s, hwnd, 3)
    zx, zy = picture_origin(state(s, hwnd), iw, ih, 200)
    s.type_keys(hwnd, "s")
    want = lambda x0, x1, y0, y1: (x1 - x0, y1 - y0, [tuple(int("%02X%02X%02X" % pixel(x, y, iw), 16)
                                                          for x in range(x0, x1)) for y in range(y0, y1)])
    for how, x, copy in (("the copy button", 140, lambda: s.click(COPY, 10, hwnd)),
                         ("Ctrl+C", 180, lambda: s.type_keys(hwnd, "ctrl+c"))):
        drag(s, hwnd, zx + x + 20, zy + 32, zx + x, zy + 20)
        copy()
        got = clip(s)
        s.check(got == want(x // 2, x // 2 + 10, 10, 16), f"{how}: a drag from bottom-right at 200% copies that range",
                (10, 6), got and got[:2])

    # No selection (a right press clears it): the user is told, the clipboard keeps its bitmap. A straight drag
    # has no width: it copies an empty bitmap, without a word.
    for what, act, told in (("no selection", lambda: click(s, hwnd, 5, 5, right=True), True),
                            ("a range without width", lambda: drag(s, hwnd, zx + 40, zy + 10, zx + 40, zy + 60), False)):
        act()
        s.post_click(COPY, 10, path=hwnd)
        boxes = []
        s.wait_until(lambda: boxes.extend(s.probe("dismiss").splitlines()) or boxes, 5 if told else 1.5)
        s.equal(any("範囲が選択されていません" in b for b in boxes), told, f"{what}: the user is told")
        now = clip(s)
        s.check(now == got if told else now and now[0] * now[1] <= 1, f"{what}: the clipboard's bitmap",
                got[:2] if told else "empty", now and now[:2])

    # Hand at 400%: the picture follows the pointer; Z takes the zoom tool back.
    combo(s, hwnd, 5)
    before = state(s, hwnd)["scroll"]
    s.type_keys(hwnd, "h")
    drag(s, hwnd, 100, 100, 60, 70)
    s.equal(state(s, hwnd)["scroll"], (before[0] + 40, before[1] + 30), "hand drag scrolls")
    s.type_keys(hwnd, "z")
    click(s, hwnd, 50, 50)
    s.equal(state(s, hwnd)["mag"], "500%", "Z: a click zooms again")


def keys(s):
    big = magick(s, "k1.jpg", "1400x1000")
    paths = [big, s.fixture("k2.wav", fixtures.wav()), s.fixture("k3.bmp", pattern_bmp(60, 40)),
             s.fixture("k4.mid", fixtures.midi()), s.fixture("k5.bmp", pattern_bmp(50, 30))]
    s.launch()
    s.write_queue(paths)
    got = wait_views(s, 3)
    s.wait_count(5, 10000)
    h1, h3, h5 = got[big][0], got[paths[2]][0], got[paths[4]][0]

    # Keys as a user presses them; they scroll only where a bar is shown (the steps are the unit tests' job).
    s.type_keys(h1, "down")
    s.key(VK_NUMPAD7, h1)
    s.equal(state(s, h1)["scroll"], (0, 5), "Down, then numeric pad 7: scroll values (h, v)")
    s.type_keys(h5, "right")
    s.equal(state(s, h5)["scroll"][0], 0, "Right without a bar does nothing")
    # The window sees a key first; the focused selector then moves too, but not on the window's own keys.
    s.type_keys(f"{h1}/ComboBox", "down")
    st = state(s, h1)
    s.equal((st["scroll"][1], st["mag"]), (15, "200%"), "Down on the selector: scrolled, then next magnification")
    s.type_keys(f"{h1}/ComboBox", "pagedown")
    st = state(s, h1)
    page = st["area"][3]
    s.equal((st["scroll"][1], st["mag"]), (15 + page, "200%"), "PageDown on the selector: a page, the same magnification")
    s.type_keys(h1, "end", "pageup")
    s.equal(state(s, h1)["scroll"][1], state(s, h1)["max"][1] - page, "End, then PageUp")
    s.type_keys(h1, "home")
    s.equal(state(s, h1)["scroll"][1], 0, "Home")

    # The wheel over the picture, whichever control has the focus: down scrolls; with Ctrl it zooms about the pointer.
    ax, ay = 100, 80  # in the view area, which starts 24 pixels down the window
    s.wheel(h1, ax, 24 + ay, -120)
    before = state(s, h1)
    s.equal((before["scroll"][1], before["mag"]), (10, "200%"), "a notch down over the picture scrolls")
    s.wheel(h1, ax, 24 + ay, 120, ctrl=True)
    after = state(s, h1)
    under = lambda st, m: tuple((a + v) * 100 / m for a, v in zip((ax, ay), st["scroll"]))
    s.check(after["mag"] == "300%" and all(abs(a - b) <= 1 for a, b in zip(under(before, 200), under(after, 300))),
            "Ctrl+wheel: 300%, the same picture point under the pointer", under(before, 200),
            (after["mag"], under(after, 300)))
    # + and - on the numeric pad and on the main block step the magnification list.
    s.type_keys(h1, "+", "plus")
    up = state(s, h1)["mag"]
    s.type_keys(h1, "-", "minus", "-")
    s.equal((up, state(s, h1)["mag"]), ("500%", "200%"), "+ twice, then - three times")

    # Enter: the next picture entry, skipping music; nothing after the last.
    s.type_keys(h1, "enter")
    s.check(s.wait_until(lambda: state(s, h3)["front"], 5), "Enter moves to the next picture")
    s.type_keys(h5, "enter")
    s.equal(len(views(s)), 3, "Enter on the last picture opens and closes nothing")

    # Escape and the close box take the entry off the list; removing an entry from the controller closes its window.
    entries = lambda: [text.split(" ", 1)[1] for _, text in s.list_lines()]
    s.type_keys(h3, "esc")
    s.wait_until(lambda: len(views(s)) == 2, 5)
    s.equal((sorted(views(s)), entries()), (sorted([big, paths[4]]), [p for p in paths if p != paths[2]]),
            "Escape closes the window and removes its entry")
    s.send(h1, (WM_SYSCOMMAND, SC_CLOSE, 0), post=True)
    s.wait_until(lambda: len(views(s)) == 1, 5)
    s.equal(entries(), [paths[1], paths[3], paths[4]], "the close box removes the entry")
    s.write_queue([big])
    s.check(big in wait_views(s, 2), "the same file added again opens a new window")
    s.select(2)
    s.click(*BUTTON["Close"])  # removes the selected entry
    s.wait_until(lambda: len(views(s)) == 1, 5)
    s.equal(list(views(s)), [big], "removing the entry closes its window")


def many(s):
    """A folder of 1001 small pictures: 1000 windows (every slot), the last
    entry listed without one; Clear closes them all and frees the slots."""
    folder = s.files_dir / "many"
    folder.mkdir()
    data = pattern_bmp(8, 8)
    for i in range(1001):
        (folder / f"m{i:04d}.bmp").write_bytes(data)
    s.launch()
    s.post_click(*BUTTON["Folder"])
    s.probe("browse", f"{FILES_WIN}\\many")
    s.equal(s.wait_count(1001, 240000), 1001, "every picture of the folder is listed")
    s.check(s.wait_until(lambda: len(views(s)) == 1000, 60, 1), "1000 windows open", 1000, len(views(s)))
    s.click(*BUTTON["Clear"])
    s.check(s.wait_until(lambda: not views(s), 60, 0.5), "Clear closes every window", 0, len(views(s)))
    more = s.fixture("after.bmp", data)
    s.write_queue([more])
    s.check(more in wait_views(s, 1), "a window opens after the table was full")


def closing(s):
    """Closed picture windows leave no GDI objects behind: 300 of them, closed by Escape, the Remove button and
    Clear, after a first 100 (Wine's own caches grow with the first windows). Wine frees a bitmap deleted while
    still selected once its DC goes, so the in-process tests watch that cause as well."""
    data = pattern_bmp(16, 16)
    s.launch()
    before = 0
    for n in range(4):
        paths = [s.fixture(f"c{n}_{i:03d}.bmp", data) for i in range(100)]
        s.write_queue(paths)
        got = wait_views(s, 100, 90)
        s.type_keys(got[paths[0]][0], "esc")
        s.select(0)
        s.click(*BUTTON["Close"])  # removes the selected entry, paths[1]
        s.check(s.wait_until(lambda: len(views(s)) == 98, 10), f"round {n}: Escape and Remove close a window each")
        s.click(*BUTTON["Clear"])
        s.check(s.wait_until(lambda: not views(s), 60, 0.5), f"round {n}: Clear closes the rest", 0, len(views(s)))
        before = before or s.gui_objects("C")[0]
    after = s.gui_objects("C")[0]
    s.check(after - before <= 50, "300 windows opened and closed: GDI objects of the process", f"{before} + 50", after)


GROUPS = {"opening": opening, "tools": tools, "keys": keys, "many": many, "closing": closing}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
