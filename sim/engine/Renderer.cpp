#include "sim/engine/Renderer.h"

#include <algorithm>
#include <cstring>

namespace zor {

namespace {

// The frames between exchanges of the shown and the other page: blinking text shows for as
// many frames as it hides.
constexpr std::uint8_t BlinkFrames = 25;
// Ends a line the renderer makes, as it ends a segment.
constexpr std::uint8_t SegmentEnd = 0x1F;
// A run starts with every dot black and draws yellow on black.
constexpr std::uint8_t BlackDots = TFrameStore::FillByte(0);
constexpr int StartForeground = 3;
constexpr int StartBackground = 0;

} // namespace

TPanelRenderer::TPanelRenderer()
{
    for (auto &row : Dots.Rows)
        row.fill(BlackDots);
}

void TPanelRenderer::BeginRun(std::uint64_t frameLimit)
{
    Style = 0;
    for (auto &row : Dots.Rows)
        row.fill(BlackDots);
    ForeColour = StartForeground;
    BackColour = StartBackground;
    Frame = {};
    ShownOffset = TFrameStore::Page1;
    OtherOffset = TFrameStore::Page2;
    FrameCount = 0;
    FrameLimit = frameLimit;
    FramesAtRestart = 0;
    FirstPass = 0;
    CommandsSinceFrame = 0;
    StopRequested.store(false, std::memory_order_relaxed);
    if (Tick)
        Tick->Start();
}

// --- Reading's events ---------------------------------------------------------------------------

void TPanelRenderer::NextCommand()
{
    if (++CommandsSinceFrame > FramelessLimit)
        ShowFrame();
}

void TPanelRenderer::Blinking(bool on)
{
    if (on)
        Style |= StyleBlink;
    else
        Style &= ~StyleBlink;
}

void TPanelRenderer::Font(TFontStyle font)
{
    switch (font) {
    case TFontStyle::Wide:
        Style = (Style | StyleWide) & ~StyleBold;
        break;
    case TFontStyle::Bold:
        Style = (Style | StyleBold) & ~StyleWide;
        break;
    case TFontStyle::Normal:
        Style &= ~(StyleBold | StyleWide);
        break;
    }
}

void TPanelRenderer::Restart()
{
    // A command part that shows nothing would otherwise loop without ever reaching a frame, where
    // the stop request is looked at.
    if (FrameCount == FramesAtRestart)
        ShowFrame();
    FramesAtRestart = FrameCount;
    if (FirstPass == 0)
        FirstPass = FrameCount;
}

void TPanelRenderer::Halt()
{
    for (;;)
        ShowFrame();
}

// --- Frame output -----------------------------------------------------------------------------

void TPanelRenderer::ShowFrame()
{
    if (--BlinkCount == 0) {
        BlinkCount = BlinkFrames;
        std::swap(ShownOffset, OtherOffset);
    }
    Dots.ToFrame(ShownOffset, Frame);
    if (Tick)
        Tick->WaitTick();
    if (Sink)
        Sink->PresentFrame(Frame);
    ++FrameCount;
    CommandsSinceFrame = 0;
    if (StopRequested.load(std::memory_order_relaxed))
        throw TEndRun{TRunEnd::Stopped};
    if (FrameLimit != 0 && FrameCount >= FrameLimit)
        throw TEndRun{TRunEnd::FrameLimit};
}

void TPanelRenderer::ShowFrames(int count)
{
    for (int i = 0; i < count; ++i)
        ShowFrame();
}

// --- Text rendering ---------------------------------------------------------------------------

TPanelRenderer::TText TPanelRenderer::FillLine(std::uint8_t code)
{
    std::fill(LineText.begin(), LineText.begin() + TTextDrawer::MaxGlyphs, code);
    LineText[TTextDrawer::MaxGlyphs] = SegmentEnd;
    return TText(LineText.data(), TTextDrawer::MaxGlyphs);
}

TFontStyle TPanelRenderer::FontStyle() const
{
    if (Style & StyleWide)
        return TFontStyle::Wide;
    return Style & StyleBold ? TFontStyle::Bold : TFontStyle::Normal;
}

// Dot row y of the line set in Text, into the line buffer.
void TPanelRenderer::RenderGlyphRow(int y)
{
    Text.DrawRow(y, FontStyle(), ForeColour, BackColour, LineBuffer.data());
}

void TPanelRenderer::RenderTextLine(TText text, int page)
{
    Text.SetText(text);
    const bool blink = Style & StyleBlink;
    for (int y = 0; y < PanelRows; ++y) {
        RenderGlyphRow(y);
        std::memcpy(Dots.Row(page, y), LineBuffer.data(), TFrameStore::RowBytes);
        // Blinking text is left out of the alternate page, which then shows the background.
        if (blink)
            TFrameStore::FillRow(Dots.Row(page + 64, y), BackColour);
        else
            std::memcpy(Dots.Row(page + 64, y), LineBuffer.data(), TFrameStore::RowBytes);
    }
}

void TPanelRenderer::RenderTextLineSinglePage(TText text, int page)
{
    Text.SetText(text);
    for (int y = 0; y < PanelRows; ++y) {
        RenderGlyphRow(y);
        std::memcpy(Dots.Row(page, y), LineBuffer.data(), TFrameStore::RowBytes);
    }
}

// --- Dot helpers ------------------------------------------------------------------------------

void TPanelRenderer::FillPages(int firstByte, int count, int pageMask)
{
    const std::uint8_t background = TFrameStore::FillByte(BackColour);
    for (int y = 0; y < PanelRows; ++y) {
        for (int page = 0; page < 4; ++page) {
            if (pageMask & (1 << page))
                std::memset(Dots.Row(page * 64, y) + firstByte, background,
                            static_cast<std::size_t>(count));
        }
    }
}

void TPanelRenderer::ResetIncoming()
{
    for (int y = 0; y < PanelRows; ++y) {
        TFrameStore::SetIncoming(Dots.Row(TFrameStore::Page1, y), BackColour);
        TFrameStore::SetIncoming(Dots.Row(TFrameStore::Page2, y), BackColour);
    }
}

void TPanelRenderer::SetForeground(int row, int x)
{
    Dots.SetDot(TFrameStore::Page1, x, row, ForeColour);
    Dots.SetDot(TFrameStore::Page2, x, row, ForeColour);
}

} // namespace zor
