#include "sim/engine/FrameTick.h"

#include <thread>

namespace zor {

TSteadyTick::TSteadyTick(std::chrono::nanoseconds period) : Period(period)
{
    Start();
}

void TSteadyTick::Start()
{
    Deadline = std::chrono::steady_clock::now();
}

void TSteadyTick::WaitTick()
{
    Deadline += Period;
    const auto now = std::chrono::steady_clock::now();
    if (now - Deadline > std::chrono::seconds(1))
        Deadline = now;
    std::this_thread::sleep_until(Deadline);
}

} // namespace zor
