// The display engine: reads a display program and produces the panel's frames.
//
// The program reader (ProgramReader.h) tells what the program asks for as events; the renderer
// (Renderer.h) draws them on the frame store and produces the frames. The engine joins the two
// for a run. Plain C++, no GUI. One TDisplayEngine is driven by one thread at a time (the
// windows run it on a thread of their own); only RequestStop() may be called from another
// thread while a run lasts.
#pragma once

#include "sim/engine/ProgramReader.h"
#include "sim/engine/Renderer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zor {

struct TRunResult
{
    TRunEnd End = TRunEnd::ProgramEnd;
    std::uint64_t Frames = 0; // frames produced by this run
};

class TDisplayEngine
{
public:
    // Style flag bits.
    static constexpr std::uint8_t StyleBlink = TPanelRenderer::StyleBlink;
    static constexpr std::uint8_t StyleBold = TPanelRenderer::StyleBold;
    static constexpr std::uint8_t StyleWide = TPanelRenderer::StyleWide;
    static constexpr std::uint8_t StyleFullSpeed = TPanelRenderer::StyleFullSpeed;

    static constexpr std::uint32_t DefaultFramelessCommandLimit =
        TPanelRenderer::DefaultFramelessCommandLimit;

    // Collaborators; the engine does not own them, and each may be null (no pacing, no output,
    // the system clock). Set them only while no run is going on.
    void SetFrameTick(TFrameTick *tick) { Renderer.SetFrameTick(tick); }
    void SetFrameSink(TFrameSink *sink) { Renderer.SetFrameSink(sink); }
    void SetClock(TClock *clock) { Renderer.SetClock(clock); }
    // Commands in a row without a frame before the engine produces one; at least 1.
    void SetFramelessCommandLimit(std::uint32_t limit) { Renderer.SetFramelessCommandLimit(limit); }

    // One run of the program from its beginning. The program is the display program text: it
    // ends at its first zero byte or at the end of the span, whichever comes first, and the
    // engine reads nothing beyond that; the caller keeps it alive for the call. Commands before
    // startOffset are read but not performed. frameLimit 0 means no limit. A run clears any
    // earlier stop request when it starts, then goes on until a stop, the limit or the program's
    // end; it never returns without producing a frame unless the program ends.
    TRunResult RunDisplayEngine(std::span<const std::uint8_t> program, std::size_t startOffset = 0,
                                std::uint64_t frameLimit = 0);
    TRunResult RunDisplayEngine(std::string_view program, std::size_t startOffset = 0,
                                std::uint64_t frameLimit = 0);

    // Ends the current run at its next frame. Safe from any thread.
    void RequestStop() noexcept { Renderer.RequestStop(); }

    // The last frame produced (all black before the first frame of a run).
    const TPanelPicture &LastFrame() const { return Renderer.LastFrame(); }
    const TFrameStore &Store() const { return Renderer.Store(); }

    // State kept across runs and drawing state, for the window and for tests.
    std::uint8_t CirclePhase() const { return Renderer.CirclePhase(); }
    std::uint8_t StyleFlags() const { return Renderer.StyleFlags(); }
    int ForegroundColour() const { return Renderer.ForegroundColour(); }
    int BackgroundColour() const { return Renderer.BackgroundColour(); }
    int ShownPage() const { return Renderer.ShownPage(); } // byte offset (Page1 ...)
    bool Halted() const { return Reader.Halted(); }
    // Frames of the run's first pass through the command part: the count when the end of the
    // command part first sent the reader back to the start; 0 while that has not happened.
    std::uint64_t FirstPassFrames() const { return Renderer.FirstPassFrames(); }

private:
    TPanelRenderer Renderer;
    TProgramReader Reader{Renderer};
};

} // namespace zor
