"""Music playback against the real platform under Wine: the MP3 library and
the playback engine, driven by lt_music_drive, with the sound checked on the
null sink's monitor. Fixtures are made here by ffmpeg, sox and a few bytes
of Python; none is kept.

    run_music.py --drive DRIVE --exe EXE --probe PROBE [--budget S] GROUP...
"""

import array
import math
import os
import select
import struct
import subprocess
import sys
import time

from lt_session import FILES_WIN, Failure, run_groups

DRIVE = None


def make(s, name, cmd):
    """Runs a fixture tool writing files_dir/name (at "{out}" in cmd, else
    at the end); returns the Windows path."""
    out = str(s.files_dir / name)
    cmd = [out if c == "{out}" else c for c in cmd] + ([] if "{out}" in cmd else [out])
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    return f"{FILES_WIN}\\{name}"


def ffmpeg_tone(s, name, *audio_args, seconds=8):
    """A 440 Hz tone encoded by ffmpeg with the given output options."""
    return make(s, name, ["ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
                          f"sine=frequency=440:duration={seconds}", *audio_args])


class Drive:
    """lt_music_drive running a script; its answers are read from a file as
    they come (a pipe could be held open by Wine's services)."""

    def __init__(self, s, *script):
        self.out = s.tmp / f"drive-{time.monotonic_ns()}.txt"
        self.f = open(self.out, "wb")
        self.p = subprocess.Popen(["wine", DRIVE, *script], env=s.env, stdout=self.f, stderr=s.log,
                                  stdin=subprocess.DEVNULL)
        s.apps.append(self.p)

    def lines(self):
        return self.out.read_bytes().decode("cp932", errors="replace").splitlines()

    def wait_line(self, prefix, timeout=30):
        """The first answer starting with prefix (waiting for it)."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for line in self.lines():
                if line.startswith(prefix):
                    return line
            if self.p.poll() is not None and not any(l.startswith(prefix) for l in self.lines()):
                break
            time.sleep(0.05)
        raise Failure(f"drive gave no '{prefix}' line; it said: {self.lines()}")

    def finish(self, timeout=30):
        try:
            self.p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"drive did not end; it said: {self.lines()}") from None
        self.f.close()
        return self.lines()


def record_rms(s, seconds):
    """RMS level of the next `seconds` of sound on the null sink, counted in
    samples received, so that a slow start of the recorder under load does
    not shorten what is measured."""
    p = subprocess.Popen(["parec", "-d", "nullsink.monitor", "--raw", "--format=s16le", "--rate=44100",
                          "--channels=2", "--latency-msec=50"], env=s.env, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL)
    need = int(seconds * 44100) * 4
    data = b""
    deadline = time.monotonic() + seconds + 10
    os.set_blocking(p.stdout.fileno(), False)
    while len(data) < need and time.monotonic() < deadline:
        if select.select([p.stdout], [], [], 0.2)[0]:
            data += p.stdout.read(need - len(data)) or b""
    p.terminate()
    p.wait(timeout=10)
    samples = array.array("h", data[: len(data) // 2 * 2])
    if not samples:
        raise Failure("no sound data from the null sink's monitor")
    return math.sqrt(sum(x * x for x in samples) / len(samples))


def fields(line):
    """'state 1 pos 3 len 8' -> {'state': 1, 'pos': 3, 'len': 8}"""
    words = line.split()
    return {words[i]: int(words[i + 1]) for i in range(0, len(words) - 1, 2) if words[i + 1].lstrip("-").isdigit()}


# A sine at ffmpeg's default level (1/8 of full scale) has an RMS near 2900.
LOUD = 500
QUIET = 30


def group_mp3(s):
    tone = ffmpeg_tone(s, "tone 128k.mp3", "-ac", "2", "-b:a", "128k", seconds=12)  # with an ID3v2 tag
    d = Drive(s, "open", "mp3", tone, "mpeg", "play", "wait", "3500", "state", "pause", "wait", "2500",
              "state", "seek", "5", "state", "play", "wait", "1000", "state", "volume", "25", "wait", "2500",
              "open", "mp3", tone, "state", "play", "wait", "500", "state", "close")
    d.wait_line("play 1")
    time.sleep(0.5)
    playing = record_rms(s, 1.5)
    d.wait_line("pause")
    time.sleep(0.6)
    paused = record_rms(s, 1.2)
    d.wait_line("volume")
    time.sleep(0.6)
    quarter = record_rms(s, 1.2)
    out = d.finish()
    s.check(playing > LOUD, "MP3 playback is heard", f"> {LOUD}", round(playing))
    s.check(0.15 < quarter / playing < 0.35, "volume 25 gives a quarter of the level", 0.25,
            round(quarter / playing, 3))
    s.check(paused < QUIET, "pause is silent", f"< {QUIET}", round(paused))
    mpeg = fields(next(l for l in out if l.startswith("mpeg")))
    s.equal((mpeg["version"], mpeg["channels"], mpeg["bitrate"], mpeg["rate"], mpeg["time"]),
            (1, 2, 128, 44100, 12), "MPEG information of the 128k stereo file")
    states = [fields(l) for l in out if l.startswith("state")]
    s.check(states[0]["state"] == 1 and 2 <= states[0]["pos"] <= 4, "playing after 3.5 s", "state 1, pos 3",
            states[0])
    s.check(states[1]["state"] == 2 and states[2]["pos"] == 5, "seek while paused moves to 5 s", 5, states[2])
    s.check(states[3]["state"] == 1 and states[3]["pos"] in (5, 6), "playing on from 5 s", "pos 5..6", states[3])
    s.check(states[4]["state"] == 0 and states[5]["state"] == 1 and out[-1] == "end",
            "opening a file while one plays stops it cleanly", "0 then 1", states[4:])
    seek = next(l for l in out if l.startswith("seek"))
    s.check(int(seek.split("ms=")[1]) < 100, "seek returns within 100 ms", "< 100", seek)
    print(f"# levels: playing {playing:.0f}, paused {paused:.0f}, volume 25 {quarter:.0f}")


def group_mp3_files(s):
    files = {
        "mono 64k 22k.mp3": ("-ac", "1", "-ar", "22050", "-b:a", "64k"),  # MPEG-2
        "stereo 320k.mp3": ("-ac", "2", "-b:a", "320k"),
        "vbr.mp3": ("-ac", "2", "-q:a", "4"),
        "no tags.mp3": ("-ac", "2", "-b:a", "96k", "-write_xing", "0", "-id3v2_version", "0"),
    }
    paths = {name: ffmpeg_tone(s, name, *args, seconds=6) for name, args in files.items()}
    junk = s.fixture("junk.mp3", bytes((i * 7919) % 251 for i in range(40000)))
    # The last second cut off mid-frame.
    data = (s.files_dir / "stereo 320k.mp3").read_bytes()
    cut = s.fixture("cut.mp3", data[: len(data) * 2 // 3 + 17])
    tagged = s.files_dir / "no tags.mp3"
    original = tagged.read_bytes()

    script = []
    for name in files:
        script += ["mp3open", paths[name], "mpeg"]
    script += ["mp3open", junk, "open", "mp3", cut, "play", "wait", "6000", "state"]
    script += ["mp3open", paths["no tags.mp3"], "settag", "夜明けの歌", "Artist A", "Album", "2024", "note", "13",
               "mp3open", paths["no tags.mp3"], "tag"]
    out = Drive(s, *script).finish(timeout=60)
    mpegs = [fields(l) for l in out if l.startswith("mpeg")]
    got = [(m["version"], m["channels"], m["rate"], m["time"]) for m in mpegs]
    s.equal(got, [(2, 1, 22050, 6), (1, 2, 44100, 6), (1, 2, 44100, 6), (1, 2, 44100, 6)],
            "version, channels, rate and whole seconds of each file")
    s.check(mpegs[0]["bitrate"] == 64 and mpegs[1]["bitrate"] == 320, "constant bit rates", "64, 320",
            (mpegs[0]["bitrate"], mpegs[1]["bitrate"]))
    opens = [l for l in out if l.startswith("mp3open")]
    s.check(opens[4].startswith("mp3open 0"), "a file with no valid frame is refused", "mp3open 0", opens[4])
    end_state = [fields(l) for l in out if l.startswith("state")][-1]
    s.check(end_state["state"] == 0, "a truncated file plays to its end and stops", 0, end_state)
    tag = next(l for l in out if l.startswith("tag"))
    s.equal(tag, "tag 1|夜明けの歌|Artist A|Album|2024|note|13", "the tag written reads back from the library")
    after = tagged.read_bytes()
    s.check(after[: len(original)] == original and len(after) == len(original) + 128,
            "writing the tag leaves the audio as it was", len(original) + 128, len(after))
    probe = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format_tags=artist,album,date",
                            "-of", "default=nw=1", str(tagged)], capture_output=True, text=True, timeout=30)
    s.check("TAG:artist=Artist A" in probe.stdout and "TAG:album=Album" in probe.stdout,
            "ffprobe reads the tag written", "artist and album", probe.stdout.strip())


def midi_file():
    """Format-0 MIDI made here (sox and ffmpeg cannot): a track name and a
    few seconds of notes at 120 bpm."""
    name = "Test Song".encode()
    ev = b"\x00\xff\x03" + bytes([len(name)]) + name
    for note in (60, 64, 67, 72):
        ev += b"\x00\x90" + bytes([note, 100]) + b"\x83\x00\x80" + bytes([note, 0])  # 384 ticks each
    ev += b"\x00\xff\x2f\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(ev)) + ev


def group_wav_midi(s):
    wav16 = make(s, "tone 16.wav", ["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "-e", "signed",
                                    "{out}", "synth", "6", "sine", "440", "vol", "0.25"])
    wav8 = make(s, "tone 8.wav", ["sox", "-n", "-r", "11025", "-c", "1", "-b", "8", "-e", "unsigned",
                                  "{out}", "synth", "3", "sine", "440", "vol", "0.25"])
    mid = s.fixture("a song.mid", midi_file())
    d = Drive(s, "open", "wav", wav16, "wavestatus", "volume", "100", "play", "wait", "3500", "state", "pause",
              "wait", "3000", "state", "close",
              "open", "wav", wav8, "wavestatus", "close",
              "open", "midi", mid, "state", "tempo", "settempo", "60", "mci", "set MID tempo 90", "title", mid,
              "play", "state", "close", "close")
    d.wait_line("play 1")
    time.sleep(0.6)
    playing = record_rms(s, 1.2)
    d.wait_line("pause")
    time.sleep(0.6)
    paused = record_rms(s, 1.2)
    out = d.finish(timeout=60)
    s.check(playing > LOUD, "WAV playback through MCI is heard", f"> {LOUD}", round(playing))
    s.check(paused < QUIET, "WAV pause is silent", f"< {QUIET}", round(paused))
    s.equal([l for l in out if l.startswith("wavestatus")], ["wavestatus 16 2 44100", "wavestatus 8 1 11025"],
            "WAV format values (paths with spaces)")
    s.equal([l for l in out if l.startswith("open")], ["open 1"] * 3, "all three files open")
    states = [fields(l) for l in out if l.startswith("state")]
    s.check(states[0]["state"] == 1 and states[0]["pos"] >= 1, "WAV position advances", ">= 1", states[0])
    s.check(states[2]["state"] == 0 and states[2]["len"] >= 1, "MIDI opens stopped with its length", ">= 1 s",
            states[2])
    s.check(states[3]["state"] == 1, "the sequencer reports playing", 1, states[3])
    # Wine's sequencer answers the tempo in microseconds per beat and takes
    # a new one without error (it does not change what it answers).
    tempo = fields(next(l for l in out if l.startswith("tempo")))
    s.check(tempo["tempo"] > 0, "the sequencer answers its tempo", "> 0", tempo)
    s.check(next(l for l in out if l.startswith("mci")).startswith("mci 0"), "the sequencer takes a tempo",
            "mci 0", [l for l in out if l.startswith("mci")])
    s.equal(next(l for l in out if l.startswith("title")), "title Test Song", "MIDI title from its name event")
    s.equal([l for l in out if l.startswith("close")], ["close open=0"] * 4,
            "every device closes; closing twice is quiet")


GROUPS = {"mp3": group_mp3, "mp3_files": group_mp3_files, "wav_midi": group_wav_midi}

if __name__ == "__main__":
    argv = sys.argv[1:]
    if "--drive" in argv:
        i = argv.index("--drive")
        DRIVE = os.path.abspath(argv[i + 1])
        del argv[i:i + 2]
    if not DRIVE:
        sys.exit("--drive is required")
    sys.exit(run_groups(GROUPS, argv))
