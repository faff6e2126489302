// Zor > Transfer log: the last transfer's log in a window of its own.
#pragma once

#include "comm/Settings.h"

#include <QStringList>

class QWidget;

namespace zor {

class TLogView;

// The log can be shown while logging is on or one of paths is there from an earlier run.
bool TransferLogAvailable(const TCommSettings &settings, const QStringList &paths);

// Reads the log of labels[current] at paths[current] into owner's log window, made the first
// time it is asked for, with the others offered in its chooser, and brings that window to the
// front.
TLogView *ShowTransferLog(QWidget *owner, const QStringList &labels, const QStringList &paths,
                          int current);

} // namespace zor
