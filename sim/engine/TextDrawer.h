// Draws a line of panel text, one dot row at a time, in the font it is given.
#pragma once

#include "sim/engine/FrameStore.h"
#include "sim/engine/PanelFont.h"

#include <array>
#include <cstdint>
#include <span>

namespace zor {

using TFontTable = std::array<TGlyph, 256>;

enum class TFontStyle {
    Normal, // 6 columns a character, 20 characters a line
    Bold,   // each dot doubled to the right, 7 columns a character, starting at column 1
    Wide,   // each column doubled, 12 columns a character
};

class TTextDrawer
{
public:
    static constexpr int MaxGlyphs = 20;

    // The font outlives the drawer.
    explicit TTextDrawer(const TFontTable &font) : Font(&font) {}

    const TGlyph &Glyph(std::uint8_t code) const { return (*Font)[code]; }

    // The line to draw from column 0: its first MaxGlyphs codes.
    void SetText(std::span<const std::uint8_t> text)
    {
        Count = 0;
        for (std::uint8_t c : text) {
            if (Count == MaxGlyphs)
                break;
            Glyphs[static_cast<std::size_t>(Count++)] = &Glyph(c);
        }
    }

    // Dot row y (0 = top) of the line into a page row of the frame store: every dot of the row
    // in the background, the glyphs' dots in the foreground; what passes column 119 is cut.
    void DrawRow(int y, TFontStyle style, int foreground, int background, std::uint8_t *row) const
    {
        TFrameStore::FillRow(row, background);
        const std::size_t k = static_cast<std::size_t>(9 - y);
        auto set = [&](int x) { TFrameStore::SetDotOf(row, x, foreground); };
        int x = style == TFontStyle::Bold ? 1 : 0;
        for (int g = 0; g < Count; ++g) {
            const std::uint8_t bits = (*Glyphs[static_cast<std::size_t>(g)])[k];
            for (int bit = 7; bit >= 2; --bit) {
                const bool on = (bits >> bit) & 1;
                switch (style) {
                case TFontStyle::Wide:
                    if (on) {
                        set(x);
                        set(x + 1);
                    }
                    x += 2;
                    break;
                case TFontStyle::Bold:
                    if (on) {
                        set(x);
                        if (x + 1 < PanelColumns)
                            set(x + 1);
                    }
                    x += 1;
                    // The gap after each character keeps bold letters apart.
                    if (bit == 2 && x < PanelColumns)
                        x += 1;
                    break;
                case TFontStyle::Normal:
                    if (on)
                        set(x);
                    x += 1;
                    break;
                }
                if (x >= PanelColumns)
                    return;
            }
        }
    }

private:
    const TFontTable *Font;
    std::array<const TGlyph *, MaxGlyphs> Glyphs{};
    int Count = 0;
};

} // namespace zor
