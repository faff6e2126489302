// Arbitrary bytes as a display program, run for a bounded number of frames.
#include "sim/engine/Engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static zor::TDisplayEngine engine;
    static zor::TFixedClock clock({2026, 12, 6, 9, 5, 3});
    engine.SetClock(&clock);
    // Keeps deeply nested frameless repeats from spending the time on commands rather than
    // frames; the guard itself is the same.
    engine.SetFramelessCommandLimit(256);
    // The first byte picks a start offset so that the inactive reading is exercised too.
    const std::size_t offset = size > 0 ? data[0] % 8 : 0;
    engine.RunDisplayEngine(std::span(data, size), offset, 200);
    return 0;
}
