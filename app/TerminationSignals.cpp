#include "app/TerminationSignals.h"

#include "base/Platform.h"

#include <QSocketNotifier>
#include <atomic>

namespace zor {

namespace {

const TInterruptWakeUp *WakeUp = nullptr;
std::atomic<int> Pending{0};

// Runs in a signal handler: only what the platform seam allows there.
void OnSignal(int number)
{
    // The event loop did not come to the first one: the editor is stuck, end it anyway.
    if (Pending.fetch_add(1) > 0)
        EndBySignal(number);
    WakeUp->Raise(number);
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject *parent)
    : QObject(parent), Signals(std::make_unique<TInterruptWakeUp>())
{
    if (!Signals->Valid())
        return;
    WakeUp = Signals.get();
    Pending = 0;
    Notifier = new QSocketNotifier(Signals->Handle(), QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TTerminationSignals::Read);
    // The event loop's own waits and reads go on as if nothing came.
    RouteInterrupts(OnSignal, {.TerminalGone = true, .RestartWaits = true});
}

TTerminationSignals::~TTerminationSignals()
{
    if (!Notifier)
        return;
    StopRoutingInterrupts();
    delete Notifier;
    WakeUp = nullptr;
}

void TTerminationSignals::Read()
{
    for (int signal = Signals->Take(); signal >= 0; signal = Signals->Take()) {
        emit Received(signal);
        Pending = 0;
    }
}

void TTerminationSignals::EndBy(int signal)
{
    EndBySignal(signal);
}

} // namespace zor
