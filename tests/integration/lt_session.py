"""A throwaway Wine world for one test group: a fresh prefix copied from the
booted template, its own virtual display and null-sink sound server, the
program under test started in it, and ltprobe to look at it from outside.
Everything started here is ended here, by its own process id, plus
`wineserver -k` for this prefix only."""

import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
from collections import namedtuple
from pathlib import Path

WINE_ENV = Path(__file__).resolve().parents[2] / "scripts" / "wine-env.sh"
WINE_DIR = Path(os.environ.get("LT_WINE_DIR", "/usr/lib/wine"))
LOADERS = {"x86": WINE_DIR / "wine", "x64": WINE_DIR / "wine64"}
FILES_DIR = "lt"  # where fixtures live inside the prefix, seen from both sides
FILES_WIN = "C:\\" + FILES_DIR


WM_CLOSE, WM_SETTEXT, WM_KEYDOWN, WM_KEYUP, WM_COMMAND, WM_SYSCOMMAND = 0x10, 0x0C, 0x100, 0x101, 0x111, 0x112
WM_HSCROLL, WM_MOUSEWHEEL, BN_CLICKED, SC_MINIMIZE, SC_CLOSE = 0x114, 0x20A, 0, 0xF020, 0xF060
LB_SETCURSEL, LB_GETCURSEL, LB_GETCOUNT, LB_GETTOPINDEX, LB_GETITEMHEIGHT = 0x186, 0x188, 0x18B, 0x18E, 0x1A1
CB_GETCOUNT, CB_GETCURSEL, CB_SETCURSEL, CBN_SELCHANGE = 0x146, 0x147, 0x14E, 1
MOUSE = {"move": (0x200, 1), "down": (0x201, 1), "up": (0x202, 0), "dbl": (0x203, 1), "rdown": (0x204, 2),
         "rup": (0x205, 0)}


class Win(namedtuple("Win", "hwnd visible enabled foreground topmost iconic rect scroll text")):
    """A window as ltprobe info shows it; rect is (left, top, right, bottom), scroll (max, pos)."""

    @property
    def box(self):
        """(left, top, width, height)"""
        return *self.rect[:2], self.rect[2] - self.rect[0], self.rect[3] - self.rect[1]


def _win(row):
    head, _, text = row.partition("\t")
    f = head.split()
    n = [int(v) for v in f[1:]]
    return Win(f[0], *map(bool, n[:5]), tuple(n[5:9]), tuple(n[9:11]), text)


class Failure(Exception):
    """A step could not be carried out at all (not a failed check)."""


class Deadline(Exception):
    pass


def _on_deadline(signum, frame):
    raise Deadline(f"signal {signum}: time budget used up")


def pe_arch(path):
    """The architecture of a Windows program or library, "x86" or "x64", from its PE header."""
    data = Path(path).read_bytes()[:4096]
    pe = struct.unpack_from("<I", data, 60)[0]
    machine = struct.unpack_from("<H", data, pe + 4)[0] if data[pe:pe + 4] == b"PE\0\0" else None
    return {0x14C: "x86", 0x8664: "x64"}.get(machine)


def x86_runs():
    """Does this machine run 32-bit programs (asks the 32-bit loader, as wine-env.sh does)."""
    if os.environ.get("LT_X86_RUNS") in ("yes", "no"):
        return os.environ["LT_X86_RUNS"] == "yes"
    if os.environ.get("LT_NO_X86"):
        return False
    try:
        return subprocess.run([str(LOADERS["x86"]), "--version"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=60).returncode == 0
    except OSError:
        return False


def win_path(unix_path):
    """The program sees the Linux root as drive Z:."""
    return "Z:" + str(Path(unix_path).resolve()).replace("/", "\\")


class Session:
    def __init__(self, exe, probe, name, budget=None, peer_exe=None, peer_library=None):
        self.exe, self.probe_exe = Path(exe).resolve(), Path(probe).resolve()
        # The architecture under test decides the loader and the kind of prefix.
        self.arch = pe_arch(self.exe)
        self.wine = str(LOADERS[self.arch])
        # The other architecture's build, for the tests of both together.
        self.peer_exe = Path(peer_exe).resolve() if peer_exe else None
        self.peer_library = Path(peer_library).resolve() if peer_library else None
        self.name, self.budget = name, budget
        self.tmp = Path(tempfile.mkdtemp(prefix=f"lt-{name}-"))
        self.prefix = self.tmp / "prefix"
        self.windir = self.prefix / "drive_c" / "windows"
        self.settings_file, self.queue_file = self.windir / "Lumatrove.ini", self.windir / "LTDummy.ini"
        self.files_dir = self.prefix / "drive_c" / FILES_DIR  # fixtures
        self.env = None
        self.apps = []  # wine processes we started (their pid is the program's)
        self.helpers = []  # (pid, what its command line holds)
        self.failures, self.checks = [], 0
        self.log = open(self.tmp / "wine.log", "ab")

    def __enter__(self):
        signal.signal(signal.SIGTERM, _on_deadline)
        signal.signal(signal.SIGINT, _on_deadline)
        try:
            self._start_world()
        except BaseException:
            self.close()
            raise
        if self.budget:  # for the checks; booting the template is bounded on its own
            signal.signal(signal.SIGALRM, _on_deadline)
            signal.alarm(int(self.budget))
        return self

    def __exit__(self, *exc):
        if self.budget:
            signal.alarm(0)
        self.close()
        return False

    def _start_world(self):
        envfile = self.tmp / "env"
        script = ('. "$1" && lt_arch_use "$4" && lt_prefix_fresh "$2" && lt_xvfb_start && lt_pulse_start'
                  ' && printf "%s %s %s\\n" "$LT_XVFB_PID" "$LT_PULSE_PID" "$LT_PULSE_DIR" && env -0 > "$3"')
        r = subprocess.run(["bash", "-c", script, "lt", str(WINE_ENV), str(self.prefix), str(envfile), self.arch],
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=180)
        fields = r.stdout.decode().split()
        self.helpers = list(zip(map(int, fields[:2]), ("Xvfb", "pulseaudio")))
        self.pulse_dir = fields[2] if len(fields) == 3 else None
        if r.returncode != 0 or len(fields) != 3:
            raise Failure(f"cannot set up Wine, display and sound: {r.stderr.decode(errors='replace')}")
        env = dict(i.decode(errors="replace").split("=", 1) for i in envfile.read_bytes().split(b"\0") if b"=" in i)
        if not env.get("DISPLAY", ":").lstrip(":"):
            raise Failure("virtual display did not start")
        self.env = {**env, "WINEPREFIX": str(self.prefix)}
        self.files_dir.mkdir(parents=True, exist_ok=True)
        # Without a window manager Wine stalls 2 s on each hide of a managed window.
        with open(self.prefix / "user.reg", "a", encoding="ascii", newline="\n") as f:
            f.write('\n[Software\\\\Wine\\\\X11 Driver] 0\n"Managed"="N"\n')

    def close(self):
        if self.env:
            try:
                subprocess.run(["wineserver", "-k"], env=self.env, timeout=30, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                pass
        for p in self.apps:
            if p.poll() is None:
                p.kill()
            self.ended(p, 10)
        for pid, what in self.helpers:
            _end_helper(pid, what)
        self.helpers = []
        self.log.close()
        if os.environ.get("LT_KEEP_TMP"):
            print(f"# kept {self.tmp}")
            return
        shutil.rmtree(self.tmp, ignore_errors=True)
        if getattr(self, "pulse_dir", None):
            shutil.rmtree(self.pulse_dir, ignore_errors=True)

    def fixture(self, name, data):
        """Writes a file in the fixture folder; returns its Windows path."""
        (self.files_dir / name).write_bytes(data)
        return f"{FILES_WIN}\\{name}"

    def run_wine(self, program, *args, timeout=60):
        """A Windows program (by name or path) run to its end with the loader under test; its exit code."""
        return subprocess.run([self.wine, str(program), *map(str, args)], env=self.env, timeout=timeout,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    def start_app(self, *args, exe=None):
        """Starts a copy (Wine quotes any argument holding a blank), of `exe` when given, with
        the loader of its own architecture; returns its process."""
        exe = Path(exe or self.exe)
        p = subprocess.Popen([str(LOADERS[pe_arch(exe)]), str(exe), *args], env=self.env, stdout=self.log,
                             stderr=self.log, stdin=subprocess.DEVNULL)
        self.apps.append(p)
        return p

    def run_app(self, *args, timeout=20, exe=None):
        """A copy that should end by itself: (exit code or None, seconds)."""
        t0, p = time.monotonic(), self.start_app(*args, exe=exe)
        return self.ended(p, timeout), time.monotonic() - t0

    def ended(self, p, timeout):
        """A process's exit code once it ends within `timeout` seconds, else None."""
        self.wait_until(lambda: p.poll() is not None, timeout, 0.02)
        return p.poll()

    def launch(self):
        """First start: the program comes up with its controller window."""
        p = self.start_app()
        self.probe("find", "C", 20000, timeout=40)
        return p

    def probe_run(self, *args, timeout=30, then=None):
        """(exit code, output, errors) of ltprobe ARGS; `then` runs once it has
        printed something. Files, not pipes: Wine's lasting services would hold a pipe open."""
        with tempfile.TemporaryFile(dir=self.tmp) as out, tempfile.TemporaryFile(dir=self.tmp) as err:
            p = subprocess.Popen([self.wine, str(self.probe_exe), *map(str, args)], env=self.env, stdout=out,
                                 stderr=err, stdin=subprocess.DEVNULL)
            try:
                if then and self.wait_until(lambda: p.poll() is not None or os.fstat(out.fileno()).st_size, 30, 0.01):
                    then()
                code = p.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                raise Failure(f"ltprobe {' '.join(map(str, args))}: no answer within {timeout} s") from None
            finally:
                if p.poll() is None:
                    p.kill()
                    p.wait()
            out.seek(0)
            err.seek(0)
            return code, out.read().decode("utf-8", errors="replace"), err.read().decode("utf-8", errors="replace")

    def probe(self, *args, timeout=30):
        code, out, err = self.probe_run(*args, timeout=timeout)
        if code != 0:
            raise Failure(f"ltprobe {' '.join(map(str, args))}: exit {code}: {err.strip()}")
        return out[:-1] if out.endswith("\n") else out  # blanks at the end of a list line are data

    def list_lines(self):
        """The list box lines as (item data, text)."""
        out = self.probe("list")
        return [(int(d), t) for d, _, t in (row.partition("\t") for row in out.split("\n"))] if out else []

    # -- windows by path (see ltprobe): C controller, L its list, @CLASS, 0xHWND, then /CLASS[:n], /#ID, /*

    def info(self, *paths):
        """Per window a Win, or None where it is missing."""
        rows = self.probe("info", *paths).split("\n")
        return [None if row == "-" else _win(row) for row in rows]

    def send(self, path, *msgs, post=False):
        """Messages (msg, wparam, lparam), lparam may be (x, y); sent: (ms, [results])."""
        args = [",".join(f"{v[0]}:{v[1]}" if isinstance(v, tuple) else str(v) for v in m) for m in msgs]
        out = self.probe("post" if post else "send", path, *args, timeout=90).split()
        return int(out[0]), [int(v) for v in out[1:]]

    def mouse(self, path, x, y, *steps, post=False, to=None):
        """Mouse steps ("down", "up", "move", "rdown", "rup", "dbl") at client (x, y), the last at `to`;
        returns the ms their handling took."""
        lps = [(x, y)] * (len(steps) - 1) + [to or (x, y)]
        return self.send(path, *((*MOUSE[k], lp) for k, lp in zip(steps, lps)), post=post)[0]

    def click(self, x, y, path="C"):
        """Left press and release at client (x, y), sent; the ms their handling took."""
        return self.mouse(path, x, y, "down", "up")

    def press(self, x, y, path="C"):
        self.mouse(path, x, y, "down")

    def release(self, x, y, path="C"):
        self.mouse(path, x, y, "up")

    def post_click(self, x, y, to=None, path="C"):
        """Press and release posted: for buttons that open a modal dialog."""
        self.mouse(path, x, y, "down", "up", post=True, to=to)

    def rclick(self, x, y, path="C"):
        """Right press and release, posted (a menu opens)."""
        self.mouse(path, x, y, "rdown", "rup", post=True)

    def key(self, vk, path="C"):
        self.send(path, (WM_KEYDOWN, vk, 1), (WM_KEYUP, vk, 0xC0000001))

    def type_keys(self, path, *keys):
        """Real key presses ("ctrl+o", "shift+f10", "space"...) to the window, made the focus first."""
        self.probe("type", path, *keys, timeout=60)

    def wheel(self, path, x, y, delta, ctrl=False):
        """The mouse wheel turned by delta (120 a notch) over client (x, y), Ctrl held when `ctrl`."""
        self.probe("wheel", path, x, y, delta, *(["ctrl"] if ctrl else []))

    def focus(self, path="C"):
        """The handle ("0x...") of the focused window of the window's thread."""
        return self.probe("focus", path)

    def gui_objects(self, path="C"):
        """(GDI objects, USER objects) of the process owning the window."""
        gdi, user = self.probe("gui", path).split()
        return int(gdi), int(user)

    def set_text(self, path, text):
        self.send(path, (WM_SETTEXT, 0, "=" + text))

    def post_close(self, path="C"):
        self.send(path, (WM_CLOSE, 0, 0), post=True)

    def dblclick_line(self, n):
        # The real pointer on the line too: a list box holding the capture
        # between press and release follows any move of the pointer.
        x, y = self.line_point(n)
        left, top = self.rect("L")[:2]
        self.pointer(left + x, top + y)
        self.mouse("L", x, y, "down", "up", "dbl", "up")

    def line_point(self, n):
        """The list box client point of line n."""
        height, top = self.send("L", (LB_GETITEMHEIGHT, 0, 0), (LB_GETTOPINDEX, 0, 0))[1]
        return 20, (n - top) * height + height // 2

    def select(self, n):
        self.send("L", (LB_SETCURSEL, n, 0))

    def selected(self):
        return self.send("L", (LB_GETCURSEL, 0, 0))[1][0]

    def count(self):
        return self.send("L", (LB_GETCOUNT, 0, 0))[1][0]

    def wait_count(self, n, timeout_ms=5000):
        """Waits until the list shows n lines; returns the count last seen."""
        end = time.monotonic() + timeout_ms / 1000
        while (got := self.count()) != n and time.monotonic() < end:
            time.sleep(0.02)
        return got

    def wait_count_dismissing(self, n, timeout=10.0):
        """wait_count, closing message boxes meanwhile (one reports a missing MIDI synthesiser)."""
        def done():
            for box in self.probe("dismiss").splitlines():
                print(f"# note: closed a message box: {box}")
            return self.count() == n
        self.wait_until(done, timeout, 0.1)
        return self.count()

    def prop(self, name, path="C"):
        return int(self.probe("prop", path, name))

    def visible(self, path="C"):
        win = self.info(path)[0]
        return bool(win and win.visible)

    def panel(self):
        """Is the settings panel shown."""
        return self.visible("C/LumatroveSettings")

    def rect(self, path="C"):
        """A window's screen rectangle: (left, top, right, bottom)."""
        return self.info(path)[0].rect

    def watch_visible(self, ms, then=None):
        """The controller's visibility at the start and each change as (ms, 0 or 1);
        `then` runs once the watching has begun, so that no change escapes."""
        code, out, _ = self.probe_run("watch-visible", ms, timeout=ms / 1000 + 30, then=then)
        if code != 0:
            raise Failure(f"ltprobe watch-visible: exit {code}")
        return [tuple(int(v) for v in row.split()) for row in out.splitlines()]

    def menu(self, *keys, at=(100, 100)):
        """Right press at client `at`, then keys typed into the popup menu."""
        # Without a window manager a menu opened by posted presses now and then
        # closes before it is typed into; no key reached it, so open it again.
        for attempt in range(2):
            self.rclick(*at)
            code, out, err = self.probe_run("menu-keys", *keys)
            if code == 0:
                return
            if attempt or "no popup menu" not in err:
                raise Failure(f"ltprobe menu-keys {' '.join(map(str, keys))}: exit {code}: {err.strip()}")

    def pointer(self, x, y):
        """Moves the pointer to screen (x, y), while a Wine program runs (an idle display resets)."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True, timeout=15,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def grab(self, box, png=None):
        """Screen pixels of box = (left, top, width, height): raw RGB bytes, or the PNG file `png`."""
        left, top, width, height = box
        r = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                            "-depth", "8", str(png) if png else "rgb:-"], env=self.env, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, timeout=30)
        if r.returncode != 0 or (not png and len(r.stdout) != width * height * 3):
            raise Failure(f"cannot read the screen: {r.stderr.decode(errors='replace').strip()}")
        return r.stdout

    def windows(self):
        """Visible top-level windows as (hwnd, pid, class, title, (left, top, width, height))."""
        rows = [row.split("\t") for row in self.probe("windows").splitlines() if row.count("\t") == 4]
        return [(hwnd, pid, cls, title, tuple(map(int, geo.split()))) for hwnd, pid, cls, geo, title in rows]

    def write_queue(self, paths):
        """A command queue file as a starting copy writes it, renamed into place so no half is read."""
        records = [p.encode("cp932") for p in paths]
        aside = self.windir / "LTDummy.tmp"
        aside.write_bytes(struct.pack("<h", len(records)) + b"".join(struct.pack("<H", len(r)) + r for r in records))
        os.replace(aside, self.queue_file)

    def check(self, ok, what, expected=None, got=None):
        self.checks += 1
        detail = "" if ok or (expected is None and got is None) else f": expected {expected!r}, got {got!r}"
        print(f"{'ok  ' if ok else 'FAIL'} {what}{detail}")
        if not ok:
            self.failures.append(what + detail)
        return ok

    def equal(self, got, expected, what):
        if got != expected and isinstance(got, list) and isinstance(expected, list) and len(expected) + len(got) > 8:
            # Long lists: name the first row that differs rather than print both.
            i = next((i for i, (a, b) in enumerate(zip(expected, got)) if a != b), min(len(expected), len(got)))
            return self.check(False, f"{what}: {len(expected)} rows expected, {len(got)} got; first difference at"
                                     f" row {i + 1}", expected[i] if i < len(expected) else "(no row)",
                              got[i] if i < len(got) else "(no row)")
        return self.check(got == expected, what, expected, got)

    def wait_until(self, pred, timeout=5.0, step=0.05):
        end = time.monotonic() + timeout
        while not pred():
            if time.monotonic() >= end:
                return False
            time.sleep(step)
        return True


def _end_helper(pid, what):
    """Ends a helper we started, after making sure the id is still that helper."""
    try:
        if what.encode() not in Path(f"/proc/{pid}/cmdline").read_bytes():
            return
    except OSError:
        return
    for sig, wait in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 2.0)):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        end = time.monotonic() + wait
        while time.monotonic() < end and not _gone(pid):
            time.sleep(0.05)
        if _gone(pid):
            return


def _gone(pid):
    try:
        return Path(f"/proc/{pid}/stat").read_text().split(") ", 1)[1].startswith("Z")  # a zombie
    except (OSError, IndexError):
        return True


def run_groups(groups, argv=None):
    """Command line: --exe EXE --probe PROBE [--budget SECONDS] [--peer-exe EXE --peer-library DLL] GROUP..."""
    import argparse
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--budget", type=float, default=None, help="seconds before the group gives up and cleans up")
    ap.add_argument("--peer-exe", help="the other architecture's program")
    ap.add_argument("--peer-library", help="the other architecture's MP3 library")
    ap.add_argument("group", nargs="+", choices=sorted(groups))
    a = ap.parse_args(argv)
    failed = 0
    for name in a.group:
        t0 = time.monotonic()
        print(f"# group {name}")
        try:
            with Session(a.exe, a.probe, name, a.budget, a.peer_exe, a.peer_library) as s:
                try:
                    groups[name](s)
                except Failure as e:
                    s.check(False, f"step failed: {e}")
                    for row in s.probe_run("windows", timeout=15)[1].splitlines():  # a message box, say
                        print(f"#   window: {row}")
                bad, total = len(s.failures), s.checks
        except (Failure, Deadline) as e:
            print(f"FAIL {name}: {e}")
            failed += 1
            continue
        print(f"# group {name}: {total - bad}/{total} checks passed in {time.monotonic() - t0:.1f} s")
        failed += bad > 0
    return 1 if failed else 0
