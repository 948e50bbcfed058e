#!/usr/bin/env python3
"""Pictures of the controller in its states, cropped to its window, for a
person to look at: normal, each button held, each filter, pinned and
unpinned, the settings panel (and a start-up option's focus mark), a
tooltip, and the file list's popup menu.

    screenshots.py --exe lumatrove.exe --probe ltprobe.exe [OUTDIR]
"""

import argparse
import sys
import time
from pathlib import Path

import fixtures
from lt_session import Deadline, Failure, Session
from fixtures import BUTTON, BUTTON_NAMES, ELSEWHERE, FILTER_Y, FILTERS, PIN, VK_ESCAPE, VK_F2, VK_F3


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("outdir", nargs="?", default="/tmp/lumatrove-shots")
    a = ap.parse_args()
    outdir = Path(a.outdir)
    outdir.mkdir(parents=True, exist_ok=True)

    with Session(a.exe, a.probe, "shots", budget=300) as s:
        files = [s.fixture("photo.bmp", fixtures.bmp()), s.fixture("写真.bmp", fixtures.bmp()),
                 s.fixture("sound.wav", fixtures.wav()), s.fixture("anim.gif", fixtures.gif())]
        deep = s.files_dir / "a rather long folder name" / "and another one inside it"
        deep.mkdir(parents=True)
        (deep / "picture with a long name.bmp").write_bytes(fixtures.bmp())
        files.append(f"C:\\lt\\a rather long folder name\\and another one inside it\\picture with a long name.bmp")
        # The controller away from the corner where the player opens.
        s.settings_file.write_bytes(b"[System]\r\nXPos=600\r\nYPos=480\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\n"
                                    b"YEnd=0\r\nVisible=1\r\n")
        s.launch()
        s.write_queue(files)
        if s.wait_count(len(files), 5000) != len(files):
            raise Failure("the files did not arrive")
        s.select(1)
        left, top, right, bottom = s.rect()
        window = (left, top, right - left, bottom - top)
        # The pointer rests on the list, so the unpinned window stays up.
        s.pointer(left + 200, top + 100)

        def settle():
            """The window's picture once two grabs in a row agree."""
            last = s.grab(window)
            for _ in range(30):
                time.sleep(0.15)
                now = s.grab(window)
                if now == last:
                    return
                last = now

        shots = []

        def shot(name, box=window):
            settle()
            path = outdir / f"{len(shots) + 1:02d}-{name}.png"
            s.grab(box, png=path)
            shots.append(path)

        shot("normal")
        for name in BUTTON_NAMES:
            s.press(*BUTTON[name])
            shot(f"held-{name.lower()}")
            s.release(*ELSEWHERE)
        for name in ("Graphic", "Music", "Sound", "Movie", "AllFile"):
            s.click(FILTERS[name], FILTER_Y)
            shot(f"filter-{name.lower()}")
        shot("pinned")
        s.click(*PIN)
        shot("unpinned")
        s.click(*PIN)
        s.key(VK_F2)
        shot("settings-panel")
        s.type_keys("C/LumatroveSettings/#661")  # the focus mark on a start-up option
        shot("settings-panel-focus")
        s.key(VK_F3)
        s.pointer(window[0] + BUTTON["Open"][0], window[1] + BUTTON["Open"][1])
        time.sleep(1.0)  # the tooltip's delay
        shot("tooltip", (window[0], window[1], window[2], window[3] + 40))
        s.pointer(window[0] + 200, window[1] + 100)

        s.rclick(200, 100)
        ml, mt, mr, mb = s.rect(s.probe("menu"))
        time.sleep(0.3)  # the menu draws itself after it is shown
        shot("popup-menu", (ml, mt, mr - ml, mb - mt))
        s.probe("menu-keys", VK_ESCAPE)

    for path in shots:
        print(path)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (Failure, Deadline) as e:
        print(f"screenshots failed: {e}", file=sys.stderr)
        sys.exit(1)
