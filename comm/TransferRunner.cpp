#include "comm/TransferRunner.h"

#include "comm/PortFactory.h"

#include <QEventLoop>
#include <QMetaMethod>

namespace zor {

TTransferRunner::TTransferRunner(QObject *parent)
    : QObject(parent), PortFactory([] { return CreateSerialPort(); })
{
}

TTransferRunner::~TTransferRunner()
{
    // The worker writes Ended; it may not go before the worker has ended. What the worker posted
    // to this object is dropped with it.
    Cancel();
    if (Worker.joinable())
        Worker.join();
}

bool TTransferRunner::StartProgram(std::string text, std::int32_t port, std::int32_t baud)
{
    return Start(TPanelJob::Program(text), port, baud);
}

bool TTransferRunner::StartNumeric(const std::uint8_t *message, std::int32_t port,
                                   std::int32_t baud)
{
    // Copied: the caller's buffer need not outlive the call.
    return Start(TPanelJob::Numeric(message), port, baud);
}

bool TTransferRunner::Start(const TPanelJob &job, std::int32_t port, std::int32_t baud)
{
    if (Busy)
        return false;
    Busy = true;
    const bool program = job.Kind == TPanelJob::TKind::Program;
    TPanelTarget target;
    target.Device = PanelDevice(Devices.ForPort(port));
    target.Baud = baud;
    target.Log = Log;
    TPanelSend send;
    send.PortFactory = [factory = PortFactory](const TPanelDevice &) { return factory(); };
    send.Mqtt = Mqtt;
    ThroughBroker = target.Device.Kind == TPanelDevice::TKind::Mqtt;
    // The calls come from the worker; the signals go out in this object's thread, in the order
    // the worker made them, and its end after all of them.
    send.ProgressMaximum = [this](std::size_t, int maximum) {
        QMetaObject::invokeMethod(
            this, [this, maximum] { emit ProgressMaximum(maximum); }, Qt::QueuedConnection);
    };
    send.ProgressPosition = [this](std::size_t, int position) {
        QMetaObject::invokeMethod(
            this, [this, position] { emit ProgressPosition(position); }, Qt::QueuedConnection);
    };

    TakesInput =
        program && isSignalConnected(QMetaMethod::fromSignal(&TTransferRunner::ProgramStarted));
    emit Started();
    if (program)
        emit ProgramStarted();
    Worker = std::jthread([this, job, send, target = std::move(target)](std::stop_token token) {
        // The thread's stop (Cancel, or the runner going) stops the transfer after its frame in
        // flight.
        TTransferStop stop;
        const std::stop_callback cancel(token, [&stop] { stop.Request(TStopReason::Cancelled); });
        TPanelSend running = send;
        running.Stop = &stop;
        Ended = SendToPanels({target}, job, running).front();
        QMetaObject::invokeMethod(this, &TTransferRunner::WorkerDone, Qt::QueuedConnection);
    });
    return true;
}

void TTransferRunner::WorkerDone()
{
    Worker.join();
    Result = Ended;
    // Through a broker, the cause is all that tells an offline gateway from a silent one.
    if (Result.Code != ResultHardwareFailure && !ThroughBroker)
        Result.PortProblem.clear();

    const TPanelOutcome result = Result;
    emit Finished(result);
    TakesInput = false;
    Busy = false;
    if (Waiting)
        Waiting->quit();
}

TPanelOutcome TTransferRunner::WaitForFinished()
{
    if (!Worker.joinable()) // none running, or called from a Finished slot
        return Result;
    QEventLoop wait;
    Waiting = &wait;
    // Input is held off while the transfer runs (but for the modal window that shows a program
    // transfer, for its Cancel button); painting goes on.
    wait.exec(TakesInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    Waiting = nullptr;
    return Result;
}

TPanelOutcome TTransferRunner::SendProgram(std::string text, std::int32_t port, std::int32_t baud)
{
    if (!StartProgram(std::move(text), port, baud))
        return {ResultUnknownError, {}, {}, -1, 0};
    return WaitForFinished();
}

TPanelOutcome TTransferRunner::SendNumeric(const std::uint8_t *message, std::int32_t port,
                                           std::int32_t baud)
{
    if (!StartNumeric(message, port, baud))
        return {ResultUnknownError, {}, {}, -1, 0};
    return WaitForFinished();
}

void TTransferRunner::Cancel()
{
    Worker.request_stop();
}

} // namespace zor
