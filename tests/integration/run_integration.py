#!/usr/bin/env python3
"""Integration tests: the real lumatrove.exe under Wine, driven and read from
outside. One group per behaviour; related checks share one started program.

    run_integration.py --exe lumatrove.exe --probe ltprobe.exe GROUP...
"""

import re
import subprocess
import sys
import time

import fixtures
from lt_session import FILES_WIN, run_groups

DEFAULT_SETTINGS = (b"[System]\r\nXPos=0\r\nYPos=0\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\nYEnd=0\r\n"
                    b"Visible=1\r\n\r\n\0\0\0")

# A second start that only hands over its command line ends at once; Wine's
# own start-up takes most of this.
QUICK_EXIT_S = 5.0
QUICK_EXIT_RAW_MS = 3000
# The queue timer runs every 100 ms; this leaves room for a loaded machine.
ARRIVAL_MS = 3000

# Press points inside the controller's client area.
FILTER_Y = 198
FILTERS = {"AllFile": 30, "Graphic": 100, "Music": 160, "Sound": 220, "Movie": 280}
CLEAR = (200, 10)


def win(name):
    return f"{FILES_WIN}\\{name}"


def line(index, path):
    return (index, f"{index:04d} {path}")


def lines_for(paths, first=1):
    return [line(first + i, p) for i, p in enumerate(paths)]


def ini_values(raw):
    """Section -> key -> value, read the way the profile functions read."""
    out, section = {}, None
    for text in raw.decode("cp932", errors="replace").replace("\0", "").splitlines():
        text = text.strip()
        m = re.fullmatch(r"\[(.*)\]", text)
        if m:
            section = out.setdefault(m.group(1), {})
        elif "=" in text and section is not None:
            k, v = text.split("=", 1)
            section[k.strip()] = v.strip()
    return out


def controllers(s):
    return [w for w in s.windows() if w[3] == "Controller"]


def second_copy(s, what, *args):
    """Starts another copy (wine lumatrove.exe ARGS) and checks that it ends
    at once, as a copy that only hands over its command line does."""
    code, secs = s.run_app(*args)
    s.check(code == 0 and secs < QUICK_EXIT_S, f"{what}: the second copy ends at once",
            f"exit 0 within {QUICK_EXIT_S} s", f"exit {code} after {secs:.1f} s")


def second_copy_raw(s, what, tail):
    """The same with the command line tail exactly as given (no quoting added)."""
    code, ms = s.run_app_raw(tail)
    s.check(code == 0 and ms < QUICK_EXIT_RAW_MS, f"{what}: the second copy ends at once",
            f"exit 0 within {QUICK_EXIT_RAW_MS} ms", f"exit {code} after {ms} ms")


# -- groups ---------------------------------------------------------------------

def lifecycle(s):
    lib = s.windir / "ltmp3.dll"
    s.check(not s.settings_file.exists() and not lib.exists(), "fresh prefix holds no settings file and no library")

    app = s.launch()
    s.equal(s.settings_file.read_bytes(), DEFAULT_SETTINGS, "first start writes the 80 default bytes of Lumatrove.ini")
    s.check(lib.exists() and lib.read_bytes()[:2] == b"MZ", "first start writes ltmp3.dll (a PE image)")
    s.check(not s.queue_file.exists(), "no queue file after a start without paths")
    s.equal(s.count(), 0, "the list starts empty")
    s.equal(len(controllers(s)), 1, "one visible controller window")

    s.probe("close")
    try:
        code = app.wait(timeout=10)
    except subprocess.TimeoutExpired:
        code = None
    s.check(code is not None, "closing the controller ends the process", "exit", "still running")
    s.equal(s.probe_run("wait-gone", 5000)[0], 0, "the controller window is gone")
    settings = s.settings_file.read_bytes()
    values = ini_values(settings)
    s.equal(values.get("MusicPlayer", {}).get("Volume"), "100", "closing writes [MusicPlayer] Volume")
    s.equal(values.get("System"), {"XPos": "0", "YPos": "0", "XStart": "0", "YStart": "0", "XEnd": "354",
                                   "YEnd": "0", "Visible": "1"}, "closing keeps the [System] section")

    # A queue file left behind is removed by the next start without paths,
    # before the controller can read it.
    s.fixture("left.bmp", fixtures.bmp())
    s.write_queue([win("left.bmp")])
    app = s.launch()
    s.check(not s.queue_file.exists(), "a start without paths removes a leftover queue file")
    time.sleep(0.5)
    s.equal(s.count(), 0, "the leftover queue's paths are not added")
    s.equal(s.settings_file.read_bytes(), settings, "a later start leaves the existing settings file as it is")
    s.probe("close")
    s.check(s.wait_until(lambda: app.poll() is not None, 10), "the second run ends on close too")


def second_start(s):
    for name in ("one.bmp", "a.bmp", "my photo.bmp", "quoted.bmp", "blank.bmp", "写真.bmp", "ONE.bmp"):
        s.fixture(name, fixtures.bmp())
    s.fixture("b.gif", fixtures.gif())
    s.fixture("c.jpg", fixtures.jpeg_header())
    s.fixture("notes.txt", fixtures.text())
    s.launch()
    hwnd = s.probe("wait-window")

    # how: "argv" = wine lumatrove.exe ARG (Wine quotes an argument with a
    # blank), "raw" = the command line tail exactly as given.
    rows = [
        ("one path", "argv", win("one.bmp"), [win("one.bmp")]),
        ("three paths separated by CR LF", "argv", "\r\n".join([win("a.bmp"), win("b.gif"), win("c.jpg")]),
         [win("a.bmp"), win("b.gif"), win("c.jpg")]),
        ("a path with a blank (quoted by Wine)", "argv", win("my photo.bmp"), [win("my photo.bmp")]),
        ("a quoted path", "raw", f'"{win("quoted.bmp")}"', [win("quoted.bmp")]),
        ("a path with trailing blanks", "raw", win("blank.bmp") + "   ", [win("blank.bmp")]),
        ("a Japanese file name", "argv", win("写真.bmp"), [win("写真.bmp")]),
        ("missing, unrecognised and already listed files", "argv",
         "\r\n".join([win("missing.bmp"), win("notes.txt"), win("one.bmp")]), []),
        ("a path differing only in letter case", "argv", win("ONE.bmp"), [win("ONE.bmp")]),
    ]
    expected = []
    for r, (what, how, arg, added) in enumerate(rows, 1):
        tag = f"row {r} ({what})"
        if how == "argv":
            second_copy(s, tag, arg)
        else:
            second_copy_raw(s, tag, arg)
        expected += lines_for(added, len(expected) + 1)
        t0 = time.monotonic()
        got_count = s.wait_count(len(expected), ARRIVAL_MS)
        if not added:
            s.wait_until(lambda: not s.queue_file.exists(), 2)
            time.sleep(0.3)  # give a wrong addition the chance to show
        s.check(got_count == len(expected), f"{tag}: list count after {time.monotonic() - t0:.2f} s",
                len(expected), got_count)
        s.equal(s.list_lines(), expected, f"{tag}: list lines")
        s.check(not s.queue_file.exists(), f"{tag}: queue file is gone")
    s.equal(s.probe("wait-window"), hwnd, "the same controller window ran throughout")
    s.equal(len(controllers(s)), 1, "still exactly one controller window")


def options(s):
    s.fixture("x.bmp", fixtures.bmp())
    s.launch()
    s.run_app(win("x.bmp"))
    s.wait_count(1, ARRIVAL_MS)
    before_lines = s.list_lines()
    before_windows = s.windows()
    builds = s.prop("LtListBuilds")

    # "/S" while a copy runs: the new copy ends without a word.
    second_copy(s, '"/S"', "/S")
    time.sleep(0.3)
    s.equal(s.windows(), before_windows, '"/S": no window appears or goes (no message, no settings panel)')
    s.check(not s.queue_file.exists(), '"/S": nothing is queued')
    s.equal(s.list_lines(), before_lines, '"/S": the running list is untouched')
    s.equal(s.prop("LtListBuilds"), builds, '"/S": the running list is not rebuilt')

    # "/s" is not the option: it is queued as a file name, drained (one
    # rebuild) and dropped as a missing file.
    second_copy(s, '"/s"', "/s")
    s.check(s.wait_until(lambda: s.prop("LtListBuilds") == builds + 1, 3), '"/s": the running copy drains it',
            builds + 1, s.prop("LtListBuilds"))
    s.check(s.wait_until(lambda: not s.queue_file.exists(), 2), '"/s": the queue file is gone')
    s.equal(s.list_lines(), before_lines, '"/s": the list is unchanged')

    # An empty command line brings a minimised controller back.
    s.probe("minimize")
    s.equal(s.probe("iconic"), "1", "controller minimised by the probe")
    second_copy(s, "empty command line")
    restored = s.wait_until(lambda: s.probe("iconic") == "0", 3)
    s.check(restored, "empty command line: the controller is restored", "not iconic", "iconic")
    s.equal(s.probe("visible"), "1", "empty command line: the controller is visible")
    s.check(s.wait_until(lambda: s.probe("foreground") == "1", 2), "empty command line: the controller is active")
    s.equal(s.list_lines(), before_lines, "empty command line: the list is unchanged")

    # A controller that lives hidden at the screen edge stays hidden.
    s.probe("close")
    s.probe("wait-gone")
    raw = s.settings_file.read_bytes()
    s.settings_file.write_bytes(raw.replace(b"Visible=1", b"Visible=0"))
    s.launch()
    s.equal(s.probe("visible"), "0", "Visible=0: the controller starts hidden")
    second_copy(s, "hidden controller, empty command line")
    time.sleep(0.5)
    s.equal(s.probe("visible"), "0", "hidden controller, empty command line: it stays hidden")


def queue_drain(s):
    s.launch()

    # Ten second starts at once: each waits for the others' hold on the queue
    # file, and every path arrives.
    quick = [win(f"q{i:02d}.bmp") for i in range(10)]
    for p in quick:
        s.fixture(p.rsplit("\\", 1)[1], fixtures.bmp())
    t0 = time.monotonic()
    procs = [s.start_app(p) for p in quick]
    codes = []
    for p in procs:
        try:
            codes.append(p.wait(timeout=30))
        except subprocess.TimeoutExpired:
            codes.append(None)
    secs = time.monotonic() - t0
    s.equal(codes, [0] * 10, f"ten concurrent second starts all end (in {secs:.1f} s)")
    s.equal(s.wait_count(10, ARRIVAL_MS), 10, "ten concurrent second starts: all ten paths arrive")
    got = s.list_lines()
    s.equal(sorted(t.split(" ", 1)[1] for _, t in got), sorted(quick), "ten concurrent second starts: the paths")
    s.equal([d for d, _ in got], list(range(1, 11)), "ten concurrent second starts: entries numbered 1 to 10")
    s.check(s.wait_until(lambda: not s.queue_file.exists(), 2), "ten concurrent second starts: queue file is gone")

    # One queue file of many records is one drain and one list rebuild; records
    # keep their order, the ones that are no files of a known kind drop out.
    bulk, records = [], []
    for i in range(300):
        if i % 50 == 7:
            records.append(win(f"none{i}.bmp"))
        elif i % 50 == 9:
            records.append(s.fixture(f"t{i:03d}.txt", fixtures.text()))
        else:
            bulk.append(s.fixture(f"b{i:03d}.bmp", fixtures.bmp()))
            records.append(bulk[-1])
    # Quoting and padding a starting copy may leave in a record.
    bulk.append(s.fixture("dq.bmp", fixtures.bmp()))
    records.append(f'"{bulk[-1]}"')
    bulk.append(s.fixture("pad.bmp", fixtures.bmp()))
    records.append(bulk[-1] + "  ")
    builds = s.prop("LtListBuilds")
    t0 = time.monotonic()
    s.write_queue(records)
    total = 10 + len(bulk)
    count = s.wait_count(total, 20000)
    s.check(count == total, f"{len(records)} queued records: list count after {time.monotonic() - t0:.2f} s",
            total, count)
    s.equal(s.list_lines()[10:], lines_for(bulk, 11), "queued records: list lines in queue order")
    s.equal(s.prop("LtListBuilds"), builds + 1, "queued records: one list rebuild for the whole drain")
    s.check(not s.queue_file.exists(), "queued records: queue file is gone")


def drop(s):
    s.launch()
    files = [s.fixture("d1.bmp", fixtures.bmp()), s.fixture("写真.bmp", fixtures.bmp()),
             s.fixture("d3.gif", fixtures.gif())]
    builds = s.prop("LtListBuilds")
    s.probe("drop", *files, timeout=90)
    s.equal(s.list_lines(), lines_for(files), "three dropped files are added in the order given")
    s.equal(s.prop("LtListBuilds"), builds + 3, "dropped files: the list is rebuilt after each one")
    s.equal(s.probe("selected"), "2", "dropped files: the last one added is selected")

    ignored = [win("missing.bmp"), s.fixture("n.txt", fixtures.text()), files[0]]
    builds = s.prop("LtListBuilds")
    s.probe("drop", *ignored, timeout=90)
    s.equal(s.list_lines(), lines_for(files), "dropping missing, unrecognised and listed files changes nothing")
    s.equal(s.prop("LtListBuilds"), builds, "dropping files that add nothing does not rebuild the list")

    more = s.fixture("d4.bmp", fixtures.bmp())
    s.probe("drop", more, timeout=90)
    s.equal(s.list_lines(), lines_for(files + [more]), "a later drop appends after the earlier entries")


def list_view(s):
    s.launch()
    paths = [s.fixture("p1.bmp", fixtures.bmp()), s.fixture("s2.wav", fixtures.wav()),
             s.fixture("m3.mid", fixtures.midi()), s.fixture("p4.gif", fixtures.gif()),
             s.fixture("p5.jpg", fixtures.jpeg_header())]
    # Dropped one by one, each added file is selected as it is shown. The
    # MIDI file comes through the queue: on a machine without a MIDI
    # synthesiser playing it ends in a message box, which would hold a drop.
    s.probe("drop", *paths[:2], timeout=90)
    s.write_queue(paths[2:3])
    s.equal(s.wait_count_dismissing(3), 3, "a MIDI file is added")
    s.probe("drop", *paths[3:], timeout=90)
    everything = lines_for(paths)
    s.equal(s.list_lines(), everything, "five files of four kinds are added")
    s.equal(s.probe("selected"), "4", "the last added file is selected")

    # Filter presses, with the edges of the press areas. Entry numbers keep
    # their gaps under a filter; the selection stays while its entry is shown
    # and is gone once a filter has hidden it.
    pictures = [everything[0], everything[3], everything[4]]
    rows = [
        ("Graphic", (FILTERS["Graphic"], FILTER_Y), pictures, 2),
        ("AllFile at its right edge (72, 200)", (72, 200), everything, 4),
        ("Graphic at its left edge (73, 200)", (73, 200), pictures, 2),
        ("Sound", (FILTERS["Sound"], FILTER_Y), [everything[1]], -1),
        ("Music", (FILTERS["Music"], FILTER_Y), [everything[2]], -1),
        ("Movie at its right edge (313, 188)", (313, 188), [], -1),
        ("AllFile at (0, 208)", (0, 208), everything, -1),
    ]
    for r, (what, (x, y), want, selected) in enumerate(rows, 1):
        s.click(x, y)
        s.equal(s.list_lines(), want, f"row {r}: filter {what}: lines")
        s.equal(int(s.probe("selected")), selected, f"row {r}: filter {what}: selected line")

    builds = s.prop("LtListBuilds")
    s.click(*CLEAR)
    s.equal(s.count(), 0, "Clear empties the list")
    s.equal(s.prop("LtListBuilds"), builds + 1, "Clear rebuilds the list once")
    again = s.fixture("p6.bmp", fixtures.bmp())
    s.run_app(again)
    s.equal(s.wait_count(1, ARRIVAL_MS), 1, "after Clear a new file arrives")
    s.equal(s.list_lines(), [line(1, again)], "after Clear numbering starts at 1 again")


GROUPS = {
    "lifecycle": lifecycle,
    "second_start": second_start,
    "options": options,
    "queue_drain": queue_drain,
    "drop": drop,
    "list_view": list_view,
}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
