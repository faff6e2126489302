// Runs ser2net for tests and benchmarks, on loopback only, in front of a device (the panel
// emulator's pseudo-terminal).
#pragma once

#include "harness/ExecTool.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zor::test {

// A loopback port nobody listens on.
inline int ClosedPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &length);
    ::close(s);
    return ntohs(a.sin_port);
}

// ser2net, started on loopback with two accepters: RFC 2217 in front of one device, raw TCP in
// front of the same or another.
class TSer2net
{
public:
    // As a panel is best served: what the device answers goes out at once, not after a wait
    // for more characters.
    static constexpr const char *Options = "  options:\n    chardelay: false\n";

    static std::string Program()
    {
        for (const char *path : {"/usr/sbin/ser2net", "/usr/bin/ser2net"})
            if (::access(path, X_OK) == 0)
                return path;
        return {};
    }

    // Writes the configuration (and ser2net's log) into dir. rawDevice empty: device.
    TSer2net(const std::filesystem::path &dir, const std::string &device,
             const std::string &rawDevice = {})
    {
        RfcPort = ClosedPort();
        RawPort = ClosedPort();
        const auto config = dir / "ser2net.yaml";
        std::ofstream(config) << "%YAML 1.1\n---\n"
                              << "connection: &rfc\n"
                              << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << RfcPort << "\n"
                              << "  connector: serialdev," << device << ",9600n81,local\n"
                              << Options << "connection: &raw\n"
                              << "  accepter: tcp,127.0.0.1," << RawPort << "\n"
                              << "  connector: serialdev,"
                              << (rawDevice.empty() ? device : rawDevice) << ",9600n81,local\n"
                              << Options;
        const int log = ::open((dir / "ser2net.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        Pid = test::ExecTool(
            Program(), {"-n", "-u", "-c", config.string(), "-P", (dir / "ser2net.pid").string()},
            log, log);
        ::close(log);
    }
    ~TSer2net()
    {
        if (Pid > 0) {
            ::kill(Pid, SIGTERM);
            ::waitpid(Pid, nullptr, 0);
        }
    }

    // Waits until the port takes connections; false after two seconds.
    static bool Accepting(int port)
    {
        for (int i = 0; i < 200; ++i) {
            const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.sin_port = htons(static_cast<std::uint16_t>(port));
            const bool connected = ::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
            ::close(s);
            if (connected)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    pid_t Pid = -1;
    int RfcPort = 0;
    int RawPort = 0;
};

} // namespace zor::test
