#include "sim/engine/Engine.h"

#include <ctime>
#include <thread>

namespace zor {

TLocalDateTime TSystemClock::Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

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
