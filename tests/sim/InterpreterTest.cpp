// Reading the command part: numbers, pauses, repeats, segments, restarts and run ends.
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace zor::test {
namespace {

TEST(Interpreter, PauseLengthsFollowTheLeadingDigit)
{
    EXPECT_EQ(FramesOf("W2)"), 100u);
    EXPECT_EQ(FramesOf("W02)"), 10u);
    EXPECT_EQ(FramesOf("W20)"), 1000u);
    EXPECT_EQ(FramesOf("W0)"), 256u * 50u); // an 8-bit countdown from 0
    EXPECT_EQ(FramesOf("w 0 2)"), 10u);     // case and blanks do not matter
}

TEST(Interpreter, RepeatsWithAndWithoutBrackets)
{
    // One character at full speed is 6 frames.
    EXPECT_EQ(FramesOf("R3(T1W1))", {"x", "A"}), 3u * (6 + 50));
    EXPECT_EQ(FramesOf("R2T1)", {"x", "A"}), 12u);
    EXPECT_EQ(FramesOf("R2(R3(W01)))"), 2u * 3u * 5u);
    // A ')' as the single repeated command ends that repeat and closes the outer bracket.
    EXPECT_EQ(FramesOf("R2(W01R5)W01)"), 2u * 5u + 5u);
}

TEST(Interpreter, SegmentSelection)
{
    // T5 is segment 5, T05 twenty blanks, T06 twenty full blocks; T04 is dropped.
    EXPECT_EQ(FramesOf("T5)", {"0", "1", "2", "3", "4", "AB"}), 12u);
    EXPECT_EQ(FramesOf("T05)"), 120u);
    EXPECT_EQ(FramesOf("T04)", {"0", "1", "2", "3", "ABC"}), 0u);
    EXPECT_EQ(FramesOf("T00)", {"AB"}), 12u);
    // A segment the program does not hold is empty, however far the number points.
    EXPECT_EQ(FramesOf("T9F1T99)", {"AB"}), 0u);

    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("F3T06)"), 0, 10);
    EXPECT_EQ(CountDots(engine.LastFrame(), 3), 1200);
}

TEST(Interpreter, ColoursAndStyles)
{
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("I6P5S3)"), 0, 10);
    EXPECT_EQ(engine.ForegroundColour(), 2);
    EXPECT_EQ(engine.BackgroundColour(), 1);
    EXPECT_EQ(engine.StyleFlags() & 0x06, TDisplayEngine::StyleBold);
    engine.RunDisplayEngine(Program("S3S2S0)"), 0, 10);
    EXPECT_EQ(engine.StyleFlags() & 0x07, TDisplayEngine::StyleWide | TDisplayEngine::StyleBlink);
    // Letters without digits take 99: an effect or transition with it does nothing.
    EXPECT_EQ(FramesOf("E)"), 0u);
    EXPECT_EQ(FramesOf("FT0)", {"A"}), 0u);
}

TEST(Interpreter, CommandsBeforeTheStartOffsetAreReadButNotPerformed)
{
    TDisplayEngine engine;
    const std::string p = Program("I1W1W01)");
    EXPECT_EQ(engine.RunDisplayEngine(p, 4, 100000).Frames, 5u);
    EXPECT_EQ(engine.ForegroundColour(), 1);
}

TEST(Interpreter, ProgramLoopsAtItsEnd)
{
    TDisplayEngine engine;
    const auto r = engine.RunDisplayEngine(Program("T1", {"x", "AB"}), 0, 100);
    EXPECT_EQ(r.End, TRunEnd::FrameLimit);
    EXPECT_EQ(r.Frames, 100u);
}

TEST(Interpreter, NoProgramRunsWithoutFrames)
{
    // Each of these would loop forever without a frame, where no stop could reach it.
    for (std::string p : {Program("F1T0", {""}), Program("S0I1P2L3"), Program(""), std::string(),
                          std::string("R0(R0(R0(R0(S0))))"), std::string("(((")}) {
        TDisplayEngine engine;
        const auto r = engine.RunDisplayEngine(p, 0, 20);
        EXPECT_EQ(r.End, TRunEnd::FrameLimit) << p;
    }
}

TEST(Interpreter, ReadingStopsAtTheTerminatingZero)
{
    // Everything after the zero is not part of the program; without the zero the span ends it.
    const std::string p = std::string("T0\x1F"
                                      "A\x1F\x1F",
                                      6) +
                          std::string("\0W2)", 4);
    TDisplayEngine engine;
    EXPECT_EQ(engine.RunDisplayEngine(p, 0, 1000).End, TRunEnd::FrameLimit);
    const std::string cut = "F1T";
    EXPECT_EQ(engine.RunDisplayEngine(std::string_view(cut).substr(0, 2), 0, 5).End,
              TRunEnd::FrameLimit);
}

TEST(Interpreter, TwelveNestedRepeatsHalt)
{
    TDisplayEngine engine;
    const auto r = engine.RunDisplayEngine(std::string(13, 'R') + "T0", 0, 50);
    EXPECT_EQ(r.End, TRunEnd::FrameLimit);
    EXPECT_TRUE(engine.Halted());
    TDisplayEngine twelve;
    twelve.RunDisplayEngine(std::string(12, 'R') + "W01)", 0, 50);
    EXPECT_FALSE(twelve.Halted());
}

TEST(Interpreter, ClosingBracketAtTheTopEndsTheRunAndKeepsThePicture)
{
    TDisplayEngine engine;
    const auto r = engine.RunDisplayEngine(Program("F3T0)W2", {"A"}), 0, 1000);
    EXPECT_EQ(r.End, TRunEnd::ProgramEnd);
    EXPECT_EQ(r.Frames, 1u);
    EXPECT_TRUE(engine.LastFrame().Dot(2, 2)); // the apex of the A
}

TEST(Interpreter, StopRequestEndsTheRunAtTheNextFrame)
{
    struct TStopper final : TFrameSink
    {
        TDisplayEngine *Engine = nullptr;
        int Count = 0;
        void PresentFrame(const TPanelPicture &) override
        {
            if (++Count == 7)
                Engine->RequestStop();
        }
    } stopper;
    TDisplayEngine engine;
    stopper.Engine = &engine;
    engine.SetFrameSink(&stopper);
    auto r = engine.RunDisplayEngine(Program("W9"), 0);
    EXPECT_EQ(r.End, TRunEnd::Stopped);
    EXPECT_EQ(r.Frames, 7u);

    // From another thread, while the engine is paced by a tick; a new run starts afresh.
    engine.SetFrameSink(nullptr);
    TSteadyTick tick(std::chrono::milliseconds(1));
    engine.SetFrameTick(&tick);
    std::thread stop([&engine] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        engine.RequestStop();
    });
    r = engine.RunDisplayEngine(Program("W9"), 0);
    stop.join();
    EXPECT_EQ(r.End, TRunEnd::Stopped);
    EXPECT_GT(r.Frames, 5u);
    EXPECT_EQ(engine.RunDisplayEngine(Program("W01)"), 0).End, TRunEnd::ProgramEnd);
}

} // namespace
} // namespace zor::test
