#include "sim/engine/Player.h"

#include "base/Platform.h"

#include <optional>

namespace zor {

// Paces one run and hands its frames on: frames before the run's target go by unpaced and
// unseen, later ones wait for play, a step or the tick.
class TFramePlayer::TGate final : public TFrameTick, public TFrameSink
{
public:
    explicit TGate(TFramePlayer &player) : Player(player) {}

    void WaitTick() override
    {
        std::unique_lock lock(Player.Lock);
        if (Player.Abort || Next <= Player.RunTarget)
            return;
        const auto mayGo = [&] {
            return Player.Abort || Player.StepsWanted > 0 ||
                   (Player.IsPlaying && !Player.Suspended);
        };
        if (!mayGo()) {
            Player.Held = true;
            Player.Changed.notify_all();
            Player.Changed.wait(lock, mayGo);
            Player.Held = false;
        }
        if (Player.Abort)
            return;
        if (Player.StepsWanted > 0) {
            --Player.StepsWanted;
            return;
        }
        if (Player.FreshDeadlines) {
            Player.FreshDeadlines = false;
            Player.Tick->Start();
        }
        lock.unlock();
        Player.Tick->WaitTick();
    }

    void PresentFrame(const TPanelPicture &frame) override
    {
        const std::uint64_t n = Next++;
        bool changed = false;
        {
            std::lock_guard lock(Player.Lock);
            if (Player.Abort || n < Player.RunTarget)
                return;
            changed = Player.Shown < 0 || frame != Player.ShownPicture;
            if (changed)
                Player.ShownPicture = frame;
            Player.Shown = static_cast<std::int64_t>(n);
        }
        Player.Changed.notify_all();
        // Most frames repeat the one before (pauses, a standing text): nothing to draw then.
        if (changed && Player.OnFrame)
            Player.OnFrame(static_cast<std::int64_t>(n), frame);
    }

private:
    TFramePlayer &Player;
    std::uint64_t Next = 0;
};

TFramePlayer::TFramePlayer(TFrameTick *tick, TClock *clock, bool raisePriority)
    : Tick(tick), Clock(clock), RaisePriority(raisePriority)
{
    if (!Tick) {
        OwnTick = std::make_unique<TSteadyTick>();
        Tick = OwnTick.get();
    }
    Worker = std::jthread([this](std::stop_token stop) { Loop(stop); });
}

TFramePlayer::~TFramePlayer()
{
    {
        std::lock_guard lock(Lock);
        Abort = true;
        if (Running)
            Running->RequestStop();
        Tick->Cancel();
    }
    Changed.notify_all();
    // Wakes the thread where it waits for the next run.
    Worker.request_stop();
    Worker.join();
}

void TFramePlayer::SetFrameCallback(TFrameCallback callback)
{
    std::lock_guard lock(Lock);
    OnFrame = std::move(callback);
}

void TFramePlayer::StartRun(std::uint64_t target)
{
    Target = target;
    RunWanted = true;
    Abort = true;
    if (Running)
        Running->RequestStop();
    // Under the lock, so that the cancel reaches the run given up and never the next one.
    Tick->Cancel();
    ++RunsStarted;
    Shown = -1;
}

bool TFramePlayer::SetProgram(const std::string &program)
{
    bool blank = false;
    {
        std::lock_guard lock(Lock);
        if (program == CurrentProgram)
            return false;
        CurrentProgram = program;
        if (program.empty()) {
            RunWanted = false;
            Abort = true;
            if (Running)
                Running->RequestStop();
            Tick->Cancel();
            Shown = -1;
            ShownPicture = TPanelPicture{};
            blank = true;
        } else {
            StartRun(0);
        }
    }
    Changed.notify_all();
    if (blank && OnFrame)
        OnFrame(-1, TPanelPicture{});
    return !blank;
}

void TFramePlayer::Play()
{
    {
        std::lock_guard lock(Lock);
        if (IsPlaying)
            return;
        IsPlaying = true;
        FreshDeadlines = true;
        // A program that has ended plays again from its start.
        if (!Running && !RunWanted && !CurrentProgram.empty())
            StartRun(0);
    }
    Changed.notify_all();
}

void TFramePlayer::Pause()
{
    std::lock_guard lock(Lock);
    IsPlaying = false;
}

bool TFramePlayer::Playing() const
{
    std::lock_guard lock(Lock);
    return IsPlaying;
}

void TFramePlayer::Suspend(bool suspended)
{
    {
        std::lock_guard lock(Lock);
        if (Suspended == suspended)
            return;
        Suspended = suspended;
        FreshDeadlines = true;
    }
    Changed.notify_all();
}

void TFramePlayer::Restart()
{
    Seek(0);
}

void TFramePlayer::Step()
{
    {
        std::lock_guard lock(Lock);
        IsPlaying = false;
        ++StepsWanted;
    }
    Changed.notify_all();
}

void TFramePlayer::Seek(std::uint64_t frame)
{
    {
        std::lock_guard lock(Lock);
        if (CurrentProgram.empty())
            return;
        StartRun(frame);
    }
    Changed.notify_all();
}

std::int64_t TFramePlayer::ShownFrame() const
{
    std::lock_guard lock(Lock);
    return Shown;
}

TPanelPicture TFramePlayer::Picture() const
{
    std::lock_guard lock(Lock);
    return ShownPicture;
}

bool TFramePlayer::RunGoing() const
{
    std::lock_guard lock(Lock);
    return RunWanted || Running != nullptr;
}

std::uint64_t TFramePlayer::Runs() const
{
    std::lock_guard lock(Lock);
    return RunsStarted;
}

bool TFramePlayer::WaitForFrame(std::int64_t frame, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(Lock);
    return Changed.wait_for(lock, timeout, [&] { return !RunWanted && Shown >= frame; });
}

bool TFramePlayer::WaitUntilIdle(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(Lock);
    return Changed.wait_for(lock, timeout, [&] { return !RunWanted && !Running; });
}

bool TFramePlayer::WaitUntilHeld(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(Lock);
    return Changed.wait_for(lock, timeout, [&] { return Held; });
}

void TFramePlayer::Loop(std::stop_token stop)
{
    std::unique_lock lock(Lock);
    for (;;) {
        Changed.wait(lock, stop, [&] { return RunWanted; });
        if (stop.stop_requested())
            return;
        RunWanted = false;
        Abort = false;
        StepsWanted = 0;
        FreshDeadlines = true;
        RunTarget = Target;
        const std::string program = CurrentProgram;
        TDisplayEngine engine;
        engine.SetClock(Clock);
        TGate gate(*this);
        engine.SetFrameTick(&gate);
        engine.SetFrameSink(&gate);
        Running = &engine;
        lock.unlock();
        const TRunResult run = [&] {
            std::optional<TRaisedThreadPriority> priority;
            if (RaisePriority)
                priority.emplace();
            return engine.RunDisplayEngine(program);
        }();
        lock.lock();
        Running = nullptr;
        if (run.End == TRunEnd::ProgramEnd && !Abort && Shown < 0 && run.Frames > 0) {
            // The program ended before the frame jumped to: its last frame stays.
            Shown = static_cast<std::int64_t>(run.Frames - 1);
            ShownPicture = engine.LastFrame();
            if (OnFrame) {
                lock.unlock();
                OnFrame(static_cast<std::int64_t>(run.Frames - 1), engine.LastFrame());
                lock.lock();
            }
        }
        Changed.notify_all();
    }
}

} // namespace zor
