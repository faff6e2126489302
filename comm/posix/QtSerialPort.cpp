#include "comm/posix/QtSerialPort.h"

#include "base/TranslateNoop.h"
#include "comm/DevicePort.h"
#include "comm/posix/PortProblem.h"
#include "comm/posix/QtPortList.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

#include <QSerialPort>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zor {

namespace {

using TSteady = std::chrono::steady_clock;

int MsLeft(TSteady::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TSteady::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

struct TQtSerialPort::TLineKeeper
{
    int Fd = -1;
    termios Before{};
    bool BeforeKnown = false;

    ~TLineKeeper()
    {
        if (BeforeKnown)
            ::tcsetattr(Fd, TCSANOW, &Before);
        ::ioctl(Fd, TIOCNXCL);
        ::close(Fd);
    }
};

TQtSerialPort::TQtSerialPort() = default;

TQtSerialPort::~TQtSerialPort()
{
    Close();
}

bool TQtSerialPort::Open(const std::string &device)
{
    if (Port)
        return false;
    Problem = {};
    // QSerialPort's open imposes its own flow control. The port's own settings are read through
    // a second descriptor first and put back afterwards; holding that descriptor across the open
    // also keeps the open from being the first one, which could drop or raise modem lines. It
    // stays open until Close, which restores the settings through it.
    const int probe = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) {
        Problem = DescribeOpenError(device, errno);
        return false;
    }
    if (!::isatty(probe)) {
        ::close(probe);
        Problem = DescribeNotSerial(device);
        return false;
    }
    termios before{};
    const bool known = ::tcgetattr(probe, &before) == 0;

    // QSerialPort's waits run socket notifiers, which want an event dispatcher in this thread. A
    // thread Qt did not start (a std::thread with one panel's transfer) has none until an event
    // loop is made in it; the dispatcher then lives as long as the thread.
    if (!QAbstractEventDispatcher::instance())
        QEventLoop ensureDispatcher;
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(device));
    const bool opened = port->open(QIODevice::ReadWrite);
    if (opened && known) {
        termios now{};
        const int fd = static_cast<int>(port->handle());
        if (::tcgetattr(fd, &now) == 0) {
            constexpr tcflag_t inputFlow = IXON | IXOFF | IXANY;
            now.c_iflag = (now.c_iflag & ~inputFlow) | (before.c_iflag & inputFlow);
            now.c_cflag = (now.c_cflag & ~(CRTSCTS | HUPCL)) | (before.c_cflag & (CRTSCTS | HUPCL));
            now.c_cc[VSTART] = before.c_cc[VSTART];
            now.c_cc[VSTOP] = before.c_cc[VSTOP];
            ::tcsetattr(fd, TCSANOW, &now);
        }
    }
    if (!opened) {
        ::close(probe);
        // Our lock and the exclusive mode keep a second open out; say who holds it.
        if (auto holder = FindPortHolder(device, ::getpid()))
            Problem = DescribeInUse(device, holder);
        else if (port->error() == QSerialPort::PermissionError)
            Problem = DescribeInUse(device, std::nullopt);
        else
            Problem = TMessage::Tr("PortProblem",
                                   ZOR_TRANSLATE_NOOP("PortProblem", "Cannot open %1: %2."),
                                   {device, port->errorString().toStdString()});
        return false;
    }
    Keeper = std::make_unique<TLineKeeper>();
    Keeper->Fd = probe;
    Keeper->Before = before;
    Keeper->BeforeKnown = known;
    Port = std::move(port);
    return true;
}

bool TQtSerialPort::IsOpen() const
{
    return Port != nullptr;
}

bool TQtSerialPort::SetLine(std::int32_t baud)
{
    if (!Port || baud <= 0)
        return false;
    Baud = baud;
    return Port->setBaudRate(baud) && Port->setDataBits(QSerialPort::Data8) &&
           Port->setParity(QSerialPort::NoParity) && Port->setStopBits(QSerialPort::OneStop);
}

bool TQtSerialPort::SetTimeouts(const TPortTimeouts &timeouts)
{
    if (!Port)
        return false;
    Timeouts = timeouts;
    return true;
}

bool TQtSerialPort::Drain(int timeoutMs)
{
    const int fd = static_cast<int>(Port->handle());
    const auto deadline = TSteady::now() + std::chrono::milliseconds(timeoutMs);
    // The time of one character on the line, 10 bits at the baud rate.
    const auto character = std::chrono::microseconds(10'000'000 / std::max(Baud, 1));
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            return true;
        if (TSteady::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::microseconds>(
            character * queued, std::chrono::microseconds(2000)));
    }
}

void TQtSerialPort::Write(std::uint8_t byte)
{
    if (!Port)
        return;
    const int limit =
        Timeouts.WriteConstant > 0 ? Timeouts.WriteConstant + Timeouts.WritePerByte : 100;
    const auto deadline = TSteady::now() + std::chrono::milliseconds(limit);
    const char c = static_cast<char>(byte);
    if (Port->write(&c, 1) != 1)
        return;
    while (Port->bytesToWrite() > 0) {
        if (!Port->waitForBytesWritten(std::max(MsLeft(deadline), 1)) || MsLeft(deadline) == 0)
            break;
    }
    if (Port->bytesToWrite() > 0) {
        // Given up: the byte must not go out later, in the middle of the next frame.
        Port->clear(QSerialPort::Output);
        return;
    }
    Drain(std::max(MsLeft(deadline), 1));
}

bool TQtSerialPort::PurgeReceive()
{
    return Port && Port->clear(QSerialPort::Input);
}

bool TQtSerialPort::Read(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    return ReadWithin(buffer, count, received,
                      Timeouts.ReadConstant + Timeouts.ReadPerByte * static_cast<int>(count));
}

bool TQtSerialPort::ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                               int timeoutMs)
{
    *received = 0;
    if (!Port)
        return false;
    const auto deadline = TSteady::now() + std::chrono::milliseconds(timeoutMs);
    char *out = reinterpret_cast<char *>(buffer);
    for (;;) {
        const qint64 n = Port->read(out + *received, static_cast<qint64>(count - *received));
        if (n < 0)
            return false;
        *received += static_cast<std::size_t>(n);
        if (*received == count)
            return true;
        const int left = MsLeft(deadline);
        if (left == 0)
            return true;
        Port->clearError();
        if (!Port->waitForReadyRead(left)) {
            if (Port->error() == QSerialPort::TimeoutError || Port->error() == QSerialPort::NoError)
                continue; // the deadline check above ends the read
            return false;
        }
    }
}

bool TQtSerialPort::Flush()
{
    if (!Port)
        return false;
    // Qt's wait with nothing queued would sit out its whole time-out.
    if (Port->bytesToWrite() > 0)
        Port->waitForBytesWritten(Timeouts.WriteConstant > 0 ? Timeouts.WriteConstant : 100);
    return Drain(1000);
}

bool TQtSerialPort::Close()
{
    if (!Port)
        return false;
    Port->close();
    Port.reset();
    Keeper.reset();
    return true;
}

std::unique_ptr<TSerialPort> CreateSerialPort()
{
    return std::make_unique<TDevicePort>([] { return std::make_unique<TQtSerialPort>(); });
}

std::unique_ptr<TPortEnumerator> CreatePortEnumerator()
{
    return std::make_unique<TQtPortEnumerator>();
}

struct TPortRuntime::TImpl
{
    // QSerialPort's waits run its own notifiers, which look for the application object; in a
    // program that already has one (the editor), nothing more is made.
    int Argc = 1;
    char Name[4] = "zor";
    char *Argv[2] = {Name, nullptr};
    std::unique_ptr<QCoreApplication> App;
};

TPortRuntime::TPortRuntime() : Impl(std::make_unique<TImpl>())
{
    if (!QCoreApplication::instance())
        Impl->App = std::make_unique<QCoreApplication>(Impl->Argc, Impl->Argv);
}

TPortRuntime::~TPortRuntime() = default;

} // namespace zor
