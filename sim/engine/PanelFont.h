// The panel's character font.
#pragma once

#include <array>
#include <cstdint>

namespace zor {

// One character cell of 6 columns by 10 dot rows. Byte k is dot row 9 - k (byte 0 is the bottom
// row); bit 7 is column 0 and bit 2 column 5; bits 1 and 0 are never drawn.
using TGlyph = std::array<std::uint8_t, 10>;

// Indexed by display character code. 0x00 to 0x08 are the special glyphs (0 empty, 1 to 4 the
// propeller, 5 to 7 the stream phases, 8 the full block); 0x09 to 0x1F are empty; 0x20 to 0xFF
// follow code page 852.
extern const std::array<TGlyph, 256> PanelFont;

} // namespace zor
