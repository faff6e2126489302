// zor gateway against a real broker and the panel emulator on a pseudo-terminal: what a sender
// elsewhere publishes reaches the panel, and the answer comes back to it.
#include "harness/ExecTool.h"
#include "harness/GatewayProcess.h"
#include "harness/MosquittoBroker.h"
#include "harness/PanelProcess.h"
#include "tests/support/MqttTestClient.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

const std::string Tool = ZOR_TOOL_PATH;
// zor-gateway@.service's script, as the build writes it for systemd's verifier.
const std::string ServiceScript = ZOR_GATEWAY_SCRIPT;
using test::TGatewayProcess;

class Gateway : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (test::TMosquittoBroker::Program().empty())
            GTEST_SKIP() << "mosquitto is not installed (scripts/setup.sh installs it)";
        Dir = fs::temp_directory_path() /
              ("zor-gateway-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string BrokerUrl(const test::TMosquittoBroker &broker) const
    {
        return "mqtt://127.0.0.1:" + std::to_string(broker.Port);
    }

    static test::TMqttPublish Request(const std::string &panel, const std::string &leaf,
                                      const std::string &payload, const std::string &correlation)
    {
        test::TMqttPublish request;
        request.Topic = "zor/north/" + panel + "/" + leaf;
        request.Payload = payload;
        request.ResponseTopic = "zor/north/" + panel + "/reply/office";
        request.CorrelationData = correlation;
        request.ExpirySeconds = 600;
        return request;
    }

    static std::string Contents(const fs::path &file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // How many transfers the emulator's output shows.
    static int Transfers(const std::string &output)
    {
        int n = 0;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);)
            n += line.starts_with("program ") || line.starts_with("numeric ");
        return n;
    }

    fs::path Dir;
};

TEST_F(Gateway, AProgramReachesThePanelByteExactAndTheAnswerComesBack)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    const fs::path received = Dir / "received.bin";
    test::TPanelProcess panel(Tool, {"--out", received.string(), "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(Tool,
                            {"--broker", BrokerUrl(broker), "--site", "north", "--panel",
                             "Gate=" + panel.DevicePath() + ",19200"},
                            1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;

    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/Gate/#"));
    const auto status = office.Next("zor/north/Gate/status");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Payload, "online");
    EXPECT_TRUE(status->Retained);

    // Several blocks, every byte but zero, line ends and the high half included.
    std::string program;
    for (int i = 0; i < 700; ++i)
        program += static_cast<char>(1 + (i * 37) % 255);
    ASSERT_TRUE(office.Publish(Request("Gate", "program", program, "\x01\x02")));
    const auto answer = office.Next("zor/north/Gate/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Payload, "0\tCommunication O.K.");
    EXPECT_EQ(answer->CorrelationData, "\x01\x02");
    panel.Wait();
    EXPECT_EQ(Contents(received), program);

    // A clean stop says so, retained, for whoever looks later.
    EXPECT_EQ(gateway.Stop(SIGINT), 0);
    EXPECT_EQ(gateway.OutText, "north/Gate\t0\tCommunication O.K.\n");
    test::TMqttTestClient later("later");
    ASSERT_EQ(later.Connect(broker.Port), 0);
    ASSERT_TRUE(later.Subscribe("zor/north/Gate/status"));
    const auto after = later.Next("zor/north/Gate/status");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->Payload, "offline");
}

TEST_F(Gateway, APanelsRefusalAndABadPayloadComeBackWithTheirCodes)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess refusing(Tool, {"--refuse", "open"});
    test::TPanelProcess counters(Tool, {});
    ASSERT_FALSE(refusing.DevicePath().empty());
    ASSERT_FALSE(counters.DevicePath().empty());
    TGatewayProcess gateway(Tool,
                            {"--broker", BrokerUrl(broker), "--site", "north", "--panel",
                             "Gate=" + refusing.DevicePath(), "--panel",
                             "Yard=" + counters.DevicePath()},
                            2);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/+/reply/office"));

    ASSERT_TRUE(office.Publish(Request("Gate", "program", "#F3 x\r\n", "a")));
    auto answer = office.Next("zor/north/Gate/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Payload, "6\tProgram disable");

    ASSERT_TRUE(office.Publish(Request("Yard", "numeric", "1000 5", "b")));
    ASSERT_TRUE(office.Publish(Request("Yard", "program", std::string("a\0b", 3), "c")));
    ASSERT_TRUE(office.Publish(Request("Yard", "numeric", "123 45", "d")));
    answer = office.Next("zor/north/Yard/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->CorrelationData, "b");
    EXPECT_TRUE(answer->Payload.starts_with("2\tRequest refused: Only numeric value"))
        << answer->Payload;
    answer = office.Next("zor/north/Yard/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Payload, "2\tRequest refused: the program holds a zero byte");
    answer = office.Next("zor/north/Yard/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->CorrelationData, "d");
    EXPECT_EQ(answer->Payload, "0\tCommunication O.K.");

    EXPECT_EQ(gateway.Stop(), 0);
    // Only the good request reached the line.
    const std::string lines = counters.Stop();
    EXPECT_EQ(Transfers(lines), 1) << lines;
    EXPECT_NE(lines.find("numeric days \"123\" accidents \"45\""), std::string::npos) << lines;
}

TEST_F(Gateway, ARequestDeliveredAgainIsCarriedOutOnce)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(
        Tool,
        {"--broker", BrokerUrl(broker), "--site", "north", "--panel", "Gate=" + panel.DevicePath()},
        1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/Gate/reply/office"));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(office.Publish(Request("Gate", "numeric", "5 1", "same")));
        const auto answer = office.Next("zor/north/Gate/reply/office");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->Payload, "0\tCommunication O.K.");
        EXPECT_EQ(answer->CorrelationData, "same");
    }
    ASSERT_TRUE(office.Publish(Request("Gate", "numeric", "6 1", "next")));
    ASSERT_TRUE(office.Next("zor/north/Gate/reply/office"));
    EXPECT_EQ(gateway.Stop(), 0);
    EXPECT_EQ(Transfers(panel.Stop()), 2);
}

TEST_F(Gateway, AfterTheBrokerRestartsTheGatewayComesBackAndTheNextRequestWorks)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(
        Tool,
        {"--broker", BrokerUrl(broker), "--site", "north", "--panel", "Gate=" + panel.DevicePath()},
        1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    ASSERT_TRUE(broker.Restart()) << broker.LogText();
    EXPECT_EQ(gateway.ErrLine(),
              "zor gateway: north/Gate: the connection to the broker was lost; connecting again\n");
    EXPECT_EQ(gateway.ErrLine(), "zor gateway: north/Gate: online\n");

    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/Gate/reply/office"));
    ASSERT_TRUE(office.Publish(Request("Gate", "numeric", "9 9", "after")));
    const auto answer = office.Next("zor/north/Gate/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Payload, "0\tCommunication O.K.");
    EXPECT_EQ(gateway.Stop(), 0);
}

TEST_F(Gateway, AWrongPasswordEndsTheGatewayWithTheBrokersReason)
{
    test::TMosquittoBroker::TOptions options;
    options.Users = {{"gw-north", "right"}};
    test::TMosquittoBroker broker(Dir, options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    std::ofstream(Dir / "password") << "wrong\n";
    TGatewayProcess gateway(Tool,
                            {"--broker", "mqtt://gw-north@127.0.0.1:" + std::to_string(broker.Port),
                             "--site", "north", "--panel", "Gate=/dev/null", "--mqtt-password-file",
                             (Dir / "password").string()},
                            0);
    EXPECT_EQ(gateway.Wait(), 1);
    EXPECT_EQ(gateway.ErrText,
              "zor gateway: north/Gate: the broker refused the login (not authorized)\n");
}

TEST_F(Gateway, ServesOverTlsWithTheCaGivenAndOnlyWhatItsAclAllows)
{
    if (::access("/usr/bin/openssl", X_OK) != 0)
        GTEST_SKIP() << "openssl is not installed (scripts/setup.sh installs it)";
    test::TMosquittoBroker::TOptions options;
    options.Tls = true;
    options.Users = {{"gw-north", "north-pw"}, {"office", "office-pw"}};
    options.Acl = "user gw-north\n"
                  "topic read zor/north/+/program\n"
                  "topic read zor/north/+/numeric\n"
                  "topic write zor/north/+/status\n"
                  "topic write zor/north/+/reply/#\n"
                  "user office\n"
                  "topic readwrite zor/#\n";
    test::TMosquittoBroker broker(Dir, options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    std::ofstream(Dir / "north.password") << "north-pw\n";
    std::ofstream(Dir / "zor.ini") << "[Mqtt]\nPasswordFile=" << (Dir / "north.password").string()
                                   << "\nCAFile=" << broker.CaFile.string() << "\n";
    const std::string url = "mqtts://gw-north@127.0.0.1:" + std::to_string(broker.Port);
    TGatewayProcess gateway(Tool,
                            {"--broker", url, "--site", "north", "--panel",
                             "Gate=" + panel.DevicePath(), "--settings",
                             (Dir / "zor.ini").string()},
                            1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port, "office", "office-pw", broker.CaFile.string()), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/Gate/reply/office"));
    ASSERT_TRUE(office.Publish(Request("Gate", "numeric", "1 2", "tls")));
    const auto answer = office.Next("zor/north/Gate/reply/office");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Payload, "0\tCommunication O.K.");
    EXPECT_EQ(gateway.Stop(), 0);

    // The same gateway for another site: the broker lets it publish nothing there.
    TGatewayProcess south(Tool,
                          {"--broker", url, "--site", "south", "--panel",
                           "Gate=" + panel.DevicePath(), "--settings", (Dir / "zor.ini").string()},
                          0);
    EXPECT_EQ(south.Wait(), 1);
    EXPECT_EQ(south.ErrText, "zor gateway: south/Gate: the broker refused the status on "
                             "zor/south/Gate/status (not authorized)\n");
}

// The service's run (zor-gateway@north.service): the settings of /etc/default/zor-gateway-north in
// its environment, the broker's password as systemd's credential, SIGTERM from systemd's stop.
TEST_F(Gateway, TheServiceServesItsSitesPanelsAndEndsWithZeroOnSigterm)
{
    test::TMosquittoBroker::TOptions options;
    options.Users = {{"gw-north", "north-pw"}, {"office", "office-pw"}};
    test::TMosquittoBroker broker(Dir, options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess gate(Tool, {});
    test::TPanelProcess yard(Tool, {});
    ASSERT_FALSE(gate.DevicePath().empty());
    ASSERT_FALSE(yard.DevicePath().empty());
    fs::create_directories(Dir / "credentials");
    std::ofstream(Dir / "credentials" / "mqtt-password") << "north-pw\n";
    const TGatewayProcess::TEnvironment settings = {
        {"ZOR_BROKER", "mqtt://gw-north@127.0.0.1:" + std::to_string(broker.Port)},
        {"ZOR_PANELS", " Gate=" + gate.DevicePath() + ",19200   Yard=" + yard.DevicePath()},
        {"CREDENTIALS_DIRECTORY", (Dir / "credentials").string()},
        {"ZOR_CAFILE", ""},
        {"ZOR_SETTINGS", ""}};
    TGatewayProcess gateway(ServiceScript, {"north"}, 2, settings);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;

    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port, "office", "office-pw"), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/+/reply/office"));
    ASSERT_TRUE(office.Publish(Request("Gate", "numeric", "1 2", "g")));
    ASSERT_TRUE(office.Publish(Request("Yard", "numeric", "3 4", "y")));
    for (const char *panel : {"Gate", "Yard"}) {
        const auto answer = office.Next("zor/north/" + std::string(panel) + "/reply/office");
        ASSERT_TRUE(answer) << panel;
        EXPECT_EQ(answer->Payload, "0\tCommunication O.K.") << panel;
    }
    // The script hands over to the gateway: systemd's SIGTERM is a clean stop, not a failure.
    EXPECT_EQ(gateway.Stop(SIGTERM), 0) << gateway.ErrText;
    ASSERT_TRUE(office.Subscribe("zor/north/+/status"));
    for (const char *panel : {"Gate", "Yard"}) {
        const auto status = office.Next("zor/north/" + std::string(panel) + "/status");
        ASSERT_TRUE(status) << panel;
        EXPECT_EQ(status->Payload, "offline") << panel;
    }
    EXPECT_EQ(Transfers(gate.Stop()), 1);
    EXPECT_EQ(Transfers(yard.Stop()), 1);

    // A file without the broker or the panels is no passing fault: status 2, which the unit does
    // not restart.
    for (const char *missing : {"ZOR_BROKER", "ZOR_PANELS"}) {
        TGatewayProcess::TEnvironment without = settings;
        for (auto &[name, value] : without)
            if (name == missing)
                value.clear();
        TGatewayProcess wrong(ServiceScript, {"north"}, 0, without);
        EXPECT_EQ(wrong.Wait(), 2) << missing;
        EXPECT_TRUE(wrong.ErrText.find(std::string(missing) + ": is not set") != std::string::npos)
            << wrong.ErrText;
    }
}

TEST_F(Gateway, AMalformedCommandLineIsRefusedBeforeAnyConnection)
{
    const struct
    {
        std::vector<std::string> Args;
        std::string Err;
    } bad[] = {
        {{"--broker", "mqtt://h:70000", "--site", "north", "--panel", "Gate=/dev/null"},
         "zor gateway: --broker mqtt://h:70000: PORT must be a number from 1 to 65535\n"},
        {{"--broker", "mqtt://h/north/Gate", "--site", "north", "--panel", "Gate=/dev/null"},
         "zor gateway: --broker mqtt://h/north/Gate: the broker's name ends after "
         "HOST[:PORT]\n"},
        {{"--broker", "mqtt://h", "--site", "no+rth", "--panel", "Gate=/dev/null"},
         "zor gateway: --site no+rth: SITE must not be empty nor hold '/', '+' or '#'\n"},
        {{"--broker", "mqtt://h", "--site", "north", "--panel", "Gate=/dev/null,1200"},
         "zor gateway: --panel Gate=/dev/null,1200: the panel works at 4800, 9600 or 19200 "
         "baud\n"},
        {{"--broker", "mqtt://h", "--site", "north", "--panel", "Gate/2=/dev/null"},
         "zor gateway: --panel Gate/2=/dev/null: NAME must not be empty nor hold '/', '+' or "
         "'#'\n"},
        {{"--broker", "mqtt://h", "--site", "north", "--panel", "Gate=/dev/null", "--panel",
          "Yard=/dev/null"},
         "zor gateway: --panel Yard=/dev/null: that panel or device is named twice\n"},
    };
    for (const auto &b : bad) {
        TGatewayProcess gateway(Tool, b.Args, 0);
        EXPECT_EQ(gateway.Wait(), 2) << b.Err;
        EXPECT_EQ(gateway.ErrText, b.Err);
    }
}

} // namespace
} // namespace zor
