// zor simulate: runs a display program on a fresh engine without a screen.
#include "base/AtomicFile.h"
#include "comm/Results.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/Rtf.h"
#include "sim/engine/Engine.h"
#include "sim/engine/GifExport.h"
#include "tools/zor/Subcommand.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor::tool {
namespace {

constexpr const char *SimulateUsage =
    "simulate (DOC.zor | --program FILE) [--frames N] [--clock YYYY-MM-DDTHH:MM:SS] [--dots] "
    "[--realtime] [--gif FILE [--scale S]]";

// Half an hour of display: longer runs are mistakes, and a GIF keeps every distinct frame.
constexpr std::uint64_t MaxFrames = 90000;
// Five minutes: the GIF of a run that changes every frame stays near 20 MB of dots in memory.
constexpr std::uint64_t MaxGifFrames = 15000;

struct TSimulateArgs
{
    std::string Document;
    std::string ProgramFile;
    std::uint64_t Frames = 500;
    std::optional<TLocalDateTime> Clock;
    bool Dots = false;
    bool Realtime = false;
    std::string Gif;
    int Scale = 2;
};

int Fail(const std::string &message, int status)
{
    std::fprintf(stderr, "zor simulate: %s\n", message.c_str());
    if (status == 2)
        std::fprintf(stderr, "usage: zor %s\n", SimulateUsage);
    return status;
}

bool ParseCount(const std::string &text, std::uint64_t &out)
{
    if (text.empty() || text.size() > 12)
        return false;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    out = value;
    return value > 0;
}

std::optional<TLocalDateTime> ParseClock(const std::string &text)
{
    TLocalDateTime t;
    char tail = 0;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.Year, &t.Month, &t.Day, &t.Hour,
                    &t.Minute, &t.Second, &tail) != 6)
        return std::nullopt;
    if (t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > 31 || t.Hour > 23 || t.Minute > 59 ||
        t.Second > 59 || t.Hour < 0 || t.Minute < 0 || t.Second < 0 || t.Year < 0)
        return std::nullopt;
    return t;
}

// Hands each frame to both sinks that are set.
class TTee final : public TFrameSink
{
public:
    TTee(TFrameSink *first, TFrameSink *second) : First(first), Second(second) {}
    void PresentFrame(const TFrameBitmap &bitmap) override
    {
        if (First)
            First->PresentFrame(bitmap);
        if (Second)
            Second->PresentFrame(bitmap);
    }

private:
    TFrameSink *First;
    TFrameSink *Second;
};

// Prints each frame as 10 lines of 120 colour digits and an empty line.
class TDotPrinter final : public TFrameSink
{
public:
    // Paced output goes out frame by frame, so that a reader sees each at its tick.
    explicit TDotPrinter(bool flushEachFrame) : Flush(flushEachFrame) {}

    void PresentFrame(const TFrameBitmap &bitmap) override
    {
        Text.clear();
        for (int y = 0; y < PanelRows; ++y) {
            for (int x = 0; x < PanelColumns; ++x)
                Text += static_cast<char>('0' + bitmap.Dot(x, y));
            Text += '\n';
        }
        Text += '\n';
        std::fwrite(Text.data(), 1, Text.size(), stdout);
        if (Flush)
            std::fflush(stdout);
    }

private:
    bool Flush;
    std::string Text;
};

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

int RunSimulate(const std::vector<std::string> &args)
{
    TSimulateArgs a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--program") {
            if (!value(a.ProgramFile))
                return Fail("--program needs a file", 2);
        } else if (arg == "--frames") {
            if (!value(v) || !ParseCount(v, a.Frames) || a.Frames > MaxFrames)
                return Fail("--frames needs a whole number of frames from 1 to 90000", 2);
        } else if (arg == "--clock") {
            if (!value(v) || !(a.Clock = ParseClock(v)))
                return Fail("--clock needs a local time as YYYY-MM-DDTHH:MM:SS", 2);
        } else if (arg == "--gif") {
            if (!value(a.Gif))
                return Fail("--gif needs a file", 2);
        } else if (arg == "--scale") {
            std::uint64_t scale = 0;
            if (!value(v) || !ParseCount(v, scale) || scale > TGifRecorder::MaxScale)
                return Fail("--scale needs a whole number from 1 to 8", 2);
            a.Scale = static_cast<int>(scale);
        } else if (arg == "--dots") {
            a.Dots = true;
        } else if (arg == "--realtime") {
            a.Realtime = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg, 2);
        } else if (a.Document.empty()) {
            a.Document = arg;
        } else {
            return Fail("only one document can be simulated", 2);
        }
    }
    if (a.Document.empty() == a.ProgramFile.empty())
        return Fail("give either a document or --program FILE", 2);
    if (!a.Gif.empty() && a.Frames > MaxGifFrames)
        return Fail("a GIF holds at most 15000 frames (5 minutes); ask for fewer with --frames", 2);

    std::string program;
    if (!a.Document.empty()) {
        // The same program text as zor translate and the editor's Simulation command.
        std::string bytes;
        if (!ReadWholeFile(a.Document, &bytes))
            return Fail("cannot read " + a.Document, 1);
        rtf::ReadResult read = rtf::Read(bytes);
        const TTranslation t =
            TranslateDocument(read.Ok() ? std::move(read.Doc) : rtf::ReadPlainText(bytes));
        if (t.TooManySegments()) {
            std::string message(ResultMessage(ResultTooManySegments)->Text);
            for (char &c : message)
                if (c == '\r')
                    c = '\n';
            std::fprintf(stderr, "%s\n", message.c_str());
            return 8;
        }
        if (t.Program.empty() || t.Program[0] == '\x1F') {
            // The editor does not simulate a program without commands either.
            std::fprintf(stderr, "zor simulate: %s has no commands: nothing to simulate\n",
                         a.Document.c_str());
            return 0;
        }
        program = t.Program;
    } else if (!ReadWholeFile(a.ProgramFile, &program)) {
        return Fail("cannot read " + a.ProgramFile, 1);
    }

    TDisplayEngine engine;
    std::optional<TFixedClock> fixed;
    if (a.Clock) {
        fixed.emplace(*a.Clock);
        engine.SetClock(&*fixed);
    }
    TDotPrinter printer(a.Realtime);
    TGifRecorder recorder(a.Scale);
    TTee tee(a.Dots ? &printer : nullptr, a.Gif.empty() ? nullptr : &recorder);
    if (a.Dots || !a.Gif.empty())
        engine.SetFrameSink(&tee);
    TSteadyTick tick;
    if (a.Realtime)
        engine.SetFrameTick(&tick);

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    const TRunResult result = engine.RunDisplayEngine(program, 0, a.Frames);
    const double cpu = CpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::fflush(stdout);

    if (!a.Gif.empty()) {
        std::string error;
        if (!recorder.Write(a.Gif, &error))
            return Fail("cannot write " + a.Gif + ": " + error, 1);
    }
    if (!a.Dots) {
        std::printf("%llu frames, %s\n", static_cast<unsigned long long>(result.Frames),
                    result.End == TRunEnd::ProgramEnd ? "program ended" : "frame limit reached");
    }
    if (a.Realtime) {
        std::fprintf(stderr,
                     "zor simulate: %llu frames in %.3f s (%.3f s at 50 frames per second), "
                     "CPU %.3f s (%.2f%% of one core)\n",
                     static_cast<unsigned long long>(result.Frames), wall,
                     static_cast<double>(result.Frames) / 50.0, cpu,
                     wall > 0 ? 100.0 * cpu / wall : 0.0);
    }
    return 0;
}

const TSubcommand Simulate("simulate", SimulateUsage, RunSimulate);

} // namespace
} // namespace zor::tool
