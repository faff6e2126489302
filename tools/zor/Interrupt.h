// Ctrl-C during a transfer of the command-line tool. Without this the process would die with the
// port left in the transfer's line settings and the log cut short; instead the signal asks the
// transfer to stop (comm/TransferStop.h), which ends it within one attempt, closes the port,
// restores its settings and finishes the log with a line saying it was interrupted.
#pragma once

#include "comm/Serial.h"
#include "comm/TransferStop.h"

#include <string>

namespace zor::tool {

class TInterruptGuard
{
public:
    // Routes the console's interrupt (RouteInterrupts: SIGINT and SIGTERM, Ctrl-C on Windows) to
    // stop for the guard's life; the previous handlers come back with its end. One guard at a time.
    explicit TInterruptGuard(TTransferStop &stop);
    ~TInterruptGuard();

    TInterruptGuard(const TInterruptGuard &) = delete;
    TInterruptGuard &operator=(const TInterruptGuard &) = delete;

    // 128 plus the number of the signal that came (130 for Ctrl-C); 0 when none came.
    static int ExitStatus();
};

// Prints the outcome of a transfer as the editor shows it: the result's message, the cause of a
// port that could not be opened, a log that could not be written, or the interrupt. baudProblem
// (TCommArgs) is said under a result the rate may explain: "Unknow Error" (the port took no such
// rate) and "Timeout" (the panel did not hear it). Returns the exit status (the interrupt's
// status for an interrupted transfer).
int ReportTransfer(const char *command, const TSerial &serial, int code,
                   const std::string &baudProblem = {});

} // namespace zor::tool
