// Effects: how long each takes, and what the clearing, inversion, clock and frame effects draw.
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

std::vector<std::uint8_t> PairAfter(std::string_view commands, std::string_view text,
                                    TClock *clock = nullptr)
{
    TDisplayEngine engine;
    engine.SetClock(clock);
    engine.RunDisplayEngine(Program(commands, {text}), 0, 100000);
    return ShownPair(engine.Store());
}

TEST(Effect, FrameCounts)
{
    const std::pair<const char *, std::uint64_t> cases[] = {
        {"E0)", 253}, {"E1)", 256}, {"E2)", 250}, {"E3)", 1},   {"E4)", 251},
        {"E5)", 0},   {"E6)", 0},   {"E7)", 61},  {"E8)", 61},  {"E9)", 1},
        {"E10)", 0},  {"E11)", 0},  {"E12)", 45}, {"E13)", 45}, {"E14)", 0},
    };
    for (const auto &[commands, frames] : cases)
        EXPECT_EQ(FramesOf(commands), frames) << commands;
}

TEST(Effect, ClearingAndLightingUp)
{
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("P3E3)"), 0);
    EXPECT_EQ(CountDots(engine.LastFrame(), 3), 1200);
    engine.RunDisplayEngine(Program("I2E8W01)"), 0);
    EXPECT_EQ(CountDots(engine.LastFrame(), 2), 1200);
    engine.RunDisplayEngine(Program("E8P1E7W01)"), 0);
    EXPECT_EQ(CountDots(engine.LastFrame(), 1), 1200);
    // The page-flipping animations restore the style and end on a cleared panel.
    for (const char *e : {"S3S0F3T0E0W01)", "S3S0F3T0E1W01)"}) {
        engine.RunDisplayEngine(Program(e, {"AB"}), 0);
        EXPECT_EQ(CountDots(engine.LastFrame(), 0), 1200) << e;
        EXPECT_EQ(engine.StyleFlags() & 0x07,
                  TDisplayEngine::StyleBold | TDisplayEngine::StyleBlink);
        EXPECT_LT(engine.ShownPage(), TFrameStore::Page3);
    }
}

TEST(Effect, InversionTwiceRestoresThePicture)
{
    EXPECT_EQ(PairAfter("I1P2F3T0E9E9)", "Text"), PairAfter("I1P2F3T0)", "Text"));
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("I1F3T0E9)", {"Text"}), 0);
    TDisplayEngine plain;
    plain.RunDisplayEngine(Program("I1F3T0)", {"Text"}), 0);
    EXPECT_EQ(CountDots(engine.LastFrame(), 2), CountDots(plain.LastFrame(), 1));
    EXPECT_EQ(CountDots(engine.LastFrame(), 3), CountDots(plain.LastFrame(), 0));
}

TEST(Effect, BlinkMotiveEndsWithoutBlinking)
{
    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(Program("F3T1S0F3T0E2)", {"A", "ZZZZZZ"}), 0);
    // During the effect the whole picture blinks, the steady part too.
    bool hidden = false;
    for (std::size_t i = 2; i < rec.Frames.size(); ++i)
        hidden = hidden || CountDots(rec.Frames[i], 0) == 1200;
    EXPECT_TRUE(hidden);
    for (const auto &row : engine.Store().Rows)
        EXPECT_TRUE(std::equal(row.begin(), row.begin() + 30, row.begin() + 64));
}

TEST(Effect, TimeAndDate)
{
    TFixedClock morning({2026, 12, 6, 9, 5, 3});
    TFixedClock afternoon({2026, 12, 6, 13, 51, 35});
    EXPECT_EQ(PairAfter("E12)", "", &morning), PairAfter("S2F3T0)", "  9:05:03"));
    EXPECT_EQ(PairAfter("E12)", "", &afternoon), PairAfter("S2F3T0)", " 13:51:35"));
    EXPECT_EQ(PairAfter("S3E13)", "", &morning), PairAfter("F3T0)", "6.12.2026    9:05:03"));
    TFixedClock january({2027, 1, 31, 23, 0, 0});
    EXPECT_EQ(PairAfter("E13)", "", &january), PairAfter("F3T0)", "31.1.2027   23:00:00"));

    TDisplayEngine engine;
    engine.SetClock(&morning);
    engine.RunDisplayEngine(Program("S3S0E12)"), 0);
    EXPECT_EQ(engine.StyleFlags() & 0x07, TDisplayEngine::StyleBold | TDisplayEngine::StyleBlink);
}

TEST(Effect, CirculatingFrameKeepsItsPhaseAcrossRuns)
{
    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(Program("E4E4)"), 0);
    EXPECT_EQ(engine.CirclePhase(), 100);
    engine.RunDisplayEngine(Program("E4)"), 0);
    EXPECT_EQ(engine.CirclePhase(), 150);
    EXPECT_EQ(CountDots(engine.LastFrame(), 0), 1200);

    // Dashes of two on, two off along the top and bottom rows, nothing inside the border.
    const TPanelPicture &f = rec.Frames[5 * 10 + 4];
    int top = 0;
    for (int x = 0; x < PanelColumns; ++x) {
        top += f.Dot(x, 0) == 3;
        EXPECT_EQ(f.Dot(x, 0) == 3, f.Dot((x + 4) % 120, 0) == 3) << x;
        for (int y = 1; y < 9; ++y)
            if (x > 0 && x < 119) {
                EXPECT_EQ(f.Dot(x, y), 0);
            }
    }
    EXPECT_EQ(top, 60);
}

} // namespace
} // namespace zor::test
