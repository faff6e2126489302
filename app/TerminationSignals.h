// The editor being ended from outside: SIGTERM (logout, shutdown, kill), SIGHUP (its terminal
// gone) and SIGINT (Ctrl-C in its terminal), routed through the platform seam
// (RouteInterrupts): the handler only raises a TInterruptWakeUp; the event loop takes the
// signal's number from it and emits Received, where the editor may do what a signal handler may
// not (write its recovery copies) before it ends.
#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace zor {

class TInterruptWakeUp;

class TTerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers; the previous ones come back with the object's end. One at a time.
    explicit TTerminationSignals(QObject *parent = nullptr);
    ~TTerminationSignals() override;

    // False when the wake-up could not be made (or the system has none): the signals then keep
    // their default action.
    bool IsInstalled() const { return Notifier != nullptr; }

    // Ends the process as the signal would have without a handler, so that whoever sent it sees
    // it (a shell, the session manager). Never returns.
    [[noreturn]] static void EndBy(int signal);

signals:
    // A termination signal came; a second one before this is handled ends the process at once.
    void Received(int signal);

private:
    void Read();
    std::unique_ptr<TInterruptWakeUp> Signals;
    QSocketNotifier *Notifier = nullptr;
};

} // namespace zor
