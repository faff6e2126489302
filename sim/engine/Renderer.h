// The renderer: what a display program's events do to the panel. It draws text, transitions
// and effects on the frame store and produces the frames, each handed to a sink as the panel
// shows it.
//
// Plain C++, no GUI. Driven by one thread at a time; only RequestStop() may be called from
// another thread while a run lasts.
#pragma once

#include "base/Clock.h"
#include "sim/engine/FrameStore.h"
#include "sim/engine/FrameTick.h"
#include "sim/engine/ProgramReader.h"
#include "sim/engine/TextDrawer.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zor {

// Receives every finished frame on the engine's thread, as the panel shows it: a colour number
// per dot, to be drawn in PanelPalette. The picture belongs to the engine and is valid only
// during the call: copy what must outlive it. RequestStop() may be called from here. An
// exception thrown here leaves RunDisplayEngine unhandled; the engine stays usable.
class TFrameSink
{
public:
    virtual ~TFrameSink() = default;
    virtual void PresentFrame(const TPanelPicture &frame) = 0;
};

enum class TRunEnd {
    Stopped,    // RequestStop() was called; the last frame stays in LastFrame()
    FrameLimit, // the frame limit given to the run was reached
    ProgramEnd, // a ')' with no repeat open ended the program
};

class TPanelRenderer final : public TDisplayEvents
{
public:
    // Style flag bits.
    static constexpr std::uint8_t StyleBlink = 0x01;
    static constexpr std::uint8_t StyleBold = 0x02;
    static constexpr std::uint8_t StyleWide = 0x04;
    static constexpr std::uint8_t StyleFullSpeed = 0x80;

    // After this many commands in a row without a frame the renderer produces one, so that no
    // program (deeply nested repeats of frameless commands) keeps it from ever checking the stop.
    static constexpr std::uint32_t DefaultFramelessCommandLimit = 65536;

    // Thrown by the frame output to unwind a run from wherever it is, when a stop was asked for
    // or the frame limit reached; whoever runs the reader catches it.
    struct TEndRun
    {
        TRunEnd End;
    };

    TPanelRenderer();

    // Collaborators, as TDisplayEngine takes them.
    void SetFrameTick(TFrameTick *tick) { Tick = tick; }
    void SetFrameSink(TFrameSink *sink) { Sink = sink; }
    void SetClock(TClock *clock) { Clock = clock; }
    void SetFramelessCommandLimit(std::uint32_t limit) { FramelessLimit = limit ? limit : 1; }

    // A run begins: every dot black, yellow on black, no style, page 1 shown, no frame yet, any
    // earlier stop request forgotten. The blink countdown and the circulating frame's phase go
    // on from the run before. frameLimit 0 means no limit.
    void BeginRun(std::uint64_t frameLimit);
    // Ends the current run at its next frame. Safe from any thread.
    void RequestStop() noexcept { StopRequested.store(true, std::memory_order_relaxed); }

    std::uint64_t Frames() const { return FrameCount; }
    const TPanelPicture &LastFrame() const { return Frame; }
    const TFrameStore &Store() const { return Dots; }
    std::uint8_t CirclePhase() const { return Phase; }
    std::uint8_t StyleFlags() const { return Style; }
    int ForegroundColour() const { return ForeColour; }
    int BackgroundColour() const { return BackColour; }
    int ShownPage() const { return ShownOffset; }
    std::uint64_t FirstPassFrames() const { return FirstPass; }

    // The program's events.
    void NextCommand() override;
    void Pause(int frames) override { ShowFrames(frames); }
    void Transition(int number, TSegmentText text) override;
    void Effect(int number) override;
    void Blinking(bool on) override;
    void Font(TFontStyle font) override;
    void Foreground(int colour) override { ForeColour = colour; }
    void Background(int colour) override { BackColour = colour; }
    void Restart() override;
    [[noreturn]] void Halt() override;

private:
    using TText = TSegmentText;

    // Frame output.
    void ShowFrame();
    void ShowFrames(int count);

    // Text rendering.
    TText FillLine(std::uint8_t code);
    TFontStyle FontStyle() const;
    void RenderGlyphRow(int y);
    void RenderTextLine(TText text, int page);
    void RenderTextLineSinglePage(TText text, int page);

    // Dot helpers.
    void FillPages(int firstByte, int count, int pageMask);
    void ResetIncoming();
    void SetForeground(int row, int x); // pages 1 and 2

    // Transitions and effects.
    void MoveInFromRight(TText text, bool fullSpeed);
    void MoveInFromLeft(TText text);
    void FeedColumn(std::uint8_t bit);
    void ScrollStep(bool left);
    void MoveRows(TText text, bool fromTop);
    void MatchedLines();
    void Snow();
    void Uncover(int x, int y);
    void FromSides();
    void CentreWipe();
    void FallingDots();
    void PageFlipping(const std::array<std::uint8_t, 3> &codes, int pattern, int frames,
                      int cycles);
    void BlinkMotive();
    void ClearAll();
    void CirculatingFrame();
    void Inversion();
    void ShowClock(bool withDate);

    // Drawing state.
    int ForeColour = 3;
    int BackColour = 0;
    std::uint8_t Style = 0;
    std::array<std::uint8_t, TTextDrawer::MaxGlyphs + 1> LineText{};
    std::array<std::uint8_t, 32> LineBuffer{};
    TTextDrawer Text{PanelFont};
    TGlyph GlyphBuffer{};

    // Frame output.
    TFrameStore Dots;
    TPanelPicture Frame;
    int ShownOffset = TFrameStore::Page1;
    int OtherOffset = TFrameStore::Page2;
    std::uint8_t BlinkCount = 25; // frames to the next page exchange (BlinkFrames a turn)
    std::uint8_t Phase = 0;
    std::uint64_t FrameCount = 0;
    std::uint64_t FrameLimit = 0;
    std::uint64_t FramesAtRestart = 0;
    std::uint64_t FirstPass = 0;
    std::uint32_t CommandsSinceFrame = 0;
    std::uint32_t FramelessLimit = DefaultFramelessCommandLimit;
    std::atomic<bool> StopRequested{false};

    TFrameTick *Tick = nullptr;
    TFrameSink *Sink = nullptr;
    TClock *Clock = nullptr;
    TSystemClock SystemClock;
};

} // namespace zor
