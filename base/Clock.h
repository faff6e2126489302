// Local date and time, read through an interface so that whatever shows or sends the time (the
// engine's time effects, the Open frame of a transfer) can be given a fixed moment and checked
// exactly.
#pragma once

namespace zor {

// Fields in their usual ranges: Month 1-12, Day 1-31, Hour 0-23, Minute 0-59, Second 0-59 (60
// during a leap second).
struct TLocalDateTime
{
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

// Where the local time is read. Now() may be called from any one thread at a time: the engine's
// or the transfer's, not necessarily the one that made the clock.
class TClock
{
public:
    virtual ~TClock() = default;
    virtual TLocalDateTime Now() = 0;
};

// The machine's local time.
class TSystemClock final : public TClock
{
public:
    TLocalDateTime Now() override;
};

// Always the same moment (tests, the command-line tool's --clock).
class TFixedClock final : public TClock
{
public:
    explicit TFixedClock(const TLocalDateTime &time) : Time(time) {}
    TLocalDateTime Now() override { return Time; }
    TLocalDateTime Time;
};

} // namespace zor
