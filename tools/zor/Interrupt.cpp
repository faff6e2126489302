#include "tools/zor/Interrupt.h"

#include "base/Platform.h"
#include "comm/Results.h"
#include "tools/zor/CommArgs.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace zor::tool {

namespace {

std::atomic<TTransferStop *> Current{nullptr};
volatile std::sig_atomic_t Signal = 0;

void OnSignal(int number)
{
    Signal = number;
    if (TTransferStop *stop = Current.load())
        stop->Request(TStopReason::Interrupted);
}

} // namespace

TInterruptGuard::TInterruptGuard(TTransferStop &stop)
{
    Signal = 0;
    Current.store(&stop);
    RouteInterrupts(OnSignal);
}

TInterruptGuard::~TInterruptGuard()
{
    StopRoutingInterrupts();
    Current.store(nullptr);
}

int TInterruptGuard::ExitStatus()
{
    return Signal != 0 ? 128 + Signal : 0;
}

int ReportTransfer(const char *command, const TSerial &serial, int code,
                   const std::string &baudProblem)
{
    int status = 0;
    if (code == ResultCancelled) {
        std::fprintf(stderr, "zor %s: transfer interrupted\n", command);
        status = TInterruptGuard::ExitStatus() != 0 ? TInterruptGuard::ExitStatus() : 130;
    } else {
        status = ReportResult(code);
        if (code == ResultHardwareFailure && !serial.PortProblem().empty())
            std::fprintf(stderr, "%s\n", serial.PortProblem().c_str());
        if ((code == ResultUnknownError || code == ResultTimeout) && !baudProblem.empty())
            std::fprintf(stderr, "%s\n", baudProblem.c_str());
    }
    if (!serial.LogProblem().empty())
        std::fprintf(stderr, "zor %s: the transfer log was not written: %s\n", command,
                     serial.LogProblem().c_str());
    return status;
}

} // namespace zor::tool
