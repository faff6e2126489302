#include "commands/SendCheck.h"

#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"

namespace zor {

namespace {
constexpr unsigned char SegmentEnd = 0x1F;
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

TUnshowableReport FindUnshowable(const rtf::Document &document, std::size_t limit)
{
    TUnshowableReport report;
    int line = 1, column = 0;
    for (const rtf::TextRun &run : document.Runs) {
        const std::uint32_t colour = TranslationColour(run.Format);
        for (const char32_t ch : run.Text) {
            if (ch == U'\n') {
                ++line;
                column = 0;
                continue;
            }
            ++column;
            if (!IsPlainText(colour) || ch == U'?' || EditorCharCode(ch, colour) != '?')
                continue;
            if (report.First.size() < limit)
                report.First.push_back({line, column, ch});
            ++report.Count;
        }
    }
    return report;
}

} // namespace zor
