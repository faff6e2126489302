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

TTranslation TranslateDocument(const rtf::Document &document)
{
    TTranslator t;
    for (const rtf::TextRun &run : document.Runs) {
        const std::uint32_t colour = run.Format->Colour;
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

int TextNumberAfter(const rtf::Document &document, std::size_t position)
{
    // Texts are counted as the reader sees them: a run of blanks and line ends between two
    // symbols is a text segment to the panel, but nothing to read.
    int shown = 0;
    bool inText = false, visible = false;
    std::size_t index = 0;
    for (const rtf::TextRun &run : document.Runs) {
        const std::uint32_t colour = run.Format->Colour;
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

} // namespace zor
