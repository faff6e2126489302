#!/usr/bin/python3
"""Tests for the symbol font generator.

    /usr/bin/python3 -m unittest discover -s tools/symbolfont -p 'test_*.py'

The font tests need python3-fontforge and are skipped without it.
"""

import os
import random
import struct
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import symbolsrc  # noqa: E402
from symbolsrc import SourceError  # noqa: E402

try:
    import fontforge  # noqa: F401
    HAVE_FONTFORGE = True
except ImportError:
    HAVE_FONTFORGE = False


def block(code="0x41", name="sample", rows=None, width=4):
    rows = rows if rows is not None else ["#" * width] + ["." * width] * 15
    return f"glyph {code} {name}\n" + "\n".join(rows) + "\n"


def pictogram(*rows):
    rows = list(rows) + ["." * len(rows[0])] * (16 - len(rows))
    return symbolsrc.parse_pictograms(block(rows=rows))[0]


class ParsePictogramsTest(unittest.TestCase):
    def test_blocks_comments_and_order(self):
        text = "; header\n\n" + block("0x42", "b") + "\n; between\n" + block("A", "a")
        parsed = symbolsrc.parse_pictograms(text)
        self.assertEqual([(p.code, p.name) for p in parsed], [(0x41, "a"), (0x42, "b")])
        self.assertEqual(parsed[0].width, 4)

    def test_malformed_blocks_are_rejected(self):
        good = ["#..."] + ["...."] * 15
        cases = {
            "ragged rows": block(rows=["#..."] + ["..."] + ["...."] * 14),
            "short block": block(rows=good[:15]) + block("0x42", "b"),
            "long block": block(rows=good) + "....\n",
            "blank line inside": block(rows=good[:8] + [""] + good[8:]),
            "foreign character": block(rows=["#..x"] + good[1:]),
            "nothing lit": block(rows=["...."] * 16),
            "duplicate code": block() + block(name="other"),
            "duplicate name": block() + block("0x42"),
            "space is generated": block("0x20"),
            "beyond Latin-1": block("0x100"),
            "multi-character code": block("AB"),
            "unsafe glyph name": block(name="two words"[:3] + "-x"),
            "missing name": "glyph 0x41\n" + "\n".join(good) + "\n",
        }
        for label, text in cases.items():
            with self.subTest(label), self.assertRaises(SourceError):
                symbolsrc.parse_pictograms(text)

    def test_error_names_the_line(self):
        with self.assertRaisesRegex(SourceError, r"^pics:3: "):
            symbolsrc.parse_pictograms(";\n\nglyf 0x41 a\n", "pics")


class ParseButtonsTest(unittest.TestCase):
    PICTOGRAMS = symbolsrc.parse_pictograms(block())
    KIND = "kind ckRed 255 0 1\n"

    def test_buttons_keep_order_and_hint(self):
        kinds, buttons = symbolsrc.parse_buttons(
            self.KIND + "button B2 0x41 ckRed Font  colour\nbutton B1 A ckRed x\n",
            self.PICTOGRAMS)
        self.assertEqual(kinds, {"ckRed": (255, 0, 1)})
        self.assertEqual([(b.name, b.code, b.hint) for b in buttons],
                         [("B2", 0x41, "Font  colour"), ("B1", 0x41, "x")])

    def test_inconsistent_entries_are_rejected(self):
        cases = {
            "undefined kind": self.KIND + "button B 0x41 ckBlue tip",
            "no pictogram": self.KIND + "button B 0x42 ckRed tip",
            "button twice": self.KIND + "button B 0x41 ckRed a\nbutton B 0x41 ckRed b",
            "kind twice": self.KIND + self.KIND,
            "component too big": "kind ckRed 256 0 0",
            "component missing": "kind ckRed 255 0",
            "path in name": self.KIND + "button ../B 0x41 ckRed tip",
            "no tooltip": self.KIND + "button B 0x41 ckRed",
            "unknown entry": "colour ckRed 1 2 3",
        }
        for label, text in cases.items():
            with self.subTest(label), self.assertRaises(SourceError):
                symbolsrc.parse_buttons(text, self.PICTOGRAMS)


def winding(contours, x, y):
    """Non-zero winding number at (x, y) with y pointing down."""
    total = 0
    for contour in contours:
        for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1]):
            if (y0 <= y) != (y1 <= y):
                cross_x = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                if cross_x > x:
                    total += 1 if y1 > y0 else -1
    return total


def signed_area_y_up(contour):
    pts = [(x, -y) for x, y in contour]
    return sum(x0 * y1 - x1 * y0
               for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1])) / 2


class TraceOutlineTest(unittest.TestCase):
    def assert_fills_exactly(self, pic, contours, unit):
        for r, row in enumerate(pic.rows):
            for c in range(len(row)):
                lit = winding(contours, (c + 0.5) * unit, (r + 0.5) * unit) != 0
                self.assertEqual(lit, pic.lit(c, r), f"pixel {c},{r}")

    def test_random_bitmaps_are_reproduced(self):
        rng = random.Random(7)
        for _ in range(40):
            rows = ["".join(rng.choice("#.") for _ in range(9)) for _ in range(16)]
            if "#" not in "".join(rows):
                continue
            pic = pictogram(*rows)
            with self.subTest(rows=rows):
                contours = symbolsrc.trace_outline(pic)
                self.assert_fills_exactly(pic, contours, 1)
                # Clockwise outers minus anticlockwise holes = lit pixels.
                lit = "".join(rows).count("#")
                self.assertEqual(-sum(map(signed_area_y_up, contours)), lit)
                for contour in contours:
                    for a, b, c in zip(contour, contour[1:] + contour[:1],
                                       contour[2:] + contour[:2]):
                        self.assertTrue(a[0] == b[0] or a[1] == b[1], "diagonal edge")
                        self.assertNotEqual((b[0] - a[0]) * (c[1] - b[1]),
                                            (b[1] - a[1]) * (c[0] - b[0]), "collinear point")

    def test_ring_has_outer_and_hole(self):
        contours = symbolsrc.trace_outline(pictogram("###", "#.#", "###"))
        self.assertEqual(sorted(map(signed_area_y_up, contours)), [-9, 1])
        self.assertTrue(all(len(c) == 4 for c in contours))

    def test_diagonal_neighbours_stay_apart(self):
        pic = pictogram("#..#", ".##.", "#..#")
        plain = symbolsrc.trace_outline(pic)
        self.assertEqual(len(plain), 5)
        cut = symbolsrc.trace_outline(pic, unit=32, chamfer=1)
        self.assert_fills_exactly(pic, cut, 32)
        points = [p for contour in cut for p in contour]
        self.assertEqual(len(points), len(set(points)), "contours share a point")
        self.assertEqual(-sum(map(signed_area_y_up, cut)), 6 * 32 * 32 - 4 * 2 * 0.5)

    def test_chamfer_must_stay_inside_the_pixel(self):
        with self.assertRaises(ValueError):
            symbolsrc.trace_outline(pictogram("#"), unit=4, chamfer=2)


def decode_png(data):
    """Checks signature, chunk CRCs and layout; returns (width, height, rgba rows)."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, chunks = 8, []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        body = data[pos + 4:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        assert zlib.crc32(body) == crc, "bad CRC"
        chunks.append((body[:4], body[4:]))
        pos += 12 + length
    assert [k for k, _ in chunks] == [b"IHDR", b"IDAT", b"IEND"]
    width, height, depth, colour, _, _, _ = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (depth, colour) == (8, 6)
    raw = zlib.decompress(chunks[1][1])
    stride = 1 + 4 * width
    rows = []
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(width)])
    return width, height, rows


class IconTest(unittest.TestCase):
    DARK = (128, 0, 1)
    LIGHT = (255, 255, 1)

    def test_ink_is_centred_in_kind_colour(self):
        pic = pictogram("..##", "..#.")  # 2x2 ink off to one side
        rows = symbolsrc.render_icon(pic, self.DARK)
        lit = [(x, y) for y, row in enumerate(rows) for x, px in enumerate(row) if px[3]]
        self.assertEqual(sorted(lit), [(11, 7), (11, 8), (12, 7)])
        self.assertEqual(rows[7][11], self.DARK + (255,))
        self.assertEqual(rows[0][0], (0, 0, 0, 0))

    def test_light_colours_get_a_rim_and_dark_ones_do_not(self):
        pic = pictogram("#")
        dark = symbolsrc.render_icon(pic, self.DARK)
        light = symbolsrc.render_icon(pic, self.LIGHT)
        self.assertEqual(sum(px[3] > 0 for row in dark for px in row), 1)
        rim = [(x, y) for y, row in enumerate(light) for x, px in enumerate(row)
               if px == symbolsrc.HALO]
        self.assertEqual(len(rim), 8)
        self.assertEqual(light[7][11], self.LIGHT + (255,))

    def test_oversized_ink_is_rejected(self):
        with self.assertRaises(SourceError):
            symbolsrc.render_icon(pictogram("#" * 25), self.DARK)

    def test_png_round_trip(self):
        rows = symbolsrc.render_icon(pictogram("#.#", ".#."), self.LIGHT)
        data = symbolsrc.encode_png(rows)
        self.assertEqual(decode_png(data), (24, 16, rows))
        self.assertEqual(data, symbolsrc.encode_png(rows))


SRC = os.path.dirname(os.path.abspath(__file__))


def read_committed_sources():
    sys.path.insert(0, SRC)
    import make_symbols
    return make_symbols.read_sources(SRC)


class CommittedSourcesTest(unittest.TestCase):
    def setUp(self):
        self.pictograms, self.kinds, self.buttons = read_committed_sources()

    def test_every_symbol_has_a_button_and_digits_are_drawn(self):
        codes = {p.code for p in self.pictograms}
        used = {b.code for b in self.buttons}
        digits = set(range(0x30, 0x3A))
        self.assertTrue(digits <= codes)
        self.assertEqual(codes - digits, used)

    def test_pictograms_are_distinct_and_fit_the_toolbar(self):
        seen = {}
        for p in self.pictograms:
            left, top, right, bottom = p.ink_box()
            ink = tuple(row[left:right] for row in p.rows[top:bottom])
            self.assertNotIn(ink, seen, f"{p.name} looks like {seen.get(ink)}")
            seen[ink] = p.name
            self.assertLessEqual(right - left, symbolsrc.ICON_WIDTH, p.name)

    def test_same_symbol_buttons_differ_in_colour(self):
        by_code = {}
        for b in self.buttons:
            by_code.setdefault(b.code, []).append(self.kinds[b.kind])
        for code, colours in by_code.items():
            self.assertEqual(len(colours), len(set(colours)), hex(code))


def sfnt_tables(data):
    count = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag.decode()] = data[offset:offset + length]
    return tables


def unicode_cmap(cmap):
    """code -> glyph id from the (3,1) format 4 subtable."""
    count = struct.unpack(">H", cmap[2:4])[0]
    for i in range(count):
        platform, encoding, offset = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
        if (platform, encoding) != (3, 1):
            continue
        sub = cmap[offset:]
        assert struct.unpack(">H", sub[:2])[0] == 4
        segs = struct.unpack(">H", sub[6:8])[0] // 2
        arr = lambda k: struct.unpack(f">{segs}H", sub[14 + k * 2 * segs + (2 if k else 0):][:2 * segs])
        ends, starts, deltas, ranges = arr(0), arr(1), arr(2), arr(3)
        range_base = 16 + 6 * segs
        mapping = {}
        for s in range(segs):
            for code in range(starts[s], ends[s] + 1):
                if code == 0xFFFF:
                    continue
                if ranges[s] == 0:
                    gid = (code + deltas[s]) & 0xFFFF
                else:
                    at = range_base + 2 * s + ranges[s] + 2 * (code - starts[s])
                    gid = struct.unpack(">H", sub[at:at + 2])[0]
                    gid = (gid + deltas[s]) & 0xFFFF if gid else 0
                if gid:
                    mapping[code] = gid
        return mapping
    raise AssertionError("no (3,1) cmap")


@unittest.skipUnless(HAVE_FONTFORGE, "python3-fontforge not installed")
class FontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        import make_symbols
        cls.make = make_symbols
        cls.pictograms = read_committed_sources()[0]
        with tempfile.TemporaryDirectory() as tmp:
            paths = [os.path.join(tmp, name) for name in ("a.ttf", "b.ttf")]
            for path in paths:
                make_symbols.build_font(cls.pictograms, path)
            cls.data, cls.again = (cls.read(p) for p in paths)
        cls.tables = sfnt_tables(cls.data)

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def test_build_is_reproducible(self):
        self.assertEqual(self.data, self.again)

    def test_plain_and_private_codes_share_glyphs(self):
        cmap = unicode_cmap(self.tables["cmap"])
        codes = [0x20] + [p.code for p in self.pictograms]
        self.assertEqual(sorted(cmap), sorted(codes + [0xF000 + c for c in codes]))
        for code in codes:
            self.assertEqual(cmap[code], cmap[0xF000 + code], hex(code))
        self.assertEqual(len({cmap[c] for c in codes}), len(codes))

    def test_family_name(self):
        self.assertIn("ZorSymbolFont".encode("utf-16-be"), self.tables["name"])

    def test_latin1_code_page_not_symbol(self):
        os2 = self.tables["OS/2"]
        page1 = struct.unpack(">I", os2[78:82])[0]
        self.assertEqual(page1 & 1, 1)
        self.assertEqual(page1 >> 31, 0)

    def test_drawings_fit_the_line_metrics(self):
        y_min, _, y_max = struct.unpack(">hhh", self.tables["head"][38:44])
        ascent, descent = struct.unpack(">hh", self.tables["hhea"][4:8])
        win_ascent, win_descent = struct.unpack(">HH", self.tables["OS/2"][74:78])
        self.assertLessEqual(y_max, min(ascent, win_ascent))
        self.assertGreaterEqual(y_min, max(descent, -win_descent))

    def test_committed_outputs_are_current(self):
        root = os.path.normpath(os.path.join(SRC, "..", ".."))
        if not os.path.exists(os.path.join(root, self.make.FONT_PATH)):
            self.skipTest("outputs not generated in this checkout")
        self.assertEqual(self.make.main(["--check", "--root", root]), 0)


if __name__ == "__main__":
    unittest.main()
