// The frame store's dot access, its scrolling, the frame it hands out, and the text drawer.
#include "sim/engine/Engine.h"
#include "sim/engine/TextDrawer.h"

#include <gtest/gtest.h>

#include <random>

namespace zor {
namespace {

// A store whose dots are a known pseudo-random pattern, the same for every call.
TFrameStore PatternStore()
{
    TFrameStore store;
    std::mt19937 random(7);
    for (auto &row : store.Rows)
        for (auto &b : row)
            b = static_cast<std::uint8_t>(random());
    return store;
}

TEST(FrameStore, EachDotIsSetAloneOnEveryPageAndColumn)
{
    for (int page :
         {TFrameStore::Page1, TFrameStore::Page2, TFrameStore::Page3, TFrameStore::Page4}) {
        for (int x = 0; x < PanelColumns; ++x) {
            TFrameStore store = PatternStore();
            const TFrameStore before = store;
            const int y = x % PanelRows;
            const int colour = (before.Dot(page, x, y) + 1 + x % 3) % 4;
            store.SetDot(page, x, y, colour);
            ASSERT_EQ(store.Dot(page, x, y), colour) << page << ' ' << x;
            // Every other dot, every other page and the incoming bytes are as they were.
            for (int p :
                 {TFrameStore::Page1, TFrameStore::Page2, TFrameStore::Page3, TFrameStore::Page4}) {
                for (int yy = 0; yy < PanelRows; ++yy) {
                    for (int xx = 0; xx < PanelColumns; ++xx) {
                        if (p != page || xx != x || yy != y) {
                            ASSERT_EQ(store.Dot(p, xx, yy), before.Dot(p, xx, yy));
                        }
                    }
                }
            }
            for (int yy = 0; yy < PanelRows; ++yy)
                ASSERT_EQ(store.Row(page, yy)[TFrameStore::IncomingByte],
                          before.Row(page, yy)[TFrameStore::IncomingByte]);
        }
    }
}

TEST(FrameStore, AClearedStoreIsBlackAndFilledRowsTakeTheirColour)
{
    TFrameStore store;
    for (auto &row : store.Rows)
        row.fill(0xFF);
    TPanelPicture frame;
    frame.Dots.fill(9);
    store.ToFrame(TFrameStore::Page1, frame);
    EXPECT_EQ(frame, TPanelPicture{});

    for (int colour = 0; colour < 4; ++colour) {
        TFrameStore::FillRow(store.Row(TFrameStore::Page2, 4), colour);
        for (int x = 0; x < PanelColumns; ++x)
            ASSERT_EQ(store.Dot(TFrameStore::Page2, x, 4), colour) << x;
        EXPECT_EQ(store.Row(TFrameStore::Page2, 4)[TFrameStore::IncomingByte], 0xFF);
    }
}

TEST(FrameStore, ScrollingMovesEveryDotOneColumnAndTakesTheIncomingOne)
{
    const TFrameStore before = PatternStore();
    for (int incoming = 0; incoming < 4; ++incoming) {
        TFrameStore left = before;
        TFrameStore right = before;
        for (int y = 0; y < PanelRows; ++y) {
            EXPECT_EQ(TFrameStore::ScrollLeft(left.Row(TFrameStore::Page3, y), incoming),
                      before.Dot(TFrameStore::Page3, 0, y));
            EXPECT_EQ(TFrameStore::ScrollRight(right.Row(TFrameStore::Page3, y), incoming),
                      before.Dot(TFrameStore::Page3, 119, y));
            for (int x = 0; x < PanelColumns; ++x) {
                ASSERT_EQ(left.Dot(TFrameStore::Page3, x, y),
                          x == 119 ? incoming : before.Dot(TFrameStore::Page3, x + 1, y))
                    << x;
                ASSERT_EQ(right.Dot(TFrameStore::Page3, x, y),
                          x == 0 ? incoming : before.Dot(TFrameStore::Page3, x - 1, y))
                    << x;
                // The other pages stay.
                ASSERT_EQ(left.Dot(TFrameStore::Page1, x, y), before.Dot(TFrameStore::Page1, x, y));
            }
        }
    }

    TFrameStore store = before;
    TFrameStore::SetIncoming(store.Row(TFrameStore::Page1, 2), 1);
    EXPECT_EQ(TFrameStore::IncomingDot(store.Row(TFrameStore::Page1, 2)), 1);
}

TEST(FrameStore, TheFrameShowsThePagesDots)
{
    const TFrameStore store = PatternStore();
    for (int page : {TFrameStore::Page1, TFrameStore::Page2, TFrameStore::Page4}) {
        TPanelPicture frame;
        store.ToFrame(page, frame);
        for (int y = 0; y < PanelRows; ++y)
            for (int x = 0; x < PanelColumns; ++x) {
                ASSERT_EQ(frame.Dot(x, y), store.Dot(page, x, y)) << x << ',' << y;
            }
    }
}

// A font in which only 'A' has dots: its top row is full, its bottom row has column 0 only.
TFontTable TestFont()
{
    TFontTable font{};
    font['A'][9] = 0xFC;
    font['A'][0] = 0x80;
    return font;
}

std::string LitColumns(const std::uint8_t *row, int colour)
{
    std::string s;
    for (int x = 0; x < PanelColumns; ++x)
        s += TFrameStore::DotOf(row, x) == colour ? '#' : '.';
    return s.substr(0, s.find_last_of('#') + 1);
}

TEST(TextDrawer, DrawsInTheFontItIsGivenInEachStyle)
{
    const TFontTable font = TestFont();
    TTextDrawer drawer(font);
    const std::uint8_t text[] = {'A', 'B', 'A'};
    drawer.SetText(text);
    std::array<std::uint8_t, 31> row{};

    drawer.DrawRow(0, TFontStyle::Normal, 2, 1, row.data());
    EXPECT_EQ(LitColumns(row.data(), 2), "######......######");
    for (int x = 18; x < PanelColumns; ++x)
        ASSERT_EQ(TFrameStore::DotOf(row.data(), x), 1) << x;
    drawer.DrawRow(9, TFontStyle::Normal, 2, 1, row.data());
    EXPECT_EQ(LitColumns(row.data(), 2), "#...........#");

    // Bold starts one column in, doubles each dot to the right and leaves a gap after a letter.
    drawer.DrawRow(0, TFontStyle::Bold, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3), ".#######.......#######");
    drawer.DrawRow(9, TFontStyle::Bold, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3), ".##............##");

    drawer.DrawRow(0, TFontStyle::Wide, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3),
              std::string(12, '#') + std::string(12, '.') + std::string(12, '#'));
}

TEST(TextDrawer, ALineIsCutAtTheRightEdge)
{
    const TFontTable font = TestFont();
    TTextDrawer drawer(font);
    const std::vector<std::uint8_t> text(30, 'A');
    std::array<std::uint8_t, 31> row{};
    row[TFrameStore::IncomingByte] = 0x5A;
    drawer.SetText(text);
    drawer.DrawRow(0, TFontStyle::Normal, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3), std::string(120, '#'));
    drawer.DrawRow(0, TFontStyle::Bold, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3).size(), 120u);
    drawer.DrawRow(0, TFontStyle::Wide, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3), std::string(120, '#'));
    // The drawer writes the row's dots and nothing after them.
    EXPECT_EQ(row[TFrameStore::IncomingByte], 0x5A);

    // A new line replaces the old one whole.
    const std::uint8_t shortText[] = {'A', 'A'};
    drawer.SetText(shortText);
    drawer.DrawRow(0, TFontStyle::Normal, 3, 0, row.data());
    EXPECT_EQ(LitColumns(row.data(), 3), std::string(12, '#'));
}

} // namespace
} // namespace zor
