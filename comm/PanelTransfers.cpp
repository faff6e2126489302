#include "comm/PanelTransfers.h"

#include <QEventLoop>

namespace zor {

TPanelTransfers::TPanelTransfers(std::vector<TPanelTarget> targets, TPanelPortFactory portFactory,
                                 QObject *parent)
    : QObject(parent), TargetList(std::move(targets)), PortFactory(std::move(portFactory))
{
}

TPanelTransfers::~TPanelTransfers()
{
    // The worker reads the targets; they may not go before it has ended. What it posted to this
    // object is dropped with it.
    Cancel();
    if (Worker.joinable())
        Worker.join();
}

std::vector<TPanelOutcome> TPanelTransfers::Send(const TPanelJob &job)
{
    if (Busy)
        return {};
    Busy = true;
    BlockTotal = job.Blocks();
    std::vector<TPanelOutcome> outcomes;
    // The worker's calls come on the workers' threads; the signals go out in this object's
    // thread, in the order each worker made them.
    TPanelSend send;
    send.PortFactory = PortFactory;
    send.Mqtt = Mqtt;
    send.ProgressPosition = [this](std::size_t target, int position) {
        QMetaObject::invokeMethod(
            this, [this, target, position] { emit ProgressPosition(target, position); },
            Qt::QueuedConnection);
    };
    send.Finished = [this](std::size_t target, const TPanelOutcome &outcome) {
        QMetaObject::invokeMethod(
            this, [this, target, outcome] { emit PanelFinished(target, outcome); },
            Qt::QueuedConnection);
    };
    emit Started();
    QEventLoop wait;
    Waiting = &wait;
    Worker = std::jthread([this, job, send, &outcomes](std::stop_token token) {
        // The thread's stop (Cancel, or this object going) stops every transfer after its frame
        // in flight.
        TTransferStop stop;
        const std::stop_callback cancel(token, [&stop] { stop.Request(TStopReason::Cancelled); });
        TPanelSend running = send;
        running.Stop = &stop;
        std::vector<TPanelOutcome> ended = SendToPanels(TargetList, job, running);
        // Posted after every worker's own calls: told last.
        QMetaObject::invokeMethod(
            this,
            [this, &outcomes, ended = std::move(ended)] {
                outcomes = ended;
                if (Waiting)
                    Waiting->quit();
            },
            Qt::QueuedConnection);
    });
    wait.exec();
    Waiting = nullptr;
    Worker.join();
    Busy = false;
    return outcomes;
}

void TPanelTransfers::Cancel()
{
    Worker.request_stop();
}

} // namespace zor
