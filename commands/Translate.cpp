#include "commands/Translate.h"

#include "commands/Vocabulary.h"

namespace zor {

namespace {

constexpr unsigned char Separator = 0x1F;
constexpr unsigned char SpacesSymbol = 0x7B;
constexpr unsigned char FullSymbol = 0x7C;

// Windows-1250 to code page 852, with the characters that code page lacks (and a few the panel
// shows better another way) given their nearest plain form.
constexpr std::array<unsigned char, 256> MakeDisplayCharMap()
{
    std::array<unsigned char, 256> map{};
    for (int i = 0; i < 128; ++i)
        map[std::size_t(i)] = static_cast<unsigned char>(i);
    map[0x5F] = 0x0E; // the panel's low line
    constexpr unsigned char high[128] = {
        // 0x80
        0x20,
        0x20,
        0x2C,
        0x20,
        0x22,
        0x3B,
        0xC5,
        0xCE,
        0x20,
        0xB0,
        0xE6,
        0x8B,
        0x97,
        0x9B,
        0xA6,
        0x8D,
        // 0x90
        0x20,
        0x27,
        0x27,
        0x22,
        0x22,
        0xFE,
        0xF0,
        0xC4,
        0x20,
        0x20,
        0xE7,
        0xAF,
        0x98,
        0x9C,
        0xA7,
        0xAB,
        // 0xA0
        0xFF,
        0xF3,
        0xF4,
        0x9D,
        0xCF,
        0xA4,
        0x7C,
        0xF5,
        0xF9,
        0x63,
        0xB8,
        0xAB,
        0xBF,
        0xF0,
        0x52,
        0xBD,
        // 0xB0
        0xF8,
        0x20,
        0xF2,
        0x88,
        0xEF,
        0x20,
        0x20,
        0xFA,
        0xF7,
        0xA5,
        0xAD,
        0xAF,
        0x95,
        0xF1,
        0x96,
        0xBE,
        // 0xC0
        0xE8,
        0xB5,
        0xB6,
        0xC6,
        0x8E,
        0x91,
        0x8F,
        0x80,
        0xAC,
        0x90,
        0xA8,
        0xD3,
        0xB7,
        0xD6,
        0xD7,
        0xD2,
        // 0xD0
        0xD1,
        0xE3,
        0xD5,
        0xE0,
        0xE2,
        0x8A,
        0x99,
        0x9E,
        0xFC,
        0xDE,
        0xE9,
        0xEB,
        0x9A,
        0xED,
        0xDD,
        0xE1,
        // 0xE0
        0xEA,
        0xA0,
        0x83,
        0xC7,
        0x84,
        0x92,
        0x86,
        0x87,
        0x9F,
        0x82,
        0xA9,
        0x89,
        0xD8,
        0xA1,
        0x8C,
        0xD4,
        // 0xF0
        0xD0,
        0xE4,
        0xE5,
        0xA2,
        0x93,
        0x8B,
        0x94,
        0xF6,
        0xFD,
        0x85,
        0xA3,
        0xFB,
        0x81,
        0xEC,
        0xEE,
        0xFA,
    };
    for (int i = 0; i < 128; ++i)
        map[std::size_t(128 + i)] = high[i];
    return map;
}

} // namespace

const std::array<unsigned char, 256> DisplayCharMap = MakeDisplayCharMap();

void TTranslator::CloseTextRun()
{
    if (!InText)
        return;
    InText = false;
    ++SegmentCount;
    Text += static_cast<char>(Separator);
}

void TTranslator::Flush(int nextSymbol)
{
    if (Prefix == "L" || Prefix == "W" || Prefix == "R")
        Prefix += '1';
    // A transition with no text of its own brings in an empty segment, unless a line of spaces
    // or full characters takes the segment's place.
    if (!Code.empty() && Code.front() == 'F' && Reference < 0 && nextSymbol != SpacesSymbol &&
        nextSymbol != FullSymbol) {
        Reference = SegmentCount;
        ++SegmentCount;
        Text += static_cast<char>(Separator);
    }
    Commands += Prefix;
    Commands += Code;
    if (Reference >= 0) {
        char digits[12];
        int n = 0;
        for (int r = Reference; n == 0 || r > 0; r /= 10)
            digits[n++] = static_cast<char>('0' + r % 10);
        Commands += 'T';
        while (n > 0)
            Commands += digits[--n];
    }
    Prefix.clear();
    Code.clear();
    Reference = -1;
}

void TTranslator::Add(unsigned char ch, std::uint32_t colour)
{
    ch = DisplayCharMap[ch];
    if (ch == 0)
        return;
    if (IsCommandSymbol(colour)) {
        if (IsDigitSymbol(ch)) {
            if (Prefix.size() < 4)
                Prefix += static_cast<char>(ch);
        } else {
            Flush(ch);
        }
        CloseTextRun();
        if (!IsDigitSymbol(ch)) {
            TSymbolCode code = SymbolCode(ch, colour);
            Prefix.assign(code.Prefix);
            Code.swap(code.Code);
        }
    } else if (IsPlainText(colour)) {
        if (!InText) {
            InText = true;
            Reference = SegmentCount;
        }
        Text += static_cast<char>(ch);
    }
}

void TTranslator::Add(std::string_view chars, std::uint32_t colour)
{
    for (char c : chars)
        Add(static_cast<unsigned char>(c), colour);
}

std::string TTranslator::Finish()
{
    Flush(-1);
    std::string program;
    program.reserve(Commands.size() + Text.size() + 2);
    program += Commands;
    program += static_cast<char>(Separator);
    program += Text;
    program += static_cast<char>(Separator);
    return program;
}

bool CanRun(std::string_view program)
{
    return !program.empty() && static_cast<unsigned char>(program.front()) != Separator;
}

} // namespace zor
