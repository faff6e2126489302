// Headless display engine throughput, in frames per second of one core.
#include "sim/engine/Engine.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string Program(const std::string &commands, std::initializer_list<std::string> segments)
{
    std::string p = commands + '\x1F';
    for (const auto &s : segments)
        p += s + '\x1F';
    return p + '\x1F';
}

void RunFrames(benchmark::State &state, const std::string &program)
{
    zor::TDisplayEngine engine;
    zor::TFixedClock clock({2026, 12, 6, 9, 5, 3});
    engine.SetClock(&clock);
    constexpr std::uint64_t frames = 100000;
    std::uint64_t total = 0;
    for (auto _ : state) {
        total += engine.RunDisplayEngine(program, 0, frames).Frames;
        benchmark::DoNotOptimize(engine.LastFrame().Dots.data());
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
}

// Scrolling in at both speeds and from the left, switching text directly, blinking, pauses.
void BM_EngineScrollAndSwitch(benchmark::State &state)
{
    RunFrames(state, Program("S4F0T0F3T1W01S0F1T2S1F13T0T05F3T06",
                             {"Scrolling text in from the right", "Switched", "Blink"}));
}
BENCHMARK(BM_EngineScrollAndSwitch)->Unit(benchmark::kMillisecond);

// Every transition in every font, and every effect.
void BM_EngineEveryTransitionAndEffect(benchmark::State &state)
{
    std::string commands;
    for (const char *style : {"S4", "S3", "S2"}) {
        commands += style;
        for (int f = 0; f <= 14; ++f)
            commands += "F" + std::to_string(f) + "T" + std::to_string(f % 3);
    }
    commands += "S4S0";
    for (int e = 0; e <= 13; ++e)
        commands += "E" + std::to_string(e);
    commands += "S1R3(I1P2F3T0E9)";
    RunFrames(state, Program(commands, {"Every transition", "and effect", "ZorEdit"}));
}
BENCHMARK(BM_EngineEveryTransitionAndEffect)->Unit(benchmark::kMillisecond);

} // namespace
