"""The X screen as a PNG file, written with the standard library alone (the test machines have
no screenshot tool): every pixel read through XConnection.screen_sample with a step of one."""
import struct
import zlib


def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def write_screen_png(x, path):
    width, height = x.screen_size()
    pixels = x.screen_sample(step=1)
    rows = bytearray()
    for row in range(height):
        rows.append(0)  # no filter
        for pixel in pixels[row * width:(row + 1) * width]:
            rows += bytes(((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(_chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        f.write(_chunk(b"IEND", b""))
