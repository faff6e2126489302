// The serial port on the Win32 communications calls, for the Windows build. A port is opened as
// \\.\COMn, which reaches every port number (the bare name COMn only works up to COM9), for
// synchronous input and output; the line settings and time-outs found at Open are put back by
// Close.
#pragma once

#include "comm/PortList.h"
#include "comm/SerialPort.h"

#include <windows.h>

#include <string>

namespace zor {

class TWin32SerialPort : public TSerialPort
{
public:
    TWin32SerialPort() = default;
    ~TWin32SerialPort() override;
    TWin32SerialPort(const TWin32SerialPort &) = delete;
    TWin32SerialPort &operator=(const TWin32SerialPort &) = delete;

    // device: COM5, com5 or \\.\COM5 (or any other name of the \\.\ namespace).
    bool Open(const std::string &device) override;
    TMessage OpenProblem() const override { return Problem; }
    TMessage LostProblem() const override { return Lost; }
    bool IsOpen() const override { return Handle != INVALID_HANDLE_VALUE; }
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
    // Reads under the time-outs applied last: returns once count bytes have arrived or they end.
    bool ReadAll(std::uint8_t *buffer, std::size_t count, std::size_t *received);
    bool Apply(const COMMTIMEOUTS &timeouts);
    void MarkLost(DWORD error);

    HANDLE Handle = INVALID_HANDLE_VALUE;
    std::string Name; // as the operator knows it (COM5), for the messages
    std::string Problem;
    std::string Lost;
    DCB Before{};
    COMMTIMEOUTS TimeoutsBefore{};
    bool BeforeKnown = false;
    bool TimeoutsBeforeKnown = false;
    TPortTimeouts Timeouts;
    COMMTIMEOUTS Applied{};
    bool AppliedKnown = false;
};

// The line for an open of device (as the operator wrote it) that failed with error, a
// GetLastError value: the port does not exist, is in use or may not be opened, or the system's
// own words.
std::string DescribeWin32OpenError(const std::string &device, DWORD error);

// The system's text for error, one line in UTF-8 without the final full stop; the number where
// the system has no text.
std::string Win32ErrorText(DWORD error);

// The machine's COM ports: those the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM and
// the COMn names its DOS device table holds, once each, in port-number order.
class TWin32PortEnumerator : public TPortEnumerator
{
public:
    std::vector<TPortInfo> Ports() const override;
};

} // namespace zor
