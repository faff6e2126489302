// A 100-block program transfer over a pseudo-terminal, with the panel emulator answering at
// once: the wall time of the whole transfer, and the sender's CPU time per block. The same
// transfer through ser2net on loopback (RFC 2217) in front of the emulator's pseudo-terminal,
// which should take at most one and a half times as long; and over raw TCP to the emulator's
// own listener (socket://), the figure the network tests leave to this program. How long each
// injected fault holds a transfer up. And a 47-block program to six panels at once, one worker
// each, beside the same program to one: at most 1.3 times as long. And the 100-block program to a
// panel at another site, through a broker (mosquitto on loopback) and `zor gateway` to the
// emulator's pseudo-terminal, beside the same transfer straight to a pseudo-terminal: at most 1.3
// times as long. And a 47-block program to 50 panels behind 10 gateways at once, beside the same
// program straight to one panel: at most 1.5 times as long.
#include "comm/Frames.h"
#include "comm/PanelSend.h"
#include "comm/PortFactory.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "harness/GatewayProcess.h"
#include "harness/MosquittoBroker.h"
#include "harness/PanelProcess.h"
#include "harness/Ser2netProcess.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void EnsureQt()
{
    static int argc = 1;
    static char name[] = "bench_transfer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Sends the 100-block program to device once per iteration. settle: a pause between transfers,
// outside the timing, for a device server to let the device go after its client has gone.
void Transfer100Blocks(benchmark::State &state, const std::string &device,
                       std::chrono::milliseconds settle)
{
    // 99 full blocks and a last one with the rest of the text and its zero byte.
    std::string text(99 * zor::BlockDataLength + 20, 'A');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('A' + i % 26);
    const std::size_t blocks = zor::BlockCount(text.size());

    double cpu = 0;
    for (auto _ : state) {
        int result = 0;
        {
            zor::TSerial serial(zor::CreateSerialPort(), zor::TPortDevices::Single(device));
            const double before = ProcessCpuSeconds();
            result = serial.SendProgram(text, 1, 1, 1, 19200);
            cpu += ProcessCpuSeconds() - before;
        }
        if (result != zor::ResultOk) {
            state.SkipWithError("transfer failed");
            break;
        }
        if (settle.count() > 0) {
            state.PauseTiming();
            std::this_thread::sleep_for(settle);
            state.ResumeTiming();
        }
    }
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["cpu_us_per_block"] =
        cpu * 1e6 / static_cast<double>(blocks) / static_cast<double>(state.iterations());
}

void BM_Transfer100Blocks(benchmark::State &state)
{
    EnsureQt();
    zor::test::TPanelProcess panel(ZOR_TOOL_PATH, {"--out", "/dev/null"});
    if (panel.DevicePath().empty()) {
        state.SkipWithError("zor panel did not start");
        return;
    }
    Transfer100Blocks(state, panel.DevicePath(), std::chrono::milliseconds(0));
}
BENCHMARK(BM_Transfer100Blocks)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_Transfer100BlocksRawTcp(benchmark::State &state)
{
    EnsureQt();
    zor::test::TPanelProcess panel(ZOR_TOOL_PATH, {"--listen", "0", "--out", "/dev/null"});
    if (panel.DevicePath().empty()) {
        state.SkipWithError("zor panel did not start");
        return;
    }
    Transfer100Blocks(state, panel.DevicePath(), std::chrono::milliseconds(0));
}
BENCHMARK(BM_Transfer100BlocksRawTcp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_Transfer100BlocksRfc2217(benchmark::State &state)
{
    EnsureQt();
    if (zor::test::TSer2net::Program().empty()) {
        state.SkipWithError("ser2net is not installed");
        return;
    }
    zor::test::TPanelProcess panel(ZOR_TOOL_PATH, {"--out", "/dev/null"});
    if (panel.DevicePath().empty()) {
        state.SkipWithError("zor panel did not start");
        return;
    }
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zor-bench-ser2net-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        zor::test::TSer2net server(dir, panel.DevicePath());
        if (!zor::test::TSer2net::Accepting(server.RfcPort))
            state.SkipWithError("ser2net did not start");
        else
            Transfer100Blocks(state, "rfc2217://127.0.0.1:" + std::to_string(server.RfcPort),
                              std::chrono::milliseconds(200));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Transfer100BlocksRfc2217)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// A two-block program to a panel with one injected fault, over a pseudo-terminal: how long each
// fault holds the transfer up on a real line. The bound each case keeps to (with room for the
// machine) is the label's last figure; the tests time the same on the simulated clock.
struct TFaultTiming
{
    const char *Name;
    std::vector<std::string> Args;
    int BoundMs;
};
const TFaultTiming FaultTimings[] = {
    {"RefuseOpen", {"--refuse", "open"}, 150},
    {"RefuseBlock2", {"--refuse", "block2"}, 150},
    // Three windows, then the wait for answers the copies may still get, until the last copy is
    // three windows old.
    {"SilentOpen3", {"--silent", "open:3"}, 2 * 250 + 750 + 250},
    // Two unanswered copies, then the wait for their answers before the port closes.
    {"SilentClose2", {"--silent", "close:2"}, 2 * 250 + 750 + 250},
    {"BadCrcBlock1Twice", {"--bad-crc", "block1:2"}, 2 * 100 + 150},
    {"UnknownStatusClose3", {"--unknown-status", "close:3"}, 3 * 100 + 150},
    {"TooFewFreeBlocks", {"--free-blocks", "1"}, 150},
    {"Late30", {"--late", "30"}, 5 * 30 + 150},
    {"SilentAny", {"--silent", "any:1000"}, 2 * 250 + 750 + 250},
};

void BM_FaultTransfer(benchmark::State &state)
{
    EnsureQt();
    const TFaultTiming &fault = FaultTimings[state.range(0)];
    state.SetLabel(std::string(fault.Name) + " bound " + std::to_string(fault.BoundMs) + " ms");
    for (auto _ : state) {
        // Only the transfer is timed, not the emulator's start and end.
        state.PauseTiming();
        {
            zor::test::TPanelProcess panel(ZOR_TOOL_PATH, fault.Args);
            if (panel.DevicePath().empty()) {
                state.SkipWithError("zor panel did not start");
                return;
            }
            zor::TSerial serial(zor::CreateSerialPort(),
                                zor::TPortDevices::Single(panel.DevicePath()));
            state.ResumeTiming();
            serial.SendProgram(std::string(100, 'a'), 1, 1, 1, 9600);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FaultTransfer)
    ->DenseRange(0, static_cast<int>(std::size(FaultTimings)) - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// A 47-block program to state.range(0) emulated panels at once, each on its own pseudo-terminal,
// each answering every frame state.range(1) ms after it came. Through a pseudo-terminal a frame
// arrives the moment it is written, so an emulator that answers at once leaves the transfer bound
// by the processor, which no panel does: on a line at 19200 baud, 8N1, a block frame (76 bytes)
// and its reply (10 bytes) take 45 ms, and that time is what a panel's transfer mostly waits
// through. With 45 the benchmark measures what several panels cost beside one; with 0 it shows
// the processor's share alone.
void BM_PanelsAtOnce47Blocks(benchmark::State &state)
{
    EnsureQt();
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::string late = std::to_string(state.range(1));
    std::vector<std::unique_ptr<zor::test::TPanelProcess>> panels;
    std::vector<zor::TPanelTarget> targets;
    for (std::size_t i = 0; i < count; ++i) {
        panels.push_back(std::make_unique<zor::test::TPanelProcess>(
            ZOR_TOOL_PATH, std::vector<std::string>{"--late", late, "--out", "/dev/null"}));
        if (panels.back()->DevicePath().empty()) {
            state.SkipWithError("zor panel did not start");
            return;
        }
        zor::TPanelTarget target;
        target.Name = "Panel" + std::to_string(i + 1);
        target.Device = zor::PanelDevice(panels.back()->DevicePath());
        target.Baud = 19200;
        targets.push_back(target);
    }
    std::string text(46 * zor::BlockDataLength + 20, 'A');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('A' + i % 26);
    const zor::TPanelJob job = zor::TPanelJob::Program(text);
    zor::TPanelSend send;
    send.PortFactory = [](const zor::TPanelDevice &) { return zor::CreateSerialPort(); };
    for (auto _ : state) {
        const auto outcomes = zor::SendToPanels(targets, job, send);
        for (const zor::TPanelOutcome &outcome : outcomes)
            if (outcome.Code != zor::ResultOk) {
                state.SkipWithError("a transfer failed");
                return;
            }
    }
    state.counters["panels"] = static_cast<double>(count);
    state.counters["blocks"] = static_cast<double>(zor::BlockCount(text.size()));
}
BENCHMARK(BM_PanelsAtOnce47Blocks)
    ->ArgNames({"panels", "late_ms"})
    ->Args({1, 45})
    ->Args({6, 45})
    ->Args({1, 0})
    ->Args({6, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The 100-block program through the fan-out to one panel, answering every frame state.range(1)
// ms late: straight to the emulator's pseudo-terminal (state.range(0) 0), or as a request through
// a broker on loopback to a `zor gateway` serving that pseudo-terminal (1). Each transfer through
// the broker makes its own connection, as a `zor send` does: that and the gateway's hops are what
// the two figures differ by.
void BM_Transfer100BlocksThroughBroker(benchmark::State &state)
{
    EnsureQt();
    const bool throughBroker = state.range(0) != 0;
    if (throughBroker && zor::test::TMosquittoBroker::Program().empty()) {
        state.SkipWithError("mosquitto is not installed");
        return;
    }
    zor::test::TPanelProcess panel(
        ZOR_TOOL_PATH, {"--late", std::to_string(state.range(1)), "--out", "/dev/null"});
    if (panel.DevicePath().empty()) {
        state.SkipWithError("zor panel did not start");
        return;
    }
    const auto dir =
        std::filesystem::temp_directory_path() / ("zor-bench-broker-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        std::unique_ptr<zor::test::TMosquittoBroker> broker;
        std::unique_ptr<zor::test::TGatewayProcess> gateway;
        zor::TPanelTarget target;
        target.Baud = 19200;
        target.Device = zor::PanelDevice(panel.DevicePath());
        if (throughBroker) {
            broker = std::make_unique<zor::test::TMosquittoBroker>(dir);
            const std::string port = std::to_string(broker->Port);
            gateway = std::make_unique<zor::test::TGatewayProcess>(
                ZOR_TOOL_PATH,
                std::vector<std::string>{"--broker", "mqtt://127.0.0.1:" + port, "--site", "bench",
                                         "--panel", "Gate=" + panel.DevicePath() + ",19200"},
                1);
            target.Device = zor::PanelDevice("mqtt://127.0.0.1:" + port + "/bench/Gate");
        }
        if (throughBroker && (!broker->Running() || !gateway->Ready)) {
            state.SkipWithError("the broker or the gateway did not start");
        } else {
            std::string text(99 * zor::BlockDataLength + 20, 'A');
            for (std::size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<char>('A' + i % 26);
            const zor::TPanelJob job = zor::TPanelJob::Program(text);
            zor::TPanelSend send;
            send.PortFactory = [](const zor::TPanelDevice &) { return zor::CreateSerialPort(); };
            for (auto _ : state)
                if (zor::SendToPanels({target}, job, send).front().Code != zor::ResultOk) {
                    state.SkipWithError("the transfer failed");
                    break;
                }
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Transfer100BlocksThroughBroker)
    ->ArgNames({"broker", "late_ms"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 45})
    ->Args({1, 45})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// The 47-block program to 50 paced panels (answering every frame 45 ms late, as on a line at
// 19200 baud) at 10 sites, five panels behind each site's `zor gateway`, sent at once through the
// fan-out of `zor send --all-panels` to a broker on loopback: each panel's request on a
// connection of its own. Before the timing, the same program goes straight to one of the panels'
// pseudo-terminals (local_ms); ratio is the 50 panels' time over that one panel's, and
// overhead_ms_per_panel what the broker, the gateways and the other 49 panels add, shared out.
void BM_50PanelsBehind10GatewaysPaced47Blocks(benchmark::State &state)
{
    EnsureQt();
    if (zor::test::TMosquittoBroker::Program().empty()) {
        state.SkipWithError("mosquitto is not installed");
        return;
    }
    constexpr int Sites = 10, PanelsPerSite = 5;
    const auto dir =
        std::filesystem::temp_directory_path() / ("zor-bench-sites-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        std::vector<std::unique_ptr<zor::test::TPanelProcess>> panels;
        for (int i = 0; i < Sites * PanelsPerSite; ++i) {
            panels.push_back(std::make_unique<zor::test::TPanelProcess>(
                ZOR_TOOL_PATH, std::vector<std::string>{"--late", "45", "--out", "/dev/null"}));
            if (panels.back()->DevicePath().empty()) {
                state.SkipWithError("zor panel did not start");
                return;
            }
        }
        zor::test::TMosquittoBroker broker(dir);
        const std::string url = "mqtt://127.0.0.1:" + std::to_string(broker.Port);
        std::vector<std::unique_ptr<zor::test::TGatewayProcess>> gateways;
        std::vector<zor::TPanelTarget> targets;
        for (int site = 0; site < Sites && broker.Running(); ++site) {
            const std::string name = "site" + std::to_string(site + 1);
            std::vector<std::string> args = {"--broker", url, "--site", name};
            for (int p = 0; p < PanelsPerSite; ++p) {
                const std::string panel = "P" + std::to_string(p + 1);
                args.push_back("--panel");
                args.push_back(panel + "=" + panels[site * PanelsPerSite + p]->DevicePath() +
                               ",19200");
                zor::TPanelTarget target;
                target.Name = name + "-" + panel;
                target.Device = zor::PanelDevice(url + "/" + name + "/" + panel);
                target.Baud = 19200;
                targets.push_back(target);
            }
            gateways.push_back(std::make_unique<zor::test::TGatewayProcess>(
                ZOR_TOOL_PATH, args, static_cast<std::size_t>(PanelsPerSite)));
            if (!gateways.back()->Ready)
                break;
        }
        if (!broker.Running() || gateways.size() != Sites || !gateways.back()->Ready) {
            state.SkipWithError("the broker or a gateway did not start");
        } else {
            std::string text(46 * zor::BlockDataLength + 20, 'A');
            for (std::size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<char>('A' + i % 26);
            const zor::TPanelJob job = zor::TPanelJob::Program(text);
            zor::TPanelSend send;
            send.PortFactory = [](const zor::TPanelDevice &) { return zor::CreateSerialPort(); };

            zor::TPanelTarget local;
            local.Name = "local";
            local.Device = zor::PanelDevice(panels.front()->DevicePath());
            local.Baud = 19200;
            const auto start = std::chrono::steady_clock::now();
            const bool localOk =
                zor::SendToPanels({local}, job, send).front().Code == zor::ResultOk;
            const std::chrono::duration<double, std::milli> localTime =
                std::chrono::steady_clock::now() - start;

            double total = 0;
            for (auto _ : state) {
                const auto begin = std::chrono::steady_clock::now();
                const auto outcomes = zor::SendToPanels(targets, job, send);
                total += std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - begin)
                             .count();
                for (const zor::TPanelOutcome &outcome : outcomes)
                    if (outcome.Code != zor::ResultOk) {
                        state.SkipWithError("a transfer failed");
                        break;
                    }
            }
            if (!localOk) {
                state.SkipWithError("the local transfer failed");
            } else if (state.iterations() > 0) {
                const double mean = total / static_cast<double>(state.iterations());
                state.counters["panels"] = static_cast<double>(targets.size());
                state.counters["local_ms"] = localTime.count();
                state.counters["ratio"] = mean / localTime.count();
                state.counters["overhead_ms_per_panel"] =
                    (mean - localTime.count()) / static_cast<double>(targets.size());
            }
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_50PanelsBehind10GatewaysPaced47Blocks)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
