// The transitions F0 to F14: how a text segment comes onto the panel.
#include "sim/engine/Engine.h"

#include "sim/engine/PanelFont.h"

#include <cstring>

namespace zor {

namespace {

constexpr int Page1 = TFrameStore::Page1;
constexpr int Page2 = TFrameStore::Page2;
constexpr int Page3 = TFrameStore::Page3;

int GetDot(const std::uint8_t *pageRow, int x)
{
    return (pageRow[x % 30] >> (2 * (x / 30))) & 3;
}

void PutDot(std::uint8_t *pageRow, int x, int stored)
{
    const int shift = 2 * (x / 30);
    std::uint8_t &b = pageRow[x % 30];
    b = static_cast<std::uint8_t>((b & ~(3 << shift)) | (stored << shift));
}

// Moves every dot of a page row one column left; column 119 takes the incoming dot (a stored
// value). Returns the stored value of the dot that left column 0.
int ScrollRowLeft(std::uint8_t *p, int incoming)
{
    const std::uint8_t first = p[0];
    std::memmove(p, p + 1, 29);
    p[29] = static_cast<std::uint8_t>((first >> 2) | ((incoming & 3) << 6));
    return first & 3;
}

// The mirror image: column 0 takes the incoming dot; returns the dot that left column 119.
int ScrollRowRight(std::uint8_t *p, int incoming)
{
    const std::uint8_t last = p[29];
    std::memmove(p + 1, p, 29);
    p[0] = static_cast<std::uint8_t>(((last << 2) & 0xFC) | (incoming & 3));
    return last >> 6;
}

} // namespace

void TDisplayEngine::Transition(int number, std::uint8_t segment)
{
    switch (number) {
    case 0:
        MoveInFromRight(FindSegment(segment), true);
        break;
    case 1:
        MoveInFromRight(FindSegment(segment), false);
        break;
    case 2:
        MoveRows(FindSegment(segment), true);
        break;
    case 3:
        RenderTextLine(FindSegment(segment), Page1);
        ShowFrame();
        break;
    case 4:
        MoveRows(FindSegment(segment), false);
        break;
    case 6:
        RenderTextLineSinglePage(FindSegment(segment), Page2);
        ShowFrame();
        break;
    case 7:
        RenderTextLine(FindSegment(segment), Page3);
        MatchedLines();
        break;
    case 8:
        RenderTextLine(FindSegment(segment), Page3);
        Snow();
        break;
    case 9:
        RenderTextLine(FindSegment(segment), Page3);
        FromSides();
        break;
    case 11:
        RenderTextLine(FindSegment(segment), Page3);
        CentreWipe();
        break;
    case 13: {
        const TText text = FindSegment(segment);
        if (!(LeadingDigit == 0 && (segment == 5 || segment == 6)))
            LeadingDigit = 1;
        MoveInFromLeft(text);
        break;
    }
    case 14:
        RenderTextLine(FindSegment(segment), Page3);
        FallingDots();
        break;
    default: // 5, 10 and 12 do nothing
        break;
    }
}

// Sets the incoming dot of every row whose glyph-buffer byte has the given bit, in page 1 and,
// unless the text blinks, in page 2.
void TDisplayEngine::FeedColumn(std::uint8_t bit)
{
    const std::uint8_t fg = ForegroundByte();
    const bool blink = Style & StyleBlink;
    for (int row = 0; row < PanelRows; ++row) {
        if (GlyphBuffer[static_cast<std::size_t>(9 - row)] & bit) {
            Dots.Rows[static_cast<std::size_t>(row)][Page1 + 30] = fg;
            if (!blink)
                Dots.Rows[static_cast<std::size_t>(row)][Page2 + 30] = fg;
        }
    }
}

void TDisplayEngine::ScrollStep(bool left)
{
    if (left && !(Style & StyleFullSpeed))
        ShowFrame();
    ShowFrame();
    for (auto &row : Dots.Rows) {
        for (int page : {Page1, Page2}) {
            std::uint8_t *p = row.data() + page;
            if (left)
                ScrollRowLeft(p, p[30]);
            else
                ScrollRowRight(p, p[30]);
        }
    }
    ResetIncoming();
}

void TDisplayEngine::MoveInFromRight(TText text, bool fullSpeed)
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
        GlyphBuffer = PanelFont[c];
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

void TDisplayEngine::MoveInFromLeft(TText text)
{
    auto rotate = [this] {
        for (auto &b : GlyphBuffer)
            b = static_cast<std::uint8_t>((b >> 1) | (b << 7));
    };
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        GlyphBuffer = PanelFont[*it];
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

void TDisplayEngine::MoveRows(TText text, bool fromTop)
{
    BuildGlyphList(text);
    const bool blink = Style & StyleBlink;
    for (int step = 0; step < PanelRows; ++step) {
        const int k = fromTop ? step : 9 - step;
        RenderGlyphRow(k);
        const int target = fromTop ? 0 : 9;
        for (int page : {Page1, Page2}) {
            if (fromTop) {
                for (int row = 9; row > 0; --row)
                    std::memcpy(Dots.Rows[static_cast<std::size_t>(row)].data() + page,
                                Dots.Rows[static_cast<std::size_t>(row - 1)].data() + page, 30);
            } else {
                for (int row = 0; row < 9; ++row)
                    std::memcpy(Dots.Rows[static_cast<std::size_t>(row)].data() + page,
                                Dots.Rows[static_cast<std::size_t>(row + 1)].data() + page, 30);
            }
        }
        std::uint8_t *row = Dots.Rows[static_cast<std::size_t>(target)].data();
        std::memcpy(row + Page1, LineBuffer.data(), 30);
        if (blink)
            std::memset(row + Page2, BackgroundByte(), 30);
        else
            std::memcpy(row + Page2, LineBuffer.data(), 30);
        ShowFrames(5);
    }
}

void TDisplayEngine::MatchedLines()
{
    for (int step = 0; step < PanelColumns; ++step) {
        ShowFrame();
        for (int y = 0; y < PanelRows; ++y) {
            // Rows 0, 1, 4, 5, 8 and 9 come in from the right, the others from the left.
            const bool left = (y & 2) == 0;
            std::uint8_t *row = Dots.Rows[static_cast<std::size_t>(y)].data();
            for (int page : {Page1, Page2}) {
                std::uint8_t *staging = row + page + Page3;
                std::uint8_t *shown = row + page;
                if (left)
                    ScrollRowLeft(shown, ScrollRowLeft(staging, staging[30]));
                else
                    ScrollRowRight(shown, ScrollRowRight(staging, staging[30]));
            }
        }
    }
}

void TDisplayEngine::Snow()
{
    int x = 0;
    for (int step = 0; step < 160; ++step) {
        ShowFrame();
        x = (x + 91) % 160;
        const int r = x / 32;
        const int b = x % 32;
        for (int y : {r, r + 5}) {
            std::uint8_t *row = Dots.Rows[static_cast<std::size_t>(y)].data();
            row[Page1 + b] = row[Page3 + b];
            row[Page2 + b] = row[Page3 + Page2 + b];
        }
    }
}

void TDisplayEngine::FromSides()
{
    int left = 0;
    int right = PanelColumns - 1;
    for (int step = 0; step < PanelColumns; ++step) {
        ShowFrame();
        for (int y = 0; y < PanelRows; ++y) {
            const bool odd = y & 1;
            const int x = odd ? left : right;
            std::uint8_t *row = Dots.Rows[static_cast<std::size_t>(y)].data();
            PutDot(row + Page1, x, GetDot(row + Page3, x));
            PutDot(row + Page2, x, GetDot(row + Page3 + Page2, x));
            const int line = odd ? x + 1 : x - 1;
            if (line >= 0 && line < PanelColumns)
                SetForeground(y, line);
        }
        ++left;
        --right;
    }
    ShowFrame();
}

void TDisplayEngine::CentreWipe()
{
    int right = 60;
    int left = 59;
    for (int step = 0; step < 60; ++step) {
        ShowFrame();
        for (int y = 0; y < PanelRows; ++y) {
            std::uint8_t *row = Dots.Rows[static_cast<std::size_t>(y)].data();
            PutDot(row + Page1, right, GetDot(row + Page3, right));
            PutDot(row + Page2, right, GetDot(row + Page3 + Page2, right));
            if (right + 1 != PanelColumns)
                SetForeground(y, right + 1);
            PutDot(row + Page1, left, GetDot(row + Page3, left));
            PutDot(row + Page2, left, GetDot(row + Page3 + Page2, left));
            if (left - 1 >= 0)
                SetForeground(y, left - 1);
        }
        ++right;
        --left;
    }
    ShowFrame();
}

void TDisplayEngine::FallingDots()
{
    for (int j = 0; j < 30; j += 2) {
        for (int r = 0; r < PanelRows; ++r) {
            ShowFrames(3);
            for (int b : {j, j + 1}) {
                for (int page : {Page2, Page1}) {
                    for (int y = 9; y > r; --y)
                        Dots.Rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(page + b)] =
                            Dots.Rows[static_cast<std::size_t>(y - 1)]
                                     [static_cast<std::size_t>(page + b)];
                    Dots.Rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(page + b)] =
                        Dots.Rows[static_cast<std::size_t>(r)]
                                 [static_cast<std::size_t>(page + Page3 + b)];
                }
            }
        }
    }
}

} // namespace zor
