// Animated GIF export: a run of 10,000 frames encoded at scale 2, streamed to nowhere.
#include "sim/engine/GifExport.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_EngineGifExport10000Frames(benchmark::State &state)
{
    const std::string program = std::string("S4F0T0F3T1W01S0F1T2S1F13T0E4T05F3T06\x1F") +
                                "Scrolling text in from the right\x1FSwitched\x1F" +
                                "Blink\x1F\x1F";
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        zor::TDisplayEngine engine;
        zor::TGifRecorder recorder(
            [&bytes](std::string_view piece) {
                bytes += piece.size();
                return true;
            },
            2);
        engine.SetFrameSink(&recorder);
        engine.RunDisplayEngine(program, 0, 10000);
        benchmark::DoNotOptimize(recorder.Finish());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EngineGifExport10000Frames)->Unit(benchmark::kMillisecond);

} // namespace
