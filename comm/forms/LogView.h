// The transfer log window: the last log read-only, one line of the file a line on screen (a
// frame's caption, then its bytes), the line where the transfer stopped highlighted.
#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace zor {

// The line a failed or stopped transfer wrote last (an "... error!!!!" or a cancellation line),
// counted from 0; -1 when the transfer ended well. A failing step that follows a dump on the
// same line ("...,Close error!!!!") marks that line.
int FailingLogLine(const QStringList &lines);

// The lines of a log text: split at line ends ("\r\n" as written, "\n" tolerated), without an
// empty line after the last line end.
QStringList LogLines(const QByteArray &text);

class TLogView : public QWidget
{
    Q_OBJECT
public:
    explicit TLogView(QWidget *parent = nullptr);

    // Reads the log at path and shows it. False, with the reason shown in place of the log, when
    // the file is missing, unreadable, larger than MaxLogBytes or not a regular file (a FIFO or
    // a device is never opened to wait on or read without end).
    bool LoadLog(const QString &path);

    static constexpr qint64 MaxLogBytes = 16 * 1024 * 1024;

    // The logs to choose from, each a label ("Parameters port", a panel's name) and a path; the
    // chooser above the log is shown when there is more than one. Shows logs[current].
    struct TLog
    {
        QString Label;
        QString Path;
    };
    void SetLogs(const QList<TLog> &logs, int current);
    // The log shown, -1 before SetLogs.
    int CurrentLog() const;

    QLabel *LogLabel;
    QComboBox *LogChoice;
    QLabel *Status;
    QPlainTextEdit *Text;
    int HighlightedLine = -1; // the failing line shown highlighted, -1 for none
};

} // namespace zor
