// The player behind the live preview: runs a program on the display engine on a thread of its
// own, 50 frames a second, and lets the operator pause, step, restart and jump to any frame.
//
// Plain C++, no GUI. Every run starts on a fresh engine, so frame n of the player is frame n of
// any fresh run of the same program with the same clock (the Simulation window's first run, the
// command-line tool, an exported animation). A jump re-runs the program from its start to the
// wanted frame without pacing; the engine is fast enough for that to take no visible time.
#pragma once

#include "sim/engine/Engine.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace zor {

class TFramePlayer
{
public:
    // Called on the player's thread with the number of the frame now shown (0 is the first
    // frame of a run) and its picture, only when the picture differs from the one shown before;
    // and with -1 and a blank picture on the caller's thread when SetProgram takes the program
    // away. The frame is valid during the call.
    using TFrameCallback = std::function<void(std::int64_t frame, const TPanelPicture &picture)>;

    // tick paces the frames (null: a 20 ms steady tick of the player's own); its Start and Cancel
    // are called with the player's lock held, so it must never call back into the player. clock
    // is what the time effects read (null: the system clock). The player does not own them; both
    // outlive it. With raisePriority, the player's thread runs at raised priority while a run
    // goes on (where the system grants it: TRaisedThreadPriority), for a window that wants its
    // frames on time, and at the priority it had before between runs.
    explicit TFramePlayer(TFrameTick *tick = nullptr, TClock *clock = nullptr,
                          bool raisePriority = false);
    ~TFramePlayer();
    TFramePlayer(const TFramePlayer &) = delete;
    TFramePlayer &operator=(const TFramePlayer &) = delete;

    // Set before the first program.
    void SetFrameCallback(TFrameCallback callback);

    // The program to show. A program other than the current one starts from its first frame
    // (keeping play or pause); the same program goes on undisturbed. An empty program stops the
    // run and blanks the picture. Returns whether a new run was started.
    bool SetProgram(const std::string &program);
    const std::string &Program() const { return CurrentProgram; }

    void Play();
    void Pause();
    bool Playing() const;

    // Hidden or minimised: no frames are made until it is shown again; play or pause is kept.
    void Suspend(bool suspended);

    // The program again from its first frame, keeping play or pause.
    void Restart();
    // One frame forward; playing stops.
    void Step();
    // Shows frame n (0 is the first) by running the program from its start, keeping play or
    // pause. A frame beyond the end of a program that ends leaves its last frame.
    void Seek(std::uint64_t frame);

    // Number of the frame shown, -1 before the first frame of a run.
    std::int64_t ShownFrame() const;
    // The picture shown (all black before the first frame).
    TPanelPicture Picture() const;
    // Whether a run is going or about to start: false once the program has ended with a ')'
    // (until Play, Restart or a jump), and while there is no program.
    bool RunGoing() const;
    // Runs started so far (each program change, restart and jump starts one).
    std::uint64_t Runs() const;

    // Waits until frame n of the current run is shown, up to the timeout (for tests and tools).
    bool WaitForFrame(std::int64_t frame,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Waits until the run goes no further without Play, a step or being shown again (paused or
    // suspended, with the frame that was waiting for its tick shown), up to the timeout.
    bool WaitUntilHeld(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Waits until no run goes on (RunGoing() is false), up to the timeout.
    bool WaitUntilIdle(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    class TGate;
    friend class TGate;

    void Loop(std::stop_token stop);
    void StartRun(std::uint64_t target); // with Lock held

    TFrameTick *Tick;
    TClock *Clock;
    bool RaisePriority;
    std::unique_ptr<TSteadyTick> OwnTick;
    TFrameCallback OnFrame;

    mutable std::mutex Lock;
    mutable std::condition_variable_any Changed;
    std::string CurrentProgram;
    bool RunWanted = false;
    bool Abort = false; // the current run is being given up
    bool IsPlaying = true;
    bool Suspended = false;
    bool Held = false;          // the run waits for play, a step or to be shown
    bool FreshDeadlines = true; // the tick starts afresh before the next paced frame
    std::uint64_t StepsWanted = 0;
    std::uint64_t Target = 0;    // frame the next run shows without waiting
    std::uint64_t RunTarget = 0; // the same for the run going on
    std::uint64_t RunsStarted = 0;
    std::uint64_t RunNumber = 0; // of the run going on
    std::int64_t Shown = -1;
    TPanelPicture ShownPicture;
    TDisplayEngine *Running = nullptr;
    std::jthread Worker;
};

} // namespace zor
