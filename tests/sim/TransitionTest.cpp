// Transitions: how long each takes and the picture each leaves behind.
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

TEST(Transition, FrameCounts)
{
    struct TCase
    {
        const char *Commands;
        std::string_view Text;
        std::uint64_t Frames;
    };
    const TCase cases[] = {
        {"F0T0)", "ABC", 18},
        {"F1T0)", "A", 12},
        {"S2F0T0)", "AB", 24},
        {"S3F0T0)", "AB", 14},
        {"S3F1T0)", "A", 14},
        {"F13T0)", "ABC", 18},
        {"S2F13T0)", "A", 12},
        {"S3F13T0)", "A", 7},
        {"F2T0)", "A", 50},
        {"F3T0)", "A", 1},
        {"F4T0)", "", 50},
        {"F5T0)", "A", 0},
        {"F6T0)", "A", 1},
        {"F7T0)", "A", 120},
        {"F8T0)", "A", 160},
        {"F9T0)", "A", 121},
        {"F10T0)", "A", 0},
        {"F11T0)", "A", 61},
        {"F12T0)", "A", 0},
        {"F14T0)", "A", 450},
        {"F0T0)", "", 0},
        {"F1T0)", "", 0},
        {"F13T0)", "", 0},
        {"F15T0)", "A", 0},
        {"F0T0)", std::string_view("0123456789012345678901234"), 150},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FramesOf(c.Commands, {c.Text}), c.Frames) << c.Commands << " " << c.Text;
}

TEST(Transition, StagedTransitionsLeaveWhatDirectDisplayDraws)
{
    for (const char *style : {"", "S0", "S3", "S2", "I2P1"}) {
        for (const char *text : {"NEW TEXT", ""}) {
            auto after = [&](const char *transition) {
                TDisplayEngine engine;
                const std::string commands = std::string("F3T1") + style + transition + "T0)";
                engine.RunDisplayEngine(Program(commands, {text, "OLD PICTURE"}), 0, 100000);
                return ShownPair(engine.Store());
            };
            const auto direct = after("F3");
            for (const char *f : {"F2", "F4", "F7", "F8", "F9", "F11", "F14"})
                EXPECT_EQ(after(f), direct) << f << " style " << style << " text '" << text << "'";
        }
    }
}

TEST(Transition, ScrollsLeaveShortTextAtTheirEdge)
{
    for (const char *f : {"F0T0)", "F1T0)", "S3F0T0)"}) {
        TDisplayEngine engine;
        engine.RunDisplayEngine(Program(f, {"AB"}), 0);
        const bool bold = f[0] == 'S';
        const int width = bold ? 14 : 12;
        for (int y = 0; y < PanelRows; ++y) {
            for (int x = 0; x < PanelColumns; ++x) {
                const int cx = x - (PanelColumns - width);
                bool lit = cx >= 0 && TextDot("AB", cx, y);
                if (bold) // a bold column also lights the next one; B starts 7 columns in
                    lit = cx >= 0 && (TextDot("A", cx, y) || (cx >= 1 && TextDot("A", cx - 1, y)) ||
                                      (cx >= 7 && TextDot("B", cx - 7, y)) ||
                                      (cx >= 8 && TextDot("B", cx - 8, y)));
                EXPECT_EQ(engine.Store().Dot(TFrameStore::Page1, x, y), lit ? 3 : 0)
                    << f << ' ' << x << ',' << y;
            }
        }
    }
    // From the left, a short text on an empty panel ends up where direct display puts it.
    TDisplayEngine left;
    left.RunDisplayEngine(Program("F13T0)", {"AB"}), 0);
    TDisplayEngine direct;
    direct.RunDisplayEngine(Program("F3T0)", {"AB"}), 0);
    EXPECT_EQ(ShownPair(left.Store()), ShownPair(direct.Store()));
}

TEST(Transition, SnowStartsInRowsTwoAndSeven)
{
    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(Program("F3T06F8T0)", {""}), 0);
    ASSERT_EQ(rec.Frames.size(), 161u);
    EXPECT_EQ(CountDots(rec.Frames[1], 3), 1200);
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            EXPECT_EQ(rec.Frames[2].Dot(x, y), (y == 2 || y == 7) && x % 30 == 27 ? 0 : 3);
    // The last step (row 0 and 5, byte 0) shows only with the next frame.
    EXPECT_EQ(CountDots(engine.LastFrame(), 3), 8);
}

TEST(Transition, AlternateTextsTakeTurns)
{
    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(Program("F3T0F6T1W2)", {"A", "B"}), 0);
    ASSERT_EQ(rec.Frames.size(), 102u);
    for (std::size_t i = 0; i < rec.Frames.size(); ++i) {
        const bool showsB = i >= 24 && (i - 24) / 25 % 2 == 0;
        for (int x = 0; x < 6; ++x)
            for (int y = 0; y < PanelRows; ++y)
                ASSERT_EQ(rec.Frames[i].Dot(x, y) != 0, TextDot(showsB ? "B" : "A", x, y)) << i;
    }
}

TEST(Transition, EmptySegmentBlanksThePanel)
{
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("F3T06F9T0)", {""}), 0);
    EXPECT_EQ(CountDots(engine.LastFrame(), 0), 1200);
    engine.RunDisplayEngine(Program("F3T06F14T0W01)", {""}), 0);
    EXPECT_EQ(CountDots(engine.LastFrame(), 0), 1200);
}

} // namespace
} // namespace zor::test
