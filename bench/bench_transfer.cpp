// A 100-block program transfer over a pseudo-terminal, with the panel emulator answering at
// once: the wall time of the whole transfer, and the sender's CPU time per block.
#include "comm/Frames.h"
#include "comm/QtSerialPort.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "tests/comm/PanelProcess.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

namespace {

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_Transfer100Blocks(benchmark::State &state)
{
    static int argc = 1;
    static char name[] = "bench_transfer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    zor::test::TPanelProcess panel(ZOR_TOOL_PATH, {"--out", "/dev/null"});
    if (panel.DevicePath().empty()) {
        state.SkipWithError("zor panel did not start");
        return;
    }
    // 99 full blocks and a last one with the rest of the text and its zero byte.
    std::string text(99 * zor::BlockDataLength + 20, 'A');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('A' + i % 26);
    const std::size_t blocks = zor::BlockCount(text.size());

    double cpu = 0;
    for (auto _ : state) {
        zor::TSerial serial(zor::CreateSerialPort(), zor::TPortDevices::Single(panel.DevicePath()));
        const double before = ProcessCpuSeconds();
        const int result = serial.SendProgram(text, 1, 1, 1, 19200);
        cpu += ProcessCpuSeconds() - before;
        if (result != zor::ResultOk) {
            state.SkipWithError("transfer failed");
            break;
        }
    }
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["cpu_us_per_block"] =
        cpu * 1e6 / static_cast<double>(blocks) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Transfer100Blocks)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
