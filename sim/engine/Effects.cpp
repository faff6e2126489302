// The effects E0 to E13: animations without a text segment, clearing, inversion and the clock.
#include "sim/engine/Renderer.h"

#include <algorithm>
#include <cstring>

namespace zor {

namespace {

constexpr int Page1 = TFrameStore::Page1;
constexpr int Page2 = TFrameStore::Page2;
constexpr int Page3 = TFrameStore::Page3;

constexpr std::array<std::uint8_t, 30> PropellerPattern = {
    0x20, 0x04, 0x20, 0x01, 0x20, 0x20, 0x02, 0x03, 0x02, 0x03, 0x20, 0x01, 0x20, 0x04, 0x20,
    0x20, 0x04, 0x20, 0x01, 0x20, 0x20, 0x02, 0x03, 0x02, 0x03, 0x20, 0x01, 0x20, 0x04, 0x20};

std::uint8_t Digit(int value)
{
    return static_cast<std::uint8_t>('0' + std::clamp(value, 0, 99) % 10);
}

std::uint8_t Tens(int value)
{
    return static_cast<std::uint8_t>('0' + std::clamp(value, 0, 99) / 10);
}

} // namespace

void TPanelRenderer::Effect(int number)
{
    switch (number) {
    case 0:
        PageFlipping({0, 5, 10}, 0, 4, 21);
        break;
    case 1:
        PageFlipping({5, 6, 7}, 1, 1, 85);
        break;
    case 2:
        BlinkMotive();
        break;
    case 3:
        ClearAll();
        break;
    case 4:
        CirculatingFrame();
        break;
    case 7:
    case 8:
        RenderTextLine(FillLine(number == 7 ? 0x20 : 0x08), Page3);
        CentreWipe();
        break;
    case 9:
        Inversion();
        break;
    case 12:
        ShowClock(false);
        break;
    case 13:
        ShowClock(true);
        break;
    default: // 5, 6, 10 and 11 do nothing
        break;
    }
}

// pattern 0: the three lines are the propeller pattern from the offsets in codes; pattern 1: each
// line is twenty times its code.
void TPanelRenderer::PageFlipping(const std::array<std::uint8_t, 3> &codes, int pattern, int frames,
                                  int cycles)
{
    const std::uint8_t savedStyle = Style;
    Style = 0;
    ShownOffset = OtherOffset = Page1;
    const int pages[3] = {Page1, Page2, Page3};
    for (int line = 0; line < 3; ++line) {
        if (pattern == 0) {
            std::copy_n(PropellerPattern.begin() + codes[static_cast<std::size_t>(line)], 20,
                        LineText.begin());
            LineText[20] = 0x1F;
            RenderTextLineSinglePage(TText(LineText.data(), 20), pages[line]);
        } else {
            RenderTextLineSinglePage(FillLine(codes[static_cast<std::size_t>(line)]), pages[line]);
        }
    }
    for (int cycle = 0; cycle < cycles; ++cycle) {
        for (int page : pages) {
            ShownOffset = OtherOffset = page;
            ShowFrames(frames);
        }
    }
    Style = savedStyle;
    ShownOffset = Page1;
    OtherOffset = Page2;
    ClearAll();
}

void TPanelRenderer::BlinkMotive()
{
    FillPages(0, 33, 0b0010);
    ShowFrames(250);
    for (int y = 0; y < PanelRows; ++y)
        std::memcpy(Dots.Row(Page2, y), Dots.Row(Page1, y), TFrameStore::RowBytes);
}

void TPanelRenderer::ClearAll()
{
    FillPages(0, 30, 0b0011);
    ShowFrame();
}

void TPanelRenderer::CirculatingFrame()
{
    // The picture is saved in the staging pair, byte for byte (pages 1 and 2 with their
    // incoming bytes), so that the dashes can be taken off it again.
    constexpr std::size_t SavedBytes = 126;
    for (auto &row : Dots.Rows)
        std::memcpy(row.data() + Page3, row.data(), SavedBytes);

    // Each side takes the foreground where bit 1 of the running 8-bit counter is set: dashes of
    // two dots on and two off that move by one dot per step.
    auto restoreRow = [this](int y) {
        auto &row = Dots.Rows[static_cast<std::size_t>(y)];
        std::memcpy(row.data(), row.data() + Page3, SavedBytes);
    };
    auto side = [this](int x, std::uint8_t &c) {
        for (int y = 8; y >= 1; --y) {
            if (c & 2) {
                SetForeground(y, x);
            } else {
                for (int page : {Page1, Page2})
                    Dots.SetDot(page, x, y, Dots.Dot(page + Page3, x, y));
            }
            ++c;
        }
    };
    for (int step = 0; step < 50; ++step) {
        restoreRow(9);
        ++Phase;
        std::uint8_t c = Phase;
        for (int x = 0; x < PanelColumns; ++x, ++c) {
            if (c & 2)
                SetForeground(9, x);
        }
        ShowFrame();
        restoreRow(0);
        side(PanelColumns - 1, c);
        c = static_cast<std::uint8_t>(254 - Phase);
        side(0, c);
        for (int x = 0; x < PanelColumns; ++x, ++c) {
            if (c & 2)
                SetForeground(0, x);
        }
        ShowFrames(4);
    }
    ClearAll();
}

void TPanelRenderer::Inversion()
{
    // Complementing the stored bytes turns colour c into 3 - c, on pages 1 and 2 whole.
    for (auto &row : Dots.Rows) {
        for (int i = 0; i < TFrameStore::Page3; ++i)
            row[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(~row[static_cast<std::size_t>(i)]);
    }
    ShowFrame();
}

void TPanelRenderer::ShowClock(bool withDate)
{
    const std::uint8_t savedStyle = Style;
    Style = withDate ? 0 : StyleWide;
    TClock &clock = Clock ? *Clock : SystemClock;
    for (int i = 0; i < 5; ++i) {
        FillLine(0x20);
        const TLocalDateTime now = clock.Now();
        const int timeAt = withDate ? 12 : 1;
        std::uint8_t *t = LineText.data() + timeAt;
        const std::uint8_t hourTens = Tens(now.Hour);
        const std::uint8_t time[8] = {hourTens == '0' ? std::uint8_t(' ') : hourTens,
                                      Digit(now.Hour),
                                      ':',
                                      Tens(now.Minute),
                                      Digit(now.Minute),
                                      ':',
                                      Tens(now.Second),
                                      Digit(now.Second)};
        std::memcpy(t, time, sizeof time);
        if (withDate) {
            std::uint8_t *d = LineText.data();
            auto put = [&d](int value) {
                if (Tens(value) != '0')
                    *d++ = Tens(value);
                *d++ = Digit(value);
            };
            put(now.Day);
            *d++ = '.';
            put(now.Month);
            *d++ = '.';
            const int year = std::clamp(now.Year, 0, 9999);
            *d++ = Tens(year / 100);
            *d++ = Digit(year / 100);
            *d++ = Tens(year % 100);
            *d++ = Digit(year % 100);
        }
        RenderTextLine(TText(LineText.data(), 20), Page1);
        ShowFrames(9);
    }
    Style = savedStyle;
}

} // namespace zor
