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
std::uint32_t TranslationColour(const doc::CharFormat &format);

// Feeds every character with its translation colour in document order; a line end enters as
// 0x0D 0x0A in the colour of its format.
TTranslation TranslateDocument(const doc::Document &document);

// Which text a transition symbol at position (a character index, a line end counting as one)
// brings in, counted from 1 in document order as the reader sees them: texts of blanks and line
// ends alone are not counted. 0 when the symbol is followed by no such text of its own (it then
// brings in an empty segment).
int TextNumberAfter(const doc::Document &document, std::size_t position);

// Characters in the symbol font that are not commands (their colour carries no tag): on the
// panel they are the plain characters they are, not the symbols the operator sees. Blanks and
// line ends do not count.
struct TSymbolFontText
{
    std::size_t Count = 0;
    int FirstLine = 0; // 1-based paragraph number of the first one; 0 when there is none
};

TSymbolFontText FindSymbolFontText(const doc::Document &document);

// Counts one character (not a line end) of a walk over the document, on its 1-based line.
// uncommanded: its run is symbol-font text without a command colour.
void CountSymbolFontText(TSymbolFontText &found, char32_t ch, bool uncommanded, int line);

// What the operator is told about them, one sentence; empty when there are none.
std::string SymbolFontTextWarning(const TSymbolFontText &found);

} // namespace zor
