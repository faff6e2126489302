// The serial port on Qt SerialPort, used synchronously. The QSerialPort is created by Open in
// the calling thread and deleted by Close; call every operation from that thread. Any thread will
// do (one started with QThread or a std::thread) while an application object exists.
#pragma once

#include "comm/PortFactory.h"
#include "comm/SerialPort.h"

#include <memory>
#include <string>

class QSerialPort;

namespace zor {

class TQtSerialPort : public TSerialPort
{
public:
    TQtSerialPort();
    ~TQtSerialPort() override;

    bool Open(const std::string &device) override;
    TMessage OpenProblem() const override { return Problem; }
    bool IsOpen() const override;
    bool SetLine(std::int32_t baud) override;
    bool SetTimeouts(const TPortTimeouts &timeouts) override;
    void Write(std::uint8_t byte) override;
    bool PurgeReceive() override;
    bool Read(std::uint8_t *buffer, std::size_t count, std::size_t *received) override;
    bool ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                    int timeoutMs) override;
    bool Flush() override;
    bool Close() override;

private:
    // Waits until the driver's output queue is empty, at most timeoutMs.
    bool Drain(int timeoutMs);

    TMessage Problem;
    // A second descriptor on the device, open from before the port's own until after it is
    // closed, through which the line settings found at Open are put back.
    struct TLineKeeper;
    std::unique_ptr<TLineKeeper> Keeper;

    std::unique_ptr<QSerialPort> Port;
    TPortTimeouts Timeouts;
    std::int32_t Baud = 9600;
};

} // namespace zor
