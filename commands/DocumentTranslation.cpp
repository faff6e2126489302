#include "commands/DocumentTranslation.h"

#include "base/CodePages.h"
#include "commands/Vocabulary.h"

namespace zor {

unsigned char EditorCharCode(char32_t ch, std::uint32_t colour)
{
    if (ch >= 0xF020 && ch <= 0xF0FF)
        return static_cast<unsigned char>(ch & 0xFF);
    if (IsCommandSymbol(colour) && ch < 0x100)
        return static_cast<unsigned char>(ch);
    const int code = rtf::detail::EncodeChar(1250, ch);
    return code < 0 ? '?' : static_cast<unsigned char>(code);
}

std::uint32_t TranslationColour(const rtf::CharFormat &format)
{
    return IsCommandCharacter(format.Face, format.Colour) ? format.Colour : 0;
}

TTranslation TranslateDocument(const rtf::Document &document)
{
    TTranslator t;
    for (const rtf::TextRun &run : document.Runs) {
        const std::uint32_t colour = TranslationColour(run.Format);
        for (char32_t ch : run.Text) {
            if (ch == U'\n') {
                t.Add(0x0D, colour);
                t.Add(0x0A, colour);
            } else {
                t.Add(EditorCharCode(ch, colour), colour);
            }
        }
    }
    TTranslation result;
    result.Program = t.Finish();
    result.Segments = t.Segments();
    return result;
}

int SegmentAfter(const rtf::Document &document, std::size_t position)
{
    TTranslator t;
    std::size_t index = 0;
    for (const rtf::TextRun &run : document.Runs) {
        const std::uint32_t colour = TranslationColour(run.Format);
        for (char32_t ch : run.Text) {
            if (index++ > position)
                return t.Segments();
            if (ch == U'\n') {
                t.Add(0x0D, colour);
                t.Add(0x0A, colour);
            } else {
                t.Add(EditorCharCode(ch, colour), colour);
            }
        }
    }
    return t.Segments();
}

TSymbolFontText FindSymbolFontText(const rtf::Document &document)
{
    TSymbolFontText found;
    int line = 1;
    for (const rtf::TextRun &run : document.Runs) {
        const bool uncommanded = IsUncommandedSymbolFont(run.Format->Face, run.Format->Colour);
        for (const char32_t ch : run.Text) {
            if (ch == U'\n') {
                ++line;
                continue;
            }
            if (!uncommanded || ch == U' ' || ch == U'\t')
                continue;
            if (found.Count++ == 0)
                found.FirstLine = line;
        }
    }
    return found;
}

std::string SymbolFontTextWarning(const TSymbolFontText &found)
{
    if (found.Count == 0)
        return {};
    const std::string line = std::to_string(found.FirstLine);
    if (found.Count == 1)
        return "The document holds 1 character in the symbol font without a command colour (on "
               "line " +
               line + "); the panel gets it as the plain character it is.";
    return "The document holds " + std::to_string(found.Count) +
           " characters in the symbol font without a command colour (the first on line " + line +
           "); the panel gets them as the plain characters they are.";
}

} // namespace zor
