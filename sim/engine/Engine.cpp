#include "sim/engine/Engine.h"

#include <algorithm>
#include <cstring>

namespace zor {

namespace {

// Thrown by ShowFrame to unwind a run from wherever the engine is; caught in RunDisplayEngine.
struct TEndRun
{
    TRunEnd End;
};

bool IsDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

} // namespace

TDisplayEngine::TDisplayEngine()
{
    for (auto &row : Dots.Rows)
        row.fill(0xFF);
}

TRunResult TDisplayEngine::RunDisplayEngine(std::string_view program, std::size_t startOffset,
                                            std::uint64_t frameLimit)
{
    return RunDisplayEngine(
        std::span(reinterpret_cast<const std::uint8_t *>(program.data()), program.size()),
        startOffset, frameLimit);
}

TRunResult TDisplayEngine::RunDisplayEngine(std::span<const std::uint8_t> program,
                                            std::size_t startOffset, std::uint64_t frameLimit)
{
    Program = program.data();
    Size = static_cast<std::size_t>(std::find(program.begin(), program.end(), 0) - program.begin());
    StartPosition = std::min(startOffset, Size);
    Position = 0;
    Active = false;
    CommandNumber = SegmentNumber = LeadingDigit = 0;
    RepeatDepth = 0;
    IsHalted = false;
    Style = 0;
    for (auto &row : Dots.Rows)
        row.fill(0xFF);
    Foreground = 3;
    Background = 0;
    Frame = {};
    ShownOffset = TFrameStore::Page1;
    OtherOffset = TFrameStore::Page2;
    Frames = 0;
    FrameLimit = frameLimit;
    FramesAtRestart = 0;
    FirstPass = 0;
    CommandsSinceFrame = 0;
    StopRequested.store(false, std::memory_order_relaxed);
    if (Tick)
        Tick->Start();

    try {
        while (ExecuteCommand() != TStep::CloseBracket) {
        }
    } catch (const TEndRun &end) {
        return {end.End, Frames};
    }
    return {TRunEnd::ProgramEnd, Frames};
}

// --- Interpreter ------------------------------------------------------------------------------

std::uint8_t TDisplayEngine::ReadCommandChar()
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

std::uint8_t TDisplayEngine::ReadNumber()
{
    const std::uint8_t first = ReadCommandChar();
    if (!IsDigit(first)) {
        --Position;
        return 99;
    }
    LeadingDigit = first - '0';
    const std::uint8_t second = ReadCommandChar();
    if (!IsDigit(second)) {
        --Position;
        return LeadingDigit;
    }
    return static_cast<std::uint8_t>(LeadingDigit * 10 + (second - '0'));
}

void TDisplayEngine::Restart()
{
    // A command part that shows nothing would otherwise loop without ever reaching a frame, where
    // the stop request is looked at.
    if (Frames == FramesAtRestart)
        ShowFrame();
    FramesAtRestart = Frames;
    if (FirstPass == 0)
        FirstPass = Frames;
    Position = 0;
}

TDisplayEngine::TStep TDisplayEngine::ExecuteCommand()
{
    if (++CommandsSinceFrame > FramelessLimit)
        ShowFrame();

    const std::uint8_t c = ReadCommandChar();
    if (c == '?') {
        Restart();
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
        if (!SegmentAllowed(SegmentNumber) || !Active)
            return TStep::Next;
        if (CommandNumber <= 14)
            Transition(CommandNumber, SegmentNumber);
        break;
    }
    case 'e':
        if (Active && CommandNumber <= 13)
            Effect(CommandNumber);
        break;
    case 's':
        switch (CommandNumber) {
        case 0:
            Style |= StyleBlink;
            break;
        case 1:
            Style &= ~StyleBlink;
            break;
        case 2:
            Style = (Style | StyleWide) & ~StyleBold;
            break;
        case 3:
            Style = (Style | StyleBold) & ~StyleWide;
            break;
        case 4:
            Style &= ~(StyleBold | StyleWide);
            break;
        default:
            break;
        }
        break;
    case 'i':
        Foreground = CommandNumber % 4;
        break;
    case 'p':
        Background = CommandNumber % 4;
        break;
    case 'w': {
        if (!Active)
            break;
        const int unit = (CommandNumber != 0 && LeadingDigit == 0) ? 5 : 50;
        const int count = CommandNumber == 0 ? 256 : CommandNumber;
        ShowFrames(count * unit);
        break;
    }
    case 'r':
        return Repeat(CommandNumber);
    case 't':
        if (!Active)
            break;
        SegmentNumber = CommandNumber;
        if (SegmentAllowed(SegmentNumber))
            MoveInFromRight(FindSegment(SegmentNumber), true);
        break;
    default:
        break;
    }
    return TStep::Next;
}

TDisplayEngine::TStep TDisplayEngine::Repeat(std::uint8_t count)
{
    if (RepeatDepth == static_cast<int>(RepeatStack.size())) {
        IsHalted = true;
        for (;;)
            ShowFrame();
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

TDisplayEngine::TText TDisplayEngine::FillLine(std::uint8_t code)
{
    std::fill(LineText.begin(), LineText.begin() + 20, code);
    LineText[20] = 0x1F;
    return TText(LineText.data(), 20);
}

TDisplayEngine::TText TDisplayEngine::FindSegment(std::uint8_t m)
{
    if (LeadingDigit == 0 && m == 5)
        return FillLine(0x20);
    if (LeadingDigit == 0 && m == 6)
        return FillLine(0x08);

    std::size_t i = 1;
    int separators = 0;
    for (; i < Size; ++i) {
        if (Program[i] == 0x1F && separators++ == m)
            break;
    }
    if (i >= Size)
        return {};
    const std::size_t begin = i + 1;
    std::size_t end = begin;
    while (end < Size && Program[end] != 0x1F)
        ++end;
    return TText(Program + begin, end - begin);
}

// --- Frame output -----------------------------------------------------------------------------

void TDisplayEngine::ShowFrame()
{
    if (--BlinkCount == 0) {
        BlinkCount = 25;
        std::swap(ShownOffset, OtherOffset);
    }
    ConvertShownPage();
    if (Tick)
        Tick->WaitTick();
    if (Sink)
        Sink->PresentFrame(Frame);
    ++Frames;
    CommandsSinceFrame = 0;
    if (StopRequested.load(std::memory_order_relaxed))
        throw TEndRun{TRunEnd::Stopped};
    if (FrameLimit != 0 && Frames >= FrameLimit)
        throw TEndRun{TRunEnd::FrameLimit};
}

void TDisplayEngine::ShowFrames(int count)
{
    for (int i = 0; i < count; ++i)
        ShowFrame();
}

void DrawFrameBitmap(const TPanelFrame &frame, TFrameBitmap &bitmap)
{
    for (int y = 0; y < PanelRows; ++y) {
        std::uint8_t *dst = bitmap.Bits.data() + (1 + 2 * (9 - y)) * FrameBitmapStride;
        std::memcpy(dst, frame.Dots.data() + y * PanelColumns, PanelColumns);
    }
}

void ConvertPage(const TFrameStore &store, int page, TFrameBitmap &bitmap)
{
    TPanelFrame frame;
    store.ToFrame(page, frame);
    DrawFrameBitmap(frame, bitmap);
}

void TDisplayEngine::ConvertShownPage()
{
    Dots.ToFrame(ShownOffset, Frame);
}

const TFrameBitmap &TDisplayEngine::Bitmap() const
{
    DrawFrameBitmap(Frame, FramePicture);
    return FramePicture;
}

// --- Text rendering ---------------------------------------------------------------------------

TFontStyle TDisplayEngine::FontStyle() const
{
    if (Style & StyleWide)
        return TFontStyle::Wide;
    return Style & StyleBold ? TFontStyle::Bold : TFontStyle::Normal;
}

// Dot row y of the line set in Text, into the line buffer.
void TDisplayEngine::RenderGlyphRow(int y)
{
    Text.DrawRow(y, FontStyle(), Foreground, Background, LineBuffer.data());
}

void TDisplayEngine::RenderTextLine(TText text, int page)
{
    Text.SetText(text);
    const bool blink = Style & StyleBlink;
    for (int y = 0; y < PanelRows; ++y) {
        RenderGlyphRow(y);
        std::memcpy(Dots.Row(page, y), LineBuffer.data(), TFrameStore::RowBytes);
        // Blinking text is left out of the alternate page, which then shows the background.
        if (blink)
            TFrameStore::FillRow(Dots.Row(page + 64, y), Background);
        else
            std::memcpy(Dots.Row(page + 64, y), LineBuffer.data(), TFrameStore::RowBytes);
    }
}

void TDisplayEngine::RenderTextLineSinglePage(TText text, int page)
{
    Text.SetText(text);
    for (int y = 0; y < PanelRows; ++y) {
        RenderGlyphRow(y);
        std::memcpy(Dots.Row(page, y), LineBuffer.data(), TFrameStore::RowBytes);
    }
}

// --- Dot helpers ------------------------------------------------------------------------------

void TDisplayEngine::FillPages(int firstByte, int count, int pageMask)
{
    const std::uint8_t background = TFrameStore::FillByte(Background);
    for (int y = 0; y < PanelRows; ++y) {
        for (int page = 0; page < 4; ++page) {
            if (pageMask & (1 << page))
                std::memset(Dots.Row(page * 64, y) + firstByte, background,
                            static_cast<std::size_t>(count));
        }
    }
}

void TDisplayEngine::ResetIncoming()
{
    for (int y = 0; y < PanelRows; ++y) {
        TFrameStore::SetIncoming(Dots.Row(TFrameStore::Page1, y), Background);
        TFrameStore::SetIncoming(Dots.Row(TFrameStore::Page2, y), Background);
    }
}

void TDisplayEngine::SetForeground(int row, int x)
{
    Dots.SetDot(TFrameStore::Page1, x, row, Foreground);
    Dots.SetDot(TFrameStore::Page2, x, row, Foreground);
}

} // namespace zor
