// The serial link to a panel behind a device server, over real loopback sockets: against
// `zor panel --listen` (raw TCP).
#include "comm/NetPort.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "tests/comm/PanelProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace zor {
namespace {

using namespace std::chrono;

const std::string Tool = ZOR_TOOL_PATH;

double MsSince(steady_clock::time_point start)
{
    return duration<double, std::milli>(steady_clock::now() - start).count();
}

std::string Slurp(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Program(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>(1 + (i * 37) % 255); // every byte value but zero, 0xFF too
    return text;
}

std::unique_ptr<TSerial> Serial(const std::string &device)
{
    return std::make_unique<TSerial>(std::make_unique<TNetPort>(), TPortDevices::Single(device));
}

// A loopback listener that never accepts, its queue filled by connections of its own, so that a
// further connection gets no answer.
struct TDeafServer
{
    TDeafServer()
    {
        Listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(Listener, reinterpret_cast<sockaddr *>(&a), sizeof a);
        ::listen(Listener, 0);
        ::getsockname(Listener, reinterpret_cast<sockaddr *>(&a), &length);
        Port = ntohs(a.sin_port);
        for (int &c : Fillers) {
            c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(c, reinterpret_cast<sockaddr *>(&a), sizeof a);
        }
        std::this_thread::sleep_for(milliseconds(50));
    }
    ~TDeafServer()
    {
        for (int c : Fillers)
            ::close(c);
        ::close(Listener);
    }
    int Listener = -1;
    int Fillers[3] = {-1, -1, -1};
    int Port = 0;
};

// A loopback port nobody listens on.
int ClosedPort()
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

class NetTransfer : public testing::Test
{
protected:
    void SetUp() override
    {
        Dir = std::filesystem::temp_directory_path() /
              ("zor-net-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::filesystem::path Dir;
};

TEST(NetworkDeviceNames, OnlyWellFormedUrlsAreNetworkDevices)
{
    TNetAddress a;
    ASSERT_TRUE(ParseNetworkDevice("rfc2217://panel-hall.local:4001", &a));
    EXPECT_EQ(a.Scheme, TNetScheme::Rfc2217);
    EXPECT_EQ(a.Host, "panel-hall.local");
    EXPECT_EQ(a.Port, "4001");
    ASSERT_TRUE(ParseNetworkDevice("socket://[::1]:65535", &a));
    EXPECT_EQ(a.Scheme, TNetScheme::Raw);
    EXPECT_EQ(a.Host, "::1");
    for (const char *bad : {"socket://host", "socket://:4001", "socket://host:0",
                            "socket://host:65536", "socket://host:40x1", "socket://::1:4001",
                            "rfc2217://[::1]4001", "/dev/ttyS0", "tcp://host:4001"})
        EXPECT_FALSE(ParseNetworkDevice(bad, &a)) << bad;
    EXPECT_TRUE(IsNetworkDevice("socket://host"));
    EXPECT_FALSE(IsNetworkDevice("/dev/socket://x"));
}

TEST_F(NetTransfer, ProgramArrivesByteForByteOverRawTcp)
{
    const std::string text = Program(300);
    const std::string out = (Dir / "program.bin").string();
    test::TPanelProcess panel(Tool, {"--listen", "0", "--out", out, "--count", "1"});
    ASSERT_TRUE(panel.DevicePath().starts_with("socket://127.0.0.1:")) << panel.DevicePath();
    auto serial = Serial(panel.DevicePath());
    const auto start = steady_clock::now();
    ASSERT_EQ(serial->SendProgram(text, 1, 1, 1, 9600), ResultOk) << serial->PortProblem();
    EXPECT_LT(MsSince(start), 500);
    panel.Wait();
    EXPECT_EQ(panel.ExitStatus(), 0);
    EXPECT_EQ(Slurp(out), text);
}

TEST_F(NetTransfer, ConnectionsThatFailSayWhy)
{
    const int closed = ClosedPort();
    const std::string refused = "socket://127.0.0.1:" + std::to_string(closed);
    auto serial = Serial(refused);
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(),
              "Cannot reach " + refused +
                  ": the connection was refused by 127.0.0.1:" + std::to_string(closed) + ".");

    serial = Serial("rfc2217://no-such-host.invalid:4001");
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_TRUE(serial->PortProblem().starts_with(
        "Cannot reach rfc2217://no-such-host.invalid:4001: the name no-such-host.invalid does not "
        "resolve"))
        << serial->PortProblem();

    const TDeafServer deaf;
    const std::string unanswered = "socket://127.0.0.1:" + std::to_string(deaf.Port);
    serial = Serial(unanswered);
    const auto start = steady_clock::now();
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_GE(MsSince(start), 2900);
    EXPECT_LT(MsSince(start), 3500);
    EXPECT_EQ(serial->PortProblem(),
              "Cannot reach " + unanswered + ": no answer to the connection within 3 s.");
}

// Cancel and Ctrl-C reach a connection that is being waited for.
TEST_F(NetTransfer, AStopEndsTheWaitForAConnection)
{
    const TDeafServer deaf;
    auto serial = Serial("socket://127.0.0.1:" + std::to_string(deaf.Port));
    TTransferStop stop;
    serial->Stop = &stop;
    std::thread cancel([&] {
        std::this_thread::sleep_for(milliseconds(200));
        stop.Request(TStopReason::Cancelled);
    });
    const auto start = steady_clock::now();
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultCancelled);
    EXPECT_LT(MsSince(start), 400);
    cancel.join();
}

// The server goes away in the middle of a transfer: a failure within the bound, never O.K.,
// saying during which block.
TEST_F(NetTransfer, AServerKilledMidTransferSaysDuringWhichBlock)
{
    test::TPanelProcess panel(Tool, {"--listen", "0"});
    ASSERT_FALSE(panel.DevicePath().empty());
    auto serial = Serial(panel.DevicePath());
    serial->OnProgressPosition = [&](int position) {
        if (position == 2) // block 3 of 10 accepted
            panel.Kill(SIGKILL);
    };
    const auto start = steady_clock::now();
    EXPECT_EQ(serial->SendProgram(Program(600), 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_LT(MsSince(start), 1000);
    const std::string server = panel.DevicePath().substr(std::string("socket://").size());
    EXPECT_EQ(serial->PortProblem(), "The server " + server +
                                         " closed the connection during block 4 of 10: the panel "
                                         "may now hold part of the program. Send again once it is "
                                         "back.");
}

// Late replies cross the network as they cross a local line: a transfer reported as sent has
// sent the program, and a late refusal of the Close is never taken for another frame's answer.
TEST_F(NetTransfer, LateRepliesAreMatchedAsOnALocalLine)
{
    const std::string text = Program(300);
    const std::string out = (Dir / "late.bin").string();
    {
        test::TPanelProcess panel(
            Tool, {"--listen", "0", "--late", "120-180", "--out", out, "--count", "1"});
        ASSERT_FALSE(panel.DevicePath().empty());
        const int code = Serial(panel.DevicePath())->SendProgram(text, 1, 1, 1, 9600);
        if (code == ResultOk) {
            panel.Wait();
            EXPECT_EQ(Slurp(out), text);
        } else {
            EXPECT_LT(code, 0);
        }
    }
    test::TPanelProcess panel(
        Tool, {"--listen", "0", "--refuse", "close", "--late", "150", "--late-frames", "close"});
    ASSERT_FALSE(panel.DevicePath().empty());
    EXPECT_EQ(Serial(panel.DevicePath())->SendProgram(text, 1, 1, 1, 9600), ResultProgramDisabled);
}

} // namespace
} // namespace zor
