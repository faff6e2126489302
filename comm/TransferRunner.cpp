#include "comm/TransferRunner.h"

#include "comm/Frames.h"
#include "comm/PortFactory.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaMethod>
#include <QThread>

#include <cstring>

namespace zor {

namespace {

// The panel's selector bytes of a program's Block and Close frames; the editor always sends 1.
constexpr std::uint8_t ProgramSelector = 1;
constexpr std::uint8_t ProgramCloseSelector = 1;

} // namespace

TTransferRunner::TTransferRunner(QObject *parent)
    : QObject(parent), PortFactory([] { return CreateSerialPort(); })
{
}

TTransferRunner::~TTransferRunner()
{
    // The worker uses Serial and Stop; neither may go before it has ended.
    if (Worker) {
        if (Stop)
            Stop->Request(TStopReason::Cancelled);
        Worker->wait();
        delete Worker;
    }
}

bool TTransferRunner::StartProgram(std::string text, std::int32_t port, std::int32_t baud)
{
    if (Busy)
        return false;
    Blocks = static_cast<int>(BlockCount(text.substr(0, text.find('\0')).size()));
    return Start(
        [text = std::move(text), port, baud](TSerial &serial) {
            return serial.SendProgram(text, ProgramSelector, ProgramCloseSelector, port, baud);
        },
        true);
}

bool TTransferRunner::StartNumeric(const std::uint8_t *message, std::int32_t port,
                                   std::int32_t baud)
{
    // Copied: the caller's buffer need not outlive the call.
    std::array<std::uint8_t, NumericMessageLength + 1> copy{};
    std::memcpy(copy.data(), message, NumericMessageLength);
    return Start(
        [copy, port, baud](TSerial &serial) { return serial.SendNumeric(copy.data(), port, baud); },
        false);
}

bool TTransferRunner::Start(std::function<int(TSerial &)> transfer, bool program)
{
    if (Busy)
        return false;
    Busy = true;
    Serial = std::make_unique<TSerial>(PortFactory(), Devices, Log);
    Stop = std::make_unique<TTransferStop>();
    Serial->Stop = Stop.get();
    // The callbacks come from the worker; the signals go out in this object's thread.
    // Progress is told once the Open frame is taken and after each block taken: the frame in
    // flight follows it.
    Frame = program ? 0 : -1;
    if (!program)
        Blocks = 0;
    Serial->OnProgressMaximum = [this](int maximum) {
        Frame = 1;
        QMetaObject::invokeMethod(this, [this, maximum] { emit ProgressMaximum(maximum); });
    };
    Serial->OnProgressPosition = [this](int position) {
        ++Frame;
        QMetaObject::invokeMethod(this, [this, position] { emit ProgressPosition(position); });
    };

    TakesInput =
        program && isSignalConnected(QMetaMethod::fromSignal(&TTransferRunner::ProgramStarted));
    Code = ResultUnknownError;
    TSerial *serial = Serial.get();
    Worker = QThread::create(
        [this, serial, transfer = std::move(transfer)] { Code = transfer(*serial); });
    connect(Worker, &QThread::finished, this, &TTransferRunner::WorkerDone);
    emit Started();
    if (program)
        emit ProgramStarted();
    Worker->start();
    return true;
}

void TTransferRunner::WorkerDone()
{
    Worker->wait();
    delete Worker;
    Worker = nullptr;
    // Progress posted by the worker arrives before the end is told.
    QCoreApplication::sendPostedEvents(this);

    Result = {Code, Code == ResultHardwareFailure ? Serial->PortProblem() : std::string(),
              Serial->LogProblem(), Frame, Blocks};
    Serial.reset();
    Stop.reset();

    const TTransferResult result = Result;
    emit Finished(result);
    TakesInput = false;
    Busy = false;
    if (Waiting)
        Waiting->quit();
}

TTransferResult TTransferRunner::WaitForFinished()
{
    if (!Worker) // none running, or called from a Finished slot
        return Result;
    QEventLoop wait;
    Waiting = &wait;
    // Input is held off while the transfer runs (but for the modal window that shows a program
    // transfer, for its Cancel button); painting goes on.
    wait.exec(TakesInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    Waiting = nullptr;
    return Result;
}

TTransferResult TTransferRunner::SendProgram(std::string text, std::int32_t port, std::int32_t baud)
{
    if (!StartProgram(std::move(text), port, baud))
        return {ResultUnknownError, {}, {}};
    return WaitForFinished();
}

TTransferResult TTransferRunner::SendNumeric(const std::uint8_t *message, std::int32_t port,
                                             std::int32_t baud)
{
    if (!StartNumeric(message, port, baud))
        return {ResultUnknownError, {}, {}};
    return WaitForFinished();
}

void TTransferRunner::Cancel()
{
    if (Stop)
        Stop->Request(TStopReason::Cancelled);
}

} // namespace zor
