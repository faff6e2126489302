// The tag that tells command symbols from text in a document. The editor writes it into a
// character's colour and the translation reads it back, so both take it from here.
//
// Colours are 32-bit values in the 0x00BBGGRR layout that documents store. A document character
// is a command symbol when the low three bits of its blue component are 001, plain text when
// they are 000; any other value marks a character that is neither and is dropped.
#pragma once

#include <cstdint>

namespace zor {

inline constexpr std::uint32_t SymbolTagMask = 0x70000;
inline constexpr std::uint32_t SymbolTag = 0x10000;

constexpr bool IsCommandSymbol(std::uint32_t colour)
{
    return (colour & SymbolTagMask) == SymbolTag;
}

constexpr bool IsPlainText(std::uint32_t colour)
{
    return (colour & SymbolTagMask) == 0;
}

} // namespace zor
