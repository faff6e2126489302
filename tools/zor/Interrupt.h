// Ctrl-C during a transfer of the command-line tool. Without this the process would die with the
// port left in the transfer's line settings and the log cut short; instead the signal asks the
// transfer to stop (comm/TransferStop.h), which ends it within one attempt, closes the port,
// restores its settings and finishes the log with a line saying it was interrupted.
#pragma once

#include "comm/TransferStop.h"

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

} // namespace zor::tool
