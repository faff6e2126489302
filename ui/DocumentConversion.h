// The one bridge between a QTextDocument (the editor's text, the preview's source) and the
// document model: formats and characters both ways. The editor and the preview both convert
// through it, so a character reads as a command in one exactly when it does in the other.
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

QTextCharFormat ToCharFormat(const doc::CharFormat &format);
doc::CharFormat FromCharFormat(const QTextCharFormat &format);

// Replaces the content of text with the model; paragraphs become blocks. Takes the model by
// value and frees its runs as they go in (move a large one in).
void FillTextDocument(QTextDocument &text, doc::Document document);

// The content of text as the model; blocks are separated by '\n'.
doc::Document DocumentFromText(const QTextDocument &text);

} // namespace zor
