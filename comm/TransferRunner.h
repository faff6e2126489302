// TTransferRunner: one transfer to the panel (a program or a numeric message) at a time, run on a
// worker thread so that the windows keep painting. It knows no widgets: whatever shows a transfer
// (the progress window, comm/forms/Bargraf.h) connects itself to the signals.
//
// The runner sends to the device of the port number it is given, as the one target of the
// fan-out of comm/PanelSend.h, on a worker thread of its own; it passes the progress on as signals
// in its own thread and reports the end with one Finished. Cancel stops a transfer after the frame
// in flight. Each runner is independent of any other. Use it from the thread it lives in.
#pragma once

#include "comm/PanelSend.h"
#include "comm/Results.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "comm/TransferStop.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QEventLoop;

namespace zor {

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
    // What a request to a gateway's panel (an mqtt device) goes with.
    TMqttSendOptions Mqtt;

    // Start a transfer and return at once; false (nothing started, nothing emitted) while one
    // is running, Finished slots included. text: the program up to its first zero byte; message:
    // the five characters of a numeric message (comm/NumericMessage.h). port and baud as in
    // TCommSettings.
    bool StartProgram(std::string text, std::int32_t port, std::int32_t baud);
    bool StartNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud);

    // Returns after the running transfer has finished (every slot of Finished returned), with
    // its outcome (PortProblem said for ResultHardwareFailure, and for a gateway's panel whatever
    // the gateway or the broker said, as OutcomeCause has it); at once with the last result
    // when none is running. Keeps the windows painted meanwhile. Operator input is held off, but
    // for a program transfer that something shows (a slot is connected to ProgramStarted): that is
    // taken to be a modal window, such as the progress window, whose Cancel button must work while
    // other windows stay out of reach.
    TPanelOutcome WaitForFinished();

    // Starts and waits: the main window's commands are blocking. The result is the transfer's;
    // ResultUnknownError when another transfer of this runner was running.
    TPanelOutcome SendProgram(std::string text, std::int32_t port, std::int32_t baud);
    TPanelOutcome SendNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud);

    // From a start until every slot of its Finished has returned.
    bool Running() const { return Busy; }

public slots:
    // Asks the running transfer to stop after the frame in flight; nothing when none runs.
    void Cancel();

signals:
    // A transfer begins; for a program ProgramStarted follows at once, before any progress.
    void Started();
    void ProgramStarted();
    // The number of blocks of the program, then the blocks accepted so far.
    void ProgressMaximum(int maximum);
    void ProgressPosition(int position);
    // The transfer has ended (emitted once per transfer, after its last progress).
    void Finished(const zor::TPanelOutcome &result);

private:
    bool Start(const TPanelJob &job, std::int32_t port, std::int32_t baud);
    void WorkerDone();

    std::jthread Worker;
    QEventLoop *Waiting = nullptr;
    bool TakesInput = false; // while waiting for a program transfer that is shown
    bool Busy = false;
    bool ThroughBroker = false; // the running or last transfer goes to a gateway's panel
    TPanelOutcome Ended;        // written by the worker, read after it ended
    TPanelOutcome Result{ResultUnknownError, {}, {}, -1, 0};
};

} // namespace zor
