#!/usr/bin/env python3
"""The settings panel (driven through its own controls, the settings file read
back) and the file-type association (the registry read back) of the real exe."""

import re
import shutil
import subprocess
import sys
import time

import fixtures
from lt_session import CB_GETCOUNT, CB_GETCURSEL, CB_SETCURSEL, LB_GETITEMHEIGHT, LB_GETTOPINDEX, WM_COMMAND, \
    run_groups
from run_integration import ARRIVAL_MS, ini_values
from fixtures import BUTTON, FILTER_Y, FILTERS, VK_F2

TE = {"X": 610, "Y": 611, "Up": 612, "Down": 613, "Left": 614, "Right": 615, "Void": 616}
PORTS, SAMPLE, EXT, UNREGISTER, OK, CANCEL = 620, 631, 640, 646, 650, 651
TYPES = [(".bmp", "BMPFile", "ﾋﾞｯﾄﾏｯﾌﾟ ｲﾒｰｼﾞ", "image/bmp", 4), (".jpg", "JPEGFile", "JPEG イメージ", "image/jpeg", 4),
         (".mid", "MIDFile", "MIDIﾌｧｲﾙ", "audio/mid", 5), (".wav", "WAVFile", "WAVE ｻｳﾝﾄﾞ", "audio/x-wav", 6),
         (".avi", "AVIFile", "ビデオ クリップ", "video/avi", 3), (".ltl", "LumatroList", "Lumatrove専用ﾘｽﾄ", None, 1)]
PANEL = "C/LumatroveSettings"


def boxes(s):
    """The seven boxes and the port list ("selected count")."""
    texts = [w.text for w in s.info(*(f"{PANEL}/#{cid}" for cid in TE.values()))]
    ports = s.send(f"{PANEL}/#{PORTS}", (CB_GETCURSEL, 0, 0), (CB_GETCOUNT, 0, 0))[1]
    return dict(zip(TE, texts)), "%d %d" % tuple(ports)


def press(s, cid, post=False):
    """A button of the panel, sent (posted where it opens a box)."""
    s.send(PANEL, (WM_COMMAND, cid, 0), post=post)


def settings_panel(s):
    s.launch()
    s.write_queue([s.fixture("a.bmp", fixtures.bmp()), s.fixture("b.wav", fixtures.wav())])
    s.wait_count(2, ARRIVAL_MS)
    s.click(*BUTTON["Option"])
    press(s, SAMPLE + 5)
    s.equal(boxes(s)[0]["Down"], "768", "a preset button fills the boxes from the display")
    typed = {"X": "12", "Y": "0", "Up": "2", "Down": "500", "Left": "-3", "Right": "400", "Void": "7"}
    for name, text in typed.items():
        s.set_text(f"{PANEL}/#{TE[name]}", text)
    s.send(f"{PANEL}/#{PORTS}", (CB_SETCURSEL, 0, 0))
    # Real pointer: a click over the filter below stays on the panel; 表示 pressed, released on 非表示 chooses it.
    x, y = s.rect()[:2]
    xdo = ["mousemove", x + FILTERS["Graphic"], y + FILTER_Y, "click", 1, "mousemove", x + 80, y + 19 + 48,
           "mousedown", 1, "mousemove", x + 140, y + 19 + 48, "mouseup", 1]
    subprocess.run(["xdotool", *map(str, xdo)], env=s.env, check=True, timeout=15)
    time.sleep(0.3)
    press(s, OK)
    stored = [("XPos", "12"), ("YPos", "0"), ("XStart", "-3"), ("YStart", "2"), ("XEnd", "400"),
              ("YEnd", "500"), ("Visible", "0"), ("MidiDevice", "0"), ("ErrorWait", "7")]
    system = lambda: list(ini_values(s.settings_file.read_bytes())["System"].items())
    s.equal([s.panel(), system(), s.rect()[:2], s.count()], [False, stored, (12, 0), 2],
            "OK closes, writes the nine keys in order and moves the window; the filter is untouched")
    s.key(VK_F2)
    s.set_text(f"{PANEL}/#{TE['X']}", "999")
    press(s, CANCEL)
    s.key(VK_F2)
    s.equal([system(), s.info(f"{PANEL}/#{TE['X']}")[0].text], [stored, "12"], "Cancel stores nothing")
    # A new start reads the file back: hidden (Visible=0), panel open ("/S"), shown where the pointer enters the trigger.
    s.post_close()
    s.probe("gone", "C", 10000)
    s.start_app("/S")
    s.probe("find", "C", 20000, timeout=40)
    s.pointer(100, 100)
    shown = s.wait_until(s.panel, 10)
    s.equal((shown, *boxes(s)), (True, typed, "0 1"), '"/S" after a new start: the panel shows the stored values')
    # A typed number of rounds to wait for a device is bounded where it is stored.
    s.set_text(f"{PANEL}/#{TE['Void']}", "2000000000")
    press(s, OK)
    s.equal(ini_values(s.settings_file.read_bytes())["System"]["ErrorWait"], "10000", "ErrorWait is kept to 10000")


def classes(s):
    """HKEY_CLASSES_ROOT as `reg export` writes it: {key: {value name: text or bytes}}, lower-case keys."""
    out = s.prefix / "drive_c" / "hkcr.reg"
    s.run_wine("reg", "export", "HKEY_CLASSES_ROOT", "C:\\hkcr.reg", "/y")
    keys, cur = {}, {}
    unescape = lambda t: re.sub(r"\\(.)", r"\1", t)
    for line in out.read_bytes().decode("utf-16").replace("\\\r\n  ", "").splitlines():
        if line.startswith("[HKEY_CLASSES_ROOT\\"):
            cur = keys.setdefault(line[19:-1].lower(), {})
        elif m := re.fullmatch(r'(@|"(?:[^"\\]|\\.)*")=(?:"(.*)"|hex:([0-9a-f,]*)|.*)', line):
            name = "" if m[1] == "@" else unescape(m[1][1:-1])
            hexed = bytes.fromhex(m[3].replace(",", "")) if m[3] is not None else "?"
            cur[name] = unescape(m[2]) if m[2] is not None else hexed
    return keys


def dismissed_box(s, cid):
    """Presses a panel button that answers with a message box; the box's text."""
    press(s, cid, post=True)
    box = []
    s.wait_until(lambda: box.extend(s.probe("dismiss").splitlines()) or box, 10)
    return box[0].split("\t", 1)[1] if box else None


def association(s):
    # From a folder with blanks: the registered command must quote the program.
    home = s.prefix / "drive_c" / "Program Files" / "Lumatrove Test"
    home.mkdir(parents=True)
    s.exe = shutil.copy(s.exe, home / "lumatrove.exe")
    program = "C:\\Program Files\\Lumatrove Test\\lumatrove.exe"
    for args in (["HKCR\\.avi", "/ve", "/d", "OtherMovie"], ["HKCR\\OtherMovie", "/ve", "/d", "Other movies"]):
        s.run_wine("reg", "add", *args, "/f")
    before = classes(s)
    s.launch()
    s.key(VK_F2)
    texts = [dismissed_box(s, EXT + i) for i in range(len(TYPES))]
    s.equal(texts, [t[2] + "の関連付けに成功しました｡" for t in TYPES], "each button reports success")
    after = classes(s)
    for ext, made, desc, ctype, icon in TYPES:
        cls = before.get(ext, {}).get("", made)
        verb = f"{cls}\\shell\\lumatro".lower()
        got = [after[f"{cls}\\shell".lower()].get(""), after[verb].get("EditFlags"), after[verb + "\\command"].get("")]
        s.equal(got, ["Lumatro", b"\1\0\0\0", f'"{program}" "%1"'], f"{ext}: default verb, flags, quoted command")
        if cls == made:
            got = [after[ext], after[made.lower()], after[made.lower() + "\\defaulticon"]]
            want = [{"": made, **({"Content Type": ctype} if ctype else {})}, {"": desc, "EditFlags": b"\0\0\0\0"},
                    {"": f"{program},{icon}"}]
            s.equal(got, want, f"{ext}: the new class {made}, its description and icon")
    s.equal([after[".avi"].get(""), after["othermovie"].get(""), "othermovie\\defaulticon" in after],
            ["OtherMovie", "Other movies", False], ".avi: the existing class keeps its mapping and description")
    # The shell's start through the registered command: "program" "file".
    pic = s.fixture("opened by the shell.bmp", fixtures.bmp())
    s.probe("start", program, f'"{pic}"', timeout=60)
    s.equal(s.wait_count(1, ARRIVAL_MS) and s.list_lines(), [(1, f"0001 {pic}")], "a shell start adds the file")
    # Registered twice, then 解除: the classes are as they were, value by value, the program's own key gone.
    dismissed_box(s, EXT)
    s.equal(dismissed_box(s, UNREGISTER), "関連付けを解除しました｡", "解除 reports what it did")
    after = classes(s)
    changed = {k: (before.get(k), after.get(k)) for k in set(before) | set(after) if before.get(k) != after.get(k)}
    s.equal(changed, {}, "after 解除 every key of HKCR holds the values it held before")
    s.equal(dismissed_box(s, UNREGISTER), "解除する関連付けはありません｡", "a second 解除 finds nothing")


def refused_path(s):
    # A program whose path the ANSI code page cannot write registers nothing and says so.
    home = s.prefix / "drive_c" / "Lumatrove café"
    home.mkdir(parents=True)
    s.exe = shutil.copy(s.exe, home / "lumatrove.exe")
    before = classes(s)
    s.launch()
    s.key(VK_F2)
    text = dismissed_box(s, EXT)
    s.check(text is not None and text.startswith("このﾌﾟﾛｸﾞﾗﾑの場所は関連付けに使えません｡"), "refused with a message",
            got=text)
    s.equal(classes(s) == before, True, "the registry is untouched")


# -- the controller and its panel from the keyboard ------------------------------------

HIDDEN_AT_EDGE = b"[System]\r\nXPos=0\r\nYPos=0\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\nYEnd=0\r\nVisible=0\r\n"
WM_CANCELMODE = 0x1F
OPT_SHOW, OPT_HIDE = 660, 661


def views(s):
    return {title: hwnd for hwnd, _, cls, title, _ in s.windows() if cls == "LumatroveView"}


def focused(s, path):
    """Is the window at path the focus of the controller's thread."""
    return s.focus("C") == s.info(path)[0].hwnd


def keys_controller(s):
    # Comes up at the edge while the user types elsewhere: the focus stays there.
    s.settings_file.write_bytes(HIDDEN_AT_EDGE)
    s.launch()
    s.pointer(600, 500)
    held = s.probe_run("hold-focus", 3000, then=lambda: s.pointer(10, 0), timeout=40)[1].split()
    s.equal([held[1:], s.visible()], [["foreground=1", "focus=1"], True],
            "the controller comes up at the edge and the focused window keeps the focus")
    s.type_keys("C", "ctrl+t")
    s.pointer(600, 500)
    time.sleep(1.2)
    s.check(s.visible(), "Ctrl+T pins it: the pointer away, it stays")
    s.pointer(*BUTTON["Open"])  # the window sits at (0, 0)
    tips = lambda: [s.probe("text", hwnd) for hwnd, _, cls, _, _ in s.windows() if cls == "tooltips_class32"]
    s.wait_until(tips, 5)
    s.equal(tips(), ["ファイルを開く (Ctrl+O)"], "the Open button's tooltip names its key")
    s.pointer(600, 500)

    names = ["a.bmp", "b.bmp", "c.bmp"]
    paths = [s.fixture(n, fixtures.bmp()) for n in names]
    s.write_queue(paths)
    s.wait_count(3, ARRIVAL_MS)
    s.wait_until(lambda: len(views(s)) == 3, 10)
    moves = [("home", 0), ("down", 1), ("end", 2), ("pageup", 0), ("pagedown", 2), ("up", 1)]
    got = []
    for k, _ in moves:
        s.type_keys("L", k)
        got.append(s.selected())
    s.equal(got, [n for _, n in moves], "Home, Down, End, PageUp, PageDown, Up move the selection")
    s.type_keys("L", "enter")
    front = [title for title, hwnd in views(s).items() if s.info(hwnd)[0].foreground]
    s.check(len(front) == 1 and "b.bmp" in front[0], "Enter brings the selected picture's window to the front",
            "b.bmp", front)
    s.type_keys("L", "delete")
    s.check(s.wait_until(lambda: len(views(s)) == 2, 5) and [t for _, t in s.list_lines()] ==
            [f"0001 {paths[0]}", f"0002 {paths[2]}"], "Delete removes the selected entry and closes its window",
            None, s.list_lines())
    for k, want in (("ctrl+3", 0), ("ctrl+2", 2), ("ctrl+1", 2)):
        s.type_keys("L", k)
        s.equal(s.count(), want, f"{k}: the kind filter")

    # Menus from the keyboard: under the selected line, else at the window's corner.
    height, top = s.send("L", (LB_GETITEMHEIGHT, 0, 0), (LB_GETTOPINDEX, 0, 0))[1]
    s.select(1)
    left, ltop = s.rect("L")[:2]
    under = (left, ltop + (1 - top + 1) * height)
    for k, where, want in (("apps", "L", under), ("shift+f10", "C", under)):
        s.type_keys(where, k)
        s.equal(s.rect(s.probe("menu"))[:2], want, f"{k} on {where}: the menu under the selected line")
        s.probe("menu-keys", "27")
    s.select(-1)
    s.type_keys("L", "apps")
    s.equal(s.rect(s.probe("menu"))[:2], s.rect()[:2], "apps without a selection: the menu at the window's corner")
    s.probe("menu-keys", "27")

    # The dialogs of the buttons, closed again with Escape and Cancel.
    s.type_keys("L", "ctrl+o")
    s.check(s.probe_run("dialog", 5000)[0] == 0, "Ctrl+O opens the file dialog")
    s.type_keys("@#32770", "esc")
    s.check(s.probe_run("gone", "@#32770", 5000)[0] == 0, "Escape closes it")
    s.type_keys("L", "ctrl+f")
    s.check(s.probe_run("dialog", 5000)[0] == 0 and s.probe_run("browse")[0] == 0,
            "Ctrl+F opens the folder browser")

    # The settings panel: F2 puts the focus in it, Tab walks it, Space picks a start-up option.
    s.type_keys("L", "f2")
    opt_show, opt_hide = f"{PANEL}/#{OPT_SHOW}", f"{PANEL}/#{OPT_HIDE}"
    s.check(s.panel() and focused(s, opt_show), "F2 shows the panel with the focus on its first control")
    order = []
    for k in ("tab", "tab", "shift+tab"):
        s.type_keys(s.focus("C"), k)
        order.append(s.focus("C"))
    want = [s.info(p)[0].hwnd for p in (opt_hide, f"{PANEL}/#{SAMPLE}", opt_hide)]
    s.equal(order, want, "Tab, Tab, Shift+Tab: 非表示, the first preset, 非表示 again")
    box = (*s.rect(opt_hide)[:2], 57, 20)
    marked = s.grab(box)
    s.type_keys(opt_hide, "tab")
    s.check(s.grab(box) != marked, "the focused option shows a focus mark that goes with the focus")
    s.type_keys(opt_hide, "space")
    s.type_keys(f"{PANEL}/#{TE['X']}", "end", "5")
    s.type_keys(f"{PANEL}/#{TE['X']}", "enter")
    system = ini_values(s.settings_file.read_bytes())["System"]
    s.equal([s.panel(), system["Visible"], system["XPos"], focused(s, "L")], [False, "0", "5", True],
            "Space chose 非表示, the typed X is kept, Enter is OK; the focus is back on the list")
    s.type_keys("L", "f2")
    s.type_keys(f"{PANEL}/#{SAMPLE}", "enter")
    s.equal([s.panel(), boxes(s)[0]["Right"]], [True, "357"], "Enter on a focused preset button presses it")
    s.type_keys(f"{PANEL}/#{TE['X']}", "esc")
    s.equal([s.panel(), ini_values(s.settings_file.read_bytes())["System"]["XEnd"]], [False, "354"],
            "Escape is Cancel")
    for where in (f"{PANEL}/#{TE['Up']}", f"{PANEL}/#{PORTS}"):
        s.type_keys("L", "f2")
        s.type_keys(where, "f3")
        s.check(not s.panel(), f"F3 in {where} hides the panel")

    # A held button or option that loses the mouse does nothing when released.
    s.press(*BUTTON["Clear"])
    pressed = s.prop("LtPressed")
    s.send("C", (WM_CANCELMODE, 0, 0))
    s.release(*BUTTON["Clear"])
    s.equal([pressed, s.prop("LtPressed"), s.count()], [8, 0, 2], "Clear held, the capture taken: the list stays")
    s.click(*BUTTON["Option"])
    s.press(84, 48, PANEL)
    s.send(PANEL, (WM_CANCELMODE, 0, 0))
    s.release(84, 48, PANEL)
    press(s, OK)
    s.equal(ini_values(s.settings_file.read_bytes())["System"]["Visible"], "0",
            "表示 held, the capture taken: the start-up option stays")
    s.type_keys("L", "ctrl+delete")
    s.equal(s.count(), 0, "Ctrl+Delete clears the list")

    # Opening and closing the panel keeps the process's GDI and USER objects.
    s.click(*BUTTON["Option"])
    s.click(*BUTTON["Option"])
    before = s.gui_objects()
    for _ in range(50):
        s.click(*BUTTON["Option"])
        s.click(*BUTTON["Option"])
    after = s.gui_objects()
    print(f"# GDI and USER objects: {before} before, {after} after")
    s.check(after[0] - before[0] <= 50 and after[1] - before[1] <= 3,
            "the panel opened and closed 50 times keeps the GDI and USER counts", before, after)
    s.type_keys("C", "alt+f4")
    s.check(s.probe_run("gone", "C", 10000)[0] == 0, "Alt+F4 ends the program")


GROUPS = {"settings_panel": settings_panel, "association": association, "refused_path": refused_path,
          "keys_controller": keys_controller}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
