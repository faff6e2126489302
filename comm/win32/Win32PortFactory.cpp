// The ports of the Windows build: Win32 COM ports, and network devices through Winsock.
#include "comm/DevicePort.h"
#include "comm/PortFactory.h"
#include "comm/win32/Win32SerialPort.h"

namespace zor {

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
