// How the platform names its serial ports. Chosen by the build: POSIX device nodes
// (PosixPortNames.cpp) or Windows COM ports (Win32PortNames.cpp).
#pragma once

#include <string>

namespace zor {

// The device of port number n (from 1) when the settings file names none: the platform's n-th
// serial port, /dev/ttyS<n-1> on Linux, COMn on Windows.
std::string DefaultPortDevice(int n);

// The path to open for a local device name as typed (blanks already dropped, not empty): a full
// path is kept; a bare name is taken as a node in /dev on Linux ("ttyUSB0"), and in the device
// namespace \\.\ on Windows ("com5" gives \\.\COM5, the only form that reaches COM10 and above).
std::string LocalDevicePath(const std::string &name);

} // namespace zor
