#!/usr/bin/env python3
"""The 32-bit and the 64-bit program meeting on one machine: they share the
Windows folder's MP3 library file, settings file and queue file, and the
single instance holds across them.

    run_architectures.py --exe EXE --probe PROBE --peer-exe OTHER_EXE --peer-library OTHER_DLL GROUP...

library: the other build's library in the Windows folder (a file is enough; it
need not run) is replaced by this build's at start, or, where it cannot be
replaced, left alone while a copy in the temporary folder serves.
handover: in one 64-bit prefix, each build running and the other's second
start handing it a path (exit 77, skipped, where 32-bit programs cannot run).
"""

import shutil
import sys

from fixtures import bmp
from lt_session import Failure, pe_arch, run_groups, x86_runs
from run_integration import ARRIVAL_MS, QUICK_EXIT_S


def own_library(s):
    """The library this build carries (built beside its exe)."""
    return (s.exe.parent / "ltmp3.dll").read_bytes()


def temporary_libraries(s, arch="*"):
    return list((s.prefix / "drive_c" / "users").glob(f"*/**/Temp/Lumatrove/{arch}/ltmp3.dll"))


def library(s):
    lib, built = s.windir / "ltmp3.dll", own_library(s)
    other = s.peer_library.read_bytes()
    # The exe alone, as users copy it: no library beside it to fall back on.
    (alone := s.prefix / "drive_c" / "Lumatrove").mkdir()
    s.exe = shutil.copy(s.exe, alone / "lumatrove.exe")
    s.check(pe_arch(s.peer_library) not in (None, s.arch), f"the peer library is of the other architecture than {s.arch}")
    # Where earlier versions put their fallback copy, for both builds alike.
    (shared_temporary := next((s.prefix / "drive_c" / "users").glob("*/Temp")) / "Lumatrove").mkdir()
    (shared_temporary / "ltmp3.dll").write_bytes(other)

    # The other build's copy, or an older one of ours, is replaced at start.
    for what, held in (("the other architecture's library", other), ("a damaged library", built[:4096])):
        lib.write_bytes(held)
        app = s.start_app()
        if s.probe_run("find", "C", 20000, timeout=40)[0] != 0:
            s.check(False, f"{what} in the Windows folder: the program starts", "a controller",
                    s.probe("dismiss") or "no window")
            s.ended(app, 10)
            continue
        s.equal((pe_arch(lib), lib.read_bytes() == built), (s.arch, True),
                f"{what} in the Windows folder: replaced by this build's copy")
        s.equal(s.probe("dismiss"), "", f"{what}: no message box; the library initialised")
        s.post_close()
        s.check(s.ended(app, 15) is not None, f"{what}: the program ends when closed")

    # A copy that cannot be replaced (another program holds it, as a running
    # copy of the other build would) stays; one in the temporary folder serves.
    lib.write_bytes(other)
    windows_path = "C:\\windows\\ltmp3.dll"

    def start_while_held():
        s.launch()
        temporary = temporary_libraries(s, s.arch)
        s.equal((lib.read_bytes() == other, len(temporary), temporary and temporary[0].read_bytes() == built),
                (True, 1, True), "a held library stays; this build's copy in the temporary folder is loaded")
        s.equal(s.probe("dismiss"), "", "held library: no message box")

    code, out, err = s.probe_run("hold", windows_path, 20000, timeout=60, then=start_while_held)
    if code != 0 or not out.startswith("held"):
        raise Failure(f"could not hold {windows_path}: {err.strip()}")


def handover(s):
    """Each build running, the other's second start hands it a path."""
    lib = s.windir / "ltmp3.dll"
    for running, second in ((s.peer_exe, s.exe), (s.exe, s.peer_exe)):
        names = f"{pe_arch(running)} running, {pe_arch(second)} second start"
        app = s.start_app(exe=running)
        s.probe("find", "C", 20000, timeout=40)
        s.equal(pe_arch(lib), pe_arch(running), f"{names}: the Windows folder holds the running build's library")
        picture = s.fixture(f"from-{pe_arch(second)}.bmp", bmp())
        code, secs = s.run_app(picture, exe=second)
        s.check(code == 0 and secs < QUICK_EXIT_S, f"{names}: the second start ends at once", "exit 0",
                f"exit {code} after {secs:.1f} s")
        s.equal(s.wait_count(1, ARRIVAL_MS), 1, f"{names}: the path is listed by the running copy")
        s.equal([text.split(" ", 1)[-1] for _, text in s.list_lines()], [picture], f"{names}: the listed path")
        s.post_close()
        s.check(s.ended(app, 15) is not None, f"{names}: the running copy ends when closed")
        # Both read and write the one settings file.
        s.check(b"Volume=" in s.settings_file.read_bytes(), f"{names}: the shared settings file holds the volume")


GROUPS = {"library": library, "handover": handover}

if __name__ == "__main__":
    if "handover" in sys.argv and not x86_runs():
        print("skipped: this machine does not run 32-bit programs")
        sys.exit(77)
    sys.exit(run_groups(GROUPS))
