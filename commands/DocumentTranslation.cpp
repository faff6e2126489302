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
    const int code = doc::EncodeChar(1250, ch);
    return code < 0 ? '?' : static_cast<unsigned char>(code);
}

std::uint32_t TranslationColour(const doc::CharFormat &format)
{
    return IsCommandCharacter(format.Face, format.Colour) ? format.Colour : 0;
}

TTranslation TranslateDocument(const doc::Document &document)
{
    TTranslator t;
    for (const doc::TextRun &run : document.Runs) {
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

int TextNumberAfter(const doc::Document &document, std::size_t position)
{
    // Texts are counted as the reader sees them: a run of blanks and line ends between two
    // symbols is a text segment to the panel, but nothing to read.
    int shown = 0;
    bool inText = false, visible = false;
    std::size_t index = 0;
    for (const doc::TextRun &run : document.Runs) {
        const std::uint32_t colour = TranslationColour(run.Format);
        const bool symbol = IsCommandSymbol(colour);
        for (char32_t ch : run.Text) {
            const std::size_t at = index++;
            if (at == position) {
                if (inText && visible)
                    ++shown;
                inText = visible = false;
                continue;
            }
            // Past the transition, the digits tagged after it still belong to it; the first
            // other symbol ends its text, or shows that it has none.
            const bool digit = symbol && IsDigitSymbol(EditorCharCode(ch, colour));
            if (symbol && !(at > position && digit && !inText)) {
                if (at > position)
                    return inText && visible ? shown + 1 : 0;
                if (inText && visible)
                    ++shown;
                inText = visible = false;
            } else if (IsPlainText(colour)) {
                inText = true;
                visible = visible || (ch != U' ' && ch != U'\t' && ch != U'\n' && ch != U'\u00A0');
            }
        }
    }
    return index > position && inText && visible ? shown + 1 : 0;
}

TSymbolFontText FindSymbolFontText(const doc::Document &document)
{
    TSymbolFontText found;
    int line = 1;
    for (const doc::TextRun &run : document.Runs) {
        const bool uncommanded = IsUncommandedSymbolFont(run.Format->Face, run.Format->Colour);
        for (const char32_t ch : run.Text) {
            if (ch == U'\n') {
                ++line;
                continue;
            }
            CountSymbolFontText(found, ch, uncommanded, line);
        }
    }
    return found;
}

void CountSymbolFontText(TSymbolFontText &found, char32_t ch, bool uncommanded, int line)
{
    if (!uncommanded || ch == U' ' || ch == U'\t')
        return;
    if (found.Count++ == 0)
        found.FirstLine = line;
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
