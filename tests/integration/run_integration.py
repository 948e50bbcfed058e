#!/usr/bin/env python3
"""Integration tests: the real lumatrove.exe under Wine, driven and read from
outside. One group per area; each starts its program once (twice where the
start-up settings are the point) and checks several things.

    run_integration.py --exe lumatrove.exe --probe ltprobe.exe GROUP...
"""

import configparser
import contextlib
import ctypes
import os
import subprocess
import sys
import time

from fixtures import (BUTTON, BUTTON_NAMES, ELSEWHERE, FILTER_Y, FILTERS, LIST_HEADER, MARKER_X, PIN, VK_DOWN,
                      VK_ESCAPE, VK_F2, VK_F3, VK_RETURN, VK_UP, bmp, gif, jpeg_header, line, lines_for, list_file,
                      midi, wav, win)
from lt_session import FILES_WIN, SC_MINIMIZE, WM_SYSCOMMAND, Failure, run_groups, win_path

DEFAULT_SETTINGS = (b"[System]\r\nXPos=0\r\nYPos=0\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\nYEnd=0\r\n"
                    b"Visible=1\r\n\r\n\0\0\0")
QUICK_EXIT_S = 5.0  # a second start that only hands over its command line; Wine's start-up is most of it
ARRIVAL_MS = 3000  # the queue timer runs every 100 ms; room for a loaded machine
LIST_BOX = (8, 32, 344, 165)  # left, top, right, bottom (inclusive)


def ini_values(raw):
    """Section -> key -> value, read the way the profile functions read."""
    ini = configparser.ConfigParser(interpolation=None, strict=False)
    ini.optionxform = str
    ini.read_string(raw.decode("cp932", errors="replace").replace("\0", ""))
    return {name: dict(ini[name]) for name in ini.sections()}


def second_copy(s, what, *args):
    """Another copy, which must end at once."""
    code, secs = s.run_app(*args)
    s.check(code == 0 and secs < QUICK_EXIT_S, f"{what}: the second copy ends at once", "exit 0",
            f"exit {code} after {secs:.1f} s")


def wait_app_end(s, app, what, timeout=10):
    s.check(s.ended(app, timeout) is not None and s.probe_run("gone", "C", 5000)[0] == 0, f"{what}: the process and window end")


def settle(s):
    """The list lines once the queue drained and a wrong addition had time to show."""
    s.wait_until(lambda: not s.queue_file.exists(), 2)
    time.sleep(0.3)
    return s.list_lines()


def menu_closed(s):
    if not s.wait_until(lambda: s.probe_run("menu", 0)[0] != 0, 5):
        raise Failure("the popup menu stays open")
    time.sleep(0.2)


# -- start-up, options, shutdown ---------------------------------------------------

def startup(s):
    lib = s.windir / "ltmp3.dll"
    s.check(not s.settings_file.exists() and not lib.exists(), "fresh prefix holds no settings file and no library")
    app = s.launch()
    s.equal(s.settings_file.read_bytes(), DEFAULT_SETTINGS, "first start writes the 80 default bytes of Lumatrove.ini")
    s.check(lib.exists() and lib.read_bytes()[:2] == b"MZ", "first start writes ltmp3.dll (a PE image)")
    s.check(not s.queue_file.exists() and s.count() == 0, "no queue file, empty list")
    s.equal(len([w for w in s.windows() if w[3] == "Controller"]), 1, "one visible controller window")

    # "/S" while a copy runs ends without a word; "/s" is a file name, queued,
    # drained (one rebuild) and dropped as missing.
    windows, builds = s.windows(), s.prop("LtListBuilds")
    second_copy(s, '"/S"', "/S")
    time.sleep(0.3)
    s.equal((s.windows(), s.queue_file.exists(), s.count(), s.prop("LtListBuilds")), (windows, False, 0, builds),
            '"/S": no window comes or goes, nothing queued, the list untouched and not rebuilt')
    second_copy(s, '"/s"', "/s")
    s.check(s.wait_until(lambda: s.prop("LtListBuilds") == builds + 1 and not s.queue_file.exists(), 3),
            '"/s": drained with one rebuild, nothing added', builds + 1, s.prop("LtListBuilds"))

    # An empty command line brings a minimised controller back, active.
    s.send("C", (WM_SYSCOMMAND, SC_MINIMIZE, 0), post=True)
    s.wait_until(lambda: s.info("C")[0].iconic, 5)
    second_copy(s, "empty command line")
    s.check(s.wait_until(lambda: (lambda w: w.visible and not w.iconic)(s.info("C")[0]), 3),
            "empty command line: the controller is restored")
    s.check(s.wait_until(lambda: s.info("C")[0].foreground, 2), "empty command line: the controller is active")

    s.post_close()
    wait_app_end(s, app, "closing the controller")
    settings = s.settings_file.read_bytes()
    values = ini_values(settings)
    s.equal(values.get("MusicPlayer", {}).get("Volume"), "100", "closing writes [MusicPlayer] Volume")
    s.equal(values.get("System"), ini_values(DEFAULT_SETTINGS)["System"], "closing keeps the [System] section")

    # A leftover queue file goes with the next plain start, unread; a
    # controller that lives hidden stays hidden on an empty command line.
    s.write_queue([s.fixture("left.bmp", bmp())])
    hidden = settings.replace(b"Visible=1", b"Visible=0")
    s.settings_file.write_bytes(hidden)
    s.launch()
    s.check(not s.queue_file.exists(), "a start without paths removes a leftover queue file")
    s.equal(s.settings_file.read_bytes(), hidden, "a later start leaves the settings file as it is")
    s.equal((s.visible(), settle(s)), (False, []), "Visible=0 starts hidden; the leftover paths are not added")
    second_copy(s, "hidden controller, empty command line")
    time.sleep(0.5)
    s.equal(s.visible(), False, "hidden controller, empty command line: it stays hidden")


# -- second starts and the command queue ---------------------------------------------

def second_start(s):
    for name in ("one.bmp", "a.bmp", "my photo.bmp", "写真.bmp"):
        s.fixture(name, bmp())
    s.fixture("b.gif", gif())
    s.fixture("c.jpg", jpeg_header())
    # Ten copies let run at one moment, each with a path (the shell opening ten selected files): the one that
    # takes the instance mutex shows the controller, the others queue and end.
    ten = [s.fixture(f"{i}.mid", midi()) for i in range(10)]
    s.equal(s.probe("start-together", win_path(s.exe), *ten, timeout=60).strip(), "running=1", "all but one copy end")
    hwnd = s.probe("find", "C", 20000, timeout=40)
    s.equal(s.wait_count(10, 15000), 10, "every path of ten simultaneous starts is listed")
    s.equal(sorted(text.split(" ", 1)[1] for _, text in s.list_lines()), sorted(ten), "the listed paths")
    s.equal(sum(w[3] == "Controller" for w in s.windows()), 1, "one controller window")
    s.click(*BUTTON["Clear"])
    # Quoting and padding of a command line are the unit tests' (and the bulk
    # queue's below), which files count the in-process tests'; here the way
    # from a second start to the list.
    rows = [  # what, argument, files added
        ("one path", win("one.bmp"), ["one.bmp"]),
        ("three paths separated by CR LF", "\r\n".join(map(win, ("a.bmp", "b.gif", "c.jpg"))),
         ["a.bmp", "b.gif", "c.jpg"]),
        ("a path with a blank (quoted by Wine)", win("my photo.bmp"), ["my photo.bmp"]),
        ("a Japanese file name", win("写真.bmp"), ["写真.bmp"]),
    ]
    expected = []
    for r, (what, arg, added) in enumerate(rows, 1):
        second_copy(s, f"row {r} ({what})", arg)
        expected += lines_for(map(win, added), len(expected) + 1)
        s.wait_count(len(expected), ARRIVAL_MS)
        s.equal((settle(s), s.queue_file.exists()), (expected, False), f"row {r} ({what}): list lines, queue gone")
    s.equal(s.probe("find", "C"), hwnd, "the same controller window ran throughout")

    # One queue file of many records: one drain and one rebuild, in order.
    # (Cleaning a record is the unit tests'.)
    first = len(expected) + 1
    bulk = [s.fixture(f"b{i:03d}.bmp", bmp()) for i in range(300)]
    builds = s.prop("LtListBuilds")
    s.write_queue(bulk)
    s.wait_count(first - 1 + len(bulk), 20000)
    s.equal(s.list_lines()[first - 1:], lines_for(bulk, first), "queued records: list lines in queue order")
    s.equal(s.prop("LtListBuilds"), builds + 1, "queued records: one list rebuild for the whole drain")


# -- drops, list files and play lists --------------------------------------------------

def drops(s):
    s.launch()
    files = [s.fixture("d1.bmp", bmp()), s.fixture("写真.bmp", bmp()), s.fixture("d,3.gif", gif())]
    builds = s.prop("LtListBuilds")
    s.probe("drop", *files, timeout=90)
    s.equal(s.list_lines(), lines_for(files), "three dropped files are added in the order given")
    s.equal((s.prop("LtListBuilds") - builds, s.selected()), (3, 2),
            "dropped files: a rebuild after each one, the last one selected")

    # Which files a drop takes and what list files and play lists name are
    # the in-process tests'; here a drop reaching the list reader.
    more = s.fixture("e.bmp", bmp())
    s.probe("drop", win("no.bmp"), s.fixture("x.ltl", list_file([files[2], more, files[0]])), timeout=90)
    s.equal(s.list_lines(), lines_for(files + [more]), "a dropped list file adds the new files it names")


# -- the controller: skin, buttons, list, menu ------------------------------------------

def diff_box(a, b, width, skip=LIST_BOX):
    """Bounding box of the pixels that differ outside the list box, or None."""
    xs, ys = [], []
    for i in (i for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3]):
        x, y = i // 3 % width, i // 3 // width
        if not (skip[0] <= x <= skip[2] and skip[1] <= y <= skip[3]):
            xs.append(x)
            ys.append(y)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def inside(box, area):
    return box is not None and area[0] <= box[0] and area[1] <= box[1] and box[2] <= area[2] and box[3] <= area[3]


def overlays(s, app):
    left, top, right, bottom = s.rect()
    width, screen = right - left, (left, top, right - left, bottom - top)

    def settled(pred):
        """The window's picture once pred holds (the paint follows a press a little later)."""
        img = s.grab(screen)
        end = time.monotonic() + 3
        while not pred(img) and time.monotonic() < end:
            time.sleep(0.1)
            img = s.grab(screen)
        return img

    normal, again = None, s.grab(screen)
    while again != normal:  # until two pictures in a row agree
        normal, again = again, (time.sleep(0.2), s.grab(screen))[1]
    changes = [(f"{n} held", lambda n=n: s.press(*BUTTON[n]), (2 + 59 * i, 2, 60 + 59 * i, 18),
                lambda: s.release(*ELSEWHERE)) for i, n in enumerate(BUTTON_NAMES)]
    changes += [(f"filter {n}", lambda n=n: s.click(FILTERS[n], FILTER_Y), (15, 190, MARKER_X[n] + 14, 204),
                 lambda: s.click(FILTERS["AllFile"], FILTER_Y)) for n in ("Graphic", "Music", "Sound", "Movie")]
    changes.append(("pin released: the tack goes", lambda: s.click(*PIN), (320, 184, 340, 204),
                    lambda: s.click(*PIN)))
    for what, act, area, undo in changes:
        act()
        got = diff_box(normal, settled(lambda img: img != normal), width)
        s.check(inside(got, area), f"{what}: only {area} is redrawn", area, got)
        undo()
        s.check(settled(lambda img: img == normal) == normal, f"{what}, then undone: drawn normal again")
    s.check(app.poll() is None and not s.panel(), "releasing outside the buttons ran none of them")


def controls(s):
    app = s.launch()
    # The pointer rests on the window, as a user's does when clicking: an
    # unpinned controller with the pointer away hides at the next edge tick.
    left, top, _, _ = s.rect()
    s.pointer(left + 200, top + 100)
    overlays(s, app)
    paths = [s.fixture("p1.bmp", bmp()), s.fixture("s2.wav", wav()), s.fixture("m3.mid", midi()),
             s.fixture("p4.gif", gif()), s.fixture("p5.jpg", jpeg_header())]
    # Playing the MIDI file may end in a message box on a machine without a
    # synthesiser; queued, so no drop waits on it.
    s.write_queue(paths)
    s.equal(s.wait_count_dismissing(5), 5, "five files of four kinds are added")
    everything = lines_for(paths)
    pictures = [everything[i] for i in (0, 3, 4)]

    # Filters, at the edges of their press areas; numbers keep their gaps, the
    # selection stays while its entry is shown.
    s.select(4)
    rows = [("Graphic", (FILTERS["Graphic"], FILTER_Y), pictures, 2),
            ("AllFile at its right edge (72, 200)", (72, 200), everything, 4),
            ("Graphic at its left edge (73, 200)", (73, 200), pictures, 2),
            ("Sound", (FILTERS["Sound"], FILTER_Y), [everything[1]], -1),
            ("Music", (FILTERS["Music"], FILTER_Y), [everything[2]], -1),
            ("Movie at its right edge (313, 188)", (313, 188), [], -1),
            ("AllFile at (0, 208)", (0, 208), everything, -1)]
    for r, (what, at, want, selected) in enumerate(rows, 1):
        s.click(*at)
        s.equal((s.list_lines(), s.selected()), (want, selected), f"filter row {r}: {what}")

    # A double click selects and opens its line's entry; the list stays.
    builds = s.prop("LtListBuilds")
    s.dblclick_line(3)
    s.equal((s.selected(), s.list_lines(), s.prop("LtListBuilds")), (3, everything, builds),
            "double click on line 4: selected, list unchanged, not rebuilt")

    # A press released outside its button's release area does nothing.
    def observe():
        return (s.list_lines(), s.prop("LtListBuilds"), s.selected(), s.panel(), app.poll() is None,
                len([w for w in s.windows() if w[2] == "#32770"]))
    before = observe()
    for r, (what, down, up) in enumerate([
            ("Clear pressed, released over Option", BUTTON["Clear"], BUTTON["Option"]),
            ("Option pressed, released over Clear", BUTTON["Option"], BUTTON["Clear"]),
            ("Close pressed, released below its area (149, 21)", BUTTON["Close"], (149, 21)),
            ("Quit pressed, released over the list", BUTTON["Quit"], ELSEWHERE),
            ("Open pressed, released over Folder", BUTTON["Open"], BUTTON["Folder"])], 1):
        s.press(*down)
        s.release(*up)
        time.sleep(0.2)  # a wrongly opened dialog would be up by now
        s.equal(observe(), before, f"half click {r}: {what}: nothing happens")

    # The settings panel: Option switches it, F2 shows and F3 hides it, on the
    # window or its list (keys through the list arrive posted).
    option = lambda: s.click(*BUTTON["Option"])  # noqa: E731
    for r, (what, act, want) in enumerate([
            ("Option", option, "1"), ("Option again", option, "0"), ("F2", lambda: s.key(VK_F2), "1"),
            ("F3", lambda: s.key(VK_F3), "0"), ("F2 on the list", lambda: s.key(VK_F2, "L"), "1"),
            ("Option after F2", option, "0"), ("F2 on the list", lambda: s.key(VK_F2, "L"), "1"),
            ("F3 on the list", lambda: s.key(VK_F3, "L"), "0")], 1):
        act()
        s.check(s.wait_until(lambda: s.panel() == (want == "1"), 2), f"panel row {r}: {what}: panel {want}")

    # Removing the selected entry by Close and by the menu's (&C): the
    # selection stays at its line, or goes past the end.
    a, b, c, d, e = paths
    close = lambda: s.click(*BUTTON["Close"])  # noqa: E731
    for r, (what, select, act, left, selected, rebuilds) in enumerate([
            ("Close button, line 2 selected", 1, close, [a, c, d, e], 1, 1),
            ("Close button, nothing selected", -1, close, [a, c, d, e], -1, 0),
            ("Close pressed at y 19, released at y 20 (edges of its areas)", 0,
             lambda: (s.press(149, 19), s.release(149, 20)), [c, d, e], 0, 1),
            ("menu (&C), line 3 selected", 2, lambda: s.menu("C"), [c, d], -1, 1),
            ("menu (&C), nothing selected", -1, lambda: s.menu("C"), [c, d], -1, 0),
            ("menu closed with Escape", 0, lambda: s.menu(VK_ESCAPE), [c, d], 0, 0)], 1):
        s.select(select)
        builds = s.prop("LtListBuilds")
        act()
        menu_closed(s)
        s.equal((s.list_lines(), s.selected(), s.prop("LtListBuilds") - builds),
                (lines_for(left), selected, rebuilds), f"remove row {r}: {what}: lines, selection, rebuilds")

    s.mouse("L", *s.line_point(0), "rdown", "rup", post=True)
    s.check(s.probe_run("menu", 5000)[0] == 0, "a right press on the list opens the popup menu")
    s.probe_run("menu-keys", VK_ESCAPE)  # a lost activation under Wine closes it too
    menu_closed(s)

    # Open: the release area starts one pixel left of the press area; a
    # cancelled dialog adds nothing.
    builds = s.prop("LtListBuilds")
    s.post_click(2, 10, to=(1, 10))
    s.check(s.probe_run("file-dialog", "--cancel")[0] == 0, "Open pressed at x 2, released at x 1: the dialog")
    time.sleep(0.3)
    s.equal(s.prop("LtListBuilds"), builds, "a cancelled open dialog adds nothing")
    s.post_click(*BUTTON["Open"])
    s.probe("file-dialog", a)
    s.wait_count(3, ARRIVAL_MS)
    s.equal(s.list_lines(), lines_for([c, d, a]), "Open: the chosen file is the new last line")

    builds = s.prop("LtListBuilds")
    s.click(*BUTTON["Clear"])
    s.equal((s.count(), s.prop("LtListBuilds")), (0, builds + 1), "Clear empties the list with one rebuild")
    s.run_app(b)
    s.wait_count(1, ARRIVAL_MS)
    s.equal(s.list_lines(), [line(1, b)], "after Clear numbering starts at 1 again")
    s.menu("A")
    s.equal(s.wait_count(0, ARRIVAL_MS), 0, "menu (&A) empties the list")
    s.click(*BUTTON["Quit"])
    wait_app_end(s, app, "Quit")
    s.equal(ini_values(s.settings_file.read_bytes()).get("MusicPlayer", {}).get("Volume"), "100",
            "Quit runs the normal shutdown (the volume is written)")


# -- saving the list, folders -------------------------------------------------------------

def lists_folders(s):
    out = s.files_dir / "out"
    out.mkdir()
    paths = [s.fixture("a.bmp", bmp()), s.fixture("b,c.bmp", bmp()), s.fixture("写真.bmp", bmp()),
             s.fixture("d.wav", wav()), s.fixture("e.gif", gif())]
    saved, saved_win = out / "saved.ltl", f"{FILES_WIN}\\out\\saved.ltl"
    app = s.launch()
    s.write_queue(paths)
    s.wait_count(len(paths), ARRIVAL_MS)

    # "ﾘｽﾄ出力(&L)": the typed name gets the default extension; read back
    # through a second start it gives the same paths.
    s.menu("L")
    s.equal(s.probe("file-dialog", f"{FILES_WIN}\\out\\saved").partition("\t")[2], "",
            "the first save dialog offers no name")
    s.check(s.wait_until(saved.exists, 10), "the list is written to the typed name with .ltl added")
    s.click(*BUTTON["Clear"])
    builds = s.prop("LtListBuilds")
    second_copy(s, "reading the list file", saved_win)
    s.wait_until(lambda: s.prop("LtListBuilds") > builds and not s.queue_file.exists(), 5)
    s.equal(settle(s), lines_for(paths), "reading the list file: the same paths in the same order")

    # The next save offers the last name; an empty list saves the header
    # alone (Down five times and Return choose (&L) too); cancelled, nothing.
    s.click(*BUTTON["Clear"])
    s.menu(*[VK_DOWN] * 5, VK_RETURN)
    offered, *asked = s.probe("file-dialog", "--yes").splitlines()
    s.equal(offered.partition("\t")[2], "saved.ltl", "the next save dialog offers the last name")
    s.check(asked and asked[0].startswith("asked\t") and "上書き" in "".join(asked),
            "saving over the file asks first (answered Yes)", got=asked)
    s.check(s.wait_until(lambda: saved.read_bytes() == LIST_HEADER, 10), "an empty list saves the header alone")
    s.menu("L")
    s.probe("file-dialog", "--cancel")
    time.sleep(0.5)
    s.equal((saved.read_bytes(), [p.name for p in out.iterdir()]), (LIST_HEADER, ["saved.ltl"]),
            "a cancelled save writes nothing")

    # Folders (which of their files count is the in-process tests'): the
    # browser, its choice added with one rebuild, a cancel adding nothing.
    for folder, names in (("f", ("p1.bmp", "p2.gif", "s3.wav")), ("g", ("q.bmp",))):
        (s.files_dir / folder).mkdir()
        for name in names:
            (s.files_dir / folder / name).write_bytes(wav() if name.endswith("wav") else bmp())
    fw, gw = f"{FILES_WIN}\\f", f"{FILES_WIN}\\g"
    s.post_click(*BUTTON["Folder"])
    s.check("フォルダを選択してください" in s.probe("browse", fw), "the folder browser shows the title text")
    s.wait_count(3, ARRIVAL_MS)
    got = s.list_lines()
    s.equal((sorted(t.split(" ", 1)[1] for _, t in got), [d for d, _ in got]),
            ([f"{fw}\\{n}" for n in ("p1.bmp", "p2.gif", "s3.wav")], [1, 2, 3]), "a folder's files, numbered 1 to 3")
    builds = s.prop("LtListBuilds")
    s.post_click(*BUTTON["Folder"])
    s.probe("browse")
    s.equal((settle(s), s.prop("LtListBuilds")), (got, builds), "a cancelled browser adds and rebuilds nothing")
    s.menu("F")
    s.probe("browse", gw)
    s.wait_count(4, ARRIVAL_MS)
    s.equal(s.list_lines(), got + [line(4, f"{gw}\\q.bmp")], "menu (&F): the other folder's file is appended")
    # "終了(Alt+F4)", the last item (Up from no selection), ends the program.
    s.menu(VK_UP, VK_RETURN)
    wait_app_end(s, app, "menu 終了")


# -- edge-triggered appearance --------------------------------------------------------------

EDGE_SETTINGS = b"[System]\r\nXPos=100\r\nYPos=100\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\nYEnd=0\r\nVisible=%d\r\n"
APPEAR_MS, STEADY_MS = 1500, 1200  # ticks every 300 ms, a hide may wait one more; steady: four ticks
REAPPEAR_MS = 100  # pointer in the trigger but outside the window: hidden and shown in one tick


def expect_visibility(s, what, want, then=None):
    """want: "shows" / "hides" (within APPEAR_MS, and stays) or "stays shown" / "stays hidden". A shown
    window may blink (hidden under REAPPEAR_MS). `then` runs once watching began."""
    span = STEADY_MS if want.startswith("stays") else APPEAR_MS
    samples = s.watch_visible(span, then)
    after = samples if want.startswith("stays") else samples[1:]
    if want in ("shows", "stays shown"):
        ends = [t for t, _ in after[1:]] + [span]
        ok = bool(after) and all(end - t < REAPPEAR_MS for (t, v), end in zip(after, ends) if v == 0)
    else:
        ok = bool(after) and all(v == 0 for _, v in after)
    ok = ok and (want.startswith("stays") or samples[0][1] == (want == "hides"))
    s.check(ok, f"{what}: {want}", "the state throughout (blinks aside)", samples)


def edge(s):
    s.settings_file.write_bytes(EDGE_SETTINGS % 0)
    app = s.launch()
    s.equal(s.rect()[:2], (100, 100), "the window sits at XPos, YPos (window x 100..457, y 100..309)")
    # The pixel edges of trigger and window are the unit tests'; here the
    # timer, the settings and the window's place working together.
    rows = [("start with Visible=0, pointer in the middle", None, "stays hidden"),
            ("one pixel right of the trigger", (355, 0), "stays hidden"), ("trigger's right end", (354, 0), "shows"),
            ("inside the window", (200, 200), "stays shown"), ("one pixel right of it", (458, 200), "hides"),
            ("pointer in the trigger", (10, 0), "shows"), ("pointer away", (600, 500), "hides")]
    for r, (what, at, want) in enumerate(rows, 1):
        expect_visibility(s, f"row {r}: {what} {at or ''}", want, then=at and (lambda: s.pointer(*at)))

    # Pinned, settings panel open, a dialog of the controller up: it stays.
    holds = [("pinned", lambda: s.click(*PIN), lambda: s.click(*PIN)),
             ("settings panel open", lambda: s.click(*BUTTON["Option"]), lambda: s.click(*BUTTON["Option"])),
             ("folder browser up", lambda: (s.post_click(*BUTTON["Folder"]), s.probe("dialog")),
              lambda: s.probe("browse")),
             ("open dialog up", lambda: (s.post_click(*BUTTON["Open"]), s.probe("dialog")),
              lambda: s.probe("file-dialog", "--cancel"))]
    for r, (what, hold, let_go) in enumerate(holds, 1):
        expect_visibility(s, f"hold {r}: {what}: pointer at the trigger", "shows", then=lambda: s.pointer(10, 0))
        s.pointer(200, 200)
        hold()
        expect_visibility(s, f"hold {r}: {what}: pointer away", "stays shown", then=lambda: s.pointer(600, 500))
        expect_visibility(s, f"hold {r}: {what} ended: pointer still away", "hides", then=let_go)

    # Visible=1: shown at start and pinned, so it stays; the pin lets go.
    s.post_close()
    wait_app_end(s, app, "closing the Visible=0 run")
    s.settings_file.write_bytes(EDGE_SETTINGS % 1)
    s.launch()
    s.pointer(600, 500)
    expect_visibility(s, "Visible=1, pointer away", "stays shown")
    expect_visibility(s, "Visible=1, pin released, pointer away", "hides", then=lambda: s.click(*PIN))
    expect_visibility(s, "Visible=1, pointer at the trigger", "shows", then=lambda: s.pointer(10, 0))


# -- loops that let messages run ------------------------------------------------------------

LONG_LIST = 9000  # files, with room in the table for more
SUB_LISTS = 10  # lists naming them all, named by one list: a read that lasts
PROMPT_END_S = 6.0  # Exit to process end: a hide (Wine waits up to 2 s for a window manager) and one step
LATENCY_MS = 100


def loops(s):
    (s.files_dir / "many").mkdir()
    # Sounds: the read adds them without opening a window or a player each.
    for i in range(LONG_LIST):
        (s.files_dir / "many" / f"f{i:05d}.wav").write_bytes(wav())
    names = [f"{FILES_WIN}\\many\\f{i:05d}.wav" for i in range(LONG_LIST)]
    subs = [s.fixture(f"s{i:02d}.ltl", list_file(names)) for i in range(SUB_LISTS)]
    long_list = s.fixture("long.ltl", list_file(subs))
    x, y = s.fixture("x.bmp", bmp()), s.fixture("y.bmp", bmp())
    app = s.launch()
    left, top, _, _ = s.rect()
    s.pointer(left + 200, top + 100)  # where a user's pointer is when clicking

    # Every button shows its result at once, also right after the pin.
    for what, first in (("alone", None), ("after a pin click", PIN), ("after the pin again", PIN)):
        s.write_queue([x, y])
        s.wait_count(2, ARRIVAL_MS)
        if first:
            s.click(*first)
        ms = s.click(*BUTTON["Clear"])
        s.check(ms < LATENCY_MS and s.count() == 0, f"Clear {what}: the list is empty within {LATENCY_MS} ms",
                LATENCY_MS, ms)

    # While a long list is read, its lines show as they are added, and Close
    # removes the entry whose line is selected, with its line.
    s.write_queue([x, y])
    s.wait_count(2, ARRIVAL_MS)
    builds, t0 = s.prop("LtListBuilds"), time.monotonic()
    s.write_queue([long_list])
    s.check(s.wait_until(lambda: 2 < s.count() < LONG_LIST, 20, 0.02), "lines show while the list is read")
    s.select(0)
    s.click(*BUTTON["Close"])
    first = s.probe("list", 1).split("\t", 1)
    s.check(s.prop("LtListBuilds") == builds + 1 and first[-1].endswith(y),
            "Close during the read (before its rebuild): x's line goes at once", f"{y} first", first)
    # Ended: the Close's rebuild and the one at the end.
    s.check(s.wait_until(lambda: s.prop("LtListBuilds") == builds + 2, 120, 0.2), "the read ends with one rebuild")
    full = time.monotonic() - t0
    print(f"# {LONG_LIST} files named {SUB_LISTS} times read in {full:.1f} s")
    s.equal(s.list_lines(), lines_for([y] + names), "after the read: y and the list's files")

    # Exit during a long read ends the process promptly; a later start with
    # paths then comes up with them rather than queue them for nobody.
    s.click(*BUTTON["Clear"])
    s.write_queue([long_list])
    s.wait_until(lambda: s.count() > 0, 20, 0.02)
    t0 = time.monotonic()
    s.post_close()
    s.ended(app, 120)
    took = time.monotonic() - t0
    s.check(took < min(PROMPT_END_S, full / 3), f"Exit during the read ends the process within {PROMPT_END_S} s"
            f" (a whole read takes {full:.1f} s)", PROMPT_END_S, round(took, 1))
    s.start_app(x)
    s.probe("find", "C", 20000, timeout=40)
    s.wait_count(1, ARRIVAL_MS)
    s.equal(s.list_lines(), [line(1, x)], "a later start with a path shows it")


# -- where Windows makes things hard: a Windows folder that takes no files (a normal user on current
# Windows) and many copies started at once (the shell opening several selected files) ----------------

CLONE_NEWNS = 0x00020000


def private_mounts():
    """This runner and everything it starts get mounts of their own, so a
    folder can be made read-only for them alone. Root ignores file modes, so
    only a read-only mount refuses root's writes; without the privilege for
    it (an ordinary user) the file modes do the same."""
    libc = ctypes.CDLL(None, use_errno=True)
    if os.geteuid() != 0 or libc.unshare(CLONE_NEWNS) != 0:
        return False
    return subprocess.run(["mount", "--make-rprivate", "/"]).returncode == 0


def read_only(folder):
    if MOUNTS:
        for cmd in (["mount", "--bind", folder, folder], ["mount", "-o", "remount,bind,ro", folder]):
            if subprocess.run(cmd).returncode != 0:
                raise Failure(f"cannot make {folder} read-only")
    else:
        os.chmod(folder, 0o555)


def unwritable_windows(s):
    read_only(s.windir)
    with contextlib.suppress(OSError):
        (s.windir / "lt-probe.tmp").write_bytes(b"x")
        return s.check(False, "the Windows folder refuses new files", "refused", "written")
    app = s.launch()
    homes = list((s.prefix / "drive_c" / "users").glob("*/AppData/Roaming/Lumatrove"))
    s.equal(len(homes), 1, "the per-user folder %APPDATA%\\Lumatrove is created")
    if not homes:
        return
    home = homes[0]
    s.check((home / "Lumatrove.ini").exists(), "the settings file is written there")
    s.check((home / "ltmp3.dll").read_bytes()[:2] == b"MZ", "the MP3 library is written there")
    s.check(not (s.windir / "Lumatrove.ini").exists(), "nothing lands in the Windows folder")

    # A second start finds the running copy's queue in the same place.
    s.fixture("a.mid", midi())
    second_copy(s, "a second start with a path", f"{FILES_WIN}\\a.mid")
    s.equal(s.wait_count(1), 1, "the running copy lists the handed-over file")

    s.post_close()
    s.check(s.wait_until(lambda: app.poll() is not None, 10), "closing ends the program")
    settings = ini_values((home / "Lumatrove.ini").read_bytes())
    s.equal(settings.get("MusicPlayer", {}).get("Volume"), "100", "the volume is stored in the per-user folder")
    s.equal(settings.get("System", {}).get("XEnd"), "354", "which started from the default settings")


GROUPS = {g.__name__: g for g in (startup, second_start, drops, controls, lists_folders, edge, loops,
                                  unwritable_windows)}

if __name__ == "__main__":
    MOUNTS = private_mounts()
    sys.exit(run_groups(GROUPS))
