// The platform's serial ports, chosen by the build: Qt SerialPort where Qt is, Win32 calls in the
// Windows build of the command-line tool. Everything above this header (the transfer, zor's
// subcommands, the benchmarks) names no platform.
#pragma once

#include "comm/PortList.h"
#include "comm/SerialPort.h"

#include <memory>

namespace zor {

// A closed port for TSerial: of the platform's kind for a local device, and a network port
// (comm/NetPort.h) for a socket:// or rfc2217:// name. Never null.
std::unique_ptr<TSerialPort> CreateSerialPort();

// The machine's serial ports, as the Parameters dialog and zor ports list them. Never null.
std::unique_ptr<TPortEnumerator> CreatePortEnumerator();

// What a program with no event loop of its own must hold, from before its first port is opened
// until after the last is closed (Qt's ports want an application object; Win32's want nothing).
// At most one at a time, made on the main thread.
class TPortRuntime
{
public:
    TPortRuntime();
    ~TPortRuntime();
    TPortRuntime(const TPortRuntime &) = delete;
    TPortRuntime &operator=(const TPortRuntime &) = delete;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

} // namespace zor
