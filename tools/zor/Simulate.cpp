// zor simulate: runs a display program on a fresh engine without a screen.
#include "base/Platform.h"
#include "commands/Translate.h"
#include "sim/engine/Engine.h"
#include "sim/engine/GifExport.h"
#include "tools/zor/Output.h"
#include "tools/zor/ProgramInput.h"
#include "tools/zor/Subcommand.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor::tool {
namespace {

// Half an hour of display: longer runs are mistakes.
constexpr std::uint64_t MaxFrames = 90000;

struct TSimulateArgs
{
    std::string Document;
    std::string ProgramFile;
    std::uint64_t Frames = 500;
    std::string ClockText;
    std::optional<TLocalDateTime> Clock;
    bool Dots = false;
    bool Realtime = false;
    std::string Gif;
    int Scale = 2;
};

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

// Prints each frame as 10 lines of 120 colour digits and an empty line.
class TDotPrinter final : public TFrameSink
{
public:
    // Paced output goes out frame by frame, so that a reader sees each at its tick.
    explicit TDotPrinter(bool flushEachFrame) : Flush(flushEachFrame) {}

    void PresentFrame(const TPanelPicture &frame) override
    {
        Text.clear();
        for (int y = 0; y < PanelRows; ++y) {
            for (int x = 0; x < PanelColumns; ++x)
                Text += static_cast<char>('0' + frame.Dot(x, y));
            Text += '\n';
        }
        Text += '\n';
        PrintText(stdout, Text);
        if (Flush)
            std::fflush(stdout);
    }

private:
    bool Flush;
    std::string Text;
};

int RunSimulate(const TSimulateArgs &a)
{
    if (a.Document.empty() == a.ProgramFile.empty())
        return Fail("simulate", "give either a document or --program FILE", UsageStatus);
    if (!a.Gif.empty() && !HasGifExport())
        return Fail("simulate", "this build has no GIF export", 1);
    if (!a.Gif.empty() && a.Frames > MaxAnimationFrames)
        return Fail("simulate", std::string(AnimationTooLong) + "; ask for fewer with --frames",
                    UsageStatus);

    std::string program;
    if (!a.Document.empty()) {
        // The same program text as zor translate and the editor's Simulation command.
        if (const int status = TranslateDocumentFile("simulate", a.Document, &program))
            return status;
        if (!CanRun(program)) {
            // The editor does not simulate a program without commands either.
            Print(stderr, "zor simulate: %s has no commands: nothing to simulate\n",
                  a.Document.c_str());
            return 0;
        }
    } else if (const int status = ReadProgramFile("simulate", a.ProgramFile, &program)) {
        return status;
    }

    TDisplayEngine engine;
    std::optional<TFixedClock> fixed;
    if (a.Clock) {
        fixed.emplace(*a.Clock);
        engine.SetClock(&*fixed);
    }
    TDotPrinter printer(a.Realtime);
    TSteadyTick tick;
    if (a.Realtime)
        engine.SetFrameTick(&tick);

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    TRunResult result;
    if (!a.Gif.empty()) {
        // The same export as the editor's Export animation command.
        TAnimationExport gif;
        gif.Frames = a.Frames;
        gif.Scale = a.Scale;
        gif.Clock = fixed ? &*fixed : nullptr;
        gif.Tick = a.Realtime ? &tick : nullptr;
        gif.AlsoTo = a.Dots ? &printer : nullptr;
        const TAnimationResult written = ExportAnimation(program, a.Gif, gif);
        std::fflush(stdout);
        if (!written.Ok)
            return Fail("simulate", "cannot write " + a.Gif + ": " + written.Error, 1);
        result = written.Run;
    } else {
        if (a.Dots)
            engine.SetFrameSink(&printer);
        result = engine.RunDisplayEngine(program, 0, a.Frames);
    }
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::fflush(stdout);

    if (!a.Dots) {
        Print(stdout, "%llu frames, %s\n", static_cast<unsigned long long>(result.Frames),
              result.End == TRunEnd::ProgramEnd ? "program ended" : "frame limit reached");
    }
    if (a.Realtime) {
        Print(stderr,
              "zor simulate: %llu frames in %.3f s (%.3f s at 50 frames per second), "
              "CPU %.3f s (%.2f%% of one core)\n",
              static_cast<unsigned long long>(result.Frames), wall,
              static_cast<double>(result.Frames) / 50.0, cpu, wall > 0 ? 100.0 * cpu / wall : 0.0);
    }
    return 0;
}

const TSubcommand SimulateRegistration(
    "simulate", "Run a document (or a program) on the panel's display engine, without a screen",
    [](CLI::App &app) -> TSubcommand::Run {
        auto a = std::make_shared<TSimulateArgs>();
        auto *document = app.add_option("document", a->Document, "The document (RTF or plain text)")
                             ->type_name("DOC.zor");
        app.add_option("--program", a->ProgramFile, "Run this program text as it is")
            ->type_name("FILE")
            ->excludes(document);
        app.add_option("--frames", a->Frames, "Stop after N frames (50 a second; default 500)")
            ->type_name("N")
            ->transform(Decimal("needs a whole number of frames from 1 to 90000"))
            ->check(CLI::Validator(
                [](std::string &text) {
                    std::uint64_t n = 0;
                    const auto [end, ec] =
                        std::from_chars(text.data(), text.data() + text.size(), n);
                    return ec == std::errc() && end == text.data() + text.size() && n >= 1 &&
                                   n <= MaxFrames
                               ? std::string()
                               : "needs a whole number of frames from 1 to 90000";
                },
                "", "frames"));
        app.add_option("--clock", a->ClockText, "Fixed local time for the time and date effects")
            ->type_name("TIME")
            ->check(CLI::Validator(
                [](std::string &text) {
                    return ParseClock(text) ? std::string()
                                            : "needs a local time as YYYY-MM-DDTHH:MM:SS";
                },
                "", "clock"));
        app.add_flag("--dots", a->Dots, "Print each frame as 10 lines of 120 colour digits");
        app.add_flag("--realtime", a->Realtime, "Pace the frames at 50 a second");
        app.add_option("--gif", a->Gif, "Write the run as an animated GIF")->type_name("FILE");
        app.add_option("--scale", a->Scale, "Pixels per dot of the GIF (1 to 8, default 2)")
            ->type_name("S")
            ->transform(Decimal())
            ->check(CLI::Range(1, int(TGifRecorder::MaxScale)));
        return [a] {
            if (!a->ClockText.empty())
                a->Clock = ParseClock(a->ClockText);
            return RunSimulate(*a);
        };
    });

} // namespace
} // namespace zor::tool
