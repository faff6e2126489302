#include "commands/SendCheck.h"

#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"

namespace zor {

namespace {
constexpr unsigned char SegmentEnd = 0x1F;
} // namespace

bool IsEmptyProgram(std::string_view program)
{
    // The command part ends at the first separator; anything before it is a command.
    if (program.empty())
        return true;
    if (static_cast<unsigned char>(program.front()) != SegmentEnd)
        return false;
    for (const char c : program)
        if (c != ' ' && c != '\r' && c != '\n' && static_cast<unsigned char>(c) != SegmentEnd)
            return false;
    return true;
}

TUnshowableReport FindUnshowable(const rtf::Document &document, std::size_t limit)
{
    TUnshowableReport report;
    int line = 1, column = 0;
    for (const rtf::TextRun &run : document.Runs) {
        const std::uint32_t colour = run.Format.Colour;
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
