// Zor > Transfer log: the last transfer's log in a window of its own.
#pragma once

#include "comm/Settings.h"

class QWidget;

namespace zor {

class TLogView;

// The log can be shown while logging is on or a log is there from an earlier run.
bool TransferLogAvailable(const TCommSettings &settings);

// Reads the log at settings' path into owner's log window, made the first time it is asked for,
// and brings that window to the front.
TLogView *ShowTransferLog(QWidget *owner, const TCommSettings &settings);

} // namespace zor
