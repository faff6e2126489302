// A document of random characters in random colours (plain, tagged as command symbols, with
// foreign tag bits), line ends and characters Windows-1250 lacks, translated into the program
// text. The program never holds a zero byte, its command part holds only letters and digits,
// it has exactly one 0x1F more than ends of segments plus the final one, and the same document
// saved as RTF and read back translates to the same program.
//
// Input: two bytes per character. The first picks the character, the second its colour and
// its face (the symbol face or a text face).
#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"
#include "editor/rtf/RtfCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

char32_t Character(std::uint8_t b)
{
    // Line ends, tabs, and characters outside Windows-1250 (or outside the BMP) next to ones
    // inside it; the rest is the byte itself, which covers ASCII, Latin-1 and symbol bytes.
    static constexpr std::array<char32_t, 16> special = {
        U'\n',  U'\t',  U'\n',  0x4E2D, 0x1F600, 0x20AC, 0x0141, 0x00F1,
        0xF041, 0xF06B, 0xF07B, 0xF030, 0xFFFD,  0x0391, 0x2026, 0x00C0,
    };
    if (b < 0x20)
        return special[b % special.size()];
    return b;
}

std::uint32_t Colour(std::uint8_t b)
{
    using zor::SymbolTag;
    switch (b & 7) {
    case 0:
        return 0;
    case 1:
        return 0x0000FF; // red text, untagged
    case 2:
        return SymbolTag | 0x00FF; // red symbol
    case 3:
        return SymbolTag | 0xFF00; // green symbol
    case 4:
        return SymbolTag | 0xFFFF; // yellow symbol
    case 5:
        return SymbolTag; // black symbol
    case 6:
        return 0x20000 | (b >> 3); // foreign tag bits: skipped
    default:
        return (static_cast<std::uint32_t>(b) * 0x010101u) & 0xFFFFFF;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    zor::doc::Document document;
    zor::doc::CharFormat text = zor::doc::DefaultFormat();
    zor::doc::CharFormat symbol = text;
    symbol.Face = "ZorSymbolFont";
    symbol.Charset = zor::doc::SymbolCharset;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        zor::doc::CharFormat &format = (data[i + 1] & 0x80) ? symbol : text;
        format.Colour = Colour(data[i + 1]);
        document.Append(format, Character(data[i]));
    }

    const zor::TTranslation translation = zor::TranslateDocument(document);
    const std::string &program = translation.Program;
    if (program.find('\0') != std::string::npos || program.empty() || program.back() != 0x1F)
        std::abort();
    const std::size_t commandEnd = program.find('\x1F');
    if (!std::all_of(program.begin(), program.begin() + static_cast<long>(commandEnd),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }))
        std::abort();
    const auto separators = std::count(program.begin(), program.end(), '\x1F');
    if (translation.Segments < 0 || separators != translation.Segments + 2)
        std::abort();

    const zor::rtf::ReadResult reread = zor::rtf::Read(zor::rtf::Write(document));
    if (!reread.Ok() || zor::TranslateDocument(reread.Doc).Program != program)
        std::abort();
    return 0;
}
