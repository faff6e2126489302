// The frame tick: what paces the engine's frames.
#pragma once

#include <chrono>

namespace zor {

// Paces the frames: WaitTick() returns at the next frame tick. Without one the engine runs flat
// out. Both are called on the engine's thread: Start() when a run begins, WaitTick() once per
// frame, before the frame is handed to the sink.
class TFrameTick
{
public:
    virtual ~TFrameTick() = default;
    virtual void Start() {}
    virtual void WaitTick() = 0;
    // Asked from another thread to end a WaitTick that is waiting now, because the run it paces
    // is being given up. A tick that never waits long may ignore it.
    virtual void Cancel() {}
};

// A tick every period on absolute deadlines of the steady clock, so that frames never drift; it
// sleeps, never spins. The first deadline is one period after construction or Start(). When the
// caller falls more than a second behind (a suspended machine), the deadlines start afresh.
class TSteadyTick final : public TFrameTick
{
public:
    // The panel's frame period: 50 frames a second.
    static constexpr std::chrono::milliseconds FramePeriod{20};

    explicit TSteadyTick(std::chrono::nanoseconds period = FramePeriod);
    void Start() override;
    void WaitTick() override;

private:
    std::chrono::nanoseconds Period;
    std::chrono::steady_clock::time_point Deadline;
};

} // namespace zor
