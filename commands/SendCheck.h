// What is worth a question before a program goes to the panel: a program that would blank it,
// and text characters the panel has no glyph for (they travel as '?').
#pragma once

#include "base/Document.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace zor {

// True when the program text shows nothing: no commands but references to text segments, and
// text of nothing but blanks and line ends. Sending it clears the panel.
bool IsEmptyProgram(std::string_view program);

// A text character the translation turns into '?'.
struct TUnshowable
{
    int Line;   // 1-based paragraph number
    int Column; // 1-based position in the paragraph, every character (symbols too) counted
    char32_t Character;
};

struct TUnshowableReport
{
    std::vector<TUnshowable> First; // in document order, at most the limit asked for
    std::size_t Count = 0;          // all of them
};

// Plain-text characters of the document that the editor code page lacks. Command symbols and a
// '?' the operator typed are not reported.
TUnshowableReport FindUnshowable(const rtf::Document &document, std::size_t limit);

} // namespace zor
