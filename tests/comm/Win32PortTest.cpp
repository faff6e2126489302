// The Windows build's ports: how they are named, and what an open that fails says. Runs under
// Wine in CI; the transfer through a real COM port is scripts/windows-transfer.sh.
#include "comm/PortFactory.h"
#include "comm/ProfileFile.h"
#include "comm/Settings.h"
#include "comm/Win32SerialPort.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(Win32PortNames, BareNamesAreOpenedInTheDeviceNamespace)
{
    // Only \\.\COMn reaches ports above COM9.
    EXPECT_EQ(NormalizeDevicePath("COM10"), R"(\\.\COM10)");
    EXPECT_EQ(NormalizeDevicePath(" com5 "), R"(\\.\COM5)");
    EXPECT_EQ(NormalizeDevicePath(R"(\\.\COM5)"), R"(\\.\COM5)");
    EXPECT_EQ(NormalizeDevicePath("CNCA0"), R"(\\.\CNCA0)") << "a driver's own port name";
    EXPECT_EQ(NormalizeDevicePath("socket://hall1.example:4001"), "socket://hall1.example:4001");
    EXPECT_EQ(NormalizeDevicePath("  "), "");
}

TEST(Win32PortNames, EachPortNumberDefaultsToItsComPort)
{
    const TPortDevices defaults = LoadPortDevices(TProfileFile(""));
    EXPECT_EQ(defaults.ForPort(1), "COM1");
    EXPECT_EQ(defaults.ForPort(3), "COM3");
    EXPECT_EQ(defaults.ForPort(9), "COM4") << "every other number is the fourth";
}

TEST(Win32SerialPort, AnOpenThatFailsSaysWhy)
{
    const auto port = CreateSerialPort();
    for (const char *name : {"COM199", "com199", R"(\\.\COM199)"}) {
        EXPECT_FALSE(port->Open(name)) << name;
        EXPECT_FALSE(port->IsOpen());
        EXPECT_EQ(port->OpenProblem(), "The port COM199 does not exist.") << name;
    }
    EXPECT_FALSE(port->Close()) << "nothing to close";

    EXPECT_FALSE(port->Open("socket://127.0.0.1:4001"));
    EXPECT_NE(port->OpenProblem().find("no network devices"), std::string::npos)
        << port->OpenProblem();

    // What Windows answers for a port another program holds.
    EXPECT_EQ(DescribeWin32OpenError(R"(\\.\COM3)", ERROR_SHARING_VIOLATION),
              "The port COM3 is in use by another program.");
    EXPECT_EQ(DescribeWin32OpenError(R"(\\.\COM3)", ERROR_ACCESS_DENIED),
              "The port COM3 is in use by another program, or this user may not open it "
              "(access denied).");
}

TEST(Win32SerialPort, ADeviceThatIsNoSerialPortIsRefused)
{
    TWin32SerialPort port;
    EXPECT_FALSE(port.Open("NUL"));
    EXPECT_EQ(port.OpenProblem(), "NUL is not a serial device.");
}

} // namespace
} // namespace zor
