// The preview's player shows exactly the frames of a fresh engine run, follows program changes,
// and pauses, steps and jumps.
#include "base/Platform.h"
#include "sim/engine/Player.h"
#include "tests/sim/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace zor::test {
namespace {

// The frames of a fresh engine run of the program, with the clock.
std::vector<TPanelPicture> EngineFrames(const std::string &program, std::uint64_t frames,
                                        TClock *clock)
{
    TDisplayEngine engine;
    TRecorder recorder;
    engine.SetClock(clock);
    engine.SetFrameSink(&recorder);
    engine.RunDisplayEngine(program, 0, frames);
    return recorder.Frames;
}

class PreviewPlayer : public ::testing::Test
{
protected:
    // The time effect makes the clock matter; the scroll makes every frame count.
    const std::string Clocked = Program("S0F1T0R1E12F0T1", {"Hello", "World"});
    TFixedClock Clock{TLocalDateTime{2024, 5, 17, 13, 45, 30}};
    TManualTick Tick;
    TFramePlayer Player{&Tick, &Clock};
};

TEST_F(PreviewPlayer, ShowsTheEnginesFramesAtItsTicks)
{
    const auto expected = EngineFrames(Clocked, 400, &Clock);
    Player.SetProgram(Clocked);
    // The first frame shows at once; each later one at its tick.
    ASSERT_TRUE(Player.WaitForFrame(0));
    EXPECT_EQ(Player.Picture().Dots, expected[0].Dots);
    Tick.Release(7);
    ASSERT_TRUE(Player.WaitForFrame(7));
    EXPECT_EQ(Player.ShownFrame(), 7);
    EXPECT_EQ(Player.Picture().Dots, expected[7].Dots);
    Tick.Release(300);
    ASSERT_TRUE(Player.WaitForFrame(307));
    EXPECT_EQ(Player.Picture().Dots, expected[307].Dots);
}

TEST_F(PreviewPlayer, JumpsPausesAndSteps)
{
    const auto expected = EngineFrames(Clocked, 2000, &Clock);
    Player.Pause();
    Player.SetProgram(Clocked);
    ASSERT_TRUE(Player.WaitForFrame(0));
    for (std::uint64_t n : {1234u, 5u, 1999u}) {
        Player.Seek(n);
        ASSERT_TRUE(Player.WaitForFrame(static_cast<std::int64_t>(n)));
        EXPECT_EQ(Player.ShownFrame(), static_cast<std::int64_t>(n));
        EXPECT_EQ(Player.Picture().Dots, expected[n].Dots) << "frame " << n;
    }
    // Paused, released ticks change nothing; a step shows the next frame without one.
    Tick.Release(3);
    Player.Step();
    ASSERT_TRUE(Player.WaitForFrame(2000 - 1 + 1));
    Player.Step();
    ASSERT_TRUE(Player.WaitForFrame(2001));
    EXPECT_EQ(Player.ShownFrame(), 2001);
    EXPECT_FALSE(Player.Playing());

    Player.Restart();
    ASSERT_TRUE(Player.WaitForFrame(0));
    EXPECT_EQ(Player.ShownFrame(), 0);
    EXPECT_EQ(Player.Picture().Dots, expected[0].Dots);
}

TEST_F(PreviewPlayer, ANewProgramStartsOverAndTheSameOneGoesOn)
{
    Player.SetProgram(Clocked);
    Tick.Release(20);
    ASSERT_TRUE(Player.WaitForFrame(20));
    const std::uint64_t runs = Player.Runs();

    EXPECT_FALSE(Player.SetProgram(Clocked));
    EXPECT_EQ(Player.Runs(), runs);
    Tick.Release(1);
    ASSERT_TRUE(Player.WaitForFrame(21));

    const std::string other = Program("I1F3T0", {"Other"});
    EXPECT_TRUE(Player.SetProgram(other));
    EXPECT_EQ(Player.Runs(), runs + 1);
    ASSERT_TRUE(Player.WaitForFrame(0));
    EXPECT_EQ(Player.ShownFrame(), 0);
    EXPECT_EQ(Player.Picture().Dots, EngineFrames(other, 1, &Clock)[0].Dots);

    // No program: a dark panel.
    Player.SetProgram("");
    EXPECT_EQ(Player.ShownFrame(), -1);
    EXPECT_EQ(CountDots(Player.Picture(), 0), PanelColumns * PanelRows);
}

TEST_F(PreviewPlayer, ReportsOnlyFramesThatChange)
{
    std::mutex m;
    std::vector<std::int64_t> reported;
    Player.SetFrameCallback([&](std::int64_t n, const TPanelPicture &) {
        std::lock_guard lock(m);
        reported.push_back(n);
    });
    // Text drawn at once (one frame), then a second's pause: one picture for 51 frames.
    Player.SetProgram(Program("F3T0W1)", {"Still"}));
    Tick.Release(60);
    ASSERT_TRUE(Player.WaitForFrame(50));
    std::lock_guard lock(m);
    EXPECT_EQ(reported, std::vector<std::int64_t>({0}));
}

TEST_F(PreviewPlayer, AJumpPastTheEndOfAnEndingProgramKeepsItsLastFrame)
{
    const std::string ending = Program("F3T0W1)", {"End"});
    const auto expected = EngineFrames(ending, 0, &Clock);
    Player.Pause();
    Player.SetProgram(ending);
    Player.Seek(2999);
    ASSERT_TRUE(Player.WaitForFrame(static_cast<std::int64_t>(expected.size()) - 1));
    EXPECT_EQ(Player.Picture().Dots, expected.back().Dots);
}

TEST(PreviewPlayerPriority, RaisedOnlyWhileARunGoesOn)
{
    TFixedClock clock{TLocalDateTime{2024, 5, 17, 13, 45, 30}};
    TManualTick tick;
    TFramePlayer player(&tick, &clock, true);
    // The player's thread starts at the priority of the thread that made it.
    const int before = ThreadPriority(CurrentThreadId());
    std::mutex m;
    TThreadId playerThread = 0;
    int during = before;
    player.SetFrameCallback([&](std::int64_t n, const TPanelPicture &) {
        if (n < 0)
            return;
        std::lock_guard lock(m);
        playerThread = CurrentThreadId();
        during = ThreadPriority(playerThread);
    });

    // A program that ends by itself, and one stopped as the window closes.
    player.SetProgram(Program("F3T0W1)", {"End"}));
    tick.Release(60);
    ASSERT_TRUE(player.WaitUntilIdle());
    {
        std::lock_guard lock(m);
        if (during == before)
            GTEST_SKIP() << "the system does not let this user raise a thread's priority";
        EXPECT_GT(during, before);
        EXPECT_EQ(ThreadPriority(playerThread), before);
        during = before;
    }
    player.SetProgram(Program("S0F1T0R1E12F0T1", {"Hello", "World"}));
    ASSERT_TRUE(player.WaitForFrame(0));
    player.SetProgram("");
    ASSERT_TRUE(player.WaitUntilIdle());
    std::lock_guard lock(m);
    EXPECT_GT(during, before);
    EXPECT_EQ(ThreadPriority(playerThread), before);
}

} // namespace
} // namespace zor::test
