#include "tools/zor/Interrupt.h"

#include <atomic>
#include <csignal>

namespace zor::tool {

namespace {

std::atomic<TTransferStop *> Current{nullptr};
volatile std::sig_atomic_t Signal = 0;
struct sigaction PreviousInt, PreviousTerm;

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
    struct sigaction sa
    {
    };
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a wait on the port is woken and looks at the stop at once.
    sigaction(SIGINT, &sa, &PreviousInt);
    sigaction(SIGTERM, &sa, &PreviousTerm);
}

TInterruptGuard::~TInterruptGuard()
{
    sigaction(SIGINT, &PreviousInt, nullptr);
    sigaction(SIGTERM, &PreviousTerm, nullptr);
    Current.store(nullptr);
}

int TInterruptGuard::ExitStatus()
{
    return Signal != 0 ? 128 + Signal : 0;
}

} // namespace zor::tool
