// Helpers shared by the display engine tests.
#pragma once

#include "sim/engine/Engine.h"
#include "sim/engine/PanelFont.h"
#include "sim/engine/ProgramReader.h"

#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zor::test {

// A display program: the command part, then each segment followed by 0x1F, then the final 0x1F.
inline std::string Program(std::string_view commands,
                           std::initializer_list<std::string_view> segments = {})
{
    std::string p(commands);
    p += '\x1F';
    for (auto s : segments) {
        p += s;
        p += '\x1F';
    }
    p += '\x1F';
    return p;
}

// A tick that lets frames through only when the test releases them, so a test on another thread
// knows exactly how many frames a run has made.
class TManualTick final : public TFrameTick
{
public:
    void Start() override
    {
        std::lock_guard lock(M);
        Cancelled = false;
    }
    void WaitTick() override
    {
        std::unique_lock lock(M);
        C.wait(lock, [&] { return Permits > 0 || Cancelled; });
        if (!Cancelled)
            --Permits;
    }
    void Cancel() override
    {
        std::lock_guard lock(M);
        Cancelled = true;
        C.notify_all();
    }
    void Release(int n)
    {
        std::lock_guard lock(M);
        Permits += n;
        C.notify_all();
    }

private:
    std::mutex M;
    std::condition_variable C;
    int Permits = 0;
    bool Cancelled = false;
};

struct TRecorder final : TFrameSink
{
    std::vector<TPanelPicture> Frames;
    void PresentFrame(const TPanelPicture &frame) override { Frames.push_back(frame); }
};

// Whether the normal font lights dot x, y when text is drawn from column 0.
inline bool TextDot(std::string_view text, int x, int y)
{
    const std::size_t cell = static_cast<std::size_t>(x / 6);
    if (cell >= text.size() || cell >= 20)
        return false;
    const TGlyph &g = PanelFont[static_cast<unsigned char>(text[cell])];
    return (g[static_cast<std::size_t>(9 - y)] >> (7 - x % 6)) & 1;
}

template <class TPicture> inline int CountDots(const TPicture &b, int colour)
{
    int n = 0;
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            n += b.Dot(x, y) == colour;
    return n;
}

// The dots 0 to 29 of pages 1 and 2 of every row: what the shown pair holds.
inline std::vector<std::uint8_t> ShownPair(const TFrameStore &s)
{
    std::vector<std::uint8_t> out;
    for (const auto &row : s.Rows) {
        out.insert(out.end(), row.begin(), row.begin() + 30);
        out.insert(out.end(), row.begin() + 64, row.begin() + 94);
    }
    return out;
}

// The events a program's reading tells, one string each ("pause 100", "F1 Hi", "E3",
// "blink on", "font bold", "ink 2", "paper 1", "restart", "halt"), up to the given number of
// restarts (the command part otherwise starts again for ever).
class TEventRecorder final : public TDisplayEvents
{
public:
    explicit TEventRecorder(int restarts = 1) : Restarts(restarts) {}

    std::vector<std::string> Events;

    void Pause(int frames) override { Events.push_back("pause " + std::to_string(frames)); }
    void Transition(int number, TSegmentText text) override
    {
        Events.push_back("F" + std::to_string(number) + " " +
                         std::string(text.begin(), text.end()));
    }
    void Effect(int number) override { Events.push_back("E" + std::to_string(number)); }
    void Blinking(bool on) override { Events.push_back(on ? "blink on" : "blink off"); }
    void Font(TFontStyle font) override
    {
        Events.push_back(font == TFontStyle::Bold   ? "font bold"
                         : font == TFontStyle::Wide ? "font wide"
                                                    : "font normal");
    }
    void Foreground(int colour) override { Events.push_back("ink " + std::to_string(colour)); }
    void Background(int colour) override { Events.push_back("paper " + std::to_string(colour)); }
    void Restart() override
    {
        Events.push_back("restart");
        if (--Restarts == 0)
            throw TEnough{};
    }
    void Halt() override { Events.push_back("halt"); }

private:
    struct TEnough
    {
    };
    int Restarts;

    friend std::vector<std::string> EventsOf(std::string_view, std::size_t, int);
};

// What reading the program tells, from the given start offset, until its ')' or the given
// number of restarts.
inline std::vector<std::string> EventsOf(std::string_view program, std::size_t startOffset = 0,
                                         int restarts = 1)
{
    TEventRecorder recorder(restarts);
    TProgramReader reader(recorder);
    try {
        reader.Read(
            std::span(reinterpret_cast<const std::uint8_t *>(program.data()), program.size()),
            startOffset);
    } catch (const TEventRecorder::TEnough &) {
    }
    return recorder.Events;
}

// Frames of one pass of a program that ends with ')'.
inline std::uint64_t FramesOf(std::string_view commands,
                              std::initializer_list<std::string_view> segments = {})
{
    TDisplayEngine engine;
    const auto result = engine.RunDisplayEngine(Program(commands, segments), 0, 1000000);
    return result.End == TRunEnd::ProgramEnd ? result.Frames : ~0ull;
}

} // namespace zor::test
