#!/usr/bin/env python3
"""The movie window under Wine with AVIs made by ffmpeg, driven and read by
ltprobe; the MCI commands sent are read back from Wine's MCI trace.
    run_movie.py --exe lumatrove.exe --probe ltprobe.exe GROUP..."""

import re
import subprocess
import sys
import time

from lt_session import FILES_WIN, WM_COMMAND, WM_HSCROLL, run_groups

SB_THUMBPOSITION = 4
MOVIE = "@LtViewAvi"
IDM_PLAY, IDM_SEEK, IDM_SPEED = 501, 502, 510  # the menu's commands
FPS, SECONDS = 10, 4  # long enough that a slow probe start misses no state
FRAMES = FPS * SECONDS


def make_avi(s, name, size, codec, sound=False):
    """ffmpeg's test pattern in "msvideo1" or "rawvideo" (BGR, stored
    top-down), with a 440 Hz PCM track if asked."""
    cmd = ["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", f"testsrc=size={size}:rate={FPS}"]
    if sound:
        cmd += ["-f", "lavfi", "-i", f"sine=frequency=440:duration={SECONDS}", "-c:a", "pcm_s16le", "-ar", "22050"]
    cmd += ["-t", str(SECONDS), "-c:v", codec] + (["-pix_fmt", "bgr24"] if codec == "rawvideo" else [])
    subprocess.run(cmd + [str(s.files_dir / name)], check=True, timeout=60)
    return f"{FILES_WIN}\\{name}"


def start(s):
    s.env["WINEDEBUG"] = "-all,trace+mci"
    s.launch()


def trace(s, pattern):
    return re.findall(pattern, (s.tmp / "wine.log").read_bytes().decode("utf-8", errors="replace"))


def sent(s, since=0):
    """Commands sent (mciExecute ones too), queries left out."""
    return [c for c in trace(s, r'mciSendStringW \(L"(.*?)", ') if not c.startswith(("status", "where"))][since:]


def read_movie(s):
    """What the movie window shows, or {} when there is none."""
    # Properties first: a state they show is complete once the window answers the info's first message.
    code, props, _ = s.probe_run("prop", MOVIE, "LtMoviePlaying", "LtMovieSpeedShown")
    window, bar, video = s.info(MOVIE, f"{MOVIE}/ScrollBar:0", f"{MOVIE}/LtPicAvi/*")
    if not window or not bar or code:
        return {}
    playing, speed = map(int, props.split())
    return {"hwnd": window.hwnd, "title": window.text, "playing": str(playing), "speed": str(speed),
            "pos": str(bar.scroll[1]), "posEnabled": str(int(bar.enabled)), "outer": "%dx%d" % window.box[2:],
            "video": "%dx%d" % video.box[2:] if video else "0x0"}


def state(s, want, timeout=8):
    """The movie window's fields, once `want` holds or the time is up."""
    end = time.monotonic() + timeout
    while True:
        st = read_movie(s)
        if all(st.get(k) == v for k, v in want.items()) or time.monotonic() >= end:
            return st
        time.sleep(0.02)


def command(s, what, *n, expect):
    """Posts a menu choice (play, seek, speed PRESET) or the position bar's thumb released at a frame (pos N);
    checks the first commands the window sends."""
    since = len(sent(s))
    if what == "pos":
        msg = (WM_HSCROLL, (n[0] << 16) | SB_THUMBPOSITION, int(s.info(f"{MOVIE}/ScrollBar:0")[0].hwnd, 16))
    else:
        msg = (WM_COMMAND, {"play": IDM_PLAY, "seek": IDM_SEEK}.get(what) or IDM_SPEED + n[0], 0)
    s.send(MOVIE, msg, post=True)
    s.wait_until(lambda: len(sent(s, since)) >= len(expect), 5)
    s.equal(sent(s, since)[:len(expect)], expect, f"{what} {' '.join(map(str, n))} sends {expect}")


def playback(s):
    ms1 = make_avi(s, "ms1.avi", "320x240", "msvideo1")
    raw = make_avi(s, "raw.avi", "160x120", "rawvideo")
    start(s)
    s.write_queue([ms1])
    st = state(s, {"video": "320x240", "title": "BriskReeler - ms1.avi", "playing": "1"}, 10)
    s.equal([st.get(k) for k in ("video", "playing", "speed", "posEnabled")], ["320x240", "1", "100", "0"],
            "the picture at the movie's size, plays at 100%, bar locked")
    s.equal([re.sub(r"parent \d+", "parent N", c).replace("\\\\", "\\") for c in sent(s)],
            [f"open {FILES_WIN}\\ms1.avi alias AVI nostatic parent N style Child", "put AVI destination", "play AVI"],
            "the open's commands")
    n = len(sent(s))
    st = state(s, {"playing": "0"}, SECONDS + 3)
    s.equal((st.get("pos"), st.get("posEnabled")), (str(FRAMES), "1"), "at the end: 再生, bar at its end and free")
    s.equal((sent(s, n), s.probe("dismiss")), ([f"seek AVI to {FRAMES - 1}"], ""),
            "the bar's end seeks to the last frame, without an error box")
    command(s, "play", expect=["seek AVI to start", "play AVI"])
    time.sleep(1)
    command(s, "play", expect=["stop AVI"])
    st = state(s, {"playing": "0", "posEnabled": "1"})
    s.check(0 < int(st.get("pos", 0)) < FRAMES, "stop leaves the bar at the frame reached", "1..39", st.get("pos"))
    command(s, "seek", expect=["seek AVI to start", "stop AVI", "seek AVI to 0"])
    command(s, "pos", 7, expect=["seek AVI to 7"])
    s.equal(s.probe("dismiss"), "", "a silent movie stops and rewinds without an error box")
    command(s, "speed", 0, expect=["set AVI speed 500"])

    hwnd = st.get("hwnd")
    s.write_queue([raw])
    st = state(s, {"video": "160x120", "playing": "1"}, 10)
    s.equal((st.get("hwnd"), st.get("title"), st.get("outer")), (hwnd, "BriskReeler - raw.avi", "167x211"),
            "the second (top-down) movie replaces the first in the same window, sized by its frame")
    n = len(sent(s))
    s.write_queue([raw])  # listed already: plays again from the start
    s.wait_until(lambda: "play AVI" in sent(s, n), 5)
    s.equal(sent(s, n), ["Seek AVI to start", "set AVI speed 500", "play AVI"], "the same movie again replays")


def sound_and_errors(s):
    snd = make_avi(s, "with sound.avi", "320x240", "msvideo1", sound=True)
    (s.files_dir / "bad.avi").write_bytes(b"RIFF\x20\x00\x00\x00AVI LIST" + b"\x00" * 24)
    start(s)
    s.write_queue([snd])
    s.equal(state(s, {"playing": "1"}, 10).get("title"), "BriskReeler - with sound.avi", "a path with a blank opens")
    command(s, "play", expect=["stop AVI"])
    state(s, {"playing": "0", "posEnabled": "1"})
    command(s, "seek", expect=["seek AVI to start", "stop AVI"])
    s.equal(s.probe("dismiss"), "", "a movie with sound stops and rewinds without an error box")

    s.write_queue([f"{FILES_WIN}\\bad.avi"])
    shown = []
    s.wait_until(lambda: shown.extend(s.probe("dismiss").splitlines()) or shown, 10)
    time.sleep(0.5)
    shown += s.probe("dismiss").splitlines()
    s.check(len(shown) == 1 and re.match(r"Lumatrove\t.", shown[0]), "one box with the platform's text",
            "Lumatrove<TAB>text", shown)
    s.check(s.wait_until(lambda: not read_movie(s), 5), "no movie window is left", "gone", "there")
    s.check("Close Avi" not in trace(s, r"mciExecute \((.*?)\)!"), "the failed device is closed quietly")


def keys(s):
    """Each key as a user presses it, whichever of the window's controls has the focus."""
    start(s)
    s.write_queue([make_avi(s, "ms1.avi", "320x240", "msvideo1")])
    state(s, {"playing": "1", "video": "320x240"}, 10)
    bar, pic, video = f"{MOVIE}/ScrollBar:0", f"{MOVIE}/LtPicAvi", f"{MOVIE}/LtPicAvi/*"
    step = str(FRAMES // 10)
    for path, key, want, what in [
            (MOVIE, "space", {"playing": "0", "posEnabled": "1"}, "space stops"),
            (MOVIE, "home", {"pos": "0", "playing": "0"}, "home rewinds"),
            (MOVIE, "right", {"pos": step}, "right steps the bar by a tenth"),
            (bar, "right", {"pos": str(2 * FRAMES // 10)}, "right, the bar focused: a tenth, not the bar's own step"),
            (video, "left", {"pos": step}, "left, the video clicked last"),
            (pic, "home", {"pos": "0"}, "home, the picture box focused"),
            (bar, "space", {"playing": "1", "posEnabled": "0"}, "space plays, the bar focused"),
            (MOVIE, "3", {"speed": "200"}, "3 after the bar was locked under the focus: 倍速"),
            (MOVIE, "right", {"pos": "0", "playing": "1"}, "right while playing: the locked bar stays"),
            (video, "1", {"speed": "50"}, "1: 半速"),
            (MOVIE, "5", {"speed": "500"}, "5: 迅速"),
            (MOVIE, "down", {"speed": "490"}, "down: the speed meter a step slower"),
            (bar, "2", {"speed": "100"}, "2: 普通"),
            (MOVIE, "4", {"speed": "300"}, "4: 参速")]:
        s.type_keys(path, key)
        st = state(s, want, 3)
        s.equal({k: st.get(k) for k in want}, want, what)
    s.check(s.info(video)[0].hwnd != s.focus(MOVIE), "the video never holds the focus")


def handles(s):
    """The movie window opened and closed 50 times leaves the GDI and USER objects it took, within 50. The
    first movie loads the platform's video drivers and fills its caches (about 50 objects under Wine) once,
    before the count: then even one object left per window shows."""
    avi = make_avi(s, "small.avi", "160x120", "msvideo1")
    start(s)

    def cycle():
        s.write_queue([avi])
        s.probe("shown", MOVIE, 10000)
        s.post_close(MOVIE)
        s.probe("gone", MOVIE, 10000)
    cycle()
    before = s.gui_objects("C")
    for _ in range(50):
        cycle()
    after = s.gui_objects("C")
    s.check(all(a - b < 50 for a, b in zip(after, before)), f"50 movie windows later: GDI and USER objects {after}",
            f"less than 50 above {before}", after)


GROUPS = {"playback": playback, "sound_and_errors": sound_and_errors, "keys": keys, "handles": handles}

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
