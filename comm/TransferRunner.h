// TTransferRunner: one transfer to the panel (a program or a numeric message) at a time, run on a
// worker thread so that the windows keep painting, with the progress window shown for a program.
//
// The runner makes the TSerial of each transfer from its port factory, devices and log settings,
// passes the progress on as signals in its own thread, and reports the end with Finished while
// the progress window is still on screen (so a message box shown from a slot sits over it);
// the window is hidden once every slot has returned. Cancel (the window's Cancel button, Escape,
// or a call) stops a transfer after the frame in flight. Use it from the thread it lives in.
#pragma once

#include "comm/Results.h"
#include "comm/Serial.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "comm/TransferStop.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QEventLoop;
class QThread;

namespace zor {

class TGraf;

// How a transfer ended. Code is a result code of comm/Results.h (ResultCancelled when stopped).
struct TTransferResult
{
    int Code = ResultUnknownError;
    // Why the port could not be opened, for ResultHardwareFailure; else usually empty.
    std::string PortProblem;
    // The log's path and why it was not written; empty when written or not kept.
    std::string LogProblem;
};

class TTransferRunner : public QObject
{
    Q_OBJECT
public:
    using TPortFactory = std::function<std::unique_ptr<TSerialPort>()>;

    explicit TTransferRunner(QObject *parent = nullptr);
    ~TTransferRunner() override; // waits for a running transfer's worker to end

    // Makes the closed port of each transfer; the platform's serial port unless replaced.
    TPortFactory PortFactory;
    // Read when a transfer starts; changing them affects the next one.
    TPortDevices Devices;
    TTransferLog Log;

    // The window shown while a program goes out: reset to an empty bar, shown application-modal,
    // fed with the progress and hidden after Finished. Not owned; may be null (no window). Its
    // Cancel button and Escape cancel the transfer.
    void SetProgressWindow(TGraf *window);
    TGraf *ProgressWindow() const { return Window; }

    // Start a transfer and return at once; false (nothing started, nothing emitted) while one
    // is running, Finished slots included. text: the program up to its first zero byte; message:
    // the five characters of a numeric message (comm/NumericMessage.h). port and baud as in
    // TCommSettings.
    bool StartProgram(std::string text, std::int32_t port, std::int32_t baud);
    bool StartNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud);

    // Returns after the running transfer has finished (Finished emitted, window hidden), with
    // its result; at once with the last result when none is running. Keeps the windows painted
    // meanwhile; operator input reaches only the progress window while it is shown, and nothing
    // otherwise.
    TTransferResult WaitForFinished();

    // Starts and waits: the main window's commands are blocking.
    TTransferResult SendProgram(std::string text, std::int32_t port, std::int32_t baud);
    TTransferResult SendNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud);

    // From a start until every slot of its Finished has returned.
    bool Running() const { return Busy; }
    const TTransferResult &LastResult() const { return Result; }

public slots:
    // Asks the running transfer to stop after the frame in flight; nothing when none runs.
    void Cancel();

signals:
    void Started();
    // The number of blocks of the program, then the blocks accepted so far.
    void ProgressMaximum(int maximum);
    void ProgressPosition(int position);
    // The transfer has ended; the progress window is still shown during the call.
    void Finished(const zor::TTransferResult &result);

private:
    bool Start(std::function<int(TSerial &)> transfer, bool showWindow);
    void WorkerDone();

    QPointer<TGraf> Window;
    QThread *Worker = nullptr;
    QEventLoop *Waiting = nullptr;
    bool WindowShown = false;
    bool Busy = false;
    std::unique_ptr<TSerial> Serial;
    std::unique_ptr<TTransferStop> Stop;
    int Code = ResultUnknownError; // written by the worker, read after it ended
    TTransferResult Result;
};

} // namespace zor
