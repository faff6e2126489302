// The transitions F0 to F14: how a text segment comes onto the panel.
#include "sim/engine/Renderer.h"

#include <cstring>

namespace zor {

namespace {

constexpr int Page1 = TFrameStore::Page1;
constexpr int Page2 = TFrameStore::Page2;
constexpr int Page3 = TFrameStore::Page3;

} // namespace

void TPanelRenderer::Transition(int number, TText text)
{
    switch (number) {
    case 0:
        MoveInFromRight(text, true);
        break;
    case 1:
        MoveInFromRight(text, false);
        break;
    case 2:
        MoveRows(text, true);
        break;
    case 3:
        RenderTextLine(text, Page1);
        ShowFrame();
        break;
    case 4:
        MoveRows(text, false);
        break;
    case 6:
        RenderTextLineSinglePage(text, Page2);
        ShowFrame();
        break;
    case 7:
        RenderTextLine(text, Page3);
        MatchedLines();
        break;
    case 8:
        RenderTextLine(text, Page3);
        Snow();
        break;
    case 9:
        RenderTextLine(text, Page3);
        FromSides();
        break;
    case 11:
        RenderTextLine(text, Page3);
        CentreWipe();
        break;
    case 13:
        MoveInFromLeft(text);
        break;
    case 14:
        RenderTextLine(text, Page3);
        FallingDots();
        break;
    default: // 5, 10 and 12 do nothing
        break;
    }
}

// Sets the incoming dot of every row whose glyph-buffer byte has the given bit, in page 1 and,
// unless the text blinks, in page 2.
void TPanelRenderer::FeedColumn(std::uint8_t bit)
{
    const bool blink = Style & StyleBlink;
    for (int y = 0; y < PanelRows; ++y) {
        if (GlyphBuffer[static_cast<std::size_t>(9 - y)] & bit) {
            TFrameStore::SetIncoming(Dots.Row(Page1, y), ForeColour);
            if (!blink)
                TFrameStore::SetIncoming(Dots.Row(Page2, y), ForeColour);
        }
    }
}

void TPanelRenderer::ScrollStep(bool left)
{
    if (left && !(Style & StyleFullSpeed))
        ShowFrame();
    ShowFrame();
    for (int y = 0; y < PanelRows; ++y) {
        for (int page : {Page1, Page2}) {
            std::uint8_t *row = Dots.Row(page, y);
            if (left)
                TFrameStore::ScrollLeft(row, TFrameStore::IncomingDot(row));
            else
                TFrameStore::ScrollRight(row, TFrameStore::IncomingDot(row));
        }
    }
    ResetIncoming();
}

void TPanelRenderer::MoveInFromRight(TText text, bool fullSpeed)
{
    if (fullSpeed)
        Style |= StyleFullSpeed;
    else
        Style &= ~StyleFullSpeed;

    auto rotate = [this] {
        for (auto &b : GlyphBuffer)
            b = static_cast<std::uint8_t>((b << 1) | (b >> 7));
    };
    for (std::uint8_t c : text) {
        GlyphBuffer = Text.Glyph(c);
        ResetIncoming();
        if (Style & StyleWide) {
            for (int i = 0; i < 6; ++i) {
                FeedColumn(0x80);
                ScrollStep(true);
                FeedColumn(0x80);
                rotate();
                ScrollStep(true);
            }
        } else if (Style & StyleBold) {
            for (int i = 0; i < 6; ++i) {
                FeedColumn(0x80);
                ScrollStep(true);
                FeedColumn(0x80);
                rotate();
            }
            ScrollStep(true);
        } else {
            for (int i = 0; i < 6; ++i) {
                FeedColumn(0x80);
                rotate();
                ScrollStep(true);
            }
        }
    }
}

void TPanelRenderer::MoveInFromLeft(TText text)
{
    auto rotate = [this] {
        for (auto &b : GlyphBuffer)
            b = static_cast<std::uint8_t>((b >> 1) | (b << 7));
    };
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        GlyphBuffer = Text.Glyph(*it);
        ResetIncoming();
        if (Style & StyleWide) {
            for (int i = 0; i < 6; ++i) {
                FeedColumn(0x04);
                ScrollStep(false);
                FeedColumn(0x04);
                rotate();
                ScrollStep(false);
            }
        } else if (Style & StyleBold) {
            for (int i = 0; i < 6; ++i) {
                FeedColumn(0x04);
                ScrollStep(false);
                FeedColumn(0x04);
                rotate();
            }
            ScrollStep(false);
        } else {
            for (int i = 0; i < 6; ++i) {
                FeedColumn(0x04);
                rotate();
                ScrollStep(false);
            }
        }
    }
}

void TPanelRenderer::MoveRows(TText text, bool fromTop)
{
    Text.SetText(text);
    const bool blink = Style & StyleBlink;
    const int target = fromTop ? 0 : 9;
    for (int step = 0; step < PanelRows; ++step) {
        // From the top the text's bottom row comes in first, from the bottom its top row.
        RenderGlyphRow(fromTop ? 9 - step : step);
        for (int page : {Page1, Page2}) {
            if (fromTop) {
                for (int y = 9; y > 0; --y)
                    std::memcpy(Dots.Row(page, y), Dots.Row(page, y - 1), TFrameStore::RowBytes);
            } else {
                for (int y = 0; y < 9; ++y)
                    std::memcpy(Dots.Row(page, y), Dots.Row(page, y + 1), TFrameStore::RowBytes);
            }
        }
        std::memcpy(Dots.Row(Page1, target), LineBuffer.data(), TFrameStore::RowBytes);
        if (blink)
            TFrameStore::FillRow(Dots.Row(Page2, target), BackColour);
        else
            std::memcpy(Dots.Row(Page2, target), LineBuffer.data(), TFrameStore::RowBytes);
        ShowFrames(5);
    }
}

void TPanelRenderer::MatchedLines()
{
    for (int step = 0; step < PanelColumns; ++step) {
        ShowFrame();
        for (int y = 0; y < PanelRows; ++y) {
            // Rows 0, 1, 4, 5, 8 and 9 come in from the right, the others from the left.
            const bool left = (y & 2) == 0;
            for (int page : {Page1, Page2}) {
                // The staged row scrolls on, and the dot that leaves it enters the shown row.
                std::uint8_t *staging = Dots.Row(page + Page3, y);
                std::uint8_t *shown = Dots.Row(page, y);
                const int incoming = TFrameStore::IncomingDot(staging);
                if (left)
                    TFrameStore::ScrollLeft(shown, TFrameStore::ScrollLeft(staging, incoming));
                else
                    TFrameStore::ScrollRight(shown, TFrameStore::ScrollRight(staging, incoming));
            }
        }
    }
}

void TPanelRenderer::Snow()
{
    int x = 0;
    for (int step = 0; step < 160; ++step) {
        ShowFrame();
        x = (x + 91) % 160;
        const int r = x / 32;
        const int b = x % 32;
        // The flakes are whole stored bytes: four dots a quarter of the panel apart.
        for (int y : {r, r + 5}) {
            Dots.Row(Page1, y)[b] = Dots.Row(Page3, y)[b];
            Dots.Row(Page2, y)[b] = Dots.Row(Page3 + Page2, y)[b];
        }
    }
}

// Dot x, y of the shown pair takes the staged text's dot.
void TPanelRenderer::Uncover(int x, int y)
{
    Dots.SetDot(Page1, x, y, Dots.Dot(Page3, x, y));
    Dots.SetDot(Page2, x, y, Dots.Dot(Page3 + Page2, x, y));
}

void TPanelRenderer::FromSides()
{
    int left = 0;
    int right = PanelColumns - 1;
    for (int step = 0; step < PanelColumns; ++step) {
        ShowFrame();
        for (int y = 0; y < PanelRows; ++y) {
            const bool odd = y & 1;
            const int x = odd ? left : right;
            Uncover(x, y);
            const int line = odd ? x + 1 : x - 1;
            if (line >= 0 && line < PanelColumns)
                SetForeground(y, line);
        }
        ++left;
        --right;
    }
    ShowFrame();
}

void TPanelRenderer::CentreWipe()
{
    int right = 60;
    int left = 59;
    for (int step = 0; step < 60; ++step) {
        ShowFrame();
        for (int y = 0; y < PanelRows; ++y) {
            Uncover(right, y);
            if (right + 1 != PanelColumns)
                SetForeground(y, right + 1);
            Uncover(left, y);
            if (left - 1 >= 0)
                SetForeground(y, left - 1);
        }
        ++right;
        --left;
    }
    ShowFrame();
}

void TPanelRenderer::FallingDots()
{
    for (int j = 0; j < 30; j += 2) {
        for (int r = 0; r < PanelRows; ++r) {
            ShowFrames(3);
            // Like the snow, the dots fall as whole stored bytes.
            for (int b : {j, j + 1}) {
                for (int page : {Page2, Page1}) {
                    for (int y = 9; y > r; --y)
                        Dots.Row(page, y)[b] = Dots.Row(page, y - 1)[b];
                    Dots.Row(page, r)[b] = Dots.Row(page + Page3, r)[b];
                }
            }
        }
    }
}

} // namespace zor
