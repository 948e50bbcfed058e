#!/usr/bin/env python3
"""Integration tests of the controller as a launcher: its buttons, popup menu,
skin overlays, list files and play lists, folder adding and its appearance at
the screen edge. The real lumatrove.exe under Wine, driven from outside; one
started program per group (two where the start-up settings are the point).

    run_launcher.py --exe lumatrove.exe --probe ltprobe.exe GROUP...
"""

import subprocess
import sys
import time

import fixtures
from lt_session import FILES_WIN, Failure, run_groups
from run_integration import ARRIVAL_MS, ini_values, line, lines_for, second_copy, win

# Press points in the controller's client area: the middle of each button of
# the top bar, and of each filter label of the bottom row.
BUTTON_NAMES = ("Open", "Folder", "Close", "Clear", "Option", "Quit")
BUTTON = {name: (31 + 59 * i, 10) for i, name in enumerate(BUTTON_NAMES)}
FILTER_Y = 198
FILTERS = {"AllFile": 30, "Graphic": 100, "Music": 160, "Sound": 220, "Movie": 280}
MARKER_X = {"AllFile": 15, "Graphic": 75, "Music": 142, "Sound": 197, "Movie": 253}
PIN = (330, 195)  # outside buttons and filters: toggles the pin
ELSEWHERE = (200, 100)  # over the list's panel: ends a press without an action
LIST_BOX = (8, 32, 344, 165)  # left, top, right, bottom (inclusive)

VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN, VK_F2, VK_F3 = 0x0D, 0x1B, 0x26, 0x28, 113, 114

LIST_HEADER = b"LumatroveList Ver5.0\r\n"
# The appearance timer polls every 300 ms, and a hide may wait one more tick
# (the leave counter): a change shows within APPEAR_MS; a steady state is
# watched for STEADY_MS, four ticks.
APPEAR_MS = 1500
STEADY_MS = 1200
# With the pointer in the trigger but outside the window, a tick may hide the
# window and show it again at once; such a gap is far shorter than this.
REAPPEAR_MS = 100


def list_file(paths):
    """How a list file is made: the header line, then each path, all Shift-JIS
    and ended by CR LF; a path with a comma is quoted so it reads back whole."""
    return LIST_HEADER + b"".join((f'"{p}"' if "," in p else p).encode("cp932") + b"\r\n" for p in paths)


def play_list(lines, end="\r\n"):
    """How an M3U play list is made: the given lines, Shift-JIS, each ended by `end`."""
    return "".join(text + end for text in lines).encode("cp932")


def wait_app_end(s, app, what, timeout=10):
    try:
        code = app.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        code = None
    s.check(code is not None, f"{what}: the process ends", "ended", "still running")
    s.equal(s.probe_run("wait-gone", 5000)[0], 0, f"{what}: the controller window is gone")


def menu_closed(s):
    """Waits until the popup menu has closed and its choice has run."""
    if not s.wait_until(lambda: s.probe_run("menu", 0)[0] != 0, 5):
        raise Failure("the popup menu stays open")
    time.sleep(0.2)


def program_dialogs(s):
    """Dialog boxes up in the controller's process (window rows carry the
    Windows process id, not the Linux one)."""
    rows = s.windows()
    ours = {w[1] for w in rows if w[3] == "Controller"}
    return [w for w in rows if w[1] in ours and w[2] == "#32770"]


def observe(s, app):
    """What a stray button action would change."""
    return {"lines": s.list_lines(), "rebuilds": s.prop("LtListBuilds"), "selected": s.probe("selected"),
            "dialogs": len(program_dialogs(s)), "panel": s.probe("panel"), "running": app.poll() is None}


# -- buttons, double click and the popup menu's list actions --------------------

def buttons(s):
    paths = [s.fixture("a.bmp", fixtures.bmp()), s.fixture("b.gif", fixtures.gif()),
             s.fixture("c.wav", fixtures.wav()), s.fixture("d.bmp", fixtures.bmp())]
    extra = s.fixture("e.bmp", fixtures.bmp())
    app = s.launch()
    s.write_queue(paths)
    s.equal(s.wait_count(4, ARRIVAL_MS), 4, "four files are added")
    everything = lines_for(paths)

    # A double click on a line selects it and opens its entry (which does
    # not show in the list); the list itself stays as it is.
    s.probe("select", 0)
    builds = s.prop("LtListBuilds")
    s.probe("dblclick", 2)
    s.equal(s.probe("selected"), "2", "double click on line 3: the line is selected")
    s.equal(s.list_lines(), everything, "double click: list unchanged")
    s.equal(s.prop("LtListBuilds"), builds, "double click: list not rebuilt")

    # A press on one button released anywhere outside that button's release
    # area ends the press and does nothing.
    s.probe("select", 1)
    before = observe(s, app)
    half_clicks = [
        ("Clear pressed, released over Option", BUTTON["Clear"], BUTTON["Option"]),
        ("Option pressed, released over Clear", BUTTON["Option"], BUTTON["Clear"]),
        ("Close pressed, released below its area (149, 21)", BUTTON["Close"], (149, 21)),
        ("Quit pressed, released over the list", BUTTON["Quit"], ELSEWHERE),
        ("Open pressed, released over Folder", BUTTON["Open"], BUTTON["Folder"]),
    ]
    for r, (what, down, up) in enumerate(half_clicks, 1):
        s.probe("press", *down)
        s.probe("release", *up)
        time.sleep(0.2)  # a wrongly opened dialog would be up by now
        s.equal(observe(s, app), before, f"row {r}: {what}: nothing happens")

    # The settings panel: the Option button switches it, F2 shows it and F3
    # hides it, whether the keys reach the window or its list.
    panel_rows = [
        ("Option", lambda: s.click(*BUTTON["Option"]), "1"),
        ("Option again", lambda: s.click(*BUTTON["Option"]), "0"),
        ("F2", lambda: s.probe("key", VK_F2), "1"),
        ("F3", lambda: s.probe("key", VK_F3), "0"),
        ("F2 on the list", lambda: s.probe("key", VK_F2, "list"), "1"),
        ("Option after F2", lambda: s.click(*BUTTON["Option"]), "0"),
        ("F2 on the list again", lambda: s.probe("key", VK_F2, "list"), "1"),
        ("F3 on the list", lambda: s.probe("key", VK_F3, "list"), "0"),
    ]
    for r, (what, act, want) in enumerate(panel_rows, 1):
        act()
        # Keys through the list arrive as posted messages.
        s.wait_until(lambda: s.probe("panel") == want, 2)
        s.equal(s.probe("panel"), want, f"panel row {r}: {what}: panel {'shown' if want == '1' else 'hidden'}")
    s.equal(s.list_lines(), everything, "settings panel switching leaves the list alone")

    # Removing the selected entry, by the Close button and by the menu's
    # "ﾌｧｲﾙ消去(&C)". The selection follows the index: it lands on the entry
    # that took the removed one's place, or on nothing past the end.
    a, b, c, d = paths
    close = lambda: s.click(*BUTTON["Close"])  # noqa: E731
    remove_rows = [
        # what, line selected first, action, files left, line selected after, rebuilds
        ("Close button, line 2 selected", 1, close, [a, c, d], 1, 1),
        ("Close button, nothing selected", -1, close, [a, c, d], -1, 0),
        ("Close pressed at y 19, released at y 20 (edges of its areas)", 0,
         lambda: (s.probe("press", 149, 19), s.probe("release", 149, 20)), [c, d], 0, 1),
        ("menu (&C), line 2 selected", 1, lambda: s.menu("C"), [c], -1, 1),
        ("menu (&C), nothing selected", -1, lambda: s.menu("C"), [c], -1, 0),
        ("menu closed with Escape", 0, lambda: s.menu(VK_ESCAPE), [c], 0, 0),
    ]
    for r, (what, select, act, left, selected, rebuilds) in enumerate(remove_rows, 1):
        s.probe("select", select)
        builds = s.prop("LtListBuilds")
        act()
        menu_closed(s)
        want = lines_for(left)
        s.equal(s.list_lines(), want, f"remove row {r}: {what}: lines")
        s.equal(int(s.probe("selected")), selected, f"remove row {r}: {what}: selected line")
        s.equal(s.prop("LtListBuilds") - builds, rebuilds, f"remove row {r}: {what}: list rebuilds")

    # A right press on the list opens the same menu.
    s.probe("rclick-list", 0)
    s.check(s.probe_run("menu", 5000)[0] == 0, "a right press on the list opens the popup menu")
    # Escape closes it; under Wine without a window manager a posted press
    # now and then loses the menu's activation first, which closes it too.
    s.probe_run("menu-keys", VK_ESCAPE)
    menu_closed(s)

    # Open: the release area starts one pixel left of the press area. The
    # open dialog adds the chosen file; cancelled, it adds nothing.
    builds = s.prop("LtListBuilds")
    s.probe("post-click", 2, 10, 1, 10)
    s.check(s.probe_run("file-dialog", "--cancel")[0] == 0,
            "Open pressed at x 2, released at x 1: the open dialog comes up")
    time.sleep(0.3)
    s.equal(s.prop("LtListBuilds"), builds, "a cancelled open dialog adds nothing")
    s.probe("post-click", *BUTTON["Open"])
    s.probe("file-dialog", extra)
    s.equal(s.wait_count(2, ARRIVAL_MS), 2, "Open: the chosen file is added")
    s.equal(s.list_lines(), [line(1, c), line(2, extra)], "Open: the chosen file is the new last line")

    # "全消去(&A)" empties the list; Quit ends the program.
    s.menu("A")
    s.equal(s.wait_count(0, ARRIVAL_MS), 0, "menu (&A) empties the list")
    s.click(*BUTTON["Quit"])
    wait_app_end(s, app, "Quit")
    volume = ini_values(s.settings_file.read_bytes()).get("MusicPlayer", {}).get("Volume")
    s.equal(volume, "100", "Quit runs the normal shutdown (the volume is written)")


# -- skin overlays -------------------------------------------------------------------

def diff_box(a, b, width, skip=LIST_BOX):
    """Bounding box (left, top, right, bottom) of the pixels that differ
    between two RGB images, leaving out the list box; None when none differ."""
    box = None
    for y in range(len(a) // (3 * width)):
        row = slice(3 * width * y, 3 * width * (y + 1))
        if a[row] == b[row]:
            continue
        for x in range(width):
            i = 3 * (width * y + x)
            if a[i:i + 3] == b[i:i + 3] or (skip[0] <= x <= skip[2] and skip[1] <= y <= skip[3]):
                continue
            box = (x, y, x, y) if box is None else (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
    return box


def differs_in(a, b, width, area):
    """True when any pixel of area (left, top, right, bottom) differs."""
    return any(a[3 * (width * y + area[0]):3 * (width * y + area[2] + 1)]
               != b[3 * (width * y + area[0]):3 * (width * y + area[2] + 1)] for y in range(area[1], area[3] + 1))


def inside(box, area):
    return box is not None and area[0] <= box[0] and area[1] <= box[1] and box[2] <= area[2] and box[3] <= area[3]


def overlays(s):
    app = s.launch()
    left, top, right, bottom = s.rect()
    width = right - left
    screen = (left, top, width, bottom - top)

    def settled(pred, timeout=3.0):
        """The window's picture once pred holds for it: the paint follows a
        handled press a little later."""
        end = time.monotonic() + timeout
        while True:
            img = s.grab(screen)
            if pred(img) or time.monotonic() >= end:
                return img
            time.sleep(0.1)

    # A fresh start with the default settings: pinned, so the tack shows.
    normal, again = None, s.grab(screen)
    while again != normal:  # until two pictures in a row agree
        normal = again
        time.sleep(0.2)
        again = s.grab(screen)

    for i, name in enumerate(BUTTON_NAMES):
        s.probe("press", *BUTTON[name])
        held = settled(lambda img: img != normal)
        area = (2 + 59 * i, 2, 60 + 59 * i, 18)
        got = diff_box(normal, held, width)
        s.check(inside(got, area), f"{name} held: only the button's 59 x 17 place is redrawn", area, got)
        s.probe("release", *ELSEWHERE)
        s.check(settled(lambda img: img == normal) == normal,
                f"{name} released outside: the bar is drawn normal again")
    s.check(app.poll() is None and s.probe("panel") == "0", "releasing outside the buttons ran none of them")

    old = (15, 190, 29, 204)
    for name in ("Graphic", "Music", "Sound", "Movie"):
        s.click(FILTERS[name], FILTER_Y)
        img = settled(lambda img: img != normal)
        x = MARKER_X[name]
        new = (x, 190, x + 14, 204)
        both = (min(old[0], new[0]), 190, max(old[2], new[2]), 204)
        got = diff_box(normal, img, width)
        s.check(inside(got, both), f"filter {name}: only the marker's old and new places change", both, got)
        s.check(differs_in(normal, img, width, new) and differs_in(normal, img, width, old),
                f"filter {name}: the marker leaves x 15 and is drawn at x {x}")
    s.click(FILTERS["AllFile"], FILTER_Y)
    s.check(settled(lambda img: img == normal) == normal, "filter AllFile: the marker is back at x 15")

    s.click(*PIN)
    unpinned = settled(lambda img: img != normal)
    tack = (320, 184, 340, 204)
    got = diff_box(normal, unpinned, width)
    s.check(inside(got, tack), "pin released: only the 21 x 21 tack at (320, 184) goes", tack, got)
    s.click(*PIN)
    s.check(settled(lambda img: img == normal) == normal, "pinned again: the tack is back")


# -- list files -----------------------------------------------------------------------

def save_list(s):
    out = s.files_dir / "out"
    out.mkdir()
    paths = [s.fixture("a.bmp", fixtures.bmp()), s.fixture("b,c.bmp", fixtures.bmp()),
             s.fixture("写真.bmp", fixtures.bmp()), s.fixture("d.wav", fixtures.wav()),
             s.fixture("e.gif", fixtures.gif())]
    saved = out / "saved.ltl"
    saved_win = f"{FILES_WIN}\\out\\saved.ltl"
    app = s.launch()
    s.write_queue(paths)
    s.equal(s.wait_count(len(paths), ARRIVAL_MS), len(paths), "five files are added")

    # "ﾘｽﾄ出力(&L)" opens the save dialog; the typed name gets the default
    # extension.
    s.menu("L")
    offered = s.probe("file-dialog", f"{FILES_WIN}\\out\\saved").partition("\t")[2]
    s.equal(offered, "", "the first save dialog offers no name")
    s.check(s.wait_until(saved.exists, 10), "the list is written to the typed name with .ltl added",
            str(saved), sorted(p.name for p in out.iterdir()))
    s.equal(saved.read_bytes() if saved.exists() else None, list_file(paths),
            "list file bytes: header, then each path (a comma path quoted), CR LF each")

    # Read back through a second start: the files it names, in its order, and
    # not the list file itself.
    s.click(*BUTTON["Clear"])
    s.equal(s.count(), 0, "the list is cleared before reading it back")
    second_copy(s, "the list file", saved_win)
    s.equal(s.wait_count(len(paths), ARRIVAL_MS), len(paths), "reading the list file adds its five files")
    s.equal(s.list_lines(), lines_for(paths), "read back: the same paths in the same order")
    builds = s.prop("LtListBuilds")
    second_copy(s, "the list file again", saved_win)
    s.check(s.wait_until(lambda: s.prop("LtListBuilds") > builds and not s.queue_file.exists(), 5),
            "the second reading is drained")
    s.equal(s.list_lines(), lines_for(paths), "reading the list file twice adds nothing new")

    # The next save offers the last name; saving an empty list over it leaves
    # the header alone. Down five times and Return choose the same item.
    s.click(*BUTTON["Clear"])
    s.menu(*[VK_DOWN] * 5, VK_RETURN)
    offered = s.probe("file-dialog").partition("\t")[2]
    s.equal(offered, "saved.ltl", "the next save dialog offers the last saved name")
    s.check(s.wait_until(lambda: saved.read_bytes() == LIST_HEADER, 10),
            "saving an empty list over the old file writes the header line only", LIST_HEADER, saved.read_bytes())

    # A cancelled save writes nothing.
    s.fixture("f.bmp", fixtures.bmp())
    s.run_app(win("f.bmp"))
    s.wait_count(1, ARRIVAL_MS)
    s.menu("L")
    s.probe("file-dialog", "--cancel")
    time.sleep(0.5)
    s.equal(saved.read_bytes(), LIST_HEADER, "a cancelled save leaves the file as it was")
    s.equal(sorted(p.name for p in out.iterdir()), ["saved.ltl"], "a cancelled save leaves no other file")

    # "終了(Alt+F4)", the last item (Up from no selection), ends the program.
    s.menu(VK_UP, VK_RETURN)
    wait_app_end(s, app, "menu 終了")


def m3u(s):
    folder = s.files_dir / "pl"
    (folder / "sub").mkdir(parents=True)
    pl = f"{FILES_WIN}\\pl"
    for name in ("a.bmp", "写真.bmp", "d.bmp"):
        (folder / name).write_bytes(fixtures.bmp())
    (folder / "sub" / "b.gif").write_bytes(fixtures.gif())
    (folder / "c.wav").write_bytes(fixtures.wav())
    absolute = s.fixture("abs.bmp", fixtures.bmp())
    (folder / "list.m3u").write_bytes(play_list([
        "#EXTM3U", "#EXTINF:12,Artist - Title", "a.bmp", "sub\\b.gif", absolute, "missing.bmp", "",
        "c.wav", "   写真.bmp"]))
    (folder / "MORE.M3U").write_bytes(play_list(["a.bmp", "d.bmp"], end="\n"))
    s.launch()

    first = [f"{pl}\\a.bmp", f"{pl}\\sub\\b.gif", f"{pl}\\c.wav", f"{pl}\\写真.bmp"]
    rows = [
        ("list.m3u: relative names only (no #-lines, absolute, missing or empty names)", "list.m3u", first),
        ("MORE.M3U (LF ends, upper-case extension): only the name not yet listed", "MORE.M3U",
         first + [f"{pl}\\d.bmp"]),
    ]
    for r, (what, name, want) in enumerate(rows, 1):
        second_copy(s, f"row {r}", f"{pl}\\{name}")
        s.wait_count(len(want), ARRIVAL_MS)
        s.wait_until(lambda: not s.queue_file.exists(), 2)
        time.sleep(0.3)  # room for a wrong addition to show
        s.equal(s.list_lines(), lines_for(want), f"row {r}: {what}")


def drop_list(s):
    files = [s.fixture("a.bmp", fixtures.bmp()), s.fixture("写真.bmp", fixtures.bmp()),
             s.fixture("c,d.gif", fixtures.gif())]
    more = s.fixture("e.bmp", fixtures.bmp())
    ltl = s.fixture("dropped.ltl", list_file(files))
    bad = s.fixture("bad.ltl", b"SomeOtherList Ver5.0\r\n" + more.encode("cp932") + b"\r\n")
    play = s.fixture("p.m3u", play_list(["e.bmp", "a.bmp"]))
    s.launch()
    rows = [
        ("a list file: the files it names, not itself", ltl, files),
        ("a file with another header: nothing", bad, files),
        ("an M3U file: its new name only", play, files + [more]),
    ]
    for r, (what, path, want) in enumerate(rows, 1):
        s.probe("drop", path, timeout=90)
        s.equal(s.list_lines(), lines_for(want), f"row {r}: dropped {what}")


# -- folders --------------------------------------------------------------------------

def folder(s):
    f = s.files_dir / "f"
    (f / "sub").mkdir(parents=True)
    # Pictures and a sound are added; a text file is of no known kind; a dot
    # file is hidden under Wine; h.bmp is made hidden with attrib below; the
    # sub-folder's file is not in the folder itself.
    for name, data in (("p1.bmp", fixtures.bmp()), ("p2.gif", fixtures.gif()), ("s3.wav", fixtures.wav()),
                       ("notes.txt", fixtures.text()), (".dot.bmp", fixtures.bmp()), ("h.bmp", fixtures.bmp())):
        (f / name).write_bytes(data)
    (f / "sub" / "inner.bmp").write_bytes(fixtures.bmp())
    (s.files_dir / "g").mkdir()
    (s.files_dir / "g" / "q.bmp").write_bytes(fixtures.bmp())
    fw, gw = f"{FILES_WIN}\\f", f"{FILES_WIN}\\g"
    app = s.launch()

    attrib = subprocess.run(["wine", "attrib", "+h", f"{fw}\\h.bmp"], env=s.env, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=60)
    shown = subprocess.run(["wine", "attrib", f"{fw}\\h.bmp"], env=s.env, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=60)
    if attrib.returncode != 0 or "H" not in shown.stdout.decode(errors="replace").split("C:")[0]:
        raise Failure(f"cannot make h.bmp hidden: {shown.stdout!r}")

    # The Folder button opens the browser with the program's title text.
    s.probe("post-click", *BUTTON["Folder"])
    texts = s.probe("browse", fw).split("\n")[0]
    s.check("フォルダを選択してください" in texts, "the folder browser shows the title text",
            "フォルダを選択してください", texts)
    expected = [f"{fw}\\{n}" for n in ("p1.bmp", "p2.gif", "s3.wav")]
    s.equal(s.wait_count(3, ARRIVAL_MS), 3, "the folder's three ordinary files of known kinds are added")
    got = s.list_lines()
    # The order is the file system's.
    s.equal(sorted(t.split(" ", 1)[1] for _, t in got), expected,
            "no hidden file, no sub-folder file, no file of unknown kind")
    s.equal([d for d, _ in got], [1, 2, 3], "folder files are numbered 1 to 3")
    after_f = got

    # Cancelled: nothing added, no rebuild.
    builds = s.prop("LtListBuilds")
    s.probe("post-click", *BUTTON["Folder"])
    s.probe("browse")
    time.sleep(0.3)
    s.equal(s.list_lines(), after_f, "a cancelled browser adds nothing")
    s.equal(s.prop("LtListBuilds"), builds, "a cancelled browser does not rebuild the list")

    # The menu's "ﾌｫﾙﾀﾞ(&F)" does the same.
    s.menu("F")
    s.probe("browse", gw)
    s.equal(s.wait_count(4, ARRIVAL_MS), 4, "menu (&F): the other folder's file is added")
    s.equal(s.list_lines(), after_f + [line(4, f"{gw}\\q.bmp")], "menu (&F): appended after the first folder")

    # The same folder again: nothing new, one rebuild for the batch.
    builds = s.prop("LtListBuilds")
    before = s.list_lines()
    s.probe("post-click", *BUTTON["Folder"])
    s.probe("browse", fw)
    s.check(s.wait_until(lambda: s.prop("LtListBuilds") == builds + 1, 5),
            "the same folder again: the list is rebuilt once", builds + 1, s.prop("LtListBuilds"))
    s.equal(s.list_lines(), before, "the same folder again: nothing new")
    s.check(app.poll() is None, "the program still runs")


# -- edge-triggered appearance ----------------------------------------------------------

EDGE_SETTINGS = (b"[System]\r\nXPos=100\r\nYPos=100\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\nYEnd=0\r\n"
                 b"Visible=%d\r\n")


def expect_visibility(s, what, want, then=None):
    """want: "shows" / "hides" (the state changes to it within APPEAR_MS and
    stays), or "stays shown" / "stays hidden" (no change while watched).
    `then` runs once the watching has begun (it moves the pointer, say)."""
    if want.startswith("stays"):
        state = 1 if want == "stays shown" else 0
        samples = s.watch_visible(STEADY_MS, then)
        # Watching may begin inside a blink left from the step before (the
        # pointer was in the trigger but outside the window).
        steady = samples
        if state == 1 and len(samples) > 1 and samples[0][1] == 0 and samples[1][0] < REAPPEAR_MS:
            steady = samples[1:]
        s.check(all(v == state for _, v in steady), f"{what}: {want}", f"{state} throughout", samples)
        return
    state = 1 if want == "shows" else 0
    samples = s.watch_visible(APPEAR_MS, then)
    # After it came up, the window may only blink (hidden and shown in the
    # same tick).
    blinks = [later[0] - at for (at, v), later in zip(samples[1:], samples[2:]) if v == 0]
    ok = (samples[0][1] != state and len(samples) > 1 and samples[1][1] == state and samples[-1][1] == state
          and all(gap < REAPPEAR_MS for gap in blinks))
    s.check(ok, f"{what}: {want} within {APPEAR_MS} ms", f"{1 - state} then {state}", samples)


def edge(s):
    # Without a window manager Wine would stall each hide for two seconds.
    s.unmanaged_windows()
    s.settings_file.write_bytes(EDGE_SETTINGS % 0)
    app = s.launch()
    left, top, right, bottom = s.rect()
    s.equal((left, top), (100, 100), "the window sits at XPos, YPos")

    # Trigger rectangle x 0..354, y 0; window x 100..456, y 100..308. Its
    # edges count as inside, so do the window's far boundaries (x 457, y 309).
    rows = [
        ("start with Visible=0, pointer in the middle", None, "stays hidden"),
        ("one pixel right of the trigger (355, 0)", (355, 0), "stays hidden"),
        ("one pixel below the trigger (10, 1)", (10, 1), "stays hidden"),
        ("trigger's right end (354, 0)", (354, 0), "shows"),
        ("inside the window (200, 200)", (200, 200), "stays shown"),
        ("window's right boundary (457, 200)", (457, 200), "stays shown"),
        ("one pixel further right (458, 200)", (458, 200), "hides"),
        ("trigger's left end (0, 0)", (0, 0), "shows"),
        ("window's bottom boundary (300, 309)", (300, 309), "stays shown"),
        ("one pixel further down (300, 310)", (300, 310), "hides"),
        ("pointer at (10, 0)", (10, 0), "shows"),
        ("window's left edge (100, 200)", (100, 200), "stays shown"),
        ("one pixel left (99, 200)", (99, 200), "hides"),
        ("pointer at (10, 0) again", (10, 0), "shows"),
        ("window's top edge (200, 100)", (200, 100), "stays shown"),
        ("pointer away (600, 500)", (600, 500), "hides"),
    ]
    for r, (what, at, want) in enumerate(rows, 1):
        expect_visibility(s, f"row {r}: {what}", want, then=at and (lambda: s.pointer(*at)))

    # Pinned, and while the settings panel or a dialog of the controller is
    # open, the window stays whatever the pointer does.
    holds = [
        ("pinned (press at (330, 195))", lambda: s.click(*PIN), lambda: s.click(*PIN)),
        ("settings panel open (Option)", lambda: s.click(*BUTTON["Option"]),
         lambda: s.click(*BUTTON["Option"])),
        ("folder browser up", lambda: (s.probe("post-click", *BUTTON["Folder"]), s.probe("dialog")),
         lambda: s.probe("browse")),
        ("open dialog up", lambda: (s.probe("post-click", *BUTTON["Open"]), s.probe("dialog")),
         lambda: s.probe("file-dialog", "--cancel")),
    ]
    for r, (what, hold, let_go) in enumerate(holds, 1):
        expect_visibility(s, f"hold {r}: {what}: pointer at the trigger", "shows", then=lambda: s.pointer(10, 0))
        s.pointer(200, 200)
        hold()
        expect_visibility(s, f"hold {r}: {what}: pointer away", "stays shown", then=lambda: s.pointer(600, 500))
        expect_visibility(s, f"hold {r}: {what} ended: pointer still away", "hides", then=let_go)

    # Visible=1: shown at start and pinned, so it stays; the pin lets go.
    s.probe("close")
    wait_app_end(s, app, "closing the Visible=0 run")
    s.settings_file.write_bytes(EDGE_SETTINGS % 1)
    app = s.launch()
    s.pointer(600, 500)
    s.equal(s.probe("visible"), "1", "Visible=1: shown at start")
    expect_visibility(s, "Visible=1, pointer away", "stays shown")
    expect_visibility(s, "Visible=1, pin released, pointer away", "hides", then=lambda: s.click(*PIN))
    expect_visibility(s, "Visible=1, pointer at the trigger", "shows", then=lambda: s.pointer(10, 0))


GROUPS = {
    "buttons": buttons,
    "overlays": overlays,
    "save_list": save_list,
    "m3u": m3u,
    "drop_list": drop_list,
    "folder": folder,
    "edge": edge,
}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
