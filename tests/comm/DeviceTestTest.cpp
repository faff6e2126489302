// The Panels page's device test through a real device server: it connects, has the line set over
// RFC 2217 and sends the panel nothing; and on its own thread, given up on request.
#include "comm/DeviceTest.h"
#include "comm/NetPort.h"
#include "harness/PanelProcess.h"
#include "harness/Ser2netProcess.h"
#include "tests/support/FakeSerialPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zor {
namespace {

TEST(DeviceTest, ThroughSer2netItConnectsSetsTheLineAndSendsNothing)
{
    if (test::TSer2net::Program().empty())
        GTEST_SKIP() << "ser2net is not installed";
    char folder[] = "/tmp/zor-devicetest-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::filesystem::path dir = folder;
    {
        test::TPanelProcess panel(ZOR_TOOL_PATH, {});
        ASSERT_FALSE(panel.DevicePath().empty());
        test::TSer2net server(dir, panel.DevicePath());
        ASSERT_TRUE(test::TSer2net::Accepting(server.RfcPort));

        const std::string rfc = "127.0.0.1:" + std::to_string(server.RfcPort);
        TNetPort port;
        const TDeviceTestResult result = TestDevice(port, "rfc2217://" + rfc, 19200);
        EXPECT_TRUE(result.Ok);
        EXPECT_EQ(result.Sentence, "Connected to " + rfc + ", line set to 19200 baud 8N1.");
        EXPECT_FALSE(port.IsOpen()) << "closed again";
        // The server still holds the device for this port's kept connection, as it was set.
        termios line{};
        const int fd = ::open(panel.DevicePath().c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ::tcgetattr(fd, &line);
        ::close(fd);
        EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B19200));
        EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));

        const std::string heard = panel.Stop();
        EXPECT_EQ(heard.find("program"), std::string::npos) << heard;
        EXPECT_EQ(heard.find("numeric"), std::string::npos) << heard;
    }
    std::filesystem::remove_all(dir);
}

// A port whose open waits, as a connection to a device server that does not answer, until the
// test is stopped.
class TWaitingPort final : public TFakeSerialPort
{
public:
    TWaitingPort(std::promise<void> &opening, std::atomic<bool> &gone)
        : Opening(opening), Gone(gone)
    {
    }
    ~TWaitingPort() override { Gone = true; }
    void WatchStop(const TTransferStop *stop) override { Stop = stop; }
    bool Open(const std::string &) override
    {
        Opening.set_value();
        while (Stop && !Stop->Requested())
            std::this_thread::yield();
        return false;
    }

private:
    std::promise<void> &Opening;
    std::atomic<bool> &Gone;
    const TTransferStop *Stop = nullptr;
};

TEST(DeviceTestRun, AStopEndsAWaitingTestOnItsOwnThreadWithThePortReleasedFirst)
{
    std::promise<void> opening;
    std::atomic<bool> portGone{false};
    std::promise<TDeviceTestResult> answer;
    std::thread::id answeredOn;
    bool portGoneFirst = false;
    TDeviceTestRun run(std::make_unique<TWaitingPort>(opening, portGone), "socket://127.0.0.1:4001",
                       9600, [&](const TDeviceTestResult &result) {
                           answeredOn = std::this_thread::get_id();
                           portGoneFirst = portGone;
                           answer.set_value(result);
                       });
    opening.get_future().wait();
    run.RequestStop();
    const TDeviceTestResult result = answer.get_future().get();
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Sentence, "Test stopped.");
    EXPECT_NE(answeredOn, std::this_thread::get_id());
    EXPECT_TRUE(portGoneFirst) << "a Qt port ends on the thread that opened it";
}

} // namespace
} // namespace zor
