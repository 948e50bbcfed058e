#!/usr/bin/env python3
"""The program where Windows makes things hard: a Windows folder that takes no
files (a normal user on current Windows) and many copies started at once (the
shell opening several selected files).

    run_hardening.py --exe lumatrove.exe --probe ltprobe.exe GROUP...
"""

import ctypes
import os
import subprocess
import sys

import fixtures
from lt_session import FILES_WIN, Failure, run_groups, win_path
from run_integration import ini_values, second_copy

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
    try:
        (s.windir / "lt-probe.tmp").write_bytes(b"x")
        s.check(False, "the Windows folder refuses new files", "refused", "written")
        return
    except OSError:
        pass
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
    s.fixture("a.mid", fixtures.midi())
    second_copy(s, "a second start with a path", f"{FILES_WIN}\\a.mid")
    s.equal(s.wait_count(1), 1, "the running copy lists the handed-over file")

    s.post_close()
    s.check(s.wait_until(lambda: app.poll() is not None, 10), "closing ends the program")
    settings = ini_values((home / "Lumatrove.ini").read_bytes())
    s.equal(settings.get("MusicPlayer", {}).get("Volume"), "100", "the volume is stored in the per-user folder")
    s.equal(settings.get("System", {}).get("XEnd"), "354", "which started from the default settings")


def ten_starts(s):
    """Ten copies let run at one moment, each with a path: the one that takes
    the instance mutex shows the controller, the others queue and end."""
    paths = [s.fixture(f"{i}.mid", fixtures.midi()) for i in range(10)]
    out = s.probe("start-together", win_path(s.exe), *paths, timeout=60)
    s.equal(out.strip(), "running=1", "all but one copy end")
    s.probe("find", "C", 20000, timeout=40)
    s.equal(s.wait_count(10, 15000), 10, "every path of ten simultaneous starts is listed")
    s.equal(sorted(text.split(" ", 1)[1] for _, text in s.list_lines()), sorted(paths), "the listed paths")
    s.equal(sum(w[3] == "Controller" for w in s.windows()), 1, "one controller window")


GROUPS = {"unwritable_windows": unwritable_windows, "ten_starts": ten_starts}

if __name__ == "__main__":
    MOUNTS = private_mounts()
    sys.exit(run_groups(GROUPS))
