// The transfer of zor send and zor numeric to the panels the command line names, and what it
// prints: one target as ever (the result's message, the line saying why), several as one line
// each.
#pragma once

#include "comm/PanelSend.h"

#include <vector>

namespace zor::tool {

// Sends job to every target at once (one worker per target, on its own port), Ctrl-C and
// SIGTERM stopping all of them after the frame in flight.
//
// One target: prints the result's message ("Communication O.K." on stdout, a failure on stderr),
// under it on stderr the line saying why where there is one (OutcomeCause), and returns the exit
// status, the result code without its sign (128 plus the signal for an interrupted transfer).
//
// Several: prints on stdout one line per target in the order of targets,
// "LABEL<TAB>CODE<TAB>MESSAGE": LABEL the panel's name or the device, CODE the exit status that
// target alone would have given, MESSAGE its result's message and the line saying why, on one
// line. Returns the largest CODE.
//
// Either way a log that could not be written is said on stderr.
// mqtt targets are requests through their broker, with mqtt's options.
int RunTransfers(const char *command, const std::vector<TPanelTarget> &targets,
                 const TPanelJob &job, const TMqttSendOptions &mqtt);

} // namespace zor::tool
