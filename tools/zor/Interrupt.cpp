#include "tools/zor/Interrupt.h"

#include "base/Platform.h"

#include <atomic>
#include <csignal>

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

} // namespace zor::tool
