#!/usr/bin/env python3
"""Integration tests of the movie window: the real lumatrove.exe under Wine
plays AVIs made here by ffmpeg, driven and read from outside by ltprobe. The
MCI commands the program sends are read back from Wine's MCI trace.

    run_movie.py --exe lumatrove.exe --probe ltprobe.exe GROUP...
"""

import re
import subprocess
import sys
import time

from lt_session import FILES_WIN, Failure, run_groups

FPS = 10
SECONDS = 4  # long enough that a slow probe start does not miss a playing movie
FRAMES = FPS * SECONDS


def make_avi(s, name, size, codec, sound=False):
    """A test-pattern AVI of SECONDS at FPS, made by ffmpeg: "msvideo1" (MS
    Video 1) or "rawvideo" (uncompressed BGR, stored top-down), optionally with
    a 440 Hz PCM track. Returns its Windows path."""
    cmd = ["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", f"testsrc=size={size}:rate={FPS}"]
    if sound:
        cmd += ["-f", "lavfi", "-i", f"sine=frequency=440:duration={SECONDS}", "-c:a", "pcm_s16le", "-ar", "22050"]
    cmd += ["-t", str(SECONDS), "-c:v", codec] + (["-pix_fmt", "bgr24"] if codec == "rawvideo" else [])
    cmd += [str(s.files_dir / name)]
    subprocess.run(cmd, check=True, timeout=60, stdout=subprocess.DEVNULL)
    return f"{FILES_WIN}\\{name}"


def start(s):
    """The program with Wine's MCI trace on, so that its commands can be read."""
    s.unmanaged_windows()
    s.env["WINEDEBUG"] = "-all,trace+mci"
    s.launch()


def mci_commands(s):
    """Every command string the program sent (mciExecute ones included)."""
    log = (s.tmp / "wine.log").read_bytes().decode("utf-8", errors="replace")
    return re.findall(r'mciSendStringW \(L"(.*?)", ', log)


def executed(s):
    log = (s.tmp / "wine.log").read_bytes().decode("utf-8", errors="replace")
    return re.findall(r"mciExecute \((.*?)\)!", log)


def new_commands(s, since):
    """Commands sent after the first `since` ones, queries left out."""
    return [c for c in mci_commands(s)[since:] if not c.startswith(("status", "where"))]


def state(s, wait=None, timeout_ms=5000):
    """The movie window's fields (see ltprobe movie); with wait="key=value",
    once that field reads so."""
    if wait:
        code, out, err = s.probe_run("movie-wait", wait, timeout_ms, timeout=timeout_ms / 1000 + 30)
        if code != 0:
            s.check(False, f"movie window reads {wait} within {timeout_ms} ms", wait, out.strip() or err.strip())
    else:
        out = s.probe("movie")
    return dict(f.split("=", 1) for f in out.strip().split("\t") if "=" in f)


def boxes(s):
    return s.probe("dismiss").splitlines()


def menu(s, *item):
    s.probe("movie-menu", *item)


def add(s, path):
    s.write_queue([path])


def playback(s):
    """One silent MS Video 1 movie: open, end, replay, stop, rewind, bar,
    speeds; then an uncompressed one replaces it; then the same one again."""
    ms1 = make_avi(s, "ms1.avi", "320x240", "msvideo1")
    raw = make_avi(s, "raw.avi", "160x120", "rawvideo")
    start(s)

    add(s, ms1)
    st = state(s, "video=320x240", 10000)
    s.equal(st.get("title"), "BriskReeler - ms1.avi", "caption names the file")
    s.equal(st.get("outer"), "327x331", "window sized to the movie")
    s.equal((st.get("playing"), st.get("speed"), st.get("posEnabled")), ("1", "100", "0"),
            "playing at 100%, bar locked")
    st = state(s, "playing=0", SECONDS * 1000 + 2000)
    s.equal((st.get("pos"), st.get("posEnabled")), (str(FRAMES), "1"), "at the end: bar at its end and free")
    s.equal(boxes(s), [], "a silent movie ends without an error box")

    n = len(mci_commands(s))
    menu(s, "play")
    s.wait_until(lambda: "play AVI" in new_commands(s, n), 5)
    s.equal(new_commands(s, n)[:2], ["seek AVI to start", "play AVI"], "play after the end starts from the start")
    time.sleep(0.8)
    menu(s, "play")
    st = state(s, "playing=0")
    s.check(0 < int(st.get("pos", 0)) < FRAMES, "stop leaves the bar at the frame reached", "1..19", st.get("pos"))
    s.equal(boxes(s), [], "stopping a silent movie shows no error box")

    n = len(mci_commands(s))
    menu(s, "play")
    state(s, "playing=1")
    menu(s, "seek")
    st = state(s, "pos=0")
    s.equal((st.get("playing"), st.get("posEnabled")), ("0", "1"), "rewind while playing: stopped, bar free")
    s.equal(new_commands(s, n)[-3:], ["seek AVI to start", "stop AVI", "seek AVI to 0"], "rewind commands")
    s.equal(boxes(s), [], "rewinding a silent movie shows no error box")

    n = len(mci_commands(s))
    s.probe("movie-pos", 7)
    s.wait_until(lambda: new_commands(s, n), 5)
    s.equal(new_commands(s, n), ["seek AVI to 7"], "moving the bar while stopped seeks without playing")

    for index, meter in ((2, 200), (0, 50), (4, 500)):
        n = len(mci_commands(s))
        menu(s, "speed", index)
        st = state(s, f"speed={meter}")
        s.equal(new_commands(s, n), [f"set AVI speed {meter * 10}"], f"preset {index} sends its speed")

    hwnd = state(s).get("hwnd")
    n = len(mci_commands(s))
    add(s, raw)
    st = state(s, "video=160x120", 10000)
    s.equal(st.get("title"), "BriskReeler - raw.avi", "caption names the second movie")
    sent = new_commands(s, n)
    s.check("Close AVI" in sent and sent.index("Close AVI") < next(i for i, c in enumerate(sent) if c.startswith("open")),
            "the first movie is closed before the second opens", "Close AVI, then open", sent[:3])
    s.equal(st.get("outer"), "167x211", "a top-down uncompressed movie sizes the window by its frame")
    s.equal(len([w for w in s.windows() if w[2] == "LtViewAvi"]), 1, "one movie window, reused")
    s.equal(st.get("hwnd"), hwnd, "the same window shows the second movie")
    state(s, "playing=1")
    s.check(f"set AVI speed 5000" in sent, "the stored speed carries over to the new movie", "set AVI speed 5000", sent)

    n = len(mci_commands(s))
    add(s, raw)  # already listed: activating it plays it again
    s.wait_until(lambda: "play AVI" in new_commands(s, n), 5)
    s.equal(new_commands(s, n), ["Seek AVI to start", "set AVI speed 5000", "play AVI"], "same movie again replays")


def sound_and_errors(s):
    """A movie with sound stops cleanly; a path with blanks opens; an
    unreadable AVI reports once and leaves no window."""
    snd = make_avi(s, "with sound.avi", "320x240", "msvideo1", sound=True)
    (s.files_dir / "bad.avi").write_bytes(b"RIFF\x20\x00\x00\x00AVI LIST" + b"\x00" * 24)
    start(s)

    add(s, snd)
    st = state(s, "playing=1", 10000)
    s.equal(st.get("title"), "BriskReeler - with sound.avi", "a path with a blank opens")
    opened = [c for c in mci_commands(s) if c.startswith("open ")]
    s.check(opened and "with sound.avi alias" not in opened[-1], "the blank path goes as its short form or quoted",
            "no bare blank path", opened[-1:])
    time.sleep(0.5)
    menu(s, "play")
    state(s, "playing=0")
    s.equal(boxes(s), [], "stopping a movie with sound shows no box")
    menu(s, "seek")
    state(s, "pos=0")
    s.equal(boxes(s), [], "rewinding a movie with sound shows no box")

    add(s, f"{FILES_WIN}\\bad.avi")
    shown = []
    s.wait_until(lambda: shown.extend(boxes(s)) or shown, 10)
    time.sleep(0.5)
    shown += boxes(s)
    s.equal(len(shown), 1, "one error box for a failed open")
    s.check(shown and shown[0].startswith("Lumatrove\t") and len(shown[0]) > len("Lumatrove\t"),
            "the box carries the platform's text under the program's title", "Lumatrove<TAB>text", shown)
    s.check(s.wait_until(lambda: s.probe_run("movie", 0)[0] != 0, 5), "no movie window is left",
            "gone", "still there")
    s.check("Close Avi" not in executed(s), "the failed open's device is closed quietly", "no mciExecute", executed(s))
    print(f"# note: open error text: {shown[:1]}")


GROUPS = {"playback": playback, "sound_and_errors": sound_and_errors}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
