// Peak memory of reading a document of short runs (`{\b a}a` repeated, in a font with a
// 250-character name) and of translating it, for 6 MB and 60 MB of RTF. The counters are the
// peak of the bytes held through operator new during one read (peak_bytes) and that peak over
// the size of the file (per_input_byte); the goal is at most about 16.
#include <benchmark/benchmark.h>

#include "bench/ShortRuns.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/RtfCodec.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <string>

namespace {

using zor::bench::ShortRuns;

std::atomic<std::size_t> Current{0};
std::atomic<std::size_t> Peak{0};

void *Allocate(std::size_t size)
{
    void *p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    const std::size_t now = Current += malloc_usable_size(p);
    std::size_t peak = Peak.load();
    while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void Release(void *p)
{
    if (p) {
        Current -= malloc_usable_size(p);
        std::free(p);
    }
}

void Measure(benchmark::State &state, bool translate)
{
    const std::string rtf = ShortRuns(static_cast<std::size_t>(state.range(0)) << 20);
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t base = Current.load();
        Peak = base;
        zor::rtf::ReadResult read = zor::rtf::Read(rtf);
        if (translate) {
            const zor::TTranslation t = zor::TranslateDocument(read.Doc);
            benchmark::DoNotOptimize(t.Program.data());
        }
        benchmark::DoNotOptimize(read.Doc.Runs.size());
        peak = Peak.load() - base;
        if (!read.Ok())
            state.SkipWithError(read.Error.c_str());
    }
    state.counters["peak_bytes"] = static_cast<double>(peak);
    state.counters["per_input_byte"] = static_cast<double>(peak) / static_cast<double>(rtf.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}

void BM_ReadShortRuns(benchmark::State &state)
{
    Measure(state, false);
}

void BM_ReadAndTranslateShortRuns(benchmark::State &state)
{
    Measure(state, true);
}

BENCHMARK(BM_ReadShortRuns)->Arg(6)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReadAndTranslateShortRuns)
    ->Arg(6)
    ->Arg(60)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

void *operator new(std::size_t size)
{
    return Allocate(size);
}
void *operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void *p) noexcept
{
    Release(p);
}
void operator delete[](void *p) noexcept
{
    Release(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    Release(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    Release(p);
}
