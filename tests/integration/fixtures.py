"""Tiny media files made at test time; the program tells kinds by their first
bytes, and pictures are opened, so the pictures are whole, valid files."""

import struct


def bmp():
    """1x1 24-bit BMP: file header, BITMAPINFOHEADER, one white pixel padded to 4 bytes."""
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, 4, 2835, 2835, 0, 0)
    pixels = b"\xff\xff\xff\x00"
    size = 14 + len(info) + len(pixels)
    return b"BM" + struct.pack("<IHHI", size, 0, 0, 14 + len(info)) + info + pixels


def gif():
    """1x1 GIF89a: two-colour global table, one image with the 2-bit LZW code for pixel 0."""
    return (b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + b"\xff\xff\xff\x00\x00\x00"
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x44\x01\x00\x3b")


def jpeg_header():
    """Only a JFIF APP0 segment and EOI: enough to be taken as JPEG (\"JFIF\" at byte 6),
    not a decodable picture."""
    app0 = b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
    return b"\xff\xd8\xff\xe0" + struct.pack(">H", len(app0) + 2) + app0 + b"\xff\xd9"


def wav(ms=100):
    """PCM WAV, 8 kHz mono 8-bit, `ms` milliseconds of silence (sample value 0x80)."""
    data = b"\x80" * (8 * ms)
    fmt = struct.pack("<HHIIHH", 1, 1, 8000, 8000, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def midi():
    """Format-0 MIDI, one track holding only its end-of-track event."""
    track = b"\x00\xff\x2f\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(track)) + track


def text():
    """Plain text: a kind the program does not recognise."""
    return b"not a media file\r\n"
