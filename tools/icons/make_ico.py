#!/usr/bin/env python3
"""Writes a Windows icon (.ico) holding the given PNG pictures as they are.

Usage: make_ico.py OUT.ico IN.png [IN.png ...]

Each picture keeps its PNG bytes (Windows Vista and later read PNG entries of any size), so the
icon is the same pixels as the desktop's icons, with nothing resampled. The pictures must be square
and at most 256 pixels wide.
"""
import struct
import sys


def png_size(data: bytes, name: str) -> tuple[int, int]:
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"{name}: not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    if width != height or width > 256:
        sys.exit(f"{name}: {width}x{height}; an icon picture is square and at most 256 wide")
    return width, height


def main() -> None:
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    pictures = []
    for name in sys.argv[2:]:
        with open(name, "rb") as f:
            data = f.read()
        pictures.append((png_size(data, name)[0], data))
    pictures.sort(key=lambda p: p[0])
    offset = 6 + 16 * len(pictures)
    out = bytearray(struct.pack("<HHH", 0, 1, len(pictures)))
    for size, data in pictures:
        # 0 stands for 256; colour count 0, reserved 0, one plane, 32 bits a pixel.
        side = size % 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in pictures:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
