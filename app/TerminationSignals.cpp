#include "app/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zor {

namespace {

constexpr std::array<int, 3> Handled{SIGTERM, SIGHUP, SIGINT};

int PipeRead = -1, PipeWrite = -1;
std::atomic<int> Pending{0};
std::array<struct sigaction, Handled.size()> Previous{};

// Only async-signal-safe calls here: write, signal, raise.
void OnSignal(int number)
{
    const int savedErrno = errno;
    if (Pending.fetch_add(1) > 0) {
        // The event loop did not come to the first one: the editor is stuck, end it anyway.
        std::signal(number, SIG_DFL);
        std::raise(number);
    }
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(PipeWrite, &byte, 1);
    errno = savedErrno;
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject *parent) : QObject(parent)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    PipeRead = fds[0];
    PipeWrite = fds[1];
    Pending = 0;
    Notifier = new QSocketNotifier(PipeRead, QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TTerminationSignals::Read);
    struct sigaction sa
    {
    };
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    // The event loop's own waits and reads go on as if nothing came.
    sa.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &sa, &Previous[i]);
}

TTerminationSignals::~TTerminationSignals()
{
    if (!Notifier)
        return;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &Previous[i], nullptr);
    delete Notifier;
    ::close(PipeRead);
    ::close(PipeWrite);
    PipeRead = PipeWrite = -1;
}

void TTerminationSignals::Read()
{
    unsigned char byte = 0;
    while (::read(PipeRead, &byte, 1) == 1) {
        emit Received(byte);
        Pending = 0;
    }
}

void TTerminationSignals::EndBy(int signal)
{
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    std::raise(signal);
    _exit(128 + signal);
}

} // namespace zor
