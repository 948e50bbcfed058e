"""Media made for the music player's tests and the sound level heard on the
null sink."""

import array
import math
import struct
import subprocess
import time

from lt_session import FILES_WIN

LOUD = 500  # a sine at ffmpeg's default level has an RMS near 2900
QUIET = 30


def tone_mp3(s, name, seconds, freq=440):
    """A sine as MP3 without an ID3v2 tag: a file is known as MP3 by its first frame."""
    sine = f"sine=frequency={freq}:duration={seconds}"
    subprocess.run(["ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i", sine, "-ac", "2", "-b:a", "128k",
                    "-id3v2_version", "0", str(s.files_dir / name)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    return f"{FILES_WIN}\\{name}"


def midi_file(notes=16, name=b"Test Song"):
    """Format 0, 120 bpm: a track name, then quarter notes."""
    ev = b"\x00\xff\x03" + bytes([len(name)]) + name
    for i in range(notes):
        ev += b"\x00\x90" + bytes([60 + i % 12, 100]) + b"\x83\x60\x80" + bytes([60 + i % 12, 0])
    ev += b"\x00\xff\x2f\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(ev)) + ev


def header_only_wav():
    """36 bytes: RIFF and an empty fmt chunk, no data; MCI cannot open it."""
    return b"RIFF" + struct.pack("<I", 28) + b"WAVEfmt " + struct.pack("<I", 16) + bytes(16)


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
    """The loudest half second within timeout, stopping at the first loud one
    (output may start late on a loaded machine)."""
    end, best = time.monotonic() + timeout, 0.0
    while time.monotonic() < end and best <= LOUD:
        best = max(best, record_rms(s, 0.5))
    return best
