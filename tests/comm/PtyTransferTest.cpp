// The serial link over real pseudo-terminals: the Qt port's own behaviour, and whole transfers
// against the panel emulator.
#include "comm/Frames.h"
#include "comm/NumericMessage.h"
#include "comm/QtSerialPort.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "tests/comm/PanelProcess.h"

#include "base/AtomicFile.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <termios.h>
#include <thread>

namespace zor {
namespace {

using namespace std::chrono;

const std::string Tool = ZOR_TOOL_PATH;

class QtEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "comm_pty_tests";
        static char *argv[] = {name, nullptr};
        App = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { App.reset(); }
    std::unique_ptr<QCoreApplication> App;
};

const auto *const Environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

// A pseudo-terminal pair made by the test itself; the test holds the terminal side open too.
struct TPty
{
    TPty()
    {
        Master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(Master);
        unlockpt(Master);
        Path = ptsname(Master);
        Held = ::open(Path.c_str(), O_RDWR | O_NOCTTY);
        termios t{};
        tcgetattr(Held, &t);
        cfmakeraw(&t);
        tcsetattr(Held, TCSANOW, &t);
    }
    ~TPty()
    {
        ::close(Held);
        ::close(Master);
    }
    int Master = -1;
    int Held = -1;
    std::string Path;
};

double MsSince(steady_clock::time_point start)
{
    return duration<double, std::milli>(steady_clock::now() - start).count();
}

TEST(QtSerialPort, ReadTimesOutAfterTheConstantAndDeliversWhatCame)
{
    TPty pty;
    TQtSerialPort port;
    ASSERT_TRUE(port.Open(pty.Path));
    ASSERT_TRUE(port.SetLine(9600));
    ASSERT_TRUE(port.SetTimeouts({0, 0, 100, 0, 100}));

    std::uint8_t buffer[10];
    std::size_t received = 99;
    auto start = steady_clock::now();
    ASSERT_TRUE(port.Read(buffer, 10, &received));
    EXPECT_EQ(received, 0u);
    EXPECT_GE(MsSince(start), 95);
    EXPECT_LT(MsSince(start), 180);

    // A reply that comes in two pieces is read whole, as soon as its last byte is in.
    std::thread late([&] {
        ::write(pty.Master, "abc", 3);
        std::this_thread::sleep_for(milliseconds(30));
        ::write(pty.Master, "defghij", 7);
    });
    start = steady_clock::now();
    ASSERT_TRUE(port.Read(buffer, 10, &received));
    late.join();
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), received), "abcdefghij");
    EXPECT_GE(MsSince(start), 25);
    EXPECT_LT(MsSince(start), 90);

    // Written bytes reach the other side; the purge drops only what was received.
    ASSERT_EQ(::write(pty.Master, "stale", 5), 5);
    usleep(20000);
    ASSERT_TRUE(port.PurgeReceive());
    port.Write('x');
    char c = 0;
    ASSERT_EQ(::read(pty.Master, &c, 1), 1);
    EXPECT_EQ(c, 'x');
    ASSERT_TRUE(port.Read(buffer, 1, &received));
    EXPECT_EQ(received, 0u);
    EXPECT_TRUE(port.Flush());
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.Close());
}

TEST(QtSerialPort, OpensOnlyExistingFreeDevicesAndKeepsFlowControl)
{
    TQtSerialPort port;
    EXPECT_FALSE(port.Open("/dev/zor-no-such-port"));
    EXPECT_FALSE(port.IsOpen());

    TPty pty;
    termios t{};
    tcgetattr(pty.Held, &t);
    t.c_cflag |= CRTSCTS;
    t.c_iflag |= IXON | IXOFF;
    tcsetattr(pty.Held, TCSANOW, &t);

    ASSERT_TRUE(port.Open(pty.Path));
    ASSERT_TRUE(port.SetLine(12345)); // a rate of no standard is passed through too
    ASSERT_TRUE(port.SetLine(38400));
    termios now{};
    tcgetattr(pty.Held, &now);
    EXPECT_TRUE(now.c_cflag & CRTSCTS);
    EXPECT_TRUE(now.c_iflag & IXON);
    EXPECT_TRUE(now.c_iflag & IXOFF);
    EXPECT_EQ(cfgetospeed(&now), B38400);
    EXPECT_EQ(now.c_cflag & CSIZE, CS8);
    EXPECT_FALSE(now.c_cflag & (PARENB | CSTOPB));

    TQtSerialPort other;
    EXPECT_FALSE(other.Open(pty.Path)); // not shared with another user
    port.Close();
    EXPECT_TRUE(other.Open(pty.Path));
}

class PtyTransfer : public testing::Test
{
protected:
    void SetUp() override
    {
        Dir = std::filesystem::temp_directory_path() / ("zor-pty-" + std::to_string(getpid()));
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    std::unique_ptr<TSerial> Serial(const std::string &device)
    {
        return std::make_unique<TSerial>(CreateSerialPort(), TPortDevices::Single(device));
    }

    std::filesystem::path Dir;
};

TEST_F(PtyTransfer, ProgramOfSeveralBlocksArrivesByteForByte)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char>(1 + (i * 37) % 255); // every byte value but zero
    const std::string out = (Dir / "program.bin").string();
    test::TPanelProcess panel(Tool, {"--out", out, "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());

    auto serial = Serial(panel.DevicePath());
    std::vector<int> positions;
    serial->OnProgressPosition = [&](int p) { positions.push_back(p); };
    const auto start = steady_clock::now();
    ASSERT_EQ(serial->SendProgram(text, 1, 1, 4, 19200), ResultOk);
    EXPECT_LT(MsSince(start), 500);
    panel.Wait();
    EXPECT_EQ(panel.ExitStatus(), 0);
    std::string received;
    ASSERT_TRUE(ReadWholeFile(out, &received));
    EXPECT_EQ(received, text);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(PtyTransfer, NumericFieldsArrive)
{
    test::TPanelProcess panel(Tool, {"--count", "1"});
    std::uint8_t message[6];
    ASSERT_TRUE(BuildMessage("123", "4", message));
    EXPECT_EQ(Serial(panel.DevicePath())->SendNumeric(message, 1, 9600), ResultOk);
    EXPECT_EQ(panel.Wait(), "numeric days \"123\" accidents \" 4\"\n");
}

struct TFaultCase
{
    const char *Name;
    std::vector<std::string> Args;
    int Result;
    double MaxMs; // the bound of attempts times time-outs, with room for the machine
};

class PtyFaults : public PtyTransfer, public testing::WithParamInterface<TFaultCase>
{
};

TEST_P(PtyFaults, InjectedFaultsGiveTheirCodesWithinTheirBounds)
{
    test::TPanelProcess panel(Tool, GetParam().Args);
    ASSERT_FALSE(panel.DevicePath().empty());
    const auto start = steady_clock::now();
    EXPECT_EQ(Serial(panel.DevicePath())->SendProgram(std::string(100, 'a'), 1, 1, 1, 9600),
              GetParam().Result);
    EXPECT_LT(MsSince(start), GetParam().MaxMs);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PtyFaults,
    testing::Values(
        TFaultCase{"RefuseOpen", {"--refuse", "open"}, ResultProgramDisabled, 150},
        TFaultCase{"RefuseBlock2", {"--refuse", "block2"}, ResultProgramDisabled, 150},
        TFaultCase{"SilentOpen3", {"--silent", "open:3"}, ResultTimeout, 3 * 100 + 150},
        TFaultCase{"SilentClose2", {"--silent", "close:2"}, ResultOk, 2 * 100 + 150},
        TFaultCase{"BadCrcBlock1Twice", {"--bad-crc", "block1:2"}, ResultOk, 2 * 100 + 150},
        TFaultCase{
            "UnknownStatusClose3", {"--unknown-status", "close:3"}, ResultTimeout, 3 * 100 + 150},
        TFaultCase{"TooFewFreeBlocks", {"--free-blocks", "1"}, ResultNoMemory, 150},
        TFaultCase{"Late30", {"--late", "30"}, ResultOk, 5 * 30 + 150}),
    [](const testing::TestParamInfo<TFaultCase> &fault) { return std::string(fault.param.Name); });

TEST_F(PtyTransfer, MissingDeviceIsAHardwareFailure)
{
    EXPECT_EQ(Serial((Dir / "none").string())->SendProgram("x", 1, 1, 1, 9600),
              ResultHardwareFailure);
}

TEST_F(PtyTransfer, PanelForgetsAFrameCutShortByAPause)
{
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    const int fd = ::open(panel.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);

    std::uint8_t block[BlockFrameLength];
    std::uint8_t data[BlockDataLength] = {'a'};
    BuildBlockFrame(block, data, 1, 1);
    std::uint8_t open[BlockFrameLength];
    const std::size_t openLength = BuildOpenFrame(open, {2020, 2, 29, 23, 59, 59});

    ASSERT_EQ(::write(fd, block, 30), 30);
    // Well past the emulator's idle time, so the half frame is forgotten.
    std::this_thread::sleep_for(milliseconds(400));
    ASSERT_EQ(::write(fd, open, openLength), static_cast<ssize_t>(openLength));

    std::uint8_t reply[ReplyLength];
    std::size_t got = 0;
    const auto start = steady_clock::now();
    while (got < ReplyLength && MsSince(start) < 5000) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            const ssize_t n = ::read(fd, reply + got, ReplyLength - got);
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    ASSERT_EQ(got, ReplyLength);
    EXPECT_EQ(ComputeCrc(reply, ReplyLength), 0);
    EXPECT_EQ(reply[7], StatusAccepted);
}

} // namespace
} // namespace zor
