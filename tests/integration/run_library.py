"""The MP3 library in the real program and in-process under a session's own
sound server, heard on the null sink (run_library.py --exe EXE --probe PROBE GROUP...).

mp3_faults: a playing file emptied from outside; the program lives on and
the player reports the piece stopped.
mp3_calls_heard: every library call in every state (the in-process test of
lt_win_tests.exe), each phase heard or not as it should be.
"""

import os
import subprocess
import sys
import time

from lt_session import FILES_WIN, run_groups
from music_media import LOUD, QUIET, heard, record_rms, tone_mp3
from run_player import PLAYER, open_player, prop, state, wait_prop


def alive(s):
    """The first copy still runs and its controller answers."""
    return s.apps[0].poll() is None and s.probe_run("find", "C", 2000)[0] == 0


def group_mp3_faults(s):
    tone = tone_mp3(s, "cut.mp3", 30)
    s.launch()
    open_player(s, tone)
    s.equal(wait_prop(s, "LtState", lambda v: v == 2), 2, "the piece plays")
    s.check(heard(s) > LOUD, "and is heard", f"> {LOUD}")
    os.truncate(s.files_dir / "cut.mp3", 0)
    t0 = time.monotonic()
    # What was read before plays out (about a second), then the piece ends.
    s.check(s.wait_until(lambda: state(s) != 1, 8.0, 0.1), "the emptied piece ends", "not playing",
            state(s))
    print(f"# ended {time.monotonic() - t0:.1f} s after the cut")
    s.check(alive(s), "the program lives on")
    s.check(state(s) in (0, -1), "the player reports stopped (or is closed)", 0, state(s))
    time.sleep(0.3)
    s.check(record_rms(s, 0.8) < QUIET, "and is silent", f"< {QUIET}")
    # The same file whole again plays as before.
    tone_mp3(s, "cut.mp3", 10)
    open_player(s, tone)
    s.equal(wait_prop(s, "LtState", lambda v: v == 2), 2, "the file made whole again plays")
    s.check(alive(s), "in the same program")


def group_mp3_calls_heard(s):
    tests = s.exe.parent / "tests" / "lt_win_tests.exe"
    tone = tone_mp3(s, "calls.mp3", 30)
    env = {**s.env, "LT_TEST_MP3": tone, "LT_TEST_PHASES": "1"}
    # A file, not a pipe: Wine's lasting services would hold a pipe open.
    out_path = s.tmp / "calls.out"
    with open(out_path, "wb") as out:
        p = subprocess.Popen([s.wine, str(tests), "--gtest_filter=Mp3LibraryTest.EveryCallInEveryStateOnTheDevice"],
                             env=env, stdout=out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    s.apps.append(p)
    # Each phase is held 3 s after it is named. Loud ones are heard after
    # the 1.2 s that was queued at the call, silent ones once the device
    # has let go of what it held.
    loud = {"playing": True, "paused": False, "restarted": True, "stopped": False, "played again": True,
            "closed": False}
    seen, done = [], 0
    while True:
        ended = p.poll() is not None
        lines = out_path.read_bytes().decode(errors="replace").split("\n")
        for line in lines[done:-1]:
            done += 1
            if not line.startswith("phase "):
                continue
            phase = line[len("phase "):].rstrip()
            seen.append(phase)
            time.sleep(1.8 if loud.get(phase) else 0.6)
            level = record_rms(s, 1.0)
            if loud.get(phase):
                s.check(level > LOUD, f"{phase}: heard", f"> {LOUD}", round(level))
            else:
                s.check(level < QUIET, f"{phase}: silent", f"< {QUIET}", round(level))
        if ended:
            break
        time.sleep(0.05)
    output = out_path.read_bytes().decode(errors="replace").splitlines()
    code = p.wait(timeout=30)
    s.equal(seen, list(loud), "every phase came")
    s.check(code == 0, "the in-process checks passed", 0, "\n".join(output[-15:]))


GROUPS = {"mp3_faults": group_mp3_faults, "mp3_calls_heard": group_mp3_calls_heard}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
