// The one way from a panel picture to pixels: what the simulation window, the preview, the
// copied frame and the animated GIF show.
//
// Plain C++, no GUI. The image of the panel is (241 x zoom) by (21 x zoom) pixels: dot x, y
// (x 0 to 119, y 0 to 9 from the top) sits at pixel ((2x + 1) x zoom, (2y + 1) x zoom), with
// black between the dots and a black border all round. Square dots fill a zoom x zoom square in
// the dot's colour; LED dots are discs, lit in the dot's colour or dim where the dot is off.
#pragma once

#include "sim/engine/FrameStore.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zor {

// The image of the panel at zoom 1: one pixel a dot, one between dots and round the panel.
inline constexpr int PanelImageWidth = 2 * PanelColumns + 1;
inline constexpr int PanelImageHeight = 2 * PanelRows + 1;

// A pixel as 0xFFRRGGBB, the layout of a 32-bit RGB image on every platform we build for.
using TPixel = std::uint32_t;

// A rectangle of pixels; empty when Width or Height is 0.
struct TPixelRect
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    bool operator==(const TPixelRect &) const = default;
};

// How the panel is drawn: pixels a dot's pitch is half of (MinZoom to MaxZoom), and the look.
struct TPanelLook
{
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 8;

    int Zoom = 2;
    bool Led = false;

    bool operator==(const TPanelLook &) const = default;
};

// Draws dots of one look. Each dot is drawn from a pre-drawn tile of 2 x zoom pixels square,
// one per colour: the dot with the gap above and to the left of it. The tiles are made once,
// when the painter is made; nothing is allocated per dot or per frame.
class TPanelPainter
{
public:
    // The zoom is clamped to MinZoom ... MaxZoom.
    explicit TPanelPainter(TPanelLook look = {});

    const TPanelLook &Look() const { return PanelLook; }
    int Width() const { return PanelImageWidth * PanelLook.Zoom; }
    int Height() const { return PanelImageHeight * PanelLook.Zoom; }

    // Every pixel of the image of picture into pixels (Width() x Height(), stride pixels a row).
    void Paint(const TPanelPicture &picture, TPixel *pixels, std::ptrdiff_t stride) const;

    // Redraws the dots where picture differs from shown, touching only the pixels where the
    // tiles of the colours differ. Returns the rectangle of each dot row's changed pixels
    // (empty where a row is unchanged).
    std::array<TPixelRect, PanelRows> PaintChanges(const TPanelPicture &shown,
                                                   const TPanelPicture &picture, TPixel *pixels,
                                                   std::ptrdiff_t stride) const;

    // The colour number each pixel of a row of the square look shows (0 also for the gaps and
    // the border), for images that are stored by palette index: py 0 to Height() - 1, count
    // pixels from px on, all inside the image.
    void IndexRow(const TPanelPicture &picture, int py, int px, int count, std::uint8_t *out) const;

    // The pixels that the dots x0 ... x1, y0 ... y1 can change (corners included).
    TPixelRect DotsRect(int x0, int y0, int x1, int y1) const;

private:
    void PaintDot(int x, int y, int colour, const TPixelRect &part, TPixel *pixels,
                  std::ptrdiff_t stride) const;

    TPanelLook PanelLook;
    int TileSize = 0;
    // Pixels from the image's corner to the first dot's tile: none for square dots; half a dot
    // for LEDs, so that a disc wider than the square dot still sits whole inside its tile.
    int Origin = 0;
    std::array<std::vector<TPixel>, 4> Tiles;
    TPixelRect Differs; // of a tile: where the four colours differ
};

} // namespace zor
