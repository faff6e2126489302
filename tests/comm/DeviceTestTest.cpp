// The Panels page's device test through a real device server: it connects, has the line set over
// RFC 2217 and sends the panel nothing.
#include "comm/DeviceTest.h"
#include "comm/NetPort.h"
#include "tests/comm/PanelProcess.h"
#include "tests/comm/Ser2netProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <termios.h>
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

} // namespace
} // namespace zor
