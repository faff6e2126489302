#!/usr/bin/python3
"""Build resources/fonts/ZorSymbols.TTF and resources/symbols/<Button>.png
from pictograms.txt and buttons.txt.

    /usr/bin/python3 tools/symbolfont/make_symbols.py [--check] [--root DIR]

Needs FontForge's Python module (Debian: python3-fontforge) and nothing else.
The output is byte-for-byte reproducible, so --check can tell whether the
committed files still match their sources.
"""

import argparse
import filecmp
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import symbolsrc  # noqa: E402

FAMILY = "ZorSymbolFont"
VERSION = "1.000"
COPYRIGHT = "ZorEdit symbol font. Copyright (c) ZorEdit developers. Original work."
DESCRIPTION = "ZorEdit symbol font: command symbols for LED panel message programs."
FONT_PATH = os.path.join("resources", "fonts", "ZorSymbols.TTF")
ICON_DIR = os.path.join("resources", "symbols")

# Fixed date for head.created/modified and anything else FontForge stamps,
# so that regenerating an unchanged font gives identical bytes.
EPOCH = 1704067200  # 2024-01-01T00:00:00Z

# One source pixel is 1/16 em; row 13 sits on the baseline, so a 16-row
# drawing spans 14 pixels above the baseline and 2 below, centred on the
# middle of the cap height of ordinary Latin text.
UNITS_PER_EM = 2048
PIXEL = 128
BASELINE_ROW = 14
SIDE_BEARING = PIXEL
SPACE_WIDTH = 8 * PIXEL
# Corner cut where two pixels touch diagonally: 1/32 pixel, far below
# anything a rasteriser can show, but enough to keep contours apart.
CHAMFER = PIXEL // 32
PRIVATE_BASE = 0xF000

# Line metrics match common sans-serif faces (1854/434/67 of 2048), so a
# line mixing symbols and 18 pt text keeps the text's own line height while
# the drawings (top 1792, bottom -256) stay well inside and are never clipped.
ASCENT, DESCENT, LINE_GAP = 1854, 434, 67

# OS/2 ulCodePageRange1 bit 0: Latin 1.  Bit 31 (symbol) stays clear: a
# symbol-only font is refused for ordinary character codes.
CODEPAGE_LATIN1 = 1 << 0
# OS/2 ulUnicodeRange bits 0 Basic Latin, 1 Latin-1 Supplement, 60 Private Use.
UNICODE_RANGES = ((1 << 0) | (1 << 1), 1 << (60 - 32), 0, 0)


def read_sources(src_dir=HERE):
    with open(os.path.join(src_dir, "pictograms.txt"), encoding="utf-8") as f:
        pictograms = symbolsrc.parse_pictograms(f.read(), "pictograms.txt")
    with open(os.path.join(src_dir, "buttons.txt"), encoding="utf-8") as f:
        kinds, buttons = symbolsrc.parse_buttons(f.read(), pictograms, "buttons.txt")
    return pictograms, kinds, buttons


def _draw_polygons(glyph, polygons):
    pen = glyph.glyphPen()
    for polygon in polygons:
        pen.moveTo(polygon[0])
        for point in polygon[1:]:
            pen.lineTo(point)
        pen.closePath()
    pen = None  # the pen writes into the glyph when released


def _add_glyph(font, code, name, polygons, width):
    glyph = font.createChar(code, name)
    glyph.altuni = ((PRIVATE_BASE + code, -1, 0),)
    _draw_polygons(glyph, polygons)
    glyph.width = width
    return glyph


def pictogram_polygons(pictogram):
    """Font-unit polygons of a pictogram, ink shifted to the left side bearing."""
    left = pictogram.ink_box()[0]
    return [[(x - left * PIXEL + SIDE_BEARING, BASELINE_ROW * PIXEL - y)
             for x, y in contour]
            for contour in symbolsrc.trace_outline(pictogram, PIXEL, CHAMFER)]


def pictogram_advance(pictogram):
    left, _, right, _ = pictogram.ink_box()
    return (right - left) * PIXEL + 2 * SIDE_BEARING


def build_font(pictograms, path):
    import fontforge

    os.environ["SOURCE_DATE_EPOCH"] = str(EPOCH)
    font = fontforge.font()
    font.encoding = "UnicodeBmp"
    font.em = UNITS_PER_EM
    font.ascent = BASELINE_ROW * PIXEL
    font.descent = UNITS_PER_EM - font.ascent
    font.fontname = FAMILY
    font.familyname = FAMILY
    font.fullname = FAMILY
    font.weight = "Regular"
    font.version = VERSION
    font.sfntRevision = float(VERSION)
    font.copyright = COPYRIGHT
    for name_id, value in (("Copyright", COPYRIGHT),
                           ("Family", FAMILY),
                           ("SubFamily", "Regular"),
                           ("UniqueID", f"ZorEdit symbol font {VERSION} {FAMILY}"),
                           ("Fullname", FAMILY),
                           ("Version", f"Version {VERSION}"),
                           ("PostScriptName", FAMILY),
                           ("Descriptor", DESCRIPTION)):
        font.appendSFNTName("English (US)", name_id, value)

    font.os2_version = 4
    font.os2_vendor = "ZORE"
    font.os2_weight = 400
    font.os2_width = 5
    font.os2_fstype = 0
    font.os2_stylemap = 0x40  # REGULAR
    font.os2_panose = (0,) * 10
    font.os2_codepages = (CODEPAGE_LATIN1, 0)
    font.os2_unicoderanges = UNICODE_RANGES
    font.os2_winascent_add = font.os2_windescent_add = False
    font.os2_typoascent_add = font.os2_typodescent_add = False
    font.hhea_ascent_add = font.hhea_descent_add = False
    font.os2_winascent, font.os2_windescent = ASCENT, DESCENT
    font.os2_typoascent, font.os2_typodescent, font.os2_typolinegap = ASCENT, -DESCENT, LINE_GAP
    font.os2_use_typo_metrics = True
    font.hhea_ascent, font.hhea_descent, font.hhea_linegap = ASCENT, -DESCENT, LINE_GAP

    notdef = font.createChar(-1, ".notdef")
    box = [(PIXEL, 0), (PIXEL, 12 * PIXEL), (7 * PIXEL, 12 * PIXEL), (7 * PIXEL, 0)]
    hole = [(2 * PIXEL, PIXEL), (6 * PIXEL, PIXEL), (6 * PIXEL, 11 * PIXEL), (2 * PIXEL, 11 * PIXEL)]
    _draw_polygons(notdef, [box, hole])
    notdef.width = 8 * PIXEL

    _add_glyph(font, 0x20, "space", [], SPACE_WIDTH)
    for pictogram in pictograms:
        _add_glyph(font, pictogram.code, pictogram.name,
                   pictogram_polygons(pictogram), pictogram_advance(pictogram))

    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    font.generate(path, flags=("omit-instructions", "no-FFTM-table", "no-hints"))
    font.close()


def build_icons(pictograms, kinds, buttons, directory):
    by_code = {p.code: p for p in pictograms}
    os.makedirs(directory, exist_ok=True)
    written = []
    for button in buttons:
        rows = symbolsrc.render_icon(by_code[button.code], kinds[button.kind])
        path = os.path.join(directory, button.name + ".png")
        with open(path, "wb") as f:
            f.write(symbolsrc.encode_png(rows))
        written.append(path)
    return written


def build(root):
    pictograms, kinds, buttons = read_sources()
    build_font(pictograms, os.path.join(root, FONT_PATH))
    build_icons(pictograms, kinds, buttons, os.path.join(root, ICON_DIR))
    return [FONT_PATH] + [os.path.join(ICON_DIR, b.name + ".png") for b in buttons]


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=os.path.normpath(os.path.join(HERE, "..", "..")),
                        help="repository root to write into (default: this checkout)")
    parser.add_argument("--check", action="store_true",
                        help="build into a scratch directory and fail if ROOT's files differ")
    args = parser.parse_args(argv)
    try:
        if not args.check:
            outputs = build(args.root)
            print(f"wrote {len(outputs)} files under {args.root}")
            return 0
        with tempfile.TemporaryDirectory() as scratch:
            stale = [rel for rel in build(scratch)
                     if not os.path.exists(os.path.join(args.root, rel))
                     or not filecmp.cmp(os.path.join(scratch, rel),
                                        os.path.join(args.root, rel), shallow=False)]
    except symbolsrc.SourceError as e:
        print(f"error: {e}", file=sys.stderr)
        return 2
    for rel in stale:
        print(f"out of date: {rel}", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
