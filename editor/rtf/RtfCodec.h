// The RTF codec: reads and writes a document (base/Document.h) as RTF. Plain C++, no Qt.
//
// Reading maps \par, \line and \row to '\n' and \tab and \cell to '\t'; the model has one
// kind of line end, written back as \par. The codec never touches a colour: every run's 24-bit
// colour comes back bit for bit.
#pragma once

#include "base/Document.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zor::rtf {

// The model the codec reads and writes.
using doc::AnsiCharset;
using doc::CharFormat;
using doc::DefaultCharset;
using doc::DefaultFormat;
using doc::Document;
using doc::EastEuropeCharset;
using doc::FormatPool;
using doc::FormatRef;
using doc::Normalized;
using doc::ReadPlainText;
using doc::SymbolCharset;
using doc::TextRun;

enum class SourceKind { Rtf, PlainText };

struct ReadResult
{
    Document Doc;
    SourceKind Source = SourceKind::Rtf;
    // Empty when the bytes were read; otherwise why they were refused, and Doc is empty.
    std::string Error;
    // Set when the bytes were read but something was amiss (for instance the file ends inside
    // a group, as a truncated file does); Doc then holds what could be read.
    std::string Warning;
    // Error as marked for translation (context "RtfReader"), with ErrorNumber for its %1, so
    // that the editor can word it in the operator's language; Warning is marked as it stands.
    std::string_view ErrorSource;
    int ErrorNumber = 0;

    bool Ok() const { return Error.empty(); }
};

// Limits that keep a hostile file from exhausting the stack, memory or time.
// A message program is a few kilobytes; 64 MB leaves room while keeping a file of one-character
// runs (about twenty times its size in memory) within reach of an ordinary machine.
inline constexpr std::size_t MaxInputBytes = 64u * 1024 * 1024;
inline constexpr int MaxGroupDepth = 1000;

// Reads a document file. Bytes that start with "{\rtf" (after optional white space) are read as
// RTF; anything else is plain text (UTF-8 when it is valid UTF-8, else Windows-1250; CR LF, CR
// and LF end lines) in DefaultFormat(). Bytes after the group that closes the RTF document are
// ignored. One paragraph mark at the very end is the document's own final mark and adds no
// line. Bytes decode by the font's charset or the document's code page (\ansicpgN, \pc, \pca,
// \mac; the Windows pages, 437, 850, 852, 10000 and 10029). A field's result is text, its
// instruction is not. Characters at U+F020..U+F0FF in a symbol font (charset 2, or the face
// ZorSymbolFont whatever its charset, as word processors save it) come back at U+0020..U+00FF.
// Never throws; refuses input longer than MaxInputBytes or nested deeper than MaxGroupDepth
// with an error and an empty document; a file that ends inside a group is read with a warning.
ReadResult Read(std::string_view bytes);

// Writes the document as RTF with code page 1250 (all 7-bit ASCII output, CR LF line ends,
// lines kept short). Each distinct face and charset gets one font table entry, charset-2 fonts
// marked \fprq2; each distinct colour one colour table entry after the empty first one.
// Characters the run's code page cannot hold are written as \uN with a '?' fallback (pairs of
// UTF-16 surrogates above U+FFFF), and so is every character beyond ASCII in a font whose
// charset names a DOS or Macintosh code page (77, 254, 255): those pages are read, never
// written. In a charset-2 font U+0020..U+00FF, and their aliases U+F020..U+F0FF, are written as
// the font's bytes. The output is a function of the document alone, and
// Read(Write(d)).Doc == Normalized(d) for every document whose formats are in range and whose
// text holds only characters the model keeps (symbol-font aliases come back at U+0020..U+00FF).
std::string Write(const Document &document);

} // namespace zor::rtf
