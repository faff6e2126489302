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

// The number of the text segment that a transition symbol at position (a character index, a
// line end counting as one) brings in: the segments placed once the walk has passed it.
int SegmentAfter(const rtf::Document &document, std::size_t position);

} // namespace zor
