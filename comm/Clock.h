// Local date and time as the panel protocol needs them, behind an injectable clock so that
// frames carrying the time can be checked byte for byte.
#pragma once

#include <functional>

namespace zor {

struct TLocalTime
{
    int Year = 1991;
    int Month = 1; // 1..12
    int Day = 1;   // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0; // 0..59 (60 during a leap second)
};

// Returns the current local time. Must be callable from the thread that runs the transfer.
using TClock = std::function<TLocalTime()>;

// The machine's local time.
TLocalTime SystemLocalTime();

} // namespace zor
