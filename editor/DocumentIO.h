// The bridge between the editor's QTextDocument and the document model of the RTF codec, and
// the reading and writing of document files.
#pragma once

#include "base/Document.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <cstdint>

class QTextDocument;

namespace zor {

// Character-format property that keeps the run's RTF charset (238 Central European, 2 symbol,
// ...) so that it survives a save and a load.
inline constexpr int CharsetProperty = QTextFormat::UserProperty + 1;

// Colour values of documents are 0x00BBGGRR.
inline QColor ColourToQColor(std::uint32_t colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

inline std::uint32_t QColorToColour(const QColor &c)
{
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

// The colour value a character of this format carries (black when it sets none).
std::uint32_t FormatColour(const QTextCharFormat &format);

// A character of this format is a command (symbol or digit): the symbol font with a tagged
// colour (base/SymbolTag.h). Any other character is text.
bool IsCommandFormat(const QTextCharFormat &format);

QTextCharFormat ToCharFormat(const rtf::CharFormat &format);
rtf::CharFormat FromCharFormat(const QTextCharFormat &format);

// Replaces the content of text with the model; paragraphs become blocks. Takes the model by
// value and frees its runs as they go in (move a large one in).
void FillTextDocument(QTextDocument &text, rtf::Document document);

// The content of text as the model; blocks are separated by '\n'.
rtf::Document DocumentFromText(const QTextDocument &text);

// Reads a document file into text. RTF is decoded, anything else read as plain text. False with
// a message for the operator in *error when the file cannot be read or its RTF is refused; text
// is then left empty. True with a message in *warning (when given) when the file was read with
// something amiss (it ends before its last RTF group closes); text holds what was there.
bool LoadDocumentFile(const QString &path, QTextDocument &text, QString *error,
                      QString *warning = nullptr);

// Writes text to path as RTF, atomically: the previous file stays untouched when writing fails.
bool SaveDocumentFile(const QString &path, const QTextDocument &text, QString *error);

} // namespace zor
