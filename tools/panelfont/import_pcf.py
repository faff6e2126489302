#!/usr/bin/python3
"""One-time importer: draws the glyphs of a 6 x 10 X11 bitmap font (the public-domain misc-fixed
6x10, ISO 10646 encoded) in code page 852 order as the readable glyph source of the panel font.

    import_pcf.py /usr/share/fonts/X11/misc/6x10.pcf.gz > glyphs.txt

The output is a starting point to be edited by hand; panelfont.py turns it into the C++ table.
Glyphs are moved down by one row so that capitals stand in rows 2 to 8 and row 9 holds the
descenders, as on the panel."""

import gzip
import struct
import sys

PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5


def read_pcf(path):
    data = gzip.open(path).read() if path.endswith('.gz') else open(path, 'rb').read()
    if data[:4] != b'\x01fcp':
        raise SystemExit(f'{path}: not a PCF font')
    (count,) = struct.unpack_from('<i', data, 4)
    tables = {}
    for i in range(count):
        kind, fmt, size, offset = struct.unpack_from('<iiii', data, 8 + 16 * i)
        tables[kind] = (fmt, offset)

    def table(kind):
        fmt, offset = tables[kind]
        (fmt,) = struct.unpack_from('<i', data, offset)
        order = '>' if fmt & 4 else '<'
        return fmt, order, offset + 4

    fmt, o, pos = table(PCF_METRICS)
    metrics = []
    if fmt & 0x100:
        (n,) = struct.unpack_from(o + 'h', data, pos)
        pos += 2
        for i in range(n):
            lsb, rsb, width, ascent, descent = (b - 0x80 for b in data[pos:pos + 5])
            metrics.append((lsb, rsb, width, ascent, descent))
            pos += 5
    else:
        (n,) = struct.unpack_from(o + 'i', data, pos)
        pos += 4
        for i in range(n):
            metrics.append(struct.unpack_from(o + 'hhhhh', data, pos))
            pos += 12

    fmt, o, pos = table(PCF_BITMAPS)
    (n,) = struct.unpack_from(o + 'i', data, pos)
    pos += 4
    offsets = struct.unpack_from(o + f'{n}i', data, pos)
    pos += 4 * n + 16
    pad = 1 << (fmt & 3)
    msbit = bool(fmt & 8)
    bitmaps = []
    for i in range(n):
        lsb, rsb, width, ascent, descent = metrics[i]
        w = rsb - lsb
        stride = ((w + 7) // 8 + pad - 1) // pad * pad
        rows = []
        for r in range(ascent + descent):
            start = pos + offsets[i] + r * stride
            bits = []
            for x in range(w):
                byte = data[start + x // 8]
                bit = (byte >> (7 - x % 8)) & 1 if msbit else (byte >> (x % 8)) & 1
                bits.append(bit)
            rows.append(bits)
        bitmaps.append((lsb, ascent, rows))

    fmt, o, pos = table(PCF_BDF_ENCODINGS)
    first_col, last_col, first_row, last_row, _ = struct.unpack_from(o + '5h', data, pos)
    pos += 10
    cols = last_col - first_col + 1
    glyphs = {}
    for row in range(first_row, last_row + 1):
        for col in range(first_col, last_col + 1):
            idx = (row - first_row) * cols + (col - first_col)
            (g,) = struct.unpack_from(o + 'H', data, pos + 2 * idx)
            if g != 0xFFFF:
                glyphs[(row << 8) | col] = bitmaps[g]
    return glyphs


def cell(glyph, box, ascent=8):
    """The glyph drawn into a 6 x 10 cell, baseline under cell row 7. Box and block characters
    keep their place and all six columns, so that they join their neighbours."""
    lsb, gascent, rows = glyph
    out = [[0] * 6 for _ in range(10)]
    for r, bits in enumerate(rows):
        y = ascent - gascent + r
        for x, b in enumerate(bits):
            if b and 0 <= y < 10 and 0 <= lsb + x < 6:
                out[y][lsb + x] = 1
    if box:
        return out
    # Down by one row. A descender that reaches the last row keeps it and gives up the one above,
    # which puts the body of g, p, y on the baseline of the other small letters.
    if any(out[9]):
        out = [[0] * 6] + out[:8] + [out[9]]
    else:
        out = [[0] * 6] + out[:9]
    if any(r[5] for r in out):
        if not any(r[0] for r in out):
            out = [r[1:] + [0] for r in out]
        else:
            out = [r[:5] + [0] for r in out]
    return out


def main():
    glyphs = read_pcf(sys.argv[1])
    for code in range(0x20, 0x100):
        ch = bytes([code]).decode('cp852')
        g = glyphs.get(ord(ch))
        name = f'U+{ord(ch):04X}'
        print(f'@ 0x{code:02X} {name}')
        rows = cell(g, 0xB0 <= code <= 0xDF) if g else [[0] * 6 for _ in range(10)]
        for r in rows:
            print(''.join('#' if b else '.' for b in r))
        print()


if __name__ == '__main__':
    main()
