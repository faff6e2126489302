// The serial link over real pseudo-terminals: the Qt port's own behaviour, and whole transfers
// against the panel emulator.
#include "comm/Frames.h"
#include "comm/NumericMessage.h"
#include "comm/PanelSend.h"
#include "comm/PortFactory.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "comm/posix/QtSerialPort.h"
#include "harness/ExecTool.h"
#include "harness/PanelProcess.h"

#include "base/AtomicFile.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Bytes that came in on the terminal side and were not yet read.
int Waiting(int fd)
{
    int n = 0;
    return ::ioctl(fd, FIONREAD, &n) == 0 ? n : -1;
}

// Waits until done() holds, looking every few milliseconds; false when it has not after ten
// seconds (the test has failed then, not the machine been slow).
bool WaitUntil(const std::function<bool()> &done)
{
    for (int i = 0; i < 1000; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return done();
}

TEST(QtSerialPort, ReadTimesOutAfterTheConstantAndDeliversWhatCame)
{
    TPty pty;
    TQtSerialPort port;
    ASSERT_TRUE(port.Open(pty.Path));
    ASSERT_TRUE(port.SetLine(9600));
    ASSERT_TRUE(port.SetTimeouts({0, 0, 100, 0, 100}));

    // The time-out runs on the port's own clock, the one the transfer times its windows with.
    std::uint8_t buffer[10];
    std::size_t received = 99;
    std::int64_t start = port.NowMs();
    ASSERT_TRUE(port.Read(buffer, 10, &received));
    EXPECT_EQ(received, 0u);
    EXPECT_GE(port.NowMs() - start, 99);

    // A reply that comes in two pieces, the second once the first has been read, is read whole
    // as soon as its last byte is in: long before a time-out no machine is slow enough to reach.
    ASSERT_TRUE(port.SetTimeouts({0, 0, 10000, 0, 100}));
    std::jthread late([&] {
        ::write(pty.Master, "abc", 3);
        WaitUntil([&] { return Waiting(pty.Held) == 0; });
        ::write(pty.Master, "defghij", 7);
    });
    start = port.NowMs();
    ASSERT_TRUE(port.Read(buffer, 10, &received));
    late.join();
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), received), "abcdefghij");
    EXPECT_LT(port.NowMs() - start, 10000);
    ASSERT_TRUE(port.SetTimeouts({0, 0, 100, 0, 100}));

    // Written bytes reach the other side; the purge drops only what was received.
    ASSERT_EQ(::write(pty.Master, "stale", 5), 5);
    ASSERT_TRUE(WaitUntil([&] { return Waiting(pty.Held) == 5; }));
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
    // (How long it takes is bench/bench_transfer's.)
    ASSERT_EQ(serial->SendProgram(text, 1, 1, 4, 19200), ResultOk);
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

// How long each takes is timed on the simulated clock (tests/comm/SerialTest.cpp) and over the
// pseudo-terminal in bench/bench_transfer.
struct TFaultCase
{
    const char *Name;
    std::vector<std::string> Args;
    int Result;
};

class PtyFaults : public PtyTransfer, public testing::WithParamInterface<TFaultCase>
{
};

TEST_P(PtyFaults, InjectedFaultsGiveTheirCodes)
{
    test::TPanelProcess panel(Tool, GetParam().Args);
    ASSERT_FALSE(panel.DevicePath().empty());
    EXPECT_EQ(Serial(panel.DevicePath())->SendProgram(std::string(100, 'a'), 1, 1, 1, 9600),
              GetParam().Result);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PtyFaults,
    testing::Values(TFaultCase{"RefuseOpen", {"--refuse", "open"}, ResultProgramDisabled},
                    TFaultCase{"RefuseBlock2", {"--refuse", "block2"}, ResultProgramDisabled},
                    TFaultCase{"SilentOpen3", {"--silent", "open:3"}, ResultTimeout},
                    TFaultCase{"SilentClose2", {"--silent", "close:2"}, ResultOk},
                    TFaultCase{"BadCrcBlock1Twice", {"--bad-crc", "block1:2"}, ResultOk},
                    TFaultCase{
                        "UnknownStatusClose3", {"--unknown-status", "close:3"}, ResultTimeout},
                    TFaultCase{"TooFewFreeBlocks", {"--free-blocks", "1"}, ResultNoMemory},
                    TFaultCase{"Late30", {"--late", "30"}, ResultOk}),
    [](const testing::TestParamInfo<TFaultCase> &fault) { return std::string(fault.param.Name); });

TEST_F(PtyTransfer, MissingDeviceIsAHardwareFailure)
{
    EXPECT_EQ(Serial((Dir / "none").string())->SendProgram("x", 1, 1, 1, 9600),
              ResultHardwareFailure);
}

std::string Slurp(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the tool with output and errors into outFile; returns its process number.
pid_t Spawn(const std::string &tool, std::vector<std::string> args, const std::string &outFile,
            const std::function<void()> &inChild = {})
{
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = test::ExecTool(tool, std::move(args), out, out, inChild);
    if (out >= 0)
        ::close(out);
    return pid;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The settings that matter on a line, compared field by field.
void ExpectSameLine(const termios &a, const termios &b)
{
    EXPECT_EQ(a.c_iflag, b.c_iflag);
    EXPECT_EQ(a.c_oflag, b.c_oflag);
    EXPECT_EQ(a.c_cflag, b.c_cflag);
    EXPECT_EQ(a.c_lflag, b.c_lflag);
    EXPECT_EQ(cfgetospeed(&a), cfgetospeed(&b));
    EXPECT_EQ(0, std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc));
}

// Puts line settings on the device that no transfer would choose, and returns them as read back.
termios SetUnusualLine(int fd)
{
    termios t{};
    tcgetattr(fd, &t);
    cfsetspeed(&t, B4800);
    t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    tcsetattr(fd, TCSANOW, &t);
    termios now{};
    tcgetattr(fd, &now);
    return now;
}

std::string Program(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>('A' + i % 26);
    return text;
}

// Whatever a late panel does to the exchange, a transfer reported as sent has sent the program.
TEST_F(PtyTransfer, APanelAnsweringLateNeverPassesForOneThatTookTheProgram)
{
    const std::string text = Program(300);
    const std::string out = (Dir / "late.bin").string();
    test::TPanelProcess panel(Tool, {"--late", "120-180", "--out", out, "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    const int code = Serial(panel.DevicePath())->SendProgram(text, 1, 1, 1, 9600);
    if (code == ResultOk) {
        panel.Wait();
        EXPECT_EQ(Slurp(out), text);
    } else {
        EXPECT_LT(code, 0);
    }
}

TEST_F(PtyTransfer, APanelRefusingTheCloseLateIsAlwaysProgramDisable)
{
    for (const auto &args : std::vector<std::vector<std::string>>{
             {"--refuse", "close", "--late", "120-180"},
             {"--refuse", "close", "--late", "150", "--late-frames", "close"},
             {"--refuse", "close", "--late", "120-180", "--late-frames", "block"}}) {
        SCOPED_TRACE(args[3] + (args.size() > 4 ? " " + args[5] : std::string()));
        test::TPanelProcess panel(Tool, args);
        ASSERT_FALSE(panel.DevicePath().empty());
        EXPECT_EQ(Serial(panel.DevicePath())->SendProgram(Program(150), 1, 1, 1, 9600),
                  ResultProgramDisabled);
    }
}

// The frame whose reply the log shows after each "Receive" caption, with the second byte of that
// reply; the emulator echoes the frame's kind there (the link does not look at it).
std::vector<std::pair<std::string, std::string>> TakenReplies(const std::string &log)
{
    std::vector<std::pair<std::string, std::string>> taken;
    std::istringstream in(log);
    std::string line, dump;
    while (std::getline(in, line)) {
        const char *kind = line.starts_with("Open Receive")    ? "00"
                           : line.starts_with("Receive Block") ? "01"
                           : line.starts_with("Close Receive") ? "02"
                                                               : nullptr;
        if (kind && std::getline(in, dump) && dump.size() >= 5)
            taken.emplace_back(kind, dump.substr(3, 2));
    }
    return taken;
}

// A panel answering 300 ms to 2 s late that refuses, or once leaves unanswered, the Open frame,
// block 2 or the Close frame. Whatever the outcome, O.K. means the panel took the program, a
// refusal is never O.K., and each reply the log shows as taken answers its own frame. Where the
// timing leaves room for a loaded machine (200 ms or more), the outcome itself is checked too.
// Up to 600 ms every reply is late; beyond, only the faulted frame's, since a later Open frame
// would end every case alike. The cases of one lateness run side by side.
class PtyLateness : public PtyTransfer, public testing::WithParamInterface<int>
{
};

TEST_P(PtyLateness, NoReplyIsTakenForAnotherFrame)
{
    const int late = GetParam();
    const bool every = late <= 600;
    const std::string text = Program(100); // two blocks
    struct TCase
    {
        bool Refuse;
        std::string Frame;
        std::unique_ptr<test::TPanelProcess> Panel;
        std::string Out, Log;
        int Code = 1;
    };
    std::vector<TCase> cases;
    for (const bool refuse : {true, false})
        for (const char *frame : {"open", "block2", "close"})
            cases.push_back({refuse, frame, nullptr, {}, {}});
    for (auto &c : cases) {
        const std::string name = (c.Refuse ? "refuse-" : "silent-") + c.Frame;
        c.Out = (Dir / (name + ".bin")).string();
        c.Log = (Dir / (name + ".log")).string();
        std::vector<std::string> args = {
            "--late", std::to_string(late), c.Refuse ? "--refuse" : "--silent", c.Frame, "--out",
            c.Out};
        if (!every)
            args.insert(args.end(), {"--late-frames", c.Frame});
        c.Panel = std::make_unique<test::TPanelProcess>(Tool, args);
        ASSERT_FALSE(c.Panel->DevicePath().empty());
    }
    {
        std::vector<std::jthread> threads;
        for (auto &c : cases)
            threads.emplace_back([&c, &text] {
                TSerial serial(CreateSerialPort(), TPortDevices::Single(c.Panel->DevicePath()),
                               TTransferLog{true, c.Log});
                c.Code = serial.SendProgram(text, 1, 1, 1, 9600);
            });
    }
    for (auto &c : cases) {
        SCOPED_TRACE((c.Refuse ? "refused " : "one silence of ") + c.Frame);
        c.Panel->Stop();
        if (c.Code == ResultOk) {
            EXPECT_FALSE(c.Refuse) << "a refusal passed for O.K.";
            EXPECT_EQ(Slurp(c.Out), text) << "O.K., but the panel did not take the program";
        }
        EXPECT_LT(c.Code, 1) << "the transfer did not end";
        if (late >= 1000 || (c.Refuse && late <= 400)) {
            EXPECT_EQ(c.Code, c.Refuse && late <= 400 ? ResultProgramDisabled : ResultTimeout);
        }
        if (!c.Refuse && late == 300) {
            EXPECT_EQ(c.Code, ResultOk);
        }
        auto taken = TakenReplies(Slurp(c.Log));
        if (c.Code == ResultTimeout && !taken.empty())
            taken.pop_back(); // what the frame that timed out last read
        for (const auto &[kind, echo] : taken)
            EXPECT_EQ(echo, kind) << "a frame of kind " << kind << " took another frame's reply";
    }
}

INSTANTIATE_TEST_SUITE_P(Late, PtyLateness, testing::Values(300, 400, 600, 1000, 2000),
                         [](const testing::TestParamInfo<int> &late) {
                             return std::to_string(late.param) + "ms";
                         });

TEST_F(PtyTransfer, APanelThatNeverAnswersTimesOut)
{
    test::TPanelProcess panel(Tool, {"--silent", "any:1000"});
    EXPECT_EQ(Serial(panel.DevicePath())->SendProgram("x", 1, 1, 1, 9600), ResultTimeout);
}

TEST_F(PtyTransfer, AStopMidTransferEndsAfterTheFrameInFlightAndRestoresTheLine)
{
    const std::string out = (Dir / "cancelled.bin").string();
    test::TPanelProcess panel(Tool, {"--late", "20", "--out", out});
    ASSERT_FALSE(panel.DevicePath().empty());
    const int fd = ::open(panel.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const termios before = SetUnusualLine(fd);

    auto serial = Serial(panel.DevicePath());
    TTransferStop stop;
    serial->Stop = &stop;
    std::vector<int> positions;
    serial->OnProgressPosition = [&](int p) {
        positions.push_back(p);
        if (p == 1)
            stop.Request(TStopReason::Cancelled);
    };
    EXPECT_EQ(serial->SendProgram(Program(300), 1, 1, 1, 9600), ResultCancelled);
    EXPECT_EQ(positions, (std::vector<int>{0, 1})) << "blocks 1 and 2, then nothing";
    termios after{};
    tcgetattr(fd, &after);
    ExpectSameLine(before, after);
    ::close(fd);
    panel.Stop();
    EXPECT_FALSE(std::filesystem::exists(out)) << "the panel took no program";
}

TEST_F(PtyTransfer, CtrlCEndsZorSendAndNumericAtOnceWithTheLineRestored)
{
    test::TPanelProcess panel(Tool, {"--late", "150"});
    ASSERT_FALSE(panel.DevicePath().empty());
    const int fd = ::open(panel.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const termios before = SetUnusualLine(fd);

    const auto program = Dir / "program.bin";
    std::ofstream(program, std::ios::binary) << Program(2000); // 32 blocks, seconds at this pace
    const auto log = Dir / "send.log";
    const auto messages = (Dir / "send.out").string();
    const pid_t send = Spawn(Tool,
                             {"send", "--program", program.string(), "--device", panel.DevicePath(),
                              "--log", log.string()},
                             messages);
    // Once the first block has been answered the transfer is well under way. It stops after the
    // frame in flight (as timed on the simulated clock, tests/comm/SerialTest.cpp), long before
    // the program's end.
    ASSERT_TRUE(
        WaitUntil([&] { return Slurp(log).find("Receive Block number1") != std::string::npos; }));
    kill(send, SIGINT);
    EXPECT_EQ(ExitCode(send), 130);
    const std::string written = Slurp(log);
    EXPECT_TRUE(written.starts_with("Open Send\r\n"));
    EXPECT_TRUE(written.ends_with(",\r\nTransfer interrupted\r\n")) << written;
    EXPECT_NE(Slurp(messages).find("transfer interrupted"), std::string::npos);
    termios after{};
    tcgetattr(fd, &after);
    ExpectSameLine(before, after);

    ::close(fd);

    // A panel that does not answer keeps the numeric message in its attempts.
    test::TPanelProcess silent(Tool, {"--silent", "numeric:1000"});
    const int silentFd = ::open(silent.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(silentFd, 0);
    const termios silentBefore = SetUnusualLine(silentFd);
    const pid_t numeric =
        Spawn(Tool, {"numeric", "1", "2", "--device", silent.DevicePath()}, messages);
    // zor has the port once it has set the line; the panel then waits in vain.
    ASSERT_TRUE(WaitUntil([&] {
        termios now{};
        tcgetattr(silentFd, &now);
        return cfgetospeed(&now) != cfgetospeed(&silentBefore);
    }));
    kill(numeric, SIGINT);
    EXPECT_EQ(ExitCode(numeric), 130);
    tcgetattr(silentFd, &after);
    ExpectSameLine(silentBefore, after);
    ::close(silentFd);
}

// The Qt port works in a thread Qt did not start (the workers of a transfer are std::jthreads)
// without a complaint.
TEST_F(PtyTransfer, TheQtPortWorksInAThreadQtDidNotStart)
{
    static std::atomic<int> complaints{0};
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                ++complaints;
        });
    const std::string text = Program(300);
    const std::string out = (Dir / "thread.bin").string();
    test::TPanelProcess panel(Tool, {"--out", out, "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    int code = 1;
    std::jthread([&] {
        code = Serial(panel.DevicePath())->SendProgram(text, 1, 1, 1, 19200);
    }).join();
    qInstallMessageHandler(previous);
    EXPECT_EQ(complaints, 0);
    EXPECT_EQ(code, ResultOk);
    panel.Wait();
    EXPECT_EQ(Slurp(out), text);
}

TEST_F(PtyTransfer, CtrlCStopsZorSendToEveryPanel)
{
    std::vector<std::unique_ptr<test::TPanelProcess>> panels;
    std::vector<std::string> args = {"send",
                                     "--program",
                                     (Dir / "program.bin").string(),
                                     "--settings",
                                     (Dir / "empty.INI").string(),
                                     "--log",
                                     (Dir / "send.log").string()};
    std::ofstream(Dir / "program.bin", std::ios::binary) << Program(2000); // seconds at this pace
    std::ofstream(Dir / "empty.INI");
    std::vector<std::filesystem::path> logs;
    for (int i = 0; i < 2; ++i) {
        panels.push_back(std::make_unique<test::TPanelProcess>(
            Tool, std::vector<std::string>{"--late", "150", "--out",
                                           (Dir / ("out" + std::to_string(i))).string()}));
        ASSERT_FALSE(panels.back()->DevicePath().empty());
        args.insert(args.end(), {"--device", panels.back()->DevicePath()});
        logs.emplace_back(PanelLogPath((Dir / "send.log").string(), panels.back()->DevicePath()));
    }
    const auto messages = (Dir / "send.out").string();
    const pid_t send = Spawn(Tool, args, messages);
    // Once each has had its first block answered, both transfers are well under way.
    ASSERT_TRUE(WaitUntil([&] {
        return Slurp(logs[0]).find("Receive Block number1") != std::string::npos &&
               Slurp(logs[1]).find("Receive Block number1") != std::string::npos;
    }));
    kill(send, SIGINT);
    EXPECT_EQ(ExitCode(send), 130);
    EXPECT_EQ(Slurp(messages), panels[0]->DevicePath() + "\t130\tTransfer interrupted\n" +
                                   panels[1]->DevicePath() + "\t130\tTransfer interrupted\n" +
                                   "zor send: transfer interrupted\n");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(Slurp(logs[i]).ends_with(",\r\nTransfer interrupted\r\n"));
        panels[i]->Stop();
        EXPECT_FALSE(exists(Dir / ("out" + std::to_string(i)))) << "a panel took the program";
    }
}

TEST_F(PtyTransfer, APortThatCannotBeOpenedSaysWhy)
{
    const std::string none = (Dir / "none").string();
    auto serial = Serial(none);
    EXPECT_EQ(serial->OpenPort(1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(), "The device " + none + " does not exist.");

    const std::string file = (Dir / "plain.txt").string();
    std::ofstream(file) << "not a port";
    serial = Serial(file);
    EXPECT_EQ(serial->OpenPort(1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(), file + " is not a serial device.");

    // Another program holds the port: a zor numeric that waits in vain for its answer.
    TPty pty;
    const pid_t holder =
        Spawn(Tool, {"numeric", "1", "2", "--device", pty.Path}, (Dir / "holder.out").string());
    pollfd p{pty.Master, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 5000), 1) << "the holder's frame arrives once it has the port";
    serial = Serial(pty.Path);
    EXPECT_EQ(serial->OpenPort(1, 9600), ResultHardwareFailure);
    EXPECT_EQ(serial->PortProblem(), "The port " + pty.Path +
                                         " is in use by another program (zor, process " +
                                         std::to_string(holder) + ").");
    EXPECT_EQ(ExitCode(holder), 4); // Timeout, as nobody answered it
}

// The panel goes away in the middle of a transfer (unplugged, or its emulator killed): Hardware
// Failure, with a line saying during which block and that the panel may hold part of the program,
// from the link and from `zor send` alike.
TEST_F(PtyTransfer, APanelLostMidTransferSaysDuringWhichBlock)
{
    const std::string again =
        ": the panel may now hold part of the program. Send again once it is back.";
    {
        test::TPanelProcess panel(Tool, {});
        ASSERT_FALSE(panel.DevicePath().empty());
        auto serial = Serial(panel.DevicePath());
        serial->OnProgressPosition = [&](int position) {
            if (position == 2) // block 3 of 10 accepted
                panel.Kill(SIGKILL);
        };
        EXPECT_EQ(serial->SendProgram(Program(600), 1, 1, 1, 9600), ResultHardwareFailure);
        EXPECT_EQ(serial->PortProblem(),
                  "The device " + panel.DevicePath() + " went away during block 4 of 10" + again);
    }

    test::TPanelProcess panel(Tool, {"--late", "30"});
    ASSERT_FALSE(panel.DevicePath().empty());
    const auto program = Dir / "program.bin";
    std::ofstream(program, std::ios::binary) << Program(2000); // 32 blocks
    const auto log = Dir / "send.log";
    const auto messages = (Dir / "send.out").string();
    const pid_t send = Spawn(Tool,
                             {"send", "--program", program.string(), "--device", panel.DevicePath(),
                              "--log", log.string()},
                             messages);
    ASSERT_TRUE(
        WaitUntil([&] { return Slurp(log).find("Receive Block number3") != std::string::npos; }));
    panel.Kill(SIGKILL);
    EXPECT_EQ(ExitCode(send), 3);
    const std::string said = Slurp(messages);
    EXPECT_TRUE(said.starts_with("Hardware Failure\nThe device " + panel.DevicePath() +
                                 " went away during block "))
        << said;
    EXPECT_NE(said.find(" of 32" + again + "\n"), std::string::npos) << said;
    EXPECT_TRUE(Slurp(log).ends_with("Write error!!!!\r\n"));
}

TEST_F(PtyTransfer, APortWithoutRightsSaysPermissionDeniedAndTheRemedy)
{
    const passwd *nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody)
        GTEST_SKIP() << "running a command as nobody needs root and the user nobody";
    TPty pty;
    ASSERT_EQ(chmod(pty.Path.c_str(), 0600), 0);
    // A copy nobody may run, away from folders it cannot enter.
    const auto tool = Dir / "zor";
    std::filesystem::copy_file(Tool, tool);
    chmod(Dir.c_str(), 0755);
    chmod(tool.c_str(), 0755);
    const auto messages = (Dir / "nobody.out").string();
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const pid_t pid =
        Spawn(tool.string(), {"numeric", "1", "2", "--device", pty.Path}, messages, [uid, gid] {
            if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                _exit(126);
        });
    EXPECT_EQ(ExitCode(pid), 3);
    const std::string said = Slurp(messages);
    EXPECT_NE(said.find("Hardware Failure\nPermission denied on " + pty.Path +
                        ": add your user to the device's group "),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("(sudo usermod -aG "), std::string::npos) << said;
    EXPECT_NE(said.find("$USER), then log in again."), std::string::npos) << said;
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
    for (int i = 0; i < 50 && got < ReplyLength; ++i) {
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
