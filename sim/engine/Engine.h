// The display engine: interprets a display program text and produces the panel's frames.
//
// Plain C++, no GUI. One TDisplayEngine is driven by one thread at a time (the window runs it on
// a thread of its own); only RequestStop() may be called from another thread while a run lasts.
#pragma once

#include "base/Clock.h"
#include "sim/engine/FrameStore.h"
#include "sim/engine/TextDrawer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zor {

// The frame picture: 241 x 21 pixels, 4 bits per pixel, rows of 124 bytes, bottom row first.
// Dot (x, y) of the panel (y = 0 is the top row) is the low nibble of byte x of pixel row
// 1 + 2 * (9 - y); every other pixel stays 0 (black). A pixel is a colour number: 0 black,
// 1 green, 2 red, 3 yellow. The buffer has slack after the 21 rows (2604 bytes used).
inline constexpr int FrameBitmapWidth = 241;
inline constexpr int FrameBitmapHeight = 21;
inline constexpr int FrameBitmapStride = 124;
inline constexpr std::size_t FrameBitmapBytes = 2662;

struct TFrameBitmap
{
    std::array<std::uint8_t, FrameBitmapBytes> Bits{};

    // Colour number (0 to 3) of panel dot x (0 to 119), y (0 to 9); no range check.
    int Dot(int x, int y) const
    {
        return Bits[static_cast<std::size_t>((1 + 2 * (9 - y)) * FrameBitmapStride + x)] & 0x0F;
    }
};

// Writes the dots of a frame to their pixels of the frame picture; no other pixel is written.
void DrawFrameBitmap(const TPanelFrame &frame, TFrameBitmap &bitmap);

// Converts one page of the store into the frame picture: the dots of page (TFrameStore::Page1
// ... Page4) go to their pixels; no other pixel is written.
void ConvertPage(const TFrameStore &store, int page, TFrameBitmap &bitmap);

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
    explicit TSteadyTick(std::chrono::nanoseconds period = std::chrono::milliseconds(20));
    void Start() override;
    void WaitTick() override;

private:
    std::chrono::nanoseconds Period;
    std::chrono::steady_clock::time_point Deadline;
};

// Receives every finished frame on the engine's thread, as the panel shows it: a colour number
// per dot, to be drawn in PanelPalette. The frame belongs to the engine and is valid only during
// the call: copy what must outlive it. RequestStop() may be called from here. An exception
// thrown here leaves RunDisplayEngine unhandled; the engine stays usable.
class TFrameSink
{
public:
    virtual ~TFrameSink() = default;
    virtual void PresentFrame(const TPanelFrame &frame) = 0;
};

enum class TRunEnd {
    Stopped,    // RequestStop() was called; the last frame stays in Bitmap()
    FrameLimit, // the frame limit given to the run was reached
    ProgramEnd, // a ')' with no repeat open ended the program
};

struct TRunResult
{
    TRunEnd End = TRunEnd::ProgramEnd;
    std::uint64_t Frames = 0; // frames produced by this run
};

class TDisplayEngine
{
public:
    // Style flag bits.
    static constexpr std::uint8_t StyleBlink = 0x01;
    static constexpr std::uint8_t StyleBold = 0x02;
    static constexpr std::uint8_t StyleWide = 0x04;
    static constexpr std::uint8_t StyleFullSpeed = 0x80;

    // After this many commands in a row without a frame the engine produces one, so that no
    // program (deeply nested repeats of frameless commands) keeps it from ever checking the stop.
    static constexpr std::uint32_t DefaultFramelessCommandLimit = 65536;

    TDisplayEngine();

    // Collaborators; the engine does not own them, and each may be null (no pacing, no output,
    // the system clock). Set them only while no run is going on.
    void SetFrameTick(TFrameTick *tick) { Tick = tick; }
    void SetFrameSink(TFrameSink *sink) { Sink = sink; }
    void SetClock(TClock *clock) { Clock = clock; }
    // Commands in a row without a frame before the engine produces one; at least 1.
    void SetFramelessCommandLimit(std::uint32_t limit) { FramelessLimit = limit ? limit : 1; }

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
    void RequestStop() noexcept { StopRequested.store(true, std::memory_order_relaxed); }

    // The last frame produced (all black before the first frame of a run).
    const TPanelFrame &LastFrame() const { return Frame; }
    // The last frame as the frame picture, made anew by each call (the run itself has no use
    // for it): call it from the thread that runs the engine, between runs.
    const TFrameBitmap &Bitmap() const;
    const TFrameStore &Store() const { return Dots; }

    // State kept across runs and drawing state, for the window and for tests.
    std::uint8_t BlinkCountdown() const { return BlinkCount; }
    std::uint8_t CirclePhase() const { return Phase; }
    std::uint8_t StyleFlags() const { return Style; }
    int ForegroundColour() const { return Foreground; }
    int BackgroundColour() const { return Background; }
    int ShownPage() const { return ShownOffset; } // byte offset of the shown page (Page1 ...)
    bool Halted() const { return IsHalted; }
    // Frames of the run's first pass through the command part: the count when the end of the
    // command part first sent the interpreter back to the start; 0 while that has not happened.
    std::uint64_t FirstPassFrames() const { return FirstPass; }

private:
    struct TRepeat
    {
        std::uint8_t Count = 0;
        std::size_t Restart = 0;
    };
    enum class TStep { Next, CloseBracket };
    using TText = std::span<const std::uint8_t>;

    // Interpreter.
    std::uint8_t ReadCommandChar();
    std::uint8_t ReadNumber();
    TStep ExecuteCommand();
    TStep Repeat(std::uint8_t count);
    void Restart();
    TText FindSegment(std::uint8_t m);
    TText FillLine(std::uint8_t code);
    bool SegmentAllowed(std::uint8_t m) const
    {
        return LeadingDigit != 0 || m == 0 || m == 5 || m == 6;
    }

    // Frame output.
    void ShowFrame();
    void ShowFrames(int count);
    void ConvertShownPage();

    // Text rendering.
    TFontStyle FontStyle() const;
    void RenderGlyphRow(int y);
    void RenderTextLine(TText text, int page);
    void RenderTextLineSinglePage(TText text, int page);

    // Dot helpers.
    void FillPages(int firstByte, int count, int pageMask);
    void ResetIncoming();
    void SetForeground(int row, int x); // pages 1 and 2

    // Transitions and effects.
    void Transition(int number, std::uint8_t segment);
    void Effect(int number);
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

    // Program.
    const std::uint8_t *Program = nullptr;
    std::size_t Size = 0;
    std::size_t StartPosition = 0;
    std::size_t Position = 0;
    bool Active = false;

    // Interpreter state.
    std::uint8_t CommandNumber = 0;
    std::uint8_t SegmentNumber = 0;
    std::uint8_t LeadingDigit = 0;
    int Foreground = 3;
    int Background = 0;
    std::uint8_t Style = 0;
    std::array<TRepeat, 12> RepeatStack{};
    int RepeatDepth = 0;
    bool IsHalted = false;

    // Rendering state.
    std::array<std::uint8_t, 21> LineText{};
    std::array<std::uint8_t, 32> LineBuffer{};
    TTextDrawer Text{PanelFont};
    TGlyph GlyphBuffer{};

    // Frame output.
    TFrameStore Dots;
    TPanelFrame Frame;
    mutable TFrameBitmap FramePicture;
    int ShownOffset = TFrameStore::Page1;
    int OtherOffset = TFrameStore::Page2;
    std::uint8_t BlinkCount = 25;
    std::uint8_t Phase = 0;
    std::uint64_t Frames = 0;
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
