#include "commands/SendCheck.h"

#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"

namespace zor {

namespace {

constexpr unsigned char SegmentEnd = 0x1F;

// The unshowable characters as a walk over the document meets them.
class TUnshowableScan
{
public:
    explicit TUnshowableScan(std::size_t limit) : Limit(limit) {}

    void Add(char32_t ch, std::uint32_t colour, unsigned char code)
    {
        if (ch == U'\n') {
            ++Line;
            Column = 0;
            return;
        }
        ++Column;
        if (!IsPlainText(colour) || ch == U'?' || code != '?')
            return;
        if (Report.First.size() < Limit)
            Report.First.push_back({Line, Column, ch});
        ++Report.Count;
    }

    TUnshowableReport Report;

private:
    std::size_t Limit;
    int Line = 1, Column = 0;
};

} // namespace

bool IsEmptyProgram(std::string_view program)
{
    // The command part ends at the first separator. Plain text alone still gets a reference to
    // its segment ("T0"), so only codes other than those make a program show something.
    const auto end = program.find(static_cast<char>(SegmentEnd));
    const std::string_view commands = program.substr(0, end);
    for (const char c : commands)
        if (c != 'T' && (c < '0' || c > '9'))
            return false;
    if (end == std::string_view::npos)
        return true;
    for (const char c : program.substr(end))
        if (c != ' ' && c != '\r' && c != '\n' && static_cast<unsigned char>(c) != SegmentEnd)
            return false;
    return true;
}

TUnshowableReport FindUnshowable(const doc::Document &document, std::size_t limit)
{
    TUnshowableScan scan(limit);
    for (const doc::TextRun &run : document.Runs) {
        const std::uint32_t colour = TranslationColour(run.Format);
        for (const char32_t ch : run.Text)
            scan.Add(ch, colour, ch == U'\n' ? 0 : EditorCharCode(ch, colour));
    }
    return std::move(scan.Report);
}

TSendTranslation TranslateForSend(const doc::Document &document, std::size_t listed)
{
    TTranslator t;
    TUnshowableScan unshowable(listed);
    TSymbolFontText symbolFont;
    int line = 1;
    for (const doc::TextRun &run : document.Runs) {
        const std::uint32_t colour = TranslationColour(run.Format);
        const bool uncommanded = IsUncommandedSymbolFont(run.Format->Face, run.Format->Colour);
        for (const char32_t ch : run.Text) {
            if (ch == U'\n') {
                t.Add(0x0D, colour);
                t.Add(0x0A, colour);
                unshowable.Add(ch, colour, 0);
                ++line;
                continue;
            }
            const unsigned char code = EditorCharCode(ch, colour);
            t.Add(code, colour);
            unshowable.Add(ch, colour, code);
            CountSymbolFontText(symbolFont, ch, uncommanded, line);
        }
    }
    TSendTranslation result;
    result.Translation.Program = t.Finish();
    result.Translation.Segments = t.Segments();
    result.Check.Empty = IsEmptyProgram(result.Translation.Program);
    result.Check.Unshowable = std::move(unshowable.Report);
    result.Check.SymbolFontText = symbolFont;
    return result;
}

} // namespace zor
