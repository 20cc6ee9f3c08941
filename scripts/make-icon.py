#!/usr/bin/env python3
"""Draws the program's icon, the "T" of the title artwork on white in a black frame, at 16 x 16
and 32 x 32 pixels, and packs both into src/resources/tlins32a.ico with icotool (icoutils).
Run it again after changing the drawing; the .ico is kept in the repository."""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

# The "T" of the 5 x 7 pixel font that src/resources/bitmap500.cpp draws the title with.
GLYPH = ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."]


def picture(size):
    scale = max(1, (size - 4) // 7)
    left = (size - 5 * scale) // 2
    top = (size - 7 * scale) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            frame = x in (0, size - 1) or y in (0, size - 1)
            gx, gy = (x - left) // scale, (y - top) // scale
            ink = 0 <= gx < 5 and 0 <= gy < 7 and x >= left and y >= top and GLYPH[gy][gx] == "#"
            row.append((0, 0, 0) if frame or ink else (255, 255, 255))
        rows.append(row)
    return rows


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    output = os.path.join(root, "src", "resources", "tlins32a.ico")
    with tempfile.TemporaryDirectory() as folder:
        names = []
        for size in (16, 32):
            name = os.path.join(folder, f"icon{size}.png")
            with open(name, "wb") as file:
                file.write(png(picture(size)))
            names.append(name)
        # Bitmap entries rather than embedded PNGs: Windows 95 reads only those.
        subprocess.run(["icotool", "-c", "-o", output] + names, check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
