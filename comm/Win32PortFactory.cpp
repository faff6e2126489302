// The ports of the Windows build: Win32 COM ports, and no network devices.
#include "comm/NetPort.h"
#include "comm/PortFactory.h"
#include "comm/Win32SerialPort.h"

namespace zor {

// The network port is not built for Windows: a socket:// or rfc2217:// device is refused at Open
// with a sentence saying so, and every other call finds the port closed.
TNetPort::~TNetPort() = default;

bool TNetPort::Open(const std::string &device)
{
    Problem = "Cannot reach " + device +
              ": this build of zor reaches no network devices (socket://, rfc2217://); name a "
              "COM port instead.";
    return false;
}

bool TNetPort::SetLine(std::int32_t)
{
    return false;
}

bool TNetPort::SetTimeouts(const TPortTimeouts &)
{
    return false;
}

void TNetPort::Write(std::uint8_t) {}

bool TNetPort::PurgeReceive()
{
    return false;
}

bool TNetPort::Read(std::uint8_t *, std::size_t, std::size_t *received)
{
    *received = 0;
    return false;
}

bool TNetPort::ReadWithin(std::uint8_t *, std::size_t, std::size_t *received, int)
{
    *received = 0;
    return false;
}

bool TNetPort::Flush()
{
    return false;
}

bool TNetPort::Close()
{
    return false;
}

std::unique_ptr<TSerialPort> CreateSerialPort()
{
    return std::make_unique<TDevicePort>([] { return std::make_unique<TWin32SerialPort>(); });
}

std::unique_ptr<TPortEnumerator> CreatePortEnumerator()
{
    return std::make_unique<TWin32PortEnumerator>();
}

// Win32's ports need nothing around them.
struct TPortRuntime::TImpl
{
};

TPortRuntime::TPortRuntime() = default;

TPortRuntime::~TPortRuntime() = default;

} // namespace zor
