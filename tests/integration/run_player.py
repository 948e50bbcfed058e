"""The music player on the real exe under Wine, heard on the null sink and
read back by ltprobe and ffprobe (run_player.py --exe EXE --probe PROBE GROUP...)."""

import subprocess
import sys
import time

from lt_session import FILES_WIN, SC_MINIMIZE, WM_COMMAND, WM_SYSCOMMAND, run_groups
from music_media import LOUD, QUIET, header_only_wav, heard, midi_file, record_rms, tone_mp3
from player_bench import bench_audible_start

# Client points of the player's controls.
STOP, PAUSE, PLAY, NEXT, CLOSE = (97, 107), (124, 107), (57, 107), (178, 107), (294, 10)
TEMPO_UP, TEMPO_RESET = (135, 83), (100, 83)
WM_CANCELMODE, SC_RESTORE = 0x1F, 0xF120
SEEK_Y, VOLUME_X = 65, 15
PLAYER, EDITOR = "@LumatrovePlayer", "@LumatroveTagEditor"


def prop(s, name):
    return s.prop(name, PLAYER)


def state(s):
    """0 stopped, 1 playing, 2 paused, -1 no answer."""
    return prop(s, "LtState") - 1


def wait_prop(s, name, pred, timeout=5.0):
    s.wait_until(lambda: pred(prop(s, name)), timeout, 0.1)
    return prop(s, name)


def open_player(s, path):
    s.start_app(path)
    s.probe("shown", PLAYER, 20000, timeout=40)


def title(s):
    return s.info(PLAYER)[0].text


def wait_title(s, want, timeout):
    return s.wait_until(lambda: title(s) == want, timeout, 0.2)


def scrolls(s):
    """Whether the title panel's offset takes three values within 4 s."""
    offsets = {prop(s, "LtMarquee")}
    s.wait_until(lambda: offsets.add(prop(s, "LtMarquee")) or len(offsets) >= 3, 4.0, 0.2)
    return len(offsets) >= 3


def boxes(s, seconds):
    """The texts of the message boxes that come up within `seconds`, each closed as it comes."""
    seen, end = [], time.monotonic() + seconds
    while time.monotonic() < end:
        seen += s.probe("dismiss").splitlines()
        time.sleep(0.2)
    return seen


def repaint(s, path):
    """A real repaint of a window: minimised and restored."""
    s.send(path, (WM_SYSCOMMAND, SC_MINIMIZE, 0), (WM_SYSCOMMAND, SC_RESTORE, 0))


def menu(s, key):
    s.rclick(200, 30, PLAYER)
    s.probe("menu-keys", key)


def group_mp3(s):
    tone = tone_mp3(s, "tone.mp3", 20)
    s.launch()
    t0 = time.monotonic()
    open_player(s, tone)
    s.equal(title(s), tone, "the player names the piece")
    player = s.info(PLAYER)[0]
    s.equal((*player.box[2:], player.topmost), (305, 123, True), "the player is 305 x 123 and stays on top")
    s.equal(wait_prop(s, "LtState", lambda v: v == 2), 2, "an MP3 given to a second start plays")
    s.check(time.monotonic() - t0 < 10, "the player comes up promptly", "< 10 s", round(time.monotonic() - t0, 1))
    s.check(heard(s) > LOUD, "the piece is heard", f"> {LOUD}")

    s.click(*STOP, PLAYER)
    s.equal(state(s), 2, "stop halts the piece where it is (the MP3 reads as paused)")
    time.sleep(0.3)  # what was already queued for output
    s.check(record_rms(s, 0.8) < QUIET, "stopped is silent", f"< {QUIET}")
    s.click(*PLAY, PLAYER)
    s.equal(state(s), 1, "play resumes")
    s.click(*PAUSE, PLAYER)
    s.equal(state(s), 2, "pause pauses")
    s.press(*PLAY, PLAYER)
    s.release(200, 30, PLAYER)
    s.equal(state(s), 2, "a press on play released elsewhere does nothing")

    # Seek while paused: a drag released off the bar seeks nothing; one released at 3/4 does.
    x = 161 + 129 * 3 // 4
    s.mouse(PLAYER, 170, SEEK_Y, "down", "move", to=(170, 5))
    s.release(170, 5, PLAYER)
    s.check(prop(s, "LtPosition") < 10, "a seek released off the bar seeks nothing")
    s.mouse(PLAYER, 170, SEEK_Y, "down")
    s.send(PLAYER, (WM_CANCELMODE, 0, 0))  # what the system sends when another window takes over mid-drag
    s.mouse(PLAYER, x, SEEK_Y, "move", "up")
    s.check(prop(s, "LtPosition") < 10, "a drag that lost the mouse seeks nothing on release")
    s.mouse(PLAYER, 170, SEEK_Y, "down", "move", to=(x, SEEK_Y))
    s.release(x, SEEK_Y, PLAYER)
    s.click(*PLAY, PLAYER)
    pos = wait_prop(s, "LtPosition", lambda v: v >= 14)
    s.check(14 <= pos <= 17, "a seek drag to 3/4 of the bar moves to 3/4 of the piece", 15, pos)
    s.equal(state(s), 1, "and play goes on from there")

    full = record_rms(s, 0.8)
    s.mouse(PLAYER, VOLUME_X, 16 + 46, "down", "move", to=(VOLUME_X, 16 + 50))
    s.release(VOLUME_X, 16 + 46, PLAYER)
    time.sleep(0.3)
    ratio = record_rms(s, 0.8) / max(full, 1)
    s.check(0.3 < ratio < 0.7, "the volume knob at mid travel halves the level", 0.5, round(ratio, 2))

    for key, want, what in (("s", 2, "the menu's stop halts"), ("p", 1, "the menu's play resumes")):
        menu(s, key)
        s.equal(wait_prop(s, "LtState", lambda v: v == want + 1) - 1, want, what)
    menu(s, "m")
    time.sleep(0.6)
    frames = prop(s, "LtFrames")
    time.sleep(1.2)
    s.check(prop(s, "LtFrames") == frames, "the minimised player draws nothing", frames, prop(s, "LtFrames"))
    menu(s, "e")
    s.probe("gone", PLAYER, 5000)
    s.check(record_rms(s, 0.8) < QUIET, "the menu's exit stops the sound", f"< {QUIET}")
    s.equal(s.count(), 1, "and the list keeps its entry")


def group_advance(s):
    first = tone_mp3(s, "first.mp3", 9, 330)
    data = (s.files_dir / "first.mp3").read_bytes()
    (s.files_dir / "first.mp3").write_bytes(data[: len(data) * 2 // 3 + 17])  # ends mid-frame
    second = tone_mp3(s, "second.mp3", 20, 550)
    playlist = s.fixture("two.m3u", b"first.mp3\r\nsecond.mp3\r\n")  # relative to the list
    s.launch()
    open_player(s, playlist)
    s.equal(title(s), first, "a play list starts with its first piece")
    wait_prop(s, "LtState", lambda v: v == 2)
    t0 = time.monotonic()
    s.check(wait_title(s, second, 14.0), "at the end of the truncated first piece the second opens", second, title(s))
    s.check(time.monotonic() - t0 > 5.5, "after all of its 6 s", "> 5.5 s", round(time.monotonic() - t0, 1))
    s.equal(wait_prop(s, "LtState", lambda v: v == 2), 2, "and plays")
    s.check(heard(s) > LOUD, "audibly", f"> {LOUD}")
    s.click(*NEXT, PLAYER)
    s.check(wait_title(s, first, 8.0), "the next button wraps round to the first piece", first, title(s))


def group_kinds(s):
    long_name = "a wave file with a name far too long for the title panel of the player window.wav"
    subprocess.run(["sox", "-n", "-r", "22050", "-b", "8", "-c", "1", str(s.files_dir / long_name),
                    "synth", "6", "sine", "440"], check=True, timeout=60)
    s.launch()
    open_player(s, f"{FILES_WIN}\\{long_name}")
    s.equal(prop(s, "LtBackEnd"), 1, "a WAV file plays on the wave device")
    s.check(heard(s) > LOUD, "and is heard", f"> {LOUD}")
    s.click(*PAUSE, PLAYER)
    s.equal(state(s), 2, "a WAV pauses")
    time.sleep(0.3)
    s.check(record_rms(s, 0.8) < QUIET, "and is silent", f"< {QUIET}")

    s.start_app(s.fixture("tune.mid", midi_file()))
    s.check(s.wait_until(lambda: prop(s, "LtBackEnd") == 2, 10.0, 0.2), "a MIDI file opens in the sequencer")
    s.probe("dismiss")  # a box may report a missing synthesiser
    frames = prop(s, "LtFrames")
    s.wait_until(lambda: prop(s, "LtFrames") > frames + 1, 3.0, 0.1)  # Wine's sequencer answers 500000
    s.check(0 <= prop(s, "LtTempo") <= 300, "the tempo read while playing stays on the bar", "0..300",
            prop(s, "LtTempo"))
    s.click(*TEMPO_RESET, PLAYER)
    s.equal(boxes(s, 1.0), [], "and the reset button sends it without an error box")
    s.click(*STOP, PLAYER)  # no timer ticks meanwhile
    tempo = prop(s, "LtTempo")
    s.click(*TEMPO_UP, PLAYER)
    s.equal(prop(s, "LtTempo"), min(tempo + 10, 300), "tempo +10 raises the tempo (300 at most)")

    # A stored title of 250 bytes of invalid Shift-JIS (lead bytes before blanks, unused bytes) scrolls in its panel.
    l, t = s.rect(PLAYER)[:2]
    outside = [(l, t + 21, 307, 3), (l, t + 24, 29, 27), (l + 293, t + 24, 14, 27)]
    before = [s.grab(box) for box in outside]
    s.start_app(s.fixture("odd.mid", midi_file(name=(b"\x81 \xff\xfd\x80A" * 50)[:250])))
    s.check(s.wait_until(lambda: title(s).endswith("odd.mid"), 10.0, 0.2), "an odd title opens")
    s.click(*PLAY, PLAYER)
    s.check(scrolls(s), "an odd title scrolls")
    s.check([s.grab(box) for box in outside] == before, "and draws nothing outside its panel")

    s.start_app(s.fixture("bad.wav", header_only_wav()))
    s.equal(len(boxes(s, 4.0)), 1, "a WAV that MCI cannot open gives one message box")
    s.check(not s.visible(PLAYER), "and the player closes")


def group_tag(s):
    path = s.files_dir / "tagged.mp3"
    tone_mp3(s, path.name, 6)
    tag = (b"TAG" + b"Old title".ljust(30, b"\0") + b"Old artist".ljust(30, b"\0") + b"Old album".ljust(30, b"\0")
           + b"1999" + b"old".ljust(30, b"\0") + bytes([255]))
    path.write_bytes(path.read_bytes() + tag)
    s.launch()
    open_player(s, f"{FILES_WIN}\\tagged.mp3")
    menu(s, "t")
    s.probe("shown", EDITOR)
    fields = [w.text.rstrip() for w in s.info(*(f"{EDITOR}/#{i}" for i in range(1, 6)))]
    s.equal(fields, ["Old title", "Old artist", "Old album", "1999", "old"], "the editor shows the stored tag")
    s.set_text(f"{EDITOR}/#1", "typed, not stored")
    repaint(s, EDITOR)
    s.equal(s.info(f"{EDITOR}/#1")[0].text.rstrip(), "Old title", "a repaint brings the stored tag back")
    for i, text in enumerate(("New title", "New artist", "New album", "2024x", "new comment"), 1):
        s.set_text(f"{EDITOR}/#{i}", text)
    s.send(EDITOR, (WM_COMMAND, 7, 0), post=True)  # the store button
    s.probe("gone", EDITOR)
    r = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format_tags", "-of", "flat", str(path)],
                       stdout=subprocess.PIPE, timeout=60)
    tags = dict(line.split("=", 1) for line in r.stdout.decode().splitlines() if "=" in line)
    got = {k.rsplit(".", 1)[-1]: v.strip('"').strip() for k, v in tags.items()}
    s.equal(tuple(got.get(k) for k in ("title", "artist", "album", "date", "comment")),
            ("New title", "New artist", "New album", "2024", "new comment"), "ffprobe reads the stored tag")

    menu(s, "t")
    s.probe("shown", EDITOR)
    s.start_app(s.fixture("tune.mid", midi_file()))
    s.check(s.wait_until(lambda: prop(s, "LtBackEnd") == 2, 10.0, 0.2), "a MIDI piece opens under the editor")
    s.probe("dismiss")  # a box may report a missing synthesiser
    repaint(s, EDITOR)
    s.check(any(b.endswith("\tError") for b in boxes(s, 2.0)), "the editor's next repaint says Error")
    s.check(not s.visible(EDITOR), "and closes")


def group_keys(s):
    first, last = tone_mp3(s, "first.mp3", 30, 330), tone_mp3(s, "last.mp3", 30, 550)
    tune = s.fixture("tune.mid", midi_file(notes=64))
    s.launch()
    open_player(s, s.fixture("keys.m3u", b"first.mp3\r\ntune.mid\r\nlast.mp3\r\n"))
    wait_prop(s, "LtState", lambda v: v == 2)
    key = lambda *keys: s.type_keys(PLAYER, *keys)  # real key presses to the focused player

    for k, want, what in (("space", 2, "Space pauses"), ("space", 1, "Space plays"), ("s", 2, "S stops (the MP3 halts)")):
        key(k)
        s.equal(state(s), want, what)
    at, volume = prop(s, "LtPosition"), prop(s, "LtVolume")
    for keys, want, what in ((("right", "right"), at + 10, "Right seeks 5 s on"), (("left",), at + 5, "Left 5 s back"),
                             (("home",), 0, "Home to the start")):
        key(*keys)
        s.check(abs(prop(s, "LtPosition") - want) <= 1, what, want, prop(s, "LtPosition"))
    key("down", "down", "up")
    s.equal(prop(s, "LtVolume"), volume - 5, "Down and Up change the volume by 5")

    key("n")
    s.check(wait_title(s, tune, 8.0), "N opens the next piece", tune, title(s))
    s.probe("dismiss")  # a box may report a missing synthesiser
    key("s")  # no ticks reading the tempo back meanwhile
    tempo = prop(s, "LtTempo")
    for keys, want in ((("-",), tempo - 10), (("+",), tempo), (("-", "-", "r"), tempo)):
        key(*keys)
        s.equal(prop(s, "LtTempo"), want, f"tempo keys {' '.join(keys)}")
    for want, what in ((first, "P opens the previous piece"), (last, "and wraps round to the last")):
        key("p")
        s.check(wait_title(s, want, 8.0), what, want, title(s))

    left, top = s.rect(PLAYER)[:2]
    for k in ("apps", "shift+f10"):
        s.pointer(left + 250, top + 300)
        key(k)
        s.equal(s.rect(s.probe("menu"))[:2], (left, top), f"{k} opens the menu at the window's corner")
        s.probe("menu-keys", "27")
    key("m")
    s.check(s.wait_until(lambda: s.info(PLAYER)[0].iconic, 3.0), "M minimises")
    s.send(PLAYER, (WM_SYSCOMMAND, SC_RESTORE, 0))
    key("esc")
    s.probe("gone", PLAYER, 5000)
    s.check(record_rms(s, 0.8) < QUIET, "Esc closes the player and its sound", f"< {QUIET}")


def group_resources(s):
    tone, bad = tone_mp3(s, "short.mp3", 4), s.fixture("bad.wav", header_only_wav())
    s.launch()

    def cycle(path):
        s.write_queue([path])
        if path == bad:  # the failed open unloads the window
            s.wait_until(lambda: s.probe("dismiss"), 10.0, 0.1)
            boxes(s, 1.0)
        else:
            s.probe("shown", PLAYER, 10000)
            s.click(*CLOSE, PLAYER)
        s.wait_until(lambda: not s.visible(PLAYER), 5.0, 0.05)

    cycle(tone)
    before = s.gui_objects()
    for i in range(55):
        cycle(bad if i % 11 == 10 else tone)
    after = s.gui_objects()
    print(f'# GDI and USER objects: {before} before, {after} after')
    s.check(all(abs(a - b) <= 50 for a, b in zip(after, before)),
            "opening and closing the player 50 times (and 5 failed opens) keeps the GDI and USER counts", before, after)


GROUPS = {"mp3": group_mp3, "advance": group_advance, "kinds": group_kinds, "tag": group_tag, "keys": group_keys,
          "resources": group_resources,
          "audible_start": bench_audible_start}  # the last one only for scripts/bench

if __name__ == "__main__":
    sys.exit(run_groups(GROUPS))
