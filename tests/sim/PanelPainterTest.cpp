// The one painter: the GIF's palette image, the windows' pixels and their repaint agree.
#include "sim/engine/PanelPainter.h"
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

TPanelPicture Pattern(int shift)
{
    TPanelPicture p;
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            p.SetDot(x, y, (x * 7 + y * 3 + shift) % 5 % 4);
    return p;
}

std::vector<TPixel> Painted(const TPanelPainter &painter, const TPanelPicture &picture)
{
    std::vector<TPixel> pixels(static_cast<std::size_t>(painter.Width() * painter.Height()));
    painter.Paint(picture, pixels.data(), painter.Width());
    return pixels;
}

TEST(PanelPainter, TheGifsIndicesAndTheWindowsPixelsShowTheSameDots)
{
    const TPanelPicture picture = Pattern(0);
    for (int zoom = TPanelLook::MinZoom; zoom <= TPanelLook::MaxZoom; ++zoom) {
        const TPanelPainter painter({.Zoom = zoom, .Led = false});
        ASSERT_EQ(painter.Width(), 241 * zoom);
        ASSERT_EQ(painter.Height(), 21 * zoom);
        const std::vector<TPixel> pixels = Painted(painter, picture);
        std::vector<std::uint8_t> row(static_cast<std::size_t>(painter.Width()));
        for (int py = 0; py < painter.Height(); ++py) {
            painter.IndexRow(picture, py, 0, painter.Width(), row.data());
            for (int px = 0; px < painter.Width(); ++px) {
                const TRgb c = PanelPalette[row[static_cast<std::size_t>(px)]];
                const TPixel expected =
                    0xFF000000u | TPixel(c.Red) << 16 | TPixel(c.Green) << 8 | c.Blue;
                ASSERT_EQ(pixels[static_cast<std::size_t>(py * painter.Width() + px)], expected)
                    << "zoom " << zoom << " at " << px << "," << py;
            }
        }
        // Dot (x, y) covers pixels (2x + 1) * zoom on, black all round.
        painter.IndexRow(picture, 3 * zoom, 0, painter.Width(), row.data());
        EXPECT_EQ(row[static_cast<std::size_t>(5 * zoom)], picture.Dot(2, 1));
        EXPECT_EQ(row[static_cast<std::size_t>(4 * zoom)], 0);
        // The rectangle of dots 2 to 4 of row 1 in the square look.
        EXPECT_EQ(painter.DotsRect(2, 1, 4, 1), (TPixelRect{5 * zoom, 3 * zoom, 5 * zoom, zoom}));
    }
}

TEST(PanelPainter, RepaintingTheChangesDrawsTheWholePicture)
{
    const TPanelPicture before = Pattern(0), after = Pattern(1);
    for (const bool led : {false, true})
        for (const int zoom : {1, 3, 8}) {
            const TPanelPainter painter({.Zoom = zoom, .Led = led});
            std::vector<TPixel> pixels = Painted(painter, before);
            const std::vector<TPixel> untouched = pixels;
            const auto rows = painter.PaintChanges(before, after, pixels.data(), painter.Width());
            EXPECT_EQ(pixels, Painted(painter, after)) << "zoom " << zoom << (led ? " LED" : "");
            // Every pixel that changed lies in its dot row's rectangle.
            for (int py = 0; py < painter.Height(); ++py)
                for (int px = 0; px < painter.Width(); ++px) {
                    const auto i = static_cast<std::size_t>(py * painter.Width() + px);
                    if (pixels[i] == untouched[i])
                        continue;
                    const bool inside = std::any_of(rows.begin(), rows.end(), [&](const auto &r) {
                        return px >= r.Left && px < r.Left + r.Width && py >= r.Top &&
                               py < r.Top + r.Height;
                    });
                    ASSERT_TRUE(inside) << px << "," << py;
                }
            // The same picture again changes nothing.
            for (const TPixelRect &r :
                 painter.PaintChanges(after, after, pixels.data(), painter.Width()))
                EXPECT_TRUE(r.Empty());
        }
}

} // namespace
} // namespace zor::test
