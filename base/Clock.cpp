#include "base/Clock.h"

#include "base/Platform.h"

#include <ctime>

namespace zor {

TLocalDateTime TSystemClock::Now()
{
    const std::tm local = LocalTime(std::time(nullptr));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

} // namespace zor
