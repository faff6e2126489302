// The panel font follows the cell rules that the renderer and the transitions rely on.
#include "sim/engine/PanelFont.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(PanelFont, CellRules)
{
    const TGlyph a = {0x00, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x50, 0x20, 0x00, 0x00};
    const TGlyph propeller = {0x00, 0x00, 0x00, 0x00, 0x00, 0xFE, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(PanelFont[0x41], a);
    EXPECT_EQ(PanelFont[0x02], propeller);
    for (int c : {0x00, 0x09, 0x0D, 0x1E, 0x1F, 0x20, 0x7F, 0xAA, 0xDD, 0xF4, 0xFA, 0xFF})
        EXPECT_EQ(PanelFont[static_cast<std::size_t>(c)], TGlyph{}) << std::hex << c;

    for (int c = 0x21; c <= 0xFE; ++c) {
        const TGlyph &g = PanelFont[static_cast<std::size_t>(c)];
        int ink = 0;
        int column5 = 0;
        for (auto b : g) {
            ink += b != 0;
            column5 += (b & 0x04) != 0;
            EXPECT_EQ(b & 0x03, 0) << std::hex << c;
        }
        const bool empty = c == 0x7F || c == 0xAA || c == 0xDD || c == 0xF4 || c == 0xFA;
        EXPECT_EQ(ink == 0, empty) << std::hex << c;
        // Only shades, boxes and blocks reach the spacing column.
        if (c < 0xB0 || c > 0xDF) {
            EXPECT_EQ(column5, 0) << std::hex << c;
        }
    }
}

} // namespace
} // namespace zor
