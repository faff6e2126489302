// Interrupts routed through the platform seam: to an event loop through a wake-up, the end of the
// terminal only when asked for, and what was there before put back afterwards.
#include "base/Platform.h"

#include <gtest/gtest.h>

#include <csignal>

namespace zor {
namespace {

const TInterruptWakeUp *Raised = nullptr;

void ToWakeUp(int signal)
{
    Raised->Raise(signal);
}

void (*HandlerOf(int signal))(int)
{
    struct sigaction now
    {
    };
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

TEST(InterruptRouting, ReachesAnEventLoopAndTakesTheTerminalsEndOnlyWhenAsked)
{
    TInterruptWakeUp wakeUp;
    ASSERT_TRUE(wakeUp.Valid());
    Raised = &wakeUp;
    const auto hupBefore = HandlerOf(SIGHUP);

    RouteInterrupts(ToWakeUp, {.TerminalGone = true, .RestartWaits = true});
    std::raise(SIGHUP);
    std::raise(SIGTERM);
    StopRoutingInterrupts();
    EXPECT_EQ(wakeUp.Take(), SIGHUP);
    EXPECT_EQ(wakeUp.Take(), SIGTERM);
    EXPECT_EQ(wakeUp.Take(), -1);
    EXPECT_EQ(HandlerOf(SIGHUP), hupBefore);
    EXPECT_NE(HandlerOf(SIGTERM), &ToWakeUp);

    // As the command-line tool routes them: the terminal's end keeps its own action.
    RouteInterrupts(ToWakeUp);
    EXPECT_EQ(HandlerOf(SIGINT), &ToWakeUp);
    EXPECT_EQ(HandlerOf(SIGHUP), hupBefore);
    StopRoutingInterrupts();
    Raised = nullptr;
}

} // namespace
} // namespace zor
