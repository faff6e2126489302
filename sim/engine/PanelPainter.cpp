#include "sim/engine/PanelPainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zor {

namespace {

// An unlit LED is a dark disc, so that the panel's grid shows as on the device.
constexpr TRgb UnlitLed{48, 40, 40};
// LEDs below this zoom are too small to look round: they are drawn as squares.
constexpr int SmallestDisc = 3;
// Samples a pixel's edge is cut into to find how much of it a disc covers.
constexpr int DiscSamples = 16;

TPixel Pixel(TRgb c, double cover = 1.0)
{
    auto channel = [cover](std::uint8_t v) { return static_cast<TPixel>(std::lround(v * cover)); };
    return 0xFF000000u | channel(c.Red) << 16 | channel(c.Green) << 8 | channel(c.Blue);
}

bool Round(const TPanelLook &look)
{
    return look.Led && look.Zoom >= SmallestDisc;
}

} // namespace

TPanelPainter::TPanelPainter(TPanelLook look) : PanelLook(look)
{
    const int zoom = PanelLook.Zoom =
        std::clamp(PanelLook.Zoom, TPanelLook::MinZoom, TPanelLook::MaxZoom);
    TileSize = 2 * zoom;
    Origin = Round(PanelLook) ? zoom / 2 : 0;
    const auto pixels = static_cast<std::size_t>(TileSize * TileSize);
    for (int colour = 0; colour < 4; ++colour) {
        std::vector<TPixel> &tile = Tiles[static_cast<std::size_t>(colour)];
        tile.assign(pixels, Pixel({}));
        const TRgb rgb = PanelLook.Led && colour == 0
                             ? UnlitLed
                             : PanelPalette[static_cast<std::size_t>(colour)];
        if (!Round(PanelLook)) {
            for (int r = zoom; r < TileSize; ++r)
                std::fill_n(tile.begin() + r * TileSize + zoom, zoom, Pixel(rgb));
            continue;
        }
        // Centred on the square dot's centre, wider than it, as round LEDs sit closer together;
        // the tile starts Origin later, and the disc stays inside it so that no edge is cut flat.
        const double c = 1.5 * zoom - Origin;
        const double radius = std::min({0.85 * zoom, c, 2.0 * zoom - c});
        for (int r = 0; r < TileSize; ++r)
            for (int col = 0; col < TileSize; ++col) {
                int inside = 0;
                for (int i = 0; i < DiscSamples; ++i)
                    for (int j = 0; j < DiscSamples; ++j) {
                        const double dx = col + (i + 0.5) / DiscSamples - c;
                        const double dy = r + (j + 0.5) / DiscSamples - c;
                        inside += dx * dx + dy * dy <= radius * radius;
                    }
                tile[static_cast<std::size_t>(r * TileSize + col)] =
                    Pixel(rgb, static_cast<double>(inside) / (DiscSamples * DiscSamples));
            }
    }
    // A dot that changes colour only needs the pixels where the tiles differ: the lower right
    // quarter of a square dot, the disc's box of an LED.
    int left = TileSize, right = 0, top = TileSize, bottom = 0;
    for (int r = 0; r < TileSize; ++r)
        for (int col = 0; col < TileSize; ++col) {
            const auto at = static_cast<std::size_t>(r * TileSize + col);
            for (int colour = 1; colour < 4; ++colour)
                if (Tiles[static_cast<std::size_t>(colour)][at] != Tiles[0][at]) {
                    left = std::min(left, col);
                    right = std::max(right, col + 1);
                    top = std::min(top, r);
                    bottom = std::max(bottom, r + 1);
                }
        }
    Differs = {left, top, right - left, bottom - top};
}

void TPanelPainter::PaintDot(int x, int y, int colour, const TPixelRect &part, TPixel *pixels,
                             std::ptrdiff_t stride) const
{
    const TPixel *from =
        Tiles[static_cast<std::size_t>(colour & 3)].data() + part.Top * TileSize + part.Left;
    TPixel *to =
        pixels + (Origin + y * TileSize + part.Top) * stride + Origin + x * TileSize + part.Left;
    const auto bytes = static_cast<std::size_t>(part.Width) * sizeof(TPixel);
    for (int r = 0; r < part.Height; ++r, to += stride, from += TileSize)
        std::memcpy(to, from, bytes);
}

void TPanelPainter::Paint(const TPanelPicture &picture, TPixel *pixels, std::ptrdiff_t stride) const
{
    // The tiles cover all but the black border on the right and at the bottom.
    for (int r = 0; r < Height(); ++r)
        std::fill_n(pixels + r * stride, Width(), Pixel({}));
    const TPixelRect whole{0, 0, TileSize, TileSize};
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            PaintDot(x, y, picture.Dot(x, y), whole, pixels, stride);
}

std::array<TPixelRect, PanelRows> TPanelPainter::PaintChanges(const TPanelPicture &shown,
                                                              const TPanelPicture &picture,
                                                              TPixel *pixels,
                                                              std::ptrdiff_t stride) const
{
    std::array<TPixelRect, PanelRows> changed{};
    for (int y = 0; y < PanelRows; ++y) {
        int first = PanelColumns, last = -1;
        for (int x = 0; x < PanelColumns; ++x) {
            const int colour = picture.Dot(x, y);
            if (colour == shown.Dot(x, y))
                continue;
            PaintDot(x, y, colour, Differs, pixels, stride);
            first = std::min(first, x);
            last = x;
        }
        // From the first changed dot's changing pixels to the last one's: the lines and
        // columns that are black in every tile are left out of the repaint.
        if (last >= 0)
            changed[static_cast<std::size_t>(y)] = {
                Origin + first * TileSize + Differs.Left, Origin + y * TileSize + Differs.Top,
                (last - first) * TileSize + Differs.Width, Differs.Height};
    }
    return changed;
}

void TPanelPainter::IndexRow(const TPanelPicture &picture, int py, int px, int count,
                             std::uint8_t *out) const
{
    const int zoom = PanelLook.Zoom;
    const int ry = py / zoom;
    if (ry % 2 == 0 || ry >= PanelImageHeight - 1) {
        std::memset(out, 0, static_cast<std::size_t>(count));
        return;
    }
    const int y = (ry - 1) / 2;
    for (int i = 0; i < count; ++i) {
        const int rx = (px + i) / zoom;
        out[i] = rx % 2 == 1 && rx < PanelImageWidth - 1
                     ? static_cast<std::uint8_t>(picture.Dot((rx - 1) / 2, y))
                     : 0;
    }
}

TPixelRect TPanelPainter::DotsRect(int x0, int y0, int x1, int y1) const
{
    return {Origin + x0 * TileSize + Differs.Left, Origin + y0 * TileSize + Differs.Top,
            (x1 - x0) * TileSize + Differs.Width, (y1 - y0) * TileSize + Differs.Height};
}

} // namespace zor
