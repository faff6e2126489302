#include "sim/engine/ProgramReader.h"

#include <algorithm>

namespace zor {

namespace {

// Thrown when Halt returns, to leave the reading from wherever it is.
struct TEndReading
{
};

// The lines that T05 and T06 show: twenty blanks, twenty full blocks.
constexpr std::size_t LineLength = TTextDrawer::MaxGlyphs;
constexpr std::uint8_t Blank = 0x20;
constexpr std::uint8_t FullBlock = 0x08;
constexpr std::array<std::uint8_t, LineLength> BlankLine = [] {
    std::array<std::uint8_t, LineLength> line{};
    line.fill(Blank);
    return line;
}();
constexpr std::array<std::uint8_t, LineLength> BlockLine = [] {
    std::array<std::uint8_t, LineLength> line{};
    line.fill(FullBlock);
    return line;
}();

// Ends the command part and each segment; reads as the restart.
constexpr std::uint8_t Separator = 0x1F;
// The number of a command letter without digits: outside every table.
constexpr std::uint8_t NoNumber = 99;
// Pauses count in seconds, or in tenths with a leading zero; 0 counts as 256.
constexpr int FramesPerSecond = 50;
constexpr int FramesPerTenth = 5;
constexpr int ZeroCount = 256;
constexpr int LastTransition = 14;
constexpr int LastEffect = 13;

bool IsDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

} // namespace

void TProgramReader::Read(std::span<const std::uint8_t> program, std::size_t startOffset)
{
    Program = program.data();
    Size = static_cast<std::size_t>(std::find(program.begin(), program.end(), 0) - program.begin());
    StartPosition = std::min(startOffset, Size);
    Position = 0;
    Active = false;
    CommandNumber = SegmentNumber = LeadingDigit = 0;
    RepeatDepth = 0;
    IsHalted = false;
    try {
        while (ExecuteCommand() != TStep::CloseBracket) {
        }
    } catch (const TEndReading &) {
    }
}

std::uint8_t TProgramReader::ReadCommandChar()
{
    for (;;) {
        if (Position > StartPosition)
            Active = true;
        if (Position >= Size) {
            // The terminating zero reads as the restart, and reading never passes it.
            Position = Size + 1;
            return '?';
        }
        const std::uint8_t c = Program[Position++];
        if (c != ' ')
            return c | 0x20;
    }
}

std::uint8_t TProgramReader::ReadNumber()
{
    const std::uint8_t first = ReadCommandChar();
    if (!IsDigit(first)) {
        --Position;
        return NoNumber;
    }
    LeadingDigit = first - '0';
    const std::uint8_t second = ReadCommandChar();
    if (!IsDigit(second)) {
        --Position;
        return LeadingDigit;
    }
    return static_cast<std::uint8_t>(LeadingDigit * 10 + (second - '0'));
}

TProgramReader::TStep TProgramReader::ExecuteCommand()
{
    Events.NextCommand();

    const std::uint8_t c = ReadCommandChar();
    if (c == '?') {
        Events.Restart();
        Position = 0;
        return TStep::Next;
    }
    if (c == ')')
        return TStep::CloseBracket;
    CommandNumber = ReadNumber();

    switch (c) {
    case 'f': {
        if (ReadCommandChar() != 't')
            return TStep::Next;
        SegmentNumber = ReadNumber();
        if (!SegmentAllowed(SegmentNumber) || !Active || CommandNumber > LastTransition)
            return TStep::Next;
        const TSegmentText text = FindSegment(SegmentNumber);
        // Moving in from the left walks the segment from its end; finding that end leaves the
        // leading digit at 1 as a side effect, which a later W or T without digits sees.
        if (CommandNumber == 13 &&
            !(LeadingDigit == 0 && (SegmentNumber == 5 || SegmentNumber == 6)))
            LeadingDigit = 1;
        Events.Transition(CommandNumber, text);
        break;
    }
    case 'e':
        if (Active && CommandNumber <= LastEffect)
            Events.Effect(CommandNumber);
        break;
    case 's':
        switch (CommandNumber) {
        case 0:
            Events.Blinking(true);
            break;
        case 1:
            Events.Blinking(false);
            break;
        case 2:
            Events.Font(TFontStyle::Wide);
            break;
        case 3:
            Events.Font(TFontStyle::Bold);
            break;
        case 4:
            Events.Font(TFontStyle::Normal);
            break;
        default:
            break;
        }
        break;
    case 'i':
        Events.Foreground(CommandNumber % 4);
        break;
    case 'p':
        Events.Background(CommandNumber % 4);
        break;
    case 'w': {
        if (!Active)
            break;
        const int unit =
            (CommandNumber != 0 && LeadingDigit == 0) ? FramesPerTenth : FramesPerSecond;
        const int count = CommandNumber == 0 ? ZeroCount : CommandNumber;
        Events.Pause(count * unit);
        break;
    }
    case 'r':
        return Repeat(CommandNumber);
    case 't':
        if (!Active)
            break;
        SegmentNumber = CommandNumber;
        if (SegmentAllowed(SegmentNumber))
            Events.Transition(0, FindSegment(SegmentNumber));
        break;
    default:
        break;
    }
    return TStep::Next;
}

TProgramReader::TStep TProgramReader::Repeat(std::uint8_t count)
{
    if (RepeatDepth == MaxRepeats) {
        IsHalted = true;
        Events.Halt();
        throw TEndReading{};
    }
    TRepeat &entry = RepeatStack[static_cast<std::size_t>(RepeatDepth++)];
    entry.Count = count;

    if (ReadCommandChar() == '(') {
        entry.Restart = Position;
        for (;;) {
            while (ExecuteCommand() != TStep::CloseBracket) {
            }
            if (--entry.Count == 0)
                break;
            Position = entry.Restart;
        }
        --RepeatDepth;
        return TStep::Next;
    }

    --Position;
    entry.Restart = Position;
    for (;;) {
        // A ')' as the repeated command ends the repeat and still closes the enclosing level, so
        // that brackets keep matching.
        if (ExecuteCommand() == TStep::CloseBracket) {
            --RepeatDepth;
            return TStep::CloseBracket;
        }
        if (--entry.Count == 0)
            break;
        Position = entry.Restart;
    }
    --RepeatDepth;
    return TStep::Next;
}

TSegmentText TProgramReader::FindSegment(std::uint8_t m) const
{
    if (LeadingDigit == 0 && m == 5)
        return BlankLine;
    if (LeadingDigit == 0 && m == 6)
        return BlockLine;

    std::size_t i = 1;
    int separators = 0;
    for (; i < Size; ++i) {
        if (Program[i] == Separator && separators++ == m)
            break;
    }
    if (i >= Size)
        return {};
    const std::size_t begin = i + 1;
    std::size_t end = begin;
    while (end < Size && Program[end] != Separator)
        ++end;
    return TSegmentText(Program + begin, end - begin);
}

} // namespace zor
