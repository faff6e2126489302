"""Pictogram and toolbar sources of the command symbols, plus the pure-Python
half of the generator: outline tracing and toolbar image encoding.

Kept free of FontForge so that the sources can be checked and the toolbar
images produced on any Python 3.
"""

import re
import struct
import zlib
from dataclasses import dataclass

GRID_ROWS = 16
ICON_WIDTH = 24
ICON_HEIGHT = 16
LIT, DARK = "#", "."

# Glyph names end up in the post table: keep them PostScript-safe.
_NAME_RE = re.compile(r"^[A-Za-z][A-Za-z0-9_.]{0,30}$")

# Space is generated, not drawn; everything else must sit in Latin-1 so the
# private-use duplicate U+F000+code stays inside U+F021..U+F0FF.
MIN_CODE, MAX_CODE = 0x21, 0xFF


class SourceError(ValueError):
    """A pictogram or toolbar source file is malformed; the message names the line."""


@dataclass(frozen=True)
class Pictogram:
    code: int
    name: str
    rows: tuple

    @property
    def width(self):
        return len(self.rows[0])

    def lit(self, col, row):
        return (0 <= row < len(self.rows) and 0 <= col < len(self.rows[row])
                and self.rows[row][col] == LIT)

    def ink_box(self):
        """(left, top, right, bottom) of the lit pixels, right/bottom exclusive."""
        cols = [c for r in self.rows for c, ch in enumerate(r) if ch == LIT]
        rows = [i for i, r in enumerate(self.rows) if LIT in r]
        return min(cols), min(rows), max(cols) + 1, max(rows) + 1


@dataclass(frozen=True)
class Button:
    name: str
    code: int
    kind: str
    hint: str


def _parse_code(token, where):
    try:
        code = int(token, 16) if token.lower().startswith("0x") else ord(token)
    except (ValueError, TypeError):
        raise SourceError(f"{where}: bad character code {token!r}") from None
    if not MIN_CODE <= code <= MAX_CODE:
        raise SourceError(f"{where}: code {code:#04x} outside {MIN_CODE:#04x}..{MAX_CODE:#04x}")
    return code


def parse_pictograms(text, source="pictograms"):
    """Parse blocks of the form

        glyph 0x3A moveInFromRight
        <exactly 16 rows of '#' and '.', all of one width>

    and return them ordered by code.  Comments start with ';' ('#' is a
    pixel); they and blank lines may only sit between blocks, so a stray
    blank line cannot silently cut a drawing short.
    """
    pictograms = {}
    names = set()
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i].strip()
        where = f"{source}:{i + 1}"
        i += 1
        if not line or line.startswith(";"):
            continue
        fields = line.split()
        if fields[0] != "glyph" or len(fields) != 3:
            raise SourceError(f"{where}: expected 'glyph <code> <name>', got {line!r}")
        code = _parse_code(fields[1], where)
        name = fields[2]
        if not _NAME_RE.match(name):
            raise SourceError(f"{where}: glyph name {name!r} is not PostScript-safe")
        if code in pictograms:
            raise SourceError(f"{where}: code {code:#04x} drawn twice")
        if name in names:
            raise SourceError(f"{where}: glyph name {name!r} used twice")
        rows = tuple(l.strip() for l in lines[i:i + GRID_ROWS])
        if len(rows) < GRID_ROWS or any(not r or r[0] not in (LIT, DARK) for r in rows):
            raise SourceError(f"{where}: {name} needs {GRID_ROWS} rows of pixels")
        if any(set(r) - {LIT, DARK} for r in rows):
            raise SourceError(f"{where}: {name} may only use '{LIT}' and '{DARK}'")
        if len({len(r) for r in rows}) != 1:
            raise SourceError(f"{where}: {name} has rows of different widths")
        if LIT not in "".join(rows):
            raise SourceError(f"{where}: {name} is empty")
        i += GRID_ROWS
        if i < len(lines) and lines[i].strip()[:1] in (LIT, DARK):
            raise SourceError(f"{source}:{i + 1}: {name} has more than {GRID_ROWS} rows")
        pictograms[code] = Pictogram(code, name, rows)
        names.add(name)
    return [pictograms[c] for c in sorted(pictograms)]


def parse_buttons(text, pictograms, source="buttons"):
    """Parse 'kind <name> <r> <g> <b>' and 'button <name> <code> <kind> <hint...>'
    lines.  Returns (kinds: name -> (r, g, b), buttons in toolbar order)."""
    drawn = {p.code for p in pictograms}
    kinds, buttons, seen = {}, [], set()
    for n, raw in enumerate(text.splitlines(), 1):
        where = f"{source}:{n}"
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        fields = line.split(None, 4)
        if fields[0] == "kind":
            fields = line.split()
            if len(fields) != 5:
                raise SourceError(f"{where}: expected 'kind <name> <r> <g> <b>'")
            try:
                rgb = tuple(int(v) for v in fields[2:])
            except ValueError:
                raise SourceError(f"{where}: colour components must be integers") from None
            if any(not 0 <= v <= 255 for v in rgb):
                raise SourceError(f"{where}: colour components must be 0..255")
            if fields[1] in kinds:
                raise SourceError(f"{where}: kind {fields[1]} defined twice")
            kinds[fields[1]] = rgb
        elif fields[0] == "button":
            if len(fields) != 5:
                raise SourceError(f"{where}: expected 'button <name> <code> <kind> <hint>'")
            _, name, code_token, kind, hint = fields
            if not re.match(r"^[A-Za-z][A-Za-z0-9_]*$", name):
                raise SourceError(f"{where}: button name {name!r} is not a plain file name")
            if name in seen:
                raise SourceError(f"{where}: button {name} listed twice")
            code = _parse_code(code_token, where)
            if code not in drawn:
                raise SourceError(f"{where}: {name} uses {code:#04x}, which has no pictogram")
            if kind not in kinds:
                raise SourceError(f"{where}: {name} has undefined kind {kind}")
            seen.add(name)
            buttons.append(Button(name, code, kind, hint.strip()))
        else:
            raise SourceError(f"{where}: unknown entry {fields[0]!r}")
    return kinds, buttons


def trace_outline(pictogram, unit=1, chamfer=0):
    """Outline of the lit pixels as closed polygons of corner points
    (x right, y down, `unit` per pixel), corners only.

    Every lit pixel edge facing a dark pixel becomes a directed edge with the
    lit side on its right, so outer contours run clockwise and holes
    anticlockwise once y is flipped to point up, as TrueType expects.  Where
    two lit pixels touch only at a corner the walk turns right, keeping them
    as separate contours; `chamfer` then cuts that corner back on both so the
    contours do not touch either, which outline checkers report as a
    self-intersection.
    """
    if not 0 <= 2 * chamfer < unit:
        raise ValueError("chamfer must be less than half a pixel")
    edges = {}  # start corner -> list of end corners
    for r, row in enumerate(pictogram.rows):
        for c, ch in enumerate(row):
            if ch != LIT:
                continue
            sides = (
                ((c, r - 1), (c, r), (c + 1, r)),             # top, heading right
                ((c + 1, r), (c + 1, r), (c + 1, r + 1)),     # right, heading down
                ((c, r + 1), (c + 1, r + 1), (c, r + 1)),     # bottom, heading left
                ((c - 1, r), (c, r + 1), (c, r)),             # left, heading up
            )
            for (nc, nr), start, end in sides:
                if not pictogram.lit(nc, nr):
                    edges.setdefault(start, []).append(end)
    touching = {p for p, ends in edges.items() if len(ends) > 1}

    contours = []
    while edges:
        start = min(edges, key=lambda p: (p[1], p[0]))
        loop = [start]
        prev, cur = None, start
        while True:
            options = edges[cur]
            if prev is None:
                # The topmost-leftmost corner always starts a top edge.
                nxt = (cur[0] + 1, cur[1]) if (cur[0] + 1, cur[1]) in options else options[0]
            elif len(options) == 1:
                nxt = options[0]
            else:
                dx, dy = cur[0] - prev[0], cur[1] - prev[1]
                right = (cur[0] - dy, cur[1] + dx)
                nxt = right if right in options else options[0]
            options.remove(nxt)
            if not options:
                del edges[cur]
            prev, cur = cur, nxt
            if cur == start:
                break
            loop.append(cur)
        contours.append(_drop_collinear(_scale(loop, unit, chamfer, touching)))
    return contours


def _scale(loop, unit, chamfer, touching):
    out = []
    for i, (x, y) in enumerate(loop):
        if chamfer and (x, y) in touching:
            (px, py), (nx, ny) = loop[i - 1], loop[(i + 1) % len(loop)]
            out.append((x * unit - (x - px) * chamfer, y * unit - (y - py) * chamfer))
            out.append((x * unit + (nx - x) * chamfer, y * unit + (ny - y) * chamfer))
        else:
            out.append((x * unit, y * unit))
    return out


def _drop_collinear(loop):
    n = len(loop)
    keep = []
    for i, p in enumerate(loop):
        a, b = loop[i - 1], loop[(i + 1) % n]
        if (p[0] - a[0]) * (b[1] - p[1]) != (p[1] - a[1]) * (b[0] - p[0]):
            keep.append(p)
    return keep


def is_light(rgb):
    """True for colours that vanish on a light toolbar (yellow, green)."""
    r, g, b = rgb
    return (0.2126 * r + 0.7152 * g + 0.0722 * b) / 255 > 0.6


HALO = (0, 0, 0, 150)


def render_icon(pictogram, rgb, width=ICON_WIDTH, height=ICON_HEIGHT):
    """Toolbar image as rows of RGBA tuples: the pictogram's ink centred on a
    transparent canvas.  Light colours get a translucent dark rim so they stay
    visible on light toolbars without changing the drawing itself."""
    left, top, right, bottom = pictogram.ink_box()
    w, h = right - left, bottom - top
    if w > width or h > height:
        raise SourceError(f"{pictogram.name}: {w}x{h} ink does not fit a {width}x{height} icon")
    ox, oy = (width - w) // 2 - left, (height - h) // 2 - top
    clear = (0, 0, 0, 0)
    ink = tuple(rgb) + (255,)

    def lit(x, y):
        return pictogram.lit(x - ox, y - oy)

    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            if lit(x, y):
                row.append(ink)
            elif is_light(rgb) and any(lit(x + dx, y + dy)
                                       for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                row.append(HALO)
            else:
                row.append(clear)
        rows.append(row)
    return rows


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def encode_png(rows):
    """8-bit RGBA PNG without ancillary chunks, so equal pixels give equal bytes."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + _chunk(b"IDAT", zlib.compress(raw, 9))
            + _chunk(b"IEND", b""))
