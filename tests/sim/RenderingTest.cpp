// Text rendering and the frame output: fonts, cut-offs, colours, blinking and the frame picture.
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

std::vector<std::uint8_t> PairAfter(std::string_view commands, std::string_view text)
{
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program(commands, {text}), 0, 100000);
    return ShownPair(engine.Store());
}

TEST(Rendering, WorkedExample)
{
    // F1 scrolls Hi in at half speed, then F3 puts Yo over it, then the program starts again.
    const std::string p = Program("L2F1T0F3T1", {"Hi", "Yo"});
    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(p, 0, 28);
    ASSERT_EQ(rec.Frames.size(), 28u);
    for (int y = 0; y < PanelRows; ++y) {
        for (int x = 0; x < PanelColumns; ++x) {
            // Frame 24 is shown before the last scroll step: Hi stands one column further right.
            EXPECT_EQ(rec.Frames[23].Dot(x, y) != 0, x >= 109 && TextDot("Hi", x - 109, y));
            EXPECT_EQ(rec.Frames[24].Dot(x, y), TextDot("Yo", x, y) ? 3 : 0) << x << ',' << y;
            EXPECT_EQ(rec.Frames[26].Dot(x, y), rec.Frames[24].Dot(x, y));
            if (x < 119) {
                EXPECT_EQ(rec.Frames[27].Dot(x, y), TextDot("Yo", x + 1, y) ? 3 : 0);
            }
        }
    }

    TDisplayEngine once;
    EXPECT_EQ(once.RunDisplayEngine(Program("L2F1T0)", {"Hi"}), 0).Frames, 24u);
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            EXPECT_EQ(once.Store().Dot(TFrameStore::Page1, x, y),
                      x >= 108 && TextDot("Hi", x - 108, y) ? 3 : 0);
}

TEST(Rendering, LinesAreCutAtTheRightEdge)
{
    const std::string h(30, 'H');
    auto cut = [&](const char *style, std::size_t visible) {
        const std::string commands = std::string(style) + "F3T0)";
        EXPECT_EQ(PairAfter(commands, h.substr(0, visible)), PairAfter(commands, h))
            << style << " shows more than " << visible;
        EXPECT_NE(PairAfter(commands, h.substr(0, visible - 1)), PairAfter(commands, h))
            << style << " shows fewer than " << visible;
    };
    cut("S4", 20);
    cut("S3", 17);
    cut("S2", 10);
}

TEST(Rendering, BoldAndWideDots)
{
    // Full blocks: bold starts in column 1 and fills the rest; wide fills everything.
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("S3F3T0)", {std::string(17, '\x08')}), 0, 10);
    for (int x = 0; x < PanelColumns; ++x)
        EXPECT_EQ(engine.LastFrame().Dot(x, 5), x == 0 ? 0 : 3) << x;
    engine.RunDisplayEngine(Program("S2F3T0)", {"\x08\x08"}), 0, 10);
    for (int x = 0; x < PanelColumns; ++x)
        EXPECT_EQ(engine.LastFrame().Dot(x, 5), x < 24 ? 3 : 0) << x;
}

TEST(Rendering, ColoursAndEmptyGlyphs)
{
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("I2P1F3T0)", {""}), 0, 10);
    EXPECT_EQ(CountDots(engine.LastFrame(), 1), 1200);
    // Line ends and the underscore's code have no glyph: only background.
    engine.RunDisplayEngine(Program("I1P2F3T0)", {"\r\n\x0E\x1E\x09"}), 0, 10);
    EXPECT_EQ(CountDots(engine.LastFrame(), 2), 1200);
    engine.RunDisplayEngine(Program("I1F3T0)", {"A"}), 0, 10);
    EXPECT_EQ(engine.LastFrame().Dot(2, 2), 1);
    EXPECT_EQ(CountDots(engine.LastFrame(), 0) + CountDots(engine.LastFrame(), 1), 1200);
}

TEST(Rendering, BlinkingTextShowsAndHidesEvery25Frames)
{
    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(Program("S0F3T0W2)", {"A"}), 0);
    ASSERT_EQ(rec.Frames.size(), 101u);
    std::vector<bool> visible;
    for (const auto &f : rec.Frames)
        visible.push_back(f.Dot(2, 2) != 0);
    // A new engine's countdown starts at 25: the first exchange comes with frame 25.
    for (std::size_t i = 0; i < visible.size(); ++i)
        EXPECT_EQ(visible[i], i < 24 || (i - 24) / 25 % 2 == 1) << i;

    // The countdown carries over into the next run; a later line without blinking stays.
    TRecorder steady;
    engine.SetFrameSink(&steady);
    engine.RunDisplayEngine(Program("F3T0W2)", {"A"}), 0);
    for (const auto &f : steady.Frames)
        EXPECT_NE(f.Dot(2, 2), 0);
}

TEST(FrameOutput, TheFrameShowsTheShownPagesDots)
{
    TFrameStore store;
    for (auto &row : store.Rows)
        row.fill(0xFF);
    TPanelPicture frame;
    frame.Dots.fill(9);
    store.ToFrame(TFrameStore::Page1, frame);
    EXPECT_EQ(CountDots(frame, 0), 1200);

    store.Rows[3][0] = 0x00;
    store.Rows[7][TFrameStore::Page2 + 5] = 0b11'10'01'00; // black, red, green, yellow
    store.ToFrame(TFrameStore::Page1, frame);
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            EXPECT_EQ(frame.Dot(x, y), y == 3 && x % 30 == 0 ? 3 : 0);
    store.ToFrame(TFrameStore::Page2, frame);
    EXPECT_EQ(frame.Dot(5, 7), 3);
    EXPECT_EQ(frame.Dot(35, 7), 2);
    EXPECT_EQ(frame.Dot(65, 7), 1);
    EXPECT_EQ(frame.Dot(95, 7), 0);
}

} // namespace
} // namespace zor::test
