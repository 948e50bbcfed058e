"""What the integration runners share besides the Session: tiny media files
(kinds are told by their first bytes; pictures are whole, valid files), list
and play list files, and the controller's press points."""

import struct

from lt_session import FILES_WIN


def bmp():
    """1x1 24-bit BMP, one white pixel."""
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, 4, 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 58, 0, 0, 54) + info + b"\xff\xff\xff\x00"


def gif():
    """1x1 GIF89a: two-colour table, one image of pixel 0."""
    return (b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + b"\xff\xff\xff\x00\x00\x00"
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x44\x01\x00\x3b")


def jpeg_header():
    """A JFIF APP0 segment and EOI: taken as JPEG, not decodable."""
    app0 = b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
    return b"\xff\xd8\xff\xe0" + struct.pack(">H", len(app0) + 2) + app0 + b"\xff\xd9"


def wav(ms=100):
    """PCM WAV, 8 kHz mono 8-bit silence."""
    fmt = struct.pack("<HHIIHH", 1, 1, 8000, 8000, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", 8 * ms) + b"\x80" * (8 * ms)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def midi():
    """Format-0 MIDI, one track of just its end."""
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", 4) + b"\x00\xff\x2f\x00"


LIST_HEADER = b"LumatroveList Ver5.0\r\n"


def list_file(paths):
    """A list file as the program writes it (a comma path quoted)."""
    return LIST_HEADER + b"".join((f'"{p}"' if "," in p else p).encode("cp932") + b"\r\n" for p in paths)


def win(name):
    return f"{FILES_WIN}\\{name}"


def line(index, path):
    """A list box row: (item data, text)."""
    return (index, f"{index:04d} {path}")


def lines_for(paths, first=1):
    return [line(first + i, p) for i, p in enumerate(paths)]


# Press points in the controller's client area.
BUTTON_NAMES = ("Open", "Folder", "Close", "Clear", "Option", "Quit")
BUTTON = {name: (31 + 59 * i, 10) for i, name in enumerate(BUTTON_NAMES)}
FILTER_Y = 198
FILTERS = {"AllFile": 30, "Graphic": 100, "Music": 160, "Sound": 220, "Movie": 280}
MARKER_X = {"AllFile": 15, "Graphic": 75, "Music": 142, "Sound": 197, "Movie": 253}
PIN = (330, 195)  # outside buttons and filters: toggles the pin
ELSEWHERE = (200, 100)  # over the list's panel: ends a press without an action
VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN, VK_F2, VK_F3 = 0x0D, 0x1B, 0x26, 0x28, 113, 114
