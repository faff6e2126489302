// Reading the command part: numbers, pauses, repeats, segments, restarts and run ends.
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace zor::test {
namespace {

using TEvents = std::vector<std::string>;

TEST(Interpreter, PauseLengthsFollowTheLeadingDigit)
{
    EXPECT_EQ(EventsOf("W2)"), TEvents{"pause 100"});
    EXPECT_EQ(EventsOf("W02)"), TEvents{"pause 10"});
    EXPECT_EQ(EventsOf("W20)"), TEvents{"pause 1000"});
    EXPECT_EQ(EventsOf("W0)"), TEvents{"pause 12800"}); // an 8-bit countdown from 0
    EXPECT_EQ(EventsOf("w 0 2)"), TEvents{"pause 10"}); // case and blanks do not matter
    // A W without digits takes 99 and the leading digit of the number before it.
    EXPECT_EQ(EventsOf("W01W)"), (TEvents{"pause 5", "pause 495"}));
    // Finding the end of a segment for F13 leaves the leading digit at 1 behind it.
    EXPECT_EQ(EventsOf(Program("F13T0W)", {"A"})), (TEvents{"F13 A", "pause 4950"}));
    EXPECT_EQ(EventsOf(Program("F13T05W)")), (TEvents{"F13 " + std::string(20, ' '), "pause 495"}));
    // The frames follow the events.
    EXPECT_EQ(FramesOf("W02)"), 10u);
}

TEST(Interpreter, RepeatsWithAndWithoutBrackets)
{
    EXPECT_EQ(EventsOf(Program("R3(T1W1))", {"x", "A"})),
              (TEvents{"F0 A", "pause 50", "F0 A", "pause 50", "F0 A", "pause 50"}));
    EXPECT_EQ(EventsOf(Program("R2T1)", {"x", "A"})), (TEvents{"F0 A", "F0 A"}));
    EXPECT_EQ(EventsOf("R2(R3(W01)))"), TEvents(6, "pause 5"));
    // A ')' as the single repeated command ends that repeat and closes the outer bracket.
    EXPECT_EQ(EventsOf("R2(W01R5)W01)"), TEvents(3, "pause 5"));
    // One character at full speed is 6 frames.
    EXPECT_EQ(FramesOf("R3(T1W1))", {"x", "A"}), 3u * (6 + 50));
}

TEST(Interpreter, SegmentSelection)
{
    // T5 is segment 5, T05 twenty blanks, T06 twenty full blocks; T04 is dropped.
    EXPECT_EQ(EventsOf(Program("T5)", {"0", "1", "2", "3", "4", "AB"})), TEvents{"F0 AB"});
    EXPECT_EQ(EventsOf(Program("T05T06)")),
              (TEvents{"F0 " + std::string(20, ' '), "F0 " + std::string(20, '\x08')}));
    EXPECT_EQ(EventsOf(Program("T04F1T07)", {"0", "1", "2", "3", "ABC", "5", "6", "7"})),
              TEvents{});
    EXPECT_EQ(EventsOf(Program("T00F2T0)", {"AB"})), (TEvents{"F0 AB", "F2 AB"}));
    // A segment the program does not hold is empty, however far the number points.
    EXPECT_EQ(EventsOf(Program("T9F1T99)", {"AB"})), (TEvents{"F0 ", "F1 "}));
    // Transitions and effects beyond the tables are dropped; 5, 10 and 12 are read.
    EXPECT_EQ(EventsOf(Program("F15T0F5T0E14E13)", {"A"})), (TEvents{"F5 A", "E13"}));

    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("F3T06)"), 0, 10);
    EXPECT_EQ(CountDots(engine.LastFrame(), 3), 1200);
}

TEST(Interpreter, ColoursAndStyles)
{
    EXPECT_EQ(EventsOf("I6P5S3S2S0S1S4S5)"), (TEvents{"ink 2", "paper 1", "font bold", "font wide",
                                                      "blink on", "blink off", "font normal"}));
    TDisplayEngine engine;
    engine.RunDisplayEngine(Program("I6P5S3)"), 0, 10);
    EXPECT_EQ(engine.ForegroundColour(), 2);
    EXPECT_EQ(engine.BackgroundColour(), 1);
    EXPECT_EQ(engine.StyleFlags() & 0x06, TDisplayEngine::StyleBold);
    engine.RunDisplayEngine(Program("S3S2S0)"), 0, 10);
    EXPECT_EQ(engine.StyleFlags() & 0x07, TDisplayEngine::StyleWide | TDisplayEngine::StyleBlink);
    // Letters without digits take 99: an effect or transition with it does nothing.
    EXPECT_EQ(EventsOf("E)"), TEvents{});
    EXPECT_EQ(EventsOf(Program("FT0)", {"A"})), TEvents{});
}

TEST(Interpreter, CommandsBeforeTheStartOffsetAreReadButNotPerformed)
{
    // Colours, styles and repeats count from the start; pauses, texts and effects only after it.
    EXPECT_EQ(EventsOf(Program("I1W1T0E3S0W01)", {"A"}), 10),
              (TEvents{"ink 1", "blink on", "pause 5"}));
    TDisplayEngine engine;
    const std::string p = Program("I1W1W01)");
    EXPECT_EQ(engine.RunDisplayEngine(p, 4, 100000).Frames, 5u);
    EXPECT_EQ(engine.ForegroundColour(), 1);
}

TEST(Interpreter, ProgramLoopsAtItsEnd)
{
    EXPECT_EQ(EventsOf(Program("T1", {"x", "AB"}), 0, 3),
              (TEvents{"F0 AB", "restart", "F0 AB", "restart", "F0 AB", "restart"}));
    // A '?' restarts too.
    EXPECT_EQ(EventsOf("W01?W02", 0, 2), (TEvents{"pause 5", "restart", "pause 5", "restart"}));
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
    EXPECT_EQ(EventsOf(p, 0, 2), (TEvents{"F0 A", "restart", "F0 A", "restart"}));
    // A segment search stops there too.
    EXPECT_EQ(EventsOf(std::string("T1\x1F"
                                   "A\0B\x1F",
                                   7),
                       0, 1),
              (TEvents{"F0 ", "restart"}));
    const std::string cut = "F1T";
    EXPECT_EQ(EventsOf(std::string_view(cut).substr(0, 2), 0, 2), (TEvents{"restart", "restart"}));
    TDisplayEngine engine;
    EXPECT_EQ(engine.RunDisplayEngine(p, 0, 1000).End, TRunEnd::FrameLimit);
}

TEST(Interpreter, TwelveNestedRepeatsHalt)
{
    TEventRecorder recorder;
    TProgramReader reader(recorder);
    const std::string thirteen = std::string(13, 'R') + "T0";
    reader.Read(
        std::span(reinterpret_cast<const std::uint8_t *>(thirteen.data()), thirteen.size()));
    EXPECT_EQ(recorder.Events, TEvents{"halt"});
    EXPECT_TRUE(reader.Halted());

    TDisplayEngine engine;
    const auto r = engine.RunDisplayEngine(thirteen, 0, 50);
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
    struct TSixth final : TFrameSink
    {
        int Count = 0;
        std::promise<void> Shown;
        void PresentFrame(const TPanelPicture &) override
        {
            if (++Count == 6)
                Shown.set_value();
        }
    } sixth;
    engine.SetFrameSink(&sixth);
    TManualTick tick;
    engine.SetFrameTick(&tick);
    tick.Release(10);
    std::thread stop([&] {
        sixth.Shown.get_future().wait();
        engine.RequestStop();
        // A run waiting for its tick looks at the stop when the tick comes.
        tick.Release(1);
    });
    r = engine.RunDisplayEngine(Program("W9"), 0);
    stop.join();
    EXPECT_EQ(r.End, TRunEnd::Stopped);
    EXPECT_GT(r.Frames, 5u);
    tick.Release(1000);
    EXPECT_EQ(engine.RunDisplayEngine(Program("W01)"), 0).End, TRunEnd::ProgramEnd);
}

} // namespace
} // namespace zor::test
