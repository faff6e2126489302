// One way to end a transfer early, shared by the progress window's Cancel button and by Ctrl-C on
// the command line: whoever wants the transfer to stop requests it here, and TSerial looks at it
// before every frame and every attempt, so the frame in flight is finished and the port is closed
// and restored as on any other failure.
#pragma once

#include <atomic>

namespace zor {

enum class TStopReason { None, Cancelled, Interrupted };

class TTransferStop
{
public:
    // Safe from any thread and from a signal handler. The first reason given is kept.
    void Request(TStopReason reason) noexcept
    {
        int none = static_cast<int>(TStopReason::None);
        State.compare_exchange_strong(none, static_cast<int>(reason));
    }

    bool Requested() const noexcept { return Reason() != TStopReason::None; }
    TStopReason Reason() const noexcept { return static_cast<TStopReason>(State.load()); }

private:
    static_assert(std::atomic<int>::is_always_lock_free, "requested from a signal handler");
    std::atomic<int> State{static_cast<int>(TStopReason::None)};
};

} // namespace zor
