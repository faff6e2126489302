// Translation of a whole document model, as the editor holds it, into the program text.
#pragma once

#include "base/Document.h"
#include "commands/Translate.h"

#include <cstddef>
#include <string>

namespace zor {

// The editor character code of a document character: a command symbol is its own code (also
// when held at its U+F0xx alias), other characters their Windows-1250 code, and a character
// that Windows-1250 lacks is '?'.
unsigned char EditorCharCode(char32_t ch, std::uint32_t colour);

// The colour a character of this format enters the translation with: its own when it is a
// command (the symbol font and a tagged colour, base/SymbolTag.h), 0 (plain text) otherwise.
// Word processors colour text freely; such text is never turned into commands or dropped.
std::uint32_t TranslationColour(const rtf::CharFormat &format);

// Feeds every character with its translation colour in document order; a line end enters as
// 0x0D 0x0A in the colour of its format.
TTranslation TranslateDocument(const rtf::Document &document);

// The number of the text segment that a transition symbol at position (a character index, a
// line end counting as one) brings in: the segments placed once the walk has passed it.
int SegmentAfter(const rtf::Document &document, std::size_t position);

// Characters in the symbol font that are not commands (their colour carries no tag): on the
// panel they are the plain characters they are, not the symbols the operator sees. Blanks and
// line ends do not count.
struct TSymbolFontText
{
    std::size_t Count = 0;
    int FirstLine = 0; // 1-based paragraph number of the first one; 0 when there is none
};

TSymbolFontText FindSymbolFontText(const rtf::Document &document);

// What the operator is told about them, one sentence; empty when there are none.
std::string SymbolFontTextWarning(const TSymbolFontText &found);

} // namespace zor
