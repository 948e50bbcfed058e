"""Timing printed by scripts/bench (through run_player.py's audible_start
group): a second start with an MP3 path to its first audible sample."""

import array
import subprocess
import threading

from lt_session import Failure
from music_media import tone_mp3


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
