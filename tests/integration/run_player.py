"""The music player on the real exe under Wine: a second start opens the
player and plays (heard on the null sink), the buttons, sliders and popup
menu act on the piece, a play list moves on at the end of a piece, and the
tag editor stores a tag that ffprobe reads back. Media are made here by
ffmpeg, sox and a few bytes of Python.

    run_player.py --exe EXE --probe PROBE [--budget S] GROUP...

LT_SHOTS=DIR keeps screenshots of the player in DIR.
"""

import array
import math
import os
import struct
import subprocess
import sys
import threading
import time

from lt_session import FILES_WIN, Failure, run_groups

LOUD = 500   # a sine at ffmpeg's default level has an RMS near 2900
QUIET = 30

# Client points of the player's controls.
STOP, PAUSE, PLAY = (97, 107), (124, 107), (57, 107)
TEMPO_UP = (135, 83)
SEEK_Y, VOLUME_X = 65, 15


def make(s, name, cmd):
    out = str(s.files_dir / name)
    subprocess.run(cmd + [out], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    return f"{FILES_WIN}\\{name}"


def tone_mp3(s, name, seconds, freq=440):
    """Without an ID3v2 tag: a file is known as MP3 by its first frame."""
    return make(s, name, ["ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
                          f"sine=frequency={freq}:duration={seconds}", "-ac", "2", "-b:a", "128k",
                          "-id3v2_version", "0"])


def midi_file(notes=16, name=b"Probe tune"):
    """One track of quarter notes at 120 bpm, named in a track-name event."""
    ev = b"\x00\xff\x03" + bytes([len(name)]) + name + b"\x00\xc0\x00"
    for i in range(notes):
        ev += b"\x00\x90" + bytes([60 + i % 12, 100]) + b"\x83\x60\x80" + bytes([60 + i % 12, 0])
    ev += b"\x00\xff\x2f\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(ev)) + ev


def record_rms(s, seconds):
    """RMS level of what the null sink plays for the next `seconds`."""
    p = subprocess.Popen(["parec", "-d", "nullsink.monitor", "--raw", "--format=s16le", "--rate=44100",
                          "--channels=2", "--latency-msec=50"], env=s.env, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL)
    time.sleep(seconds)
    p.terminate()
    data = p.communicate(timeout=10)[0]
    samples = array.array("h", data[: len(data) // 2 * 2])
    return math.sqrt(sum(x * x for x in samples) / len(samples)) if samples else 0.0


def heard(s, timeout=5.0):
    """The loudest half second within timeout; stops at the first loud one
    (output may start late on a loaded machine)."""
    end, best = time.monotonic() + timeout, 0.0
    while time.monotonic() < end and best <= LOUD:
        best = max(best, record_rms(s, 0.5))
    return best


def prop(s, name):
    return int(s.probe("player-prop", name))


def state(s):
    """0 stopped, 1 playing, 2 paused, -1 no answer."""
    return prop(s, "LtState") - 1


def wait_prop(s, name, pred, timeout=5.0):
    last = [None]

    def ok():
        last[0] = prop(s, name)
        return pred(last[0])
    s.wait_until(ok, timeout, 0.1)
    return last[0]


def shot(s, name):
    folder = os.environ.get("LT_SHOTS")
    if not folder:
        return
    l, t, r, b = (int(v) for v in s.probe("player-rect").split()[:4])
    s.grab((l, t, r - l, b - t), os.path.join(folder, f"player_{name}.png"))


def open_player(s, path):
    s.start_app(path)
    s.probe("player-wait", "20000", timeout=40)


def group_mp3(s):
    s.unmanaged_windows()
    tone = tone_mp3(s, "tone.mp3", 20)
    s.launch()
    t0 = time.monotonic()
    open_player(s, tone)
    s.equal(s.probe("player-title"), tone, "the player names the piece")
    rect = s.probe("player-rect").split()
    s.equal((int(rect[2]) - int(rect[0]), int(rect[3]) - int(rect[1]), rect[4:]), (305, 123, ["topmost"]),
            "the player is 305 x 123 and stays on top")
    s.equal(wait_prop(s, "LtState", lambda v: v == 2), 2, "an MP3 given to a second start plays")
    s.check(time.monotonic() - t0 < 10, "the player comes up promptly", "< 10 s", round(time.monotonic() - t0, 1))
    level = heard(s)
    s.check(level > LOUD, "the piece is heard", f"> {LOUD}", round(level))
    shot(s, "mp3")

    s.probe("player-press", *STOP)
    shot(s, "mp3_stop_pressed")
    s.probe("player-release", *STOP)
    s.equal(state(s), 2, "stop halts the piece where it is (the MP3 reads as paused)")
    time.sleep(0.3)  # what was already queued for output
    s.check(record_rms(s, 0.8) < QUIET, "stopped is silent", f"< {QUIET}")
    s.probe("player-click", *PLAY)
    s.equal(state(s), 1, "play resumes")
    s.probe("player-click", *PAUSE)
    s.equal(state(s), 2, "pause pauses")
    s.probe("player-press", *PLAY)
    s.probe("player-release", 200, 30)
    s.equal(state(s), 2, "a press on play released elsewhere does nothing")
    s.probe("player-click", *PLAY)

    # Seek: press, drag off the bar (nothing is sought), back on, release at 3/4.
    x = 161 + 129 * 3 // 4
    s.probe("player-press", 170, SEEK_Y)
    s.probe("player-move", 170, 5)
    s.probe("player-release", 170, 5)
    before = prop(s, "LtPosition")
    s.check(before < 10, "a seek released off the bar seeks nothing", "< 10", before)
    s.probe("player-press", 170, SEEK_Y)
    s.probe("player-move", x, SEEK_Y)
    shot(s, "mp3_seek_drag")
    s.probe("player-release", x, SEEK_Y)
    pos = wait_prop(s, "LtPosition", lambda v: v >= 14)
    s.check(14 <= pos <= 17, "a seek drag to 3/4 of the bar moves to 3/4 of the piece", 15, pos)

    # Volume: the knob's drag sets the level the piece is heard at.
    full = record_rms(s, 0.8)
    s.probe("player-press", VOLUME_X, 16 + 46)
    s.probe("player-move", VOLUME_X, 16 + 50)
    s.probe("player-release", VOLUME_X, 16 + 46)
    s.equal(prop(s, "LtVolume"), 50, "the volume knob at mid travel gives 50")
    time.sleep(0.3)
    half = record_rms(s, 0.8)
    s.check(0.3 < half / max(full, 1) < 0.7, "and the piece is heard at half the level", 0.5,
            round(half / max(full, 1), 2))
    s.probe("player-press", 30, 16)
    s.equal(prop(s, "LtVolume"), 100, "the wide press strip takes a press at x 30")
    s.probe("player-move", 30, 40)
    s.equal(prop(s, "LtVolume"), 50, "a drag at x 30 is off the narrow drag strip: the value before the press")
    s.probe("player-release", 30, 40)

    # The popup menu: stop, play, minimise, exit.
    for key, want, what in (("s", 2, "the menu's stop halts"), ("p", 1, "the menu's play resumes")):
        s.probe("player-rclick", 200, 30)
        s.probe("menu-keys", key)
        s.equal(wait_prop(s, "LtState", lambda v: v == want + 1) - 1, want, what)
    s.probe("player-rclick", 200, 30)
    s.probe("menu-keys", "m")
    time.sleep(0.6)
    frames = prop(s, "LtFrames")
    time.sleep(1.2)
    s.check(prop(s, "LtFrames") == frames, "the minimised player draws nothing", frames, prop(s, "LtFrames"))
    s.probe("player-rclick", 200, 30)
    s.probe("menu-keys", "e")
    s.probe("player-gone", "5000")
    s.check(record_rms(s, 0.8) < QUIET, "the menu's exit stops the sound", f"< {QUIET}")
    s.equal(s.count(), 1, "and the list keeps its entry")


def group_advance(s):
    s.unmanaged_windows()
    first = tone_mp3(s, "first.mp3", 3, 330)
    second = tone_mp3(s, "second.mp3", 20, 550)
    playlist = s.fixture("two.m3u", b"first.mp3\r\nsecond.mp3\r\n")  # relative to the list
    s.launch()
    open_player(s, playlist)
    s.equal(s.probe("player-title"), first, "a play list starts with its first piece")
    s.check(s.wait_until(lambda: s.probe("player-title") == second, 12.0, 0.2),
            "at the end of the first piece the second one opens", second, s.probe("player-title"))
    s.equal(wait_prop(s, "LtState", lambda v: v == 2), 2, "and plays")
    s.check(heard(s) > LOUD, "audibly", f"> {LOUD}")
    s.probe("player-click", 178, 107)  # next: wraps round to the first piece
    s.check(s.wait_until(lambda: s.probe("player-title") == first, 8.0, 0.2),
            "the next button wraps round to the first piece", first, s.probe("player-title"))


def group_kinds(s):
    s.unmanaged_windows()
    long_name = "a wave file with a name far too long for the title panel of the player window.wav"
    subprocess.run(["sox", "-n", "-r", "22050", "-b", "8", "-c", "1", str(s.files_dir / long_name),
                    "synth", "6", "sine", "440"], check=True, timeout=60)
    wav = f"{FILES_WIN}\\{long_name}"
    midi = s.fixture("tune.mid", midi_file())
    s.launch()
    open_player(s, wav)
    s.equal(prop(s, "LtBackEnd"), 1, "a WAV file plays on the wave device")
    s.check(heard(s) > LOUD, "and is heard", f"> {LOUD}")
    offsets = {prop(s, "LtMarquee")}
    s.wait_until(lambda: offsets.add(prop(s, "LtMarquee")) or len(offsets) >= 3, 4.0, 0.2)
    s.check(len(offsets) >= 3, "a title wider than the panel scrolls", ">= 3 offsets", sorted(offsets))
    shot(s, "wav_scrolling")

    s.start_app(midi)
    s.check(s.wait_until(lambda: prop(s, "LtBackEnd") == 2, 10.0, 0.2), "a MIDI file opens in the sequencer")
    for box in s.probe("dismiss").splitlines():
        print(f"# note: closed a message box: {box}")
    s.probe("player-click", *STOP)  # no timer ticks meanwhile
    tempo = prop(s, "LtTempo")
    s.probe("player-click", *TEMPO_UP)
    s.equal(prop(s, "LtTempo"), min(tempo + 10, 300), "tempo +10 raises the tempo")
    shot(s, "midi")

    # A stored title of 250 bytes that are not valid Shift-JIS (lead bytes
    # before blanks, bytes no character uses) scrolls inside its panel.
    l, t, r, b = (int(v) for v in s.probe("player-rect").split()[:4])
    outside = [(l, t + 21, 307, 3), (l, t + 24, 29, 27), (l + 293, t + 24, 14, 27)]
    before = [s.grab(box) for box in outside]
    s.start_app(s.fixture("odd.mid", midi_file(name=(b"\x81 \xff\xfd\x80A" * 50)[:250])))
    s.check(s.wait_until(lambda: s.probe("player-title").endswith("odd.mid"), 10.0, 0.2), "an odd title opens")
    s.probe("player-click", *PLAY)
    offsets = {prop(s, "LtMarquee")}
    s.wait_until(lambda: offsets.add(prop(s, "LtMarquee")) or len(offsets) >= 3, 4.0, 0.2)
    s.check(len(offsets) >= 3, "an odd title scrolls", ">= 3 offsets", sorted(offsets))
    s.check([s.grab(box) for box in outside] == before, "and draws nothing outside its panel")
    shot(s, "midi_odd_title")


def group_tag(s):
    s.unmanaged_windows()
    path = s.files_dir / "tagged.mp3"
    subprocess.run(["ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i", "sine=duration=6", "-ac", "2",
                    "-b:a", "128k", "-id3v2_version", "0", str(path)], check=True, timeout=60)
    tag = (b"TAG" + b"Old title".ljust(30, b"\0") + b"Old artist".ljust(30, b"\0") + b"Old album".ljust(30, b"\0")
           + b"1999" + b"old".ljust(30, b"\0") + bytes([255]))
    path.write_bytes(path.read_bytes() + tag)
    s.launch()
    open_player(s, f"{FILES_WIN}\\tagged.mp3")
    s.probe("player-rclick", 200, 30)
    s.probe("menu-keys", "t")
    fields = [f.rstrip() for f in s.probe("tag-fields").split("\n")]
    s.equal(fields, ["Old title", "Old artist", "Old album", "1999", "old"], "the editor shows the stored tag")
    if os.environ.get("LT_SHOTS"):
        subprocess.run(["import", "-window", "root", os.path.join(os.environ["LT_SHOTS"], "tag_editor.png")],
                       env=s.env, timeout=30)
    s.probe("tag-set", "New title", "New artist", "New album", "2024x", "new comment")
    r = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format_tags", "-of", "flat", str(path)],
                       stdout=subprocess.PIPE, timeout=60)
    tags = dict(line.split("=", 1) for line in r.stdout.decode().splitlines() if "=" in line)
    got = {k.rsplit(".", 1)[-1]: v.strip('"').strip() for k, v in tags.items()}
    s.equal((got.get("title"), got.get("artist"), got.get("album"), got.get("date"), got.get("comment")),
            ("New title", "New artist", "New album", "2024", "new comment"), "ffprobe reads the stored tag")


def bench_audible_start(s):
    """Prints (does not judge) the time from a second start with an MP3 path
    to the first audible sample on the null sink, beside a second start that
    only hands a path over (a picture, no sound) and the 1 s limit."""
    tone = tone_mp3(s, "start.mp3", 10)
    picture = s.fixture("p.bmp", b"BM" + bytes(60))
    s.launch()
    _, handover = s.run_app(picture)
    rec = subprocess.Popen(["parec", "-d", "nullsink.monitor", "--raw", "--format=s16le", "--rate=44100",
                            "--channels=2", "--latency-msec=20"], env=s.env, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL)
    got = bytearray()

    def read():
        while chunk := rec.stdout.read1(4096):
            got.extend(chunk)
    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    # The stream runs in real time once it flows: the bytes received when the
    # second start begins mark that moment in it.
    if not s.wait_until(lambda: len(got) >= 44100 * 4 // 2, 10.0, 0.02):
        raise Failure("the recorder delivered nothing")
    at_start = len(got) // 4
    s.start_app(tone)
    s.wait_until(lambda: len(got) // 4 - at_start > 44100 * 3, 15.0, 0.1)
    rec.terminate()
    reader.join(timeout=10)
    samples = array.array("h", bytes(got[: len(got) // 4 * 4]))
    first = next((i // 2 for i in range(at_start * 2, len(samples)) if abs(samples[i]) > 1000), None)
    if first is None:
        raise Failure(f"nothing was heard in {len(samples) // 2 - at_start} frames after the start")
    took = (first - at_start) / 44100
    print(f"second start to first audible sample   {took:9.3f} s  | limit     1.000 s  (fixed) | ratio {took:.2f}")
    print(f"second start to first audible sample   {took:9.3f} s  | limit {handover:9.3f} s  "
          f"(a second start handing over a picture) | ratio {took / handover:.2f}")


GROUPS = {"mp3": group_mp3, "advance": group_advance, "kinds": group_kinds, "tag": group_tag,
          "audible_start": bench_audible_start}  # the last one only for scripts/bench

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
