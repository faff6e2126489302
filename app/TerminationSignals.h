// The editor being ended from outside: SIGTERM (logout, shutdown, kill), SIGHUP (its terminal
// gone) and SIGINT (Ctrl-C in its terminal). The handler only writes the signal's number into a
// pipe; the event loop reads it and emits Received, where the editor may do what a signal
// handler may not (write its recovery copies) before it ends.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace zor {

class TTerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers; the previous ones come back with the object's end. One at a time.
    explicit TTerminationSignals(QObject *parent = nullptr);
    ~TTerminationSignals() override;

    // False when the pipe could not be made: the signals then keep their default action.
    bool IsInstalled() const { return Notifier != nullptr; }

    // Ends the process as the signal would have without a handler, so that whoever sent it sees
    // it (a shell, the session manager). Never returns.
    [[noreturn]] static void EndBy(int signal);

signals:
    // A termination signal came; a second one before this is handled ends the process at once.
    void Received(int signal);

private:
    void Read();
    QSocketNotifier *Notifier = nullptr;
};

} // namespace zor
