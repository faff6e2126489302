#include "ui/DocumentConversion.h"

#include "base/SymbolTag.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <unordered_map>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zor {

namespace {

// The runs of a model are many small blocks: freed, they stay in the process's heap, where the
// text document's large arrays (allocated apart) never reuse them. Handing the free pages back
// keeps a model being moved into the document from costing its size twice over.
void ReturnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// Runs moved into the document between two ReturnFreedMemory() calls.
constexpr std::size_t RunsPerReturn = 65536;

} // namespace

std::uint32_t FormatColour(const QTextCharFormat &format)
{
    const QBrush brush = format.foreground();
    return brush.style() == Qt::NoBrush ? 0u : QColorToColour(brush.color());
}

namespace {

QString FormatFace(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty())
        return families.front();
    return format.font().family();
}

} // namespace

bool IsCommandFormat(const QTextCharFormat &format)
{
    const std::uint32_t colour = FormatColour(format);
    return IsCommandSymbol(colour) && IsSymbolFace(FormatFace(format).toStdString());
}

QTextCharFormat ToCharFormat(const doc::CharFormat &f)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{QString::fromStdString(f.Face)});
    format.setFontPointSize(f.HalfPoints / 2.0);
    format.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.Italic);
    format.setFontUnderline(f.Underline);
    format.setFontStrikeOut(f.StrikeOut);
    format.setForeground(ColourToQColor(f.Colour));
    format.setProperty(CharsetProperty, f.Charset);
    return format;
}

doc::CharFormat FromCharFormat(const QTextCharFormat &format)
{
    doc::CharFormat f;
    if (const QString face = FormatFace(format); !face.isEmpty())
        f.Face = face.toStdString();
    const double points = format.fontPointSize();
    if (points > 0)
        f.HalfPoints = std::clamp(int(points * 2 + 0.5), 1, 32767);
    f.Bold = format.fontWeight() >= QFont::DemiBold;
    f.Italic = format.fontItalic();
    f.Underline = format.fontUnderline();
    f.StrikeOut = format.fontStrikeOut();
    f.Colour = FormatColour(format);
    if (format.hasProperty(CharsetProperty))
        f.Charset = std::clamp(format.intProperty(CharsetProperty), 0, 255);
    return f;
}

void FillTextDocument(QTextDocument &text, doc::Document document)
{
    // Filling is not an edit to undo, and recording it would keep every run a second time.
    const bool undo = text.isUndoRedoEnabled();
    text.setUndoRedoEnabled(false);
    text.clear();
    QTextCursor cursor(&text);
    cursor.beginEditBlock();
    bool first = true;
    // One Qt format per distinct run format (the runs share theirs), and each run freed once it
    // is in: a document of short runs does not have to fit in memory twice.
    std::unordered_map<const doc::CharFormat *, QTextCharFormat> formats;
    std::size_t filled = 0;
    while (!document.Runs.empty()) {
        const doc::TextRun &run = document.Runs.front();
        auto [known, added] = formats.try_emplace(&*run.Format);
        if (added)
            known->second = ToCharFormat(run.Format);
        const QTextCharFormat &format = known->second;
        if (first) {
            // The first block takes the first run's format, so an empty last line keeps it too.
            cursor.setBlockCharFormat(format);
            first = false;
        }
        std::size_t start = 0;
        while (start <= run.Text.size()) {
            std::size_t end = run.Text.find(U'\n', start);
            const std::size_t stop = end == std::u32string::npos ? run.Text.size() : end;
            if (stop > start) {
                QString part = QString::fromUcs4(run.Text.data() + start, qsizetype(stop - start));
                cursor.insertText(part, format);
            }
            if (end == std::u32string::npos)
                break;
            cursor.insertBlock(QTextBlockFormat(), format);
            start = end + 1;
        }
        document.Runs.pop_front();
        if (++filled % RunsPerReturn == 0)
            ReturnFreedMemory();
    }
    // A small model is not worth the walk through the heap.
    const bool large = filled >= RunsPerReturn;
    if (large)
        ReturnFreedMemory();
    // Lays the text out (when the document has a layout); what that leaves free goes back too.
    cursor.endEditBlock();
    if (large)
        ReturnFreedMemory();
    text.setUndoRedoEnabled(undo);
}

doc::Document DocumentFromText(const QTextDocument &text)
{
    doc::Document document;
    // A document's many fragments share a few formats: each is converted once, by its index in
    // the document's format collection (the live preview converts the whole text after edits).
    std::unordered_map<int, doc::CharFormat> formats;
    auto format = [&](int index, const auto &owner) -> const doc::CharFormat & {
        auto [known, added] = formats.try_emplace(index);
        if (added)
            known->second = FromCharFormat(owner.charFormat());
        return known->second;
    };
    std::u32string chars;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        if (block != text.begin())
            // The separator in front of a block carries that block's character format.
            document.Append(format(block.charFormatIndex(), block), U'\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QString t = fragment.text();
            chars.clear();
            for (qsizetype i = 0; i < t.size(); ++i) {
                char32_t c = t[i].unicode();
                if (QChar::isHighSurrogate(c) && i + 1 < t.size() && t[i + 1].isLowSurrogate()) {
                    c = QChar::surrogateToUcs4(t[i].unicode(), t[i + 1].unicode());
                    ++i;
                } else if (QChar::isSurrogate(c))
                    c = QChar::ReplacementCharacter; // as QString::toUcs4 reads a lone half
                // Soft line breaks inside a block read as line ends too.
                chars.push_back(c == 0x2028 || c == 0x2029 ? U'\n' : c);
            }
            document.Append(format(fragment.charFormatIndex(), fragment), chars);
        }
    }
    return document;
}

} // namespace zor
