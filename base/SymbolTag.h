// The tag that tells command symbols from text in a document. The editor writes it into a
// character's colour and the translation reads it back, so both take it from here.
//
// Colours are 32-bit values in the 0x00BBGGRR layout that documents store. A colour carries the
// tag when the low three bits of its blue component are 001 and is plain when they are 000.
// A document character is a command only when it is also in the symbol font: a word processor
// colours text freely, and one colour in eight carries the tag by chance.
#pragma once

#include <cstdint>
#include <string_view>

namespace zor {

inline constexpr std::uint32_t SymbolTagMask = 0x70000;
inline constexpr std::uint32_t SymbolTag = 0x10000;

// The face of the symbol font that draws every command symbol.
inline constexpr std::string_view SymbolFace = "ZorSymbolFont";

constexpr bool IsCommandSymbol(std::uint32_t colour)
{
    return (colour & SymbolTagMask) == SymbolTag;
}

constexpr bool IsPlainText(std::uint32_t colour)
{
    return (colour & SymbolTagMask) == 0;
}

constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Face names compare as font names do, without regard to ASCII case.
constexpr bool IsSymbolFace(std::string_view face)
{
    if (face.size() != SymbolFace.size())
        return false;
    for (std::size_t i = 0; i < face.size(); ++i)
        if (AsciiLower(face[i]) != AsciiLower(SymbolFace[i]))
            return false;
    return true;
}

// A character in this face and colour is a command (symbol or digit); any other is text,
// whatever its colour.
constexpr bool IsCommandCharacter(std::string_view face, std::uint32_t colour)
{
    return IsCommandSymbol(colour) && IsSymbolFace(face);
}

// A character in the symbol font that is not a command: it reaches the panel as the plain
// character it is, which the operator may not expect.
constexpr bool IsUncommandedSymbolFont(std::string_view face, std::uint32_t colour)
{
    return IsSymbolFace(face) && !IsCommandSymbol(colour);
}

} // namespace zor
