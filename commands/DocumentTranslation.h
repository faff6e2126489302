// Translation of a whole document model, as the editor holds it, into the program text.
#pragma once

#include "base/Document.h"
#include "commands/Translate.h"

namespace zor {

// The editor character code of a document character: a command symbol is its own code (also
// when held at its U+F0xx alias), other characters their Windows-1250 code, and a character
// that Windows-1250 lacks is '?'.
unsigned char EditorCharCode(char32_t ch, std::uint32_t colour);

// Feeds every character with its colour in document order; a line end enters as 0x0D 0x0A in
// the colour it carries.
TTranslation TranslateDocument(const rtf::Document &document);

// Which text a transition symbol at position (a character index, a line end counting as one)
// brings in, counted from 1 in document order as the reader sees them: texts of blanks and line
// ends alone are not counted. 0 when the symbol is followed by no such text of its own (it then
// brings in an empty segment).
int TextNumberAfter(const rtf::Document &document, std::size_t position);

} // namespace zor
