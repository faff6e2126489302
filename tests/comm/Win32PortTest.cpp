// The Windows build's ports: how they are named, what an open that fails says, and the network
// port on Winsock. Runs under Wine in CI; the transfer through a real COM port is
// scripts/windows-transfer.sh.

// Before anything that includes windows.h, which would bring the old socket header.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "comm/PortFactory.h"
#include "comm/ProfileFile.h"
#include "comm/Settings.h"
#include "comm/win32/Win32SerialPort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace zor {
namespace {

TEST(Win32PortNames, BareNamesAreOpenedInTheDeviceNamespace)
{
    // Only \\.\COMn reaches ports above COM9.
    EXPECT_EQ(NormalizeDevicePath("COM10"), R"(\\.\COM10)");
    EXPECT_EQ(NormalizeDevicePath(" com5 "), R"(\\.\COM5)");
    EXPECT_EQ(NormalizeDevicePath(R"(\\.\COM5)"), R"(\\.\COM5)");
    EXPECT_EQ(NormalizeDevicePath("COM5:"), R"(\\.\COM5)") << "as DOS writes it";
    EXPECT_EQ(NormalizeDevicePath("com12:"), R"(\\.\COM12)");
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

    // A folder is refused as access denied, which must not read as a port in use.
    std::string name = std::filesystem::temp_directory_path().string();
    while (!name.empty() && name.back() == '\\')
        name.pop_back();
    EXPECT_FALSE(port.Open(name));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.OpenProblem(), name + " is a folder, not a serial port.");
}

// A listening socket on a free loopback port.
class TLoopbackServer
{
public:
    TLoopbackServer()
    {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
        Listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        ::bind(Listener, reinterpret_cast<sockaddr *>(&address), length);
        ::listen(Listener, 1);
        ::getsockname(Listener, reinterpret_cast<sockaddr *>(&address), &length);
        Port = ntohs(address.sin_port);
    }
    ~TLoopbackServer()
    {
        if (Listener != INVALID_SOCKET)
            ::closesocket(Listener);
    }
    std::string Device() const { return "socket://127.0.0.1:" + std::to_string(Port); }

    SOCKET Listener = INVALID_SOCKET;
    int Port = 0;
};

TEST(Win32NetPort, AFrameGoesToADeviceServerAndItsReplyComesBack)
{
    TLoopbackServer server;
    std::string heard;
    std::thread serve([&] {
        const SOCKET client = ::accept(server.Listener, nullptr, nullptr);
        char buffer[3];
        int have = 0;
        while (have < 3) {
            const int n = ::recv(client, buffer + have, 3 - have, 0);
            if (n <= 0)
                break;
            have += n;
        }
        heard.assign(buffer, have);
        ::send(client, "0123456789", 10, 0);
        ::closesocket(client);
    });
    const auto port = CreateSerialPort();
    ASSERT_TRUE(port->Open(server.Device())) << port->OpenProblem();
    EXPECT_TRUE(port->SetLine(19200));
    TPortTimeouts timeouts;
    timeouts.ReadConstant = 2000;
    EXPECT_TRUE(port->SetTimeouts(timeouts));
    for (std::uint8_t b : {0x01, 0x0A, 0xFF})
        port->Write(b);
    std::uint8_t reply[10];
    std::size_t received = 0;
    EXPECT_TRUE(port->Read(reply, sizeof reply, &received));
    serve.join();
    EXPECT_EQ(heard, "\x01\x0A\xFF");
    EXPECT_EQ(std::string(reinterpret_cast<char *>(reply), received), "0123456789");

    // The server has ended the connection: the next read says so.
    EXPECT_FALSE(port->Read(reply, sizeof reply, &received));
    EXPECT_EQ(port->LostProblem(),
              "The server 127.0.0.1:" + std::to_string(server.Port) + " closed the connection");
}

TEST(Win32NetPort, ARefusedConnectionIsNamed)
{
    std::string device;
    {
        TLoopbackServer gone;
        device = gone.Device();
    }
    const auto port = CreateSerialPort();
    EXPECT_FALSE(port->Open(device));
    EXPECT_EQ(port->OpenProblem(), "Cannot reach " + device + ": the connection was refused by " +
                                       device.substr(9) + ".");
}

} // namespace
} // namespace zor
