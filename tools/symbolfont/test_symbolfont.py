#!/usr/bin/python3
"""/usr/bin/python3 -m unittest discover -s tools/symbolfont -p 'test_*.py'
Font tests need python3-fontforge and are skipped without it."""

import filecmp
import os
import random
import struct
import sys
import tempfile
import unittest
import zlib

SRC = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, SRC)

import make_symbols  # noqa: E402
import symbolsrc  # noqa: E402
from symbolsrc import SourceError  # noqa: E402

try:
    import fontforge
except ImportError:
    fontforge = None


def block(code="0x41", name="sample", rows=("#...",) + ("....",) * 15):
    return f"glyph {code} {name}\n" + "\n".join(rows) + "\n"


def pictogram(*rows):
    return symbolsrc.parse_pictograms(block(rows=rows + ("." * len(rows[0]),) * (16 - len(rows))))[0]


class ParseTest(unittest.TestCase):
    def test_valid_sources(self):
        pics = symbolsrc.parse_pictograms("; c\n\n" + block("0x42", "b") + "\n" + block("A", "a"))
        self.assertEqual([(p.code, p.name) for p in pics], [(0x41, "a"), (0x42, "b")])
        kinds, buttons = symbolsrc.parse_buttons(
            "kind ckRed 255 0 1\nbutton B2 0x42 ckRed Font colour\nbutton B1 A ckRed x\n", pics)
        self.assertEqual(kinds, {"ckRed": (255, 0, 1)})
        self.assertEqual([(b.name, b.code, b.hint) for b in buttons],
                         [("B2", 0x42, "Font colour"), ("B1", 0x41, "x")])

    def test_malformed_pictograms_are_rejected(self):
        good = ("#...",) + ("....",) * 15
        for label, text in {
            "ragged rows": block(rows=good[:5] + ("...",) + good[6:]),
            "short block": block(rows=good[:15]) + block("0x42", "b"),
            "long block": block(rows=good) + "....\n",
            "blank line inside": block(rows=good[:8] + ("",) + good[8:]),
            "foreign character": block(rows=("#..x",) + good[1:]),
            "nothing lit": block(rows=("....",) * 16),
            "duplicate code": block() + block(name="other"),
            "duplicate name": block() + block("0x42"),
            "space is generated": block("0x20"),
            "beyond Latin-1": block("0x100"),
            "unsafe glyph name": block(name="two-x"),
        }.items():
            with self.subTest(label), self.assertRaises(SourceError):
                symbolsrc.parse_pictograms(text)

    def test_inconsistent_buttons_are_rejected(self):
        pics, kind = symbolsrc.parse_pictograms(block()), "kind ckRed 255 0 1\n"
        for label, text in {
            "undefined kind": kind + "button B 0x41 ckBlue tip",
            "no pictogram": kind + "button B 0x42 ckRed tip",
            "button twice": kind + "button B 0x41 ckRed a\nbutton B 0x41 ckRed b",
            "component too big": "kind ckRed 256 0 0",
            "path in name": kind + "button ../B 0x41 ckRed tip",
        }.items():
            with self.subTest(label), self.assertRaises(SourceError):
                symbolsrc.parse_buttons(text, pics)


def winding(contours, x, y):
    total = 0
    for contour in contours:
        for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1]):
            if (y0 <= y) != (y1 <= y) and x0 + (y - y0) * (x1 - x0) / (y1 - y0) > x:
                total += 1 if y1 > y0 else -1
    return total


def area_y_up(contours):  # negative for clockwise once y points up
    return -sum(x0 * y1 - x1 * y0 for c in contours
                for (x0, y0), (x1, y1) in zip(c, c[1:] + c[:1])) / 2


class TraceOutlineTest(unittest.TestCase):
    def assert_fills_exactly(self, pic, contours, unit):
        for r, row in enumerate(pic.rows):
            for c in range(len(row)):
                lit = winding(contours, (c + 0.5) * unit, (r + 0.5) * unit) != 0
                self.assertEqual(lit, pic.lit(c, r), f"pixel {c},{r}")

    def test_random_bitmaps_are_reproduced_with_clockwise_outers(self):
        rng = random.Random(7)
        for _ in range(40):
            rows = tuple("".join(rng.choice("#.") for _ in range(9)) for _ in range(16))
            pic = pictogram(*rows)
            with self.subTest(rows=rows):
                contours = symbolsrc.trace_outline(pic)
                self.assert_fills_exactly(pic, contours, 1)
                self.assertEqual(area_y_up(contours), -"".join(rows).count("#"))
                for c in contours:
                    for a, b, n in zip(c, c[1:] + c[:1], c[2:] + c[:2]):
                        self.assertTrue(a[0] == b[0] or a[1] == b[1], "slanted edge")
                        self.assertNotEqual((b[0] - a[0]) * (n[1] - b[1]),
                                            (b[1] - a[1]) * (n[0] - b[0]), "collinear point")

    def test_diagonal_neighbours_stay_apart(self):
        pic = pictogram("#..#", ".##.", "#..#")
        self.assertEqual(len(symbolsrc.trace_outline(pic)), 5)
        cut = symbolsrc.trace_outline(pic, unit=32, chamfer=1)
        self.assert_fills_exactly(pic, cut, 32)
        points = [p for contour in cut for p in contour]
        self.assertEqual(len(points), len(set(points)), "contours share a point")
        self.assertEqual(area_y_up(cut), -(6 * 32 * 32 - 8 * 0.5))


def decode_png(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, chunks = 8, {}
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        body, crc = data[pos + 4:pos + 8 + length], data[pos + 8 + length:pos + 12 + length]
        assert struct.pack(">I", zlib.crc32(body)) == crc, "bad CRC"
        chunks[body[:4]] = body[4:]
        pos += 12 + length
    width, height, depth, colour = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
    assert (depth, colour, b"IEND" in chunks) == (8, 6, True)
    raw, stride = zlib.decompress(chunks[b"IDAT"]), 1 + 4 * width
    return width, height, [[tuple(raw[y * stride + 1 + 4 * x:y * stride + 5 + 4 * x])
                            for x in range(width)] for y in range(height)]


class IconTest(unittest.TestCase):
    DARK, LIGHT = (128, 0, 1), (255, 255, 1)

    def test_ink_is_centred_in_kind_colour(self):
        rows = symbolsrc.render_icon(pictogram("..##", "..#."), self.DARK)
        lit = sorted((x, y) for y, row in enumerate(rows) for x, px in enumerate(row) if px[3])
        self.assertEqual(lit, [(11, 7), (11, 8), (12, 7)])
        self.assertEqual((rows[7][11], rows[0][0]), (self.DARK + (255,), (0, 0, 0, 0)))

    def test_only_light_colours_get_a_rim(self):
        self.assertEqual(sum(px[3] > 0 for row in symbolsrc.render_icon(pictogram("#"), self.DARK)
                             for px in row), 1)
        light = symbolsrc.render_icon(pictogram("#"), self.LIGHT)
        self.assertEqual(sum(px == symbolsrc.HALO for row in light for px in row), 8)
        self.assertEqual(light[7][11], self.LIGHT + (255,))
        with self.assertRaises(SourceError):
            symbolsrc.render_icon(pictogram("#" * 25), self.DARK)

    def test_png_round_trip(self):
        rows = symbolsrc.render_icon(pictogram("#.#", ".#."), self.LIGHT)
        self.assertEqual(decode_png(symbolsrc.encode_png(rows)), (24, 16, rows))


class CommittedSourcesTest(unittest.TestCase):
    def test_symbols_are_complete_distinct_and_fit(self):
        pictograms, _, buttons = make_symbols.read_sources(SRC)
        digits = set(range(0x30, 0x3A))
        codes = {p.code for p in pictograms}
        self.assertTrue(digits <= codes)
        self.assertEqual(codes - digits, {b.code for b in buttons}, "drawn but never used")
        seen = {}
        for p in pictograms:
            left, top, right, bottom = p.ink_box()
            ink = tuple(row[left:right] for row in p.rows[top:bottom])
            self.assertNotIn(ink, seen, f"{p.name} looks like {seen.get(ink)}")
            seen[ink] = p.name
            self.assertLessEqual(right - left, symbolsrc.ICON_WIDTH, p.name)


@unittest.skipUnless(fontforge, "python3-fontforge not installed")
class FontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pictograms = make_symbols.read_sources(SRC)[0]
        cls.tmp = tempfile.TemporaryDirectory()
        cls.path = os.path.join(cls.tmp.name, "a.ttf")
        make_symbols.build_font(cls.pictograms, cls.path)
        cls.font = fontforge.open(cls.path)

    @classmethod
    def tearDownClass(cls):
        cls.font.close()
        cls.tmp.cleanup()

    def test_build_is_reproducible(self):
        again = os.path.join(self.tmp.name, "b.ttf")
        make_symbols.build_font(self.pictograms, again)
        self.assertTrue(filecmp.cmp(self.path, again, shallow=False))

    def test_plain_and_private_codes_share_glyphs(self):
        mapped = {g.glyphname: {c for c in [g.unicode] + [a[0] for a in g.altuni or ()] if c >= 0}
                  for g in self.font.glyphs()}
        expected = [(0x20, "space")] + [(p.code, p.name) for p in self.pictograms]
        for code, name in expected:
            self.assertEqual(mapped.get(name), {code, 0xF000 + code}, name)
        self.assertEqual(sum(map(len, mapped.values())), 2 * len(expected))

    def test_family_code_page_and_metrics(self):
        f = self.font
        self.assertEqual(f.familyname, "ZorSymbolFont")
        self.assertEqual((f.os2_codepages[0] & 1, f.os2_codepages[0] >> 31), (1, 0))
        for glyph in f.glyphs():
            _, y_min, _, y_max = glyph.boundingBox()
            self.assertLessEqual(y_max, min(f.hhea_ascent, f.os2_winascent), glyph.glyphname)
            self.assertGreaterEqual(y_min, max(f.hhea_descent, -f.os2_windescent), glyph.glyphname)

    def test_committed_outputs_are_current(self):
        root = os.path.normpath(os.path.join(SRC, "..", ".."))
        self.assertEqual(make_symbols.main(["--check", "--root", root]), 0)


if __name__ == "__main__":
    unittest.main()
