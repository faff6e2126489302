// A build without the MQTT client library (the Windows build's zor.exe and editor), here on the
// Linux build with the same stand-in sender in place of the real one: a panel behind a gateway is
// refused with the reason, nothing is sent anywhere for it, and the panels on local lines beside
// it still get the program.
#include "comm/PanelEmulator.h"
#include "comm/PanelSend.h"
#include "comm/Results.h"
#include "tests/support/FakeSerialPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace zor {
namespace {

TEST(MqttSendMissing, APanelBehindAGatewayIsRefusedWithTheReasonAndTheLocalOnesStillGetTheProgram)
{
    TPanelEmulator panel(200, {});
    std::atomic<int> portsMade{0};
    TPanelSend send;
    send.PortFactory = [&](const TPanelDevice &) {
        ++portsMade;
        auto port = std::make_unique<TFakeSerialPort>();
        port->Responder = [&panel](const TFakeSerialPort::TBytes &frame) {
            return panel.Feed(frame.data(), frame.size());
        };
        return port;
    };
    TPanelTarget remote, local;
    remote.Name = "Gate";
    remote.Device = PanelDevice("mqtts://office@broker.example/north/Gate");
    remote.Baud = 19200;
    local.Name = "Hall1";
    local.Device = PanelDevice("COM3");
    local.Baud = 19200;

    const std::string text(150, 'c');
    const auto outcomes = SendToPanels({remote, local}, TPanelJob::Program(text), send);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].Code, ResultUnknownError);
    EXPECT_EQ(OutcomeCause(remote, outcomes[0]),
              "this build cannot reach panels through an MQTT broker");
    EXPECT_EQ(outcomes[1].Code, ResultOk);
    EXPECT_EQ(portsMade, 1) << "no port is opened for the panel behind a gateway";
    int programs = 0;
    for (const TPanelEvent &e : panel.TakeEvents())
        if (e.Kind == TPanelEvent::Program) {
            ++programs;
            EXPECT_EQ(e.Data, text);
        }
    EXPECT_EQ(programs, 1);
}

} // namespace
} // namespace zor
