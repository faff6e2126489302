// What is worth a question before a program goes to the panel: a program that would blank it,
// and text characters the panel has no glyph for (they travel as '?').
#pragma once

#include "base/Document.h"
#include "commands/DocumentTranslation.h"
#include "commands/Translate.h"

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
TUnshowableReport FindUnshowable(const doc::Document &document, std::size_t limit);

// Everything a send asks about, found while the document is translated.
struct TSendCheck
{
    bool Empty = false;           // IsEmptyProgram of the program
    TUnshowableReport Unshowable; // FindUnshowable's, with the limit asked for
    TSymbolFontText SymbolFontText;
};

struct TSendTranslation
{
    TTranslation Translation; // as TranslateDocument gives it
    TSendCheck Check;
};

// Translates the document and finds what is worth a question in the same walk, so that asking
// needs neither the document again nor a second look at the program. listed: how many
// unshowable characters are listed (all are counted).
TSendTranslation TranslateForSend(const doc::Document &document, std::size_t listed);

} // namespace zor
