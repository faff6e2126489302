// The Test button of the Panels page: opens a panel's device as a transfer would (for a device
// server: connects, and for RFC 2217 has the line set) and closes it again, without sending a
// frame, and says in one sentence what it found. Plain C++, no Qt.
#pragma once

#include "comm/SerialPort.h"
#include "comm/TransferStop.h"

#include <cstdint>
#include <string>

namespace zor {

struct TDeviceTestResult
{
    bool Ok = false;
    // "Opened /dev/ttyUSB0 at 9600 baud", "Connected to 10.0.0.21:4001, line set to 9600 baud
    // 8N1", or why the device could not be opened, connected to or set up.
    std::string Sentence;
};

// Tests device (as typed; a bare name is a node in /dev) at baud through port, which must be
// closed and is closed again afterwards. Returns within the port's own bounds (a name lookup, a
// connection and the line settings wait at most 3 s each, and give up early once stop is
// requested; stop may be null). Run it off the window's thread: a local port's open may take a
// moment, a device server's seconds.
TDeviceTestResult TestDevice(TSerialPort &port, const std::string &device, std::int32_t baud,
                             const TTransferStop *stop = nullptr);

} // namespace zor
