// The serial link to a panel behind a device server, over real loopback sockets: against
// `zor panel --listen` (raw TCP), against ser2net in front of `zor panel`'s pseudo-terminal (raw
// and RFC 2217), and against a scripted Telnet server.
#include "comm/NetPort.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "harness/PanelProcess.h"
#include "harness/Ser2netProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zor {
namespace {

const std::string Tool = ZOR_TOOL_PATH;

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

std::unique_ptr<TSerial> Serial(const std::string &device,
                                std::unique_ptr<TNetPort> port = std::make_unique<TNetPort>())
{
    return std::make_unique<TSerial>(std::move(port), TPortDevices::Single(device));
}

// A network port on the test's clock: each reading moves it on by StepMs (0: it stands still), so
// a bound ends when the port has looked at the clock often enough, not after real time. Past 1000
// readings it leaps far on, so that a port that waits on wrongly fails the test instead of
// hanging it.
class TClockedNetPort : public TNetPort
{
public:
    explicit TClockedNetPort(int stepMs) : StepMs(stepMs) {}
    std::int64_t NowMs() const override
    {
        const int readings = ++Readings;
        Now += readings > 1000 ? 1'000'000 : StepMs;
        if (OnReading)
            OnReading(readings);
        return Now;
    }

    const int StepMs;
    mutable std::int64_t Now = 0;
    mutable std::atomic<int> Readings = 0;
    std::function<void(int readings)> OnReading;
};

// A TCP socket listening on 127.0.0.1 at a port the system picks; *address receives where.
int ListenOnLoopback(int backlog, sockaddr_in *address)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in &a = *address;
    a = sockaddr_in{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ::bind(listener, reinterpret_cast<sockaddr *>(&a), sizeof a);
    ::listen(listener, backlog);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&a), &length);
    return listener;
}

// A loopback listener that never accepts, its queue filled by connections of its own, so that a
// further connection gets no answer.
struct TDeafServer
{
    TDeafServer()
    {
        sockaddr_in a;
        Listener = ListenOnLoopback(0, &a);
        Port = ntohs(a.sin_port);
        pollfd connected[std::size(Fillers)];
        for (std::size_t i = 0; i < std::size(Fillers); ++i) {
            Fillers[i] = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(Fillers[i], reinterpret_cast<sockaddr *>(&a), sizeof a);
            connected[i] = {Fillers[i], POLLOUT, 0};
        }
        // The queue is full once one of them is in it.
        ::poll(connected, std::size(Fillers), 10'000);
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
    ASSERT_EQ(serial->SendProgram(text, 1, 1, 1, 9600), ResultOk) << serial->PortProblem();
    panel.Wait();
    EXPECT_EQ(panel.ExitStatus(), 0);
    EXPECT_EQ(Slurp(out), text);
}

TEST_F(NetTransfer, ConnectionsThatFailSayWhy)
{
    const int closed = test::ClosedPort();
    const std::string refused = "socket://127.0.0.1:" + std::to_string(closed);
    auto serial = Serial(refused);
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(),
              "Cannot reach " + refused +
                  ": the connection was refused by 127.0.0.1:" + std::to_string(closed) + ".");

    serial = Serial("rfc2217://no-such-host.invalid:4001");
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_TRUE(serial->PortProblem().Text().starts_with(
        "Cannot reach rfc2217://no-such-host.invalid:4001: the name no-such-host.invalid does not "
        "resolve"))
        << serial->PortProblem();

    serial = Serial("socket://panel:70000");
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(), "Cannot reach socket://panel:70000: write "
                                     "socket://HOST:PORT or rfc2217://HOST:PORT, PORT a number "
                                     "from 1 to 65535.");

    // Given up on when the bound has passed on the port's clock, not before.
    const TDeafServer deaf;
    const std::string unanswered = "socket://127.0.0.1:" + std::to_string(deaf.Port);
    auto clocked = std::make_unique<TClockedNetPort>(250);
    const TClockedNetPort &clock = *clocked;
    serial = Serial(unanswered, std::move(clocked));
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_GE(clock.Now, TNetPort::ConnectTimeoutMs);
    EXPECT_LT(clock.Readings, 1000);
    EXPECT_EQ(serial->PortProblem(),
              "Cannot reach " + unanswered + ": no answer to the connection within 3 s.");
}

// Cancel and Ctrl-C reach a connection that is being waited for.
TEST_F(NetTransfer, AStopEndsTheWaitForAConnection)
{
    const TDeafServer deaf;
    // The port's clock stands still, so only the stop can end the wait; it comes from another
    // thread once the port has looked at the clock a few times (waiting for the connection).
    auto clocked = std::make_unique<TClockedNetPort>(0);
    TClockedNetPort &clock = *clocked;
    TTransferStop stop;
    std::promise<void> waiting;
    clock.OnReading = [&](int readings) {
        if (readings == 6)
            waiting.set_value();
    };
    auto serial = Serial("socket://127.0.0.1:" + std::to_string(deaf.Port), std::move(clocked));
    serial->Stop = &stop;
    int stoppedAt = 0;
    std::thread cancel([&] {
        waiting.get_future().wait();
        stoppedAt = clock.Readings;
        stop.Request(TStopReason::Cancelled);
    });
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultCancelled);
    if (clock.Readings < 6) // ended before it waited: the cancelling thread is let go
        waiting.set_value();
    cancel.join();
    EXPECT_GE(stoppedAt, 6);
    EXPECT_LE(clock.Readings - stoppedAt, 4) << "the wait went on after the stop";
}

// A name server that never answers: the lookup is given up on within its bound, and a stop ends
// the wait at once, as a stop of the transfer.
TEST(NetPortLookup, ASilentNameServerIsGivenUpOnAndAStopEndsTheWait)
{
    auto release = std::make_shared<std::promise<void>>();
    const std::shared_future<void> released = release->get_future().share();
    auto silent = std::make_unique<TClockedNetPort>(250);
    silent->Resolve = [released](const std::string &, const std::string &,
                                 std::vector<TSocketAddress> *, std::string *) {
        released.wait();
        return false;
    };
    // It returns at all although the lookup never does: the bound ended the wait.
    EXPECT_FALSE(silent->Open("socket://panels.example:4001"));
    EXPECT_GE(silent->Now, TNetPort::LookupTimeoutMs);
    EXPECT_LT(silent->Readings, 1000);
    EXPECT_EQ(silent->OpenProblem(), "Cannot reach socket://panels.example:4001: the name "
                                     "panels.example did not resolve within 3 s.");

    // On a clock that stands still, only the stop ends the wait.
    const auto stop = std::make_shared<TTransferStop>();
    const auto stoppedAt = std::make_shared<std::atomic<int>>(0);
    auto port = std::make_unique<TClockedNetPort>(0);
    const TClockedNetPort &clock = *port;
    port->Resolve = [released, stop, stoppedAt, &clock](const std::string &, const std::string &,
                                                        std::vector<TSocketAddress> *,
                                                        std::string *) {
        // Ctrl-C while the name server is silent (the port waits for this lookup meanwhile).
        *stoppedAt = clock.Readings.load();
        stop->Request(TStopReason::Interrupted);
        released.wait();
        return false;
    };
    TSerial serial(std::move(port), TPortDevices::Single("rfc2217://panels.example:4001"));
    serial.Stop = stop.get();
    const std::uint8_t message[6] = {' ', ' ', '7', ' ', ' ', 0};
    EXPECT_EQ(serial.SendNumeric(message, 1, 9600), ResultCancelled);
    EXPECT_LE(clock.Readings - *stoppedAt, 4) << "the wait went on after the stop";
    release->set_value(); // the lookups left behind end with their threads
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
    // Said as a closed connection, not as a reply that never came: the end was noticed at once.
    EXPECT_EQ(serial->SendProgram(Program(600), 1, 1, 1, 9600), ResultHardwareFailure);
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

// Both URL forms through the real device server: the program arrives byte for byte (0xFF among
// it, which Telnet doubles), and over RFC 2217 the line is set to the transfer's rate and 8N1.
TEST_F(NetTransfer, BothFormsThroughSer2netStoreTheProgramAndRfc2217SetsTheLine)
{
    if (test::TSer2net::Program().empty())
        GTEST_SKIP() << "ser2net is not installed";
    // A panel for each form, so that neither waits for the server to let the other's device go.
    const std::string out = (Dir / "program.bin").string();
    const std::string rawOut = (Dir / "raw.bin").string();
    test::TPanelProcess panel(Tool, {"--out", out});
    test::TPanelProcess rawPanel(Tool, {"--out", rawOut});
    ASSERT_FALSE(panel.DevicePath().empty());
    ASSERT_FALSE(rawPanel.DevicePath().empty());
    test::TSer2net server(Dir, panel.DevicePath(), rawPanel.DevicePath());
    ASSERT_TRUE(test::TSer2net::Accepting(server.RfcPort)) << Slurp(Dir / "ser2net.log");

    const std::string text = Program(400);
    auto serial = Serial("rfc2217://127.0.0.1:" + std::to_string(server.RfcPort));
    termios during{};
    serial->OnProgressPosition = [&](int position) {
        if (position != 1)
            return;
        const int fd = ::open(panel.DevicePath().c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
        ::tcgetattr(fd, &during);
        ::close(fd);
    };
    ASSERT_EQ(serial->SendProgram(text, 1, 1, 1, 19200), ResultOk) << serial->PortProblem();
    EXPECT_EQ(cfgetospeed(&during), static_cast<speed_t>(B19200));
    EXPECT_EQ(during.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_NE(panel.WaitForLine("program "), "");
    EXPECT_EQ(Slurp(out), text);

    const std::string raw = Program(130);
    serial = Serial("socket://127.0.0.1:" + std::to_string(server.RawPort));
    ASSERT_EQ(serial->SendProgram(raw, 1, 1, 1, 19200), ResultOk) << serial->PortProblem();
    EXPECT_NE(rawPanel.WaitForLine("program "), "");
    EXPECT_EQ(Slurp(rawOut), raw);
}

// The port speaks through its Telnet codec (whose every case, cut anywhere, is in
// TelnetCodecTest) to a scripted server: the answers to the server's requests go out, the line is
// set once the server acknowledges each setting, and 0xFF is doubled both ways.
TEST(Rfc2217Port, NegotiatesSetsTheLineAndEscapesOverASocket)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&a), &length);
    using TBytes = std::string;
    const auto bytes = [](std::initializer_list<int> list) {
        TBytes b;
        for (int v : list)
            b += static_cast<char>(v);
        return b;
    };
    TBytes heard; // everything the link sent, once it has closed
    bool closedByLink = false;
    std::thread server([&] {
        const int c = ::accept(listener, nullptr, nullptr);
        const int on = 1;
        ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const auto say = [c](const TBytes &b) { ::send(c, b.data(), b.size(), MSG_NOSIGNAL); };
        // Until end has come or the link has closed; the bound only keeps a broken link from
        // hanging the test.
        timeval bound{10, 0};
        ::setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
        const auto hearUntil = [&](const TBytes &end) {
            char buffer[256];
            while (heard.find(end) == TBytes::npos) {
                const ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
                closedByLink = n == 0;
                if (n <= 0)
                    return;
                heard.append(buffer, static_cast<std::size_t>(n));
            }
        };
        say(bytes({255, 251, 1, 255, 253, 24, 255, 253, 44})); // WILL ECHO, DO TTYPE, DO COM-PORT
        hearUntil(bytes({255, 250, 44, 4, 1, 255, 240}));      // the stop bits, sent last
        say(bytes({255, 250, 44,  107, 48,  255, 240,          // a modem state notice
                   255, 250, 44,  101, 0,   0,   0,   255, 255, 255, 240, // 255 baud
                   255, 250, 44,  102, 8,   255, 240, 255, 250, 44,  103,
                   1,   255, 240, 255, 250, 44,  104, 1,   255, 240}));
        // Data once the link has written, so that it comes after the line is set.
        hearUntil(bytes({255, 255, 'D'}));
        say(bytes({'A', 255, 255, 'B', 255, 241 /* NOP */, 'C'}));
        hearUntil("never: until the link closes");
        ::close(c);
    });

    auto owned = std::make_unique<TNetPort>();
    TNetPort &port = *owned;
    ASSERT_TRUE(port.Open("rfc2217://127.0.0.1:" + std::to_string(ntohs(a.sin_port))))
        << port.OpenProblem();
    ASSERT_TRUE(port.SetLine(255)) << port.OpenProblem();
    TPortTimeouts timeouts;
    timeouts.ReadConstant = 2000;
    ASSERT_TRUE(port.SetTimeouts(timeouts));
    port.Write(255);
    port.Write('D');
    EXPECT_TRUE(port.Flush());
    std::uint8_t got[4] = {};
    std::size_t n = 0;
    ASSERT_TRUE(port.Read(got, 4, &n));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(got), n), bytes({'A', 255, 'B', 'C'}));
    port.Close();
    owned.reset(); // the connection ends with the port
    server.join();
    ::close(listener);

    EXPECT_NE(heard.find(bytes({255, 251, 44})), TBytes::npos); // WILL COM-PORT
    EXPECT_NE(heard.find(bytes({255, 254, 1})), TBytes::npos);  // DONT ECHO
    EXPECT_NE(heard.find(bytes({255, 252, 24})), TBytes::npos); // WONT TTYPE
    EXPECT_NE(heard.find(bytes({255, 250, 44, 1, 0, 0, 0, 255, 255, 255, 240})), TBytes::npos);
    EXPECT_NE(heard.find(bytes({255, 250, 44, 2, 8, 255, 240, 255, 250, 44, 3, 1, 255, 240})),
              TBytes::npos);
    EXPECT_TRUE(heard.ends_with(bytes({255, 255, 'D'})));
    EXPECT_TRUE(closedByLink) << "the connection outlived the port";
}

// A loopback server that accepts one connection and says what it is given, over and over, until
// the link closes; nothing that acknowledges the line settings.
struct TScriptedServer
{
    explicit TScriptedServer(std::string chatter) : Chatter(std::move(chatter))
    {
        sockaddr_in a;
        Listener = ListenOnLoopback(1, &a);
        Address = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
        Thread = std::thread([this] {
            const int c = ::accept(Listener, nullptr, nullptr);
            char scrap[256];
            for (;;) {
                // A silent server waits for the link to close; a chatty one talks until then.
                if (Chatter.empty()) {
                    if (::recv(c, scrap, sizeof scrap, 0) <= 0)
                        break;
                    continue;
                }
                if (::send(c, Chatter.data(), Chatter.size(), MSG_NOSIGNAL) < 0)
                    break;
                if (::recv(c, scrap, sizeof scrap, MSG_DONTWAIT) == 0)
                    break;
            }
            ::close(c);
        });
    }
    ~TScriptedServer()
    {
        Thread.join();
        ::close(Listener);
    }
    std::string Chatter;
    int Listener = -1;
    std::string Address;
    std::thread Thread;
};

// Servers that never acknowledge the line settings refused nothing: silent, flooding Telnet
// commands or escaped 0xFF, sending noise, or speaking raw TCP to an RFC 2217 name. Each is given
// up on within the bound and said to have not answered; one that declines the option refused.
TEST_F(NetTransfer, AServerThatNeverAcknowledgesTheLineSettingsDidNotAnswerWithinTheBound)
{
    test::TPanelProcess panel(Tool, {"--listen", "0"});
    ASSERT_FALSE(panel.DevicePath().empty());
    const std::string noise = "garbage \x01\x02\x7f line noise";
    std::string iacs(4096, '\xff');
    std::string nops;
    for (int i = 0; i < 2048; ++i)
        nops += "\xff\xf1";
    std::vector<std::unique_ptr<TScriptedServer>> servers;
    for (const std::string &chatter : {std::string(), iacs, nops, noise})
        servers.push_back(std::make_unique<TScriptedServer>(chatter));
    std::vector<std::string> addresses = {
        panel.DevicePath().substr(std::string("socket://").size())};
    for (const auto &server : servers)
        addresses.push_back(server->Address);

    // Each on a clock that moves at every reading, so that the bound passes however busy the
    // server keeps the port; a port that went on past its bound would leap (1000 readings).
    std::vector<std::string> problems(addresses.size());
    std::vector<int> readings(addresses.size());
    std::vector<std::thread> links;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        links.emplace_back([&, i] {
            auto port = std::make_unique<TClockedNetPort>(250);
            const TClockedNetPort &clock = *port;
            auto serial = Serial("rfc2217://" + addresses[i], std::move(port));
            if (serial->SendProgram("x", 1, 1, 1, 9600) == ResultHardwareFailure)
                problems[i] = serial->PortProblem().Text();
            readings[i] = clock.Readings;
        });
    for (std::thread &link : links)
        link.join();
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        EXPECT_EQ(problems[i], "The server " + addresses[i] +
                                   " sent no answer to the line settings within 3 s (9600 baud, "
                                   "8N1).");
        EXPECT_LT(readings[i], 1000) << addresses[i];
    }
    servers.clear();

    // A refusal is told at once, long before the bound.
    TScriptedServer declining("\xff\xfe\x2c"); // DONT COM-PORT-OPTION
    auto port = std::make_unique<TClockedNetPort>(250);
    const TClockedNetPort &clock = *port;
    auto serial = Serial("rfc2217://" + declining.Address, std::move(port));
    EXPECT_EQ(serial->SendProgram("x", 1, 1, 1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(),
              "The server " + declining.Address + " refused the line settings (9600 baud, 8N1).");
    EXPECT_LT(clock.Now, TNetPort::LineTimeoutMs);
    serial.reset();
}

} // namespace
} // namespace zor
