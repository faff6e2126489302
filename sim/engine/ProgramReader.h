// Reading a display program: the command part, one command at a time, told to a receiver.
//
// The reader keeps only what reading needs (the read position, the number just read and its
// leading digit, the repeat stack, whether commands are performed yet); what the commands mean
// for the panel (colours, fonts, dots, frames) is the receiver's. The display engine's renderer
// is one receiver; tests record the events.
#pragma once

#include "sim/engine/TextDrawer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zor {

// A text segment as the program holds it: the bytes between two 0x1F (none past the program's
// end), or a line the reader makes itself.
using TSegmentText = std::span<const std::uint8_t>;

// What a program asks of the panel, in reading order. A receiver may end the reading from any
// event by throwing; the reader holds nothing that needs releasing.
class TDisplayEvents
{
public:
    virtual ~TDisplayEvents() = default;

    // Before each command is read: the receiver's chance to produce a frame when commands have
    // come for long without one.
    virtual void NextCommand() {}
    // Wn: the panel stays as it is for frames frames (5 to 12800).
    virtual void Pause(int frames) = 0;
    // FnTm, and Tm as transition 0: transition number (0 to 14) brings text onto the panel.
    virtual void Transition(int number, TSegmentText text) = 0;
    // En: effect number (0 to 13).
    virtual void Effect(int number) = 0;
    // S0 and S1: text drawn from now on blinks, or not.
    virtual void Blinking(bool on) = 0;
    // S2, S3 and S4: the font of text drawn from now on.
    virtual void Font(TFontStyle font) = 0;
    // In and Pn: colour numbers 0 to 3 of the text's dots and of the dots around them.
    virtual void Foreground(int colour) = 0;
    virtual void Background(int colour) = 0;
    // The end of the command part: reading starts again at the program's first byte.
    virtual void Restart() = 0;
    // A thirteenth nested repeat: the panel halts where it is. Reading ends if this returns.
    virtual void Halt() = 0;
};

class TProgramReader
{
public:
    // Repeats nested deeper than this halt the panel.
    static constexpr int MaxRepeats = 12;

    // The receiver outlives the reader.
    explicit TProgramReader(TDisplayEvents &events) : Events(events) {}

    // Reads the program from its beginning. The program ends at its first zero byte or at the
    // end of the span, whichever comes first, and nothing beyond that is read; the caller keeps
    // it alive for the call. Commands before startOffset are read but not performed (style,
    // colours and repeats still are). Returns when a ')' with no repeat open ends the program or
    // when Halt returns; the command part otherwise starts again at its end, for ever.
    void Read(std::span<const std::uint8_t> program, std::size_t startOffset = 0);

    // Whether the last reading met more nested repeats than MaxRepeats.
    bool Halted() const { return IsHalted; }

private:
    struct TRepeat
    {
        std::uint8_t Count = 0;
        std::size_t Restart = 0;
    };
    enum class TStep { Next, CloseBracket };

    std::uint8_t ReadCommandChar();
    std::uint8_t ReadNumber();
    TStep ExecuteCommand();
    TStep Repeat(std::uint8_t count);
    TSegmentText FindSegment(std::uint8_t m) const;
    bool SegmentAllowed(std::uint8_t m) const
    {
        return LeadingDigit != 0 || m == 0 || m == 5 || m == 6;
    }

    TDisplayEvents &Events;

    const std::uint8_t *Program = nullptr;
    std::size_t Size = 0;
    std::size_t StartPosition = 0;
    std::size_t Position = 0;
    bool Active = false;

    std::uint8_t CommandNumber = 0;
    std::uint8_t SegmentNumber = 0;
    std::uint8_t LeadingDigit = 0;
    std::array<TRepeat, MaxRepeats> RepeatStack{};
    int RepeatDepth = 0;
    bool IsHalted = false;
};

} // namespace zor
