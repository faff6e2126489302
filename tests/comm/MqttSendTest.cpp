// zor send and zor numeric to a panel at another site: through a real broker and a `zor gateway`
// to the panel emulator on a pseudo-terminal, they say and return what a send on a local line with
// the same result says and returns; what only the broker tells (a gateway away, gone, silent, a
// refused login) is said as such.
#include "comm/Results.h"
#include "harness/ExecTool.h"
#include "harness/GatewayProcess.h"
#include "harness/MosquittoBroker.h"
#include "harness/PanelProcess.h"
#include "tests/support/MqttTestClient.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

const std::string Tool = ZOR_TOOL_PATH;
using test::TGatewayProcess;

struct TRun
{
    int Status = -1;
    std::string Out, Err;
    bool operator==(const TRun &) const = default;
};

void PrintTo(const TRun &run, std::ostream *os)
{
    *os << "status " << run.Status << ", out \"" << run.Out << "\", err \"" << run.Err << "\"";
}

std::string Contents(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// zor with args as a child, its output into files of dir.
class TZor
{
public:
    TZor(const fs::path &dir, std::vector<std::string> args) : Dir(dir)
    {
        static int serial = 0;
        const std::string n = std::to_string(++serial);
        OutFile = dir / ("zor-" + n + ".out");
        ErrFile = dir / ("zor-" + n + ".err");
        const int out = ::open(OutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(ErrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        Pid = test::ExecTool(Tool, std::move(args), out, err, [] {});
        ::close(out);
        ::close(err);
    }
    ~TZor()
    {
        if (Pid > 0) {
            ::kill(Pid, SIGKILL);
            ::waitpid(Pid, nullptr, 0);
        }
    }
    void Signal(int signal) { ::kill(Pid, signal); }
    TRun Wait()
    {
        int status = 0;
        ::waitpid(Pid, &status, 0);
        Pid = -1;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Contents(OutFile), Contents(ErrFile)};
    }

private:
    fs::path Dir, OutFile, ErrFile;
    pid_t Pid = -1;
};

class MqttSend : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (test::TMosquittoBroker::Program().empty())
            GTEST_SKIP() << "mosquitto is not installed (scripts/setup.sh installs it)";
        Dir = fs::temp_directory_path() /
              ("zor-mqttsend-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        // No settings file of the editor's: only what a test gives counts.
        std::ofstream(Dir / "empty.ini") << "";
    }
    void TearDown() override { fs::remove_all(Dir); }

    TRun Zor(std::vector<std::string> args) { return TZor(Dir, std::move(args)).Wait(); }

    // zor send of program to device.
    std::vector<std::string> Send(const std::string &device, std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {
            "send", "--program",  (Dir / "program.txt").string(), "--device",
            device, "--settings", (Dir / "empty.ini").string()};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    static std::string Device(const test::TMosquittoBroker &broker, const std::string &user = {})
    {
        return "mqtt://" + (user.empty() ? "" : user + "@") +
               "127.0.0.1:" + std::to_string(broker.Port) + "/north/Gate";
    }

    std::vector<std::string> GatewayArgs(const test::TMosquittoBroker &broker,
                                         const std::string &line)
    {
        return {"--broker", "mqtt://127.0.0.1:" + std::to_string(broker.Port),
                "--site",   "north",
                "--panel",  "Gate=" + line + ",19200"};
    }

    void WriteProgram(const std::string &text)
    {
        std::ofstream(Dir / "program.txt", std::ios::binary) << text;
    }

    fs::path Dir;
};

// Several blocks of program text, lines of every printable character.
std::string SomeProgram()
{
    std::string program = "#F3 #C1\r\n";
    for (int line = 0; line < 12; ++line) {
        for (int c = 0; c < 60; ++c)
            program += static_cast<char>(' ' + 1 + (line * 7 + c) % 94);
        program += "\r\n";
    }
    return program;
}

TEST_F(MqttSend, AProgramGoesThroughTheGatewayByteExactAndIsReportedAsOnALocalLine)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    const std::string program = SomeProgram();
    WriteProgram(program);

    test::TPanelProcess remote(Tool, {"--out", (Dir / "remote.bin").string(), "--count", "1"});
    ASSERT_FALSE(remote.DevicePath().empty());
    TGatewayProcess gateway(Tool, GatewayArgs(broker, remote.DevicePath()), 1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    const TRun throughBroker = Zor(Send(Device(broker), {"--baud", "19200"}));
    remote.Wait();

    test::TPanelProcess local(Tool, {"--out", (Dir / "local.bin").string(), "--count", "1"});
    ASSERT_FALSE(local.DevicePath().empty());
    const TRun onTheLine = Zor(Send(local.DevicePath(), {"--baud", "19200"}));
    local.Wait();

    EXPECT_EQ(throughBroker, (TRun{0, "Communication O.K.\n", ""}));
    EXPECT_EQ(throughBroker, onTheLine);
    EXPECT_EQ(Contents(Dir / "remote.bin"), program);
    EXPECT_EQ(Contents(Dir / "local.bin"), program);
}

TEST_F(MqttSend, TheCountersGoToANamedPanelOfTheSettingsFile)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(Tool, GatewayArgs(broker, panel.DevicePath()), 1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    std::ofstream(Dir / "zor.ini") << "[Panels]\nYard=" << Device(broker) << "\n";
    const std::string settings = (Dir / "zor.ini").string();

    EXPECT_EQ(Zor({"numeric", "7", "12", "--panel", "Yard", "--settings", settings}),
              (TRun{0, "Communication O.K.\n", ""}));
    EXPECT_EQ(Zor({"panels", "--settings", settings}).Out.find("Yard\t" + Device(broker)), 0u);
    EXPECT_EQ(gateway.Stop(), 0);
    const std::string lines = panel.Stop();
    EXPECT_NE(lines.find("numeric days \"  7\" accidents \"12\""), std::string::npos) << lines;
}

TEST_F(MqttSend, APanelsRefusalComesBackWithItsCodeAndMessage)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    WriteProgram("#F3 x\r\n");
    test::TPanelProcess remote(Tool, {"--refuse", "open"});
    ASSERT_FALSE(remote.DevicePath().empty());
    TGatewayProcess gateway(Tool, GatewayArgs(broker, remote.DevicePath()), 1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    test::TPanelProcess local(Tool, {"--refuse", "open"});
    ASSERT_FALSE(local.DevicePath().empty());

    const TRun throughBroker = Zor(Send(Device(broker), {"--baud", "19200"}));
    EXPECT_EQ(throughBroker, (TRun{6, "", ResultText(ResultProgramDisabled) + "\n"}));
    EXPECT_EQ(throughBroker, Zor(Send(local.DevicePath(), {"--baud", "19200"})));
}

TEST_F(MqttSend, OnlyTheAnswerToItsOwnRequestCountsAndAnAnswerNoResultHasIsSaidAsItCame)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    WriteProgram("#F3 x\r\n");
    // A gateway played by the test.
    test::TMqttTestClient gateway("gateway");
    ASSERT_EQ(gateway.Connect(broker.Port), 0);
    ASSERT_TRUE(gateway.Subscribe("zor/north/Gate/program"));

    TZor send(Dir, Send(Device(broker), {"--expire", "30"}));
    const auto request = gateway.Next("zor/north/Gate/program");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Payload, "#F3 x\r\n");
    EXPECT_EQ(request->ExpirySeconds, 30u);
    EXPECT_TRUE(request->ResponseTopic.starts_with("zor/north/Gate/reply/"))
        << request->ResponseTopic;
    EXPECT_FALSE(request->CorrelationData.empty());
    test::TMqttPublish answer;
    answer.Topic = request->ResponseTopic;
    answer.CorrelationData = request->CorrelationData + "x";
    answer.Payload = "0\tCommunication O.K.";
    ASSERT_TRUE(gateway.Publish(answer));
    answer.CorrelationData = request->CorrelationData;
    answer.Payload = "2\tRequest refused: the program holds a zero byte";
    ASSERT_TRUE(gateway.Publish(answer));
    EXPECT_EQ(send.Wait(),
              (TRun{1, "",
                    ResultText(ResultUnknownError) +
                        "\nthe gateway for north/Gate answered: Request refused: the program "
                        "holds a zero byte\n"}));
}

TEST_F(MqttSend, AGatewayThatIsOfflineIsSaidAtOnceAndNothingIsLeftQueued)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    WriteProgram("#F3 x\r\n");
    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/Gate/program"));
    test::TMqttPublish offline;
    offline.Topic = "zor/north/Gate/status";
    offline.Payload = "offline";
    offline.Retain = true;
    ASSERT_TRUE(office.Publish(offline));

    EXPECT_EQ(Zor(Send(Device(broker))),
              (TRun{1, "",
                    ResultText(ResultUnknownError) + "\nthe gateway for north/Gate is offline\n"}));
    // The next request the topic sees is this one: the sender published none.
    test::TMqttPublish marker;
    marker.Topic = "zor/north/Gate/program";
    marker.Payload = "marker";
    ASSERT_TRUE(office.Publish(marker));
    const auto next = office.Next("zor/north/Gate/program");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->Payload, "marker");
}

TEST_F(MqttSend, AGatewayKilledDuringTheTransferIsNeverOk)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    WriteProgram(SomeProgram());
    // The panel keeps the gateway busy: it never answers the Open frame.
    test::TPanelProcess panel(Tool, {"--silent", "open:1000"});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(Tool, GatewayArgs(broker, panel.DevicePath()), 1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/Gate/program"));

    TZor send(Dir, Send(Device(broker)));
    ASSERT_TRUE(office.Next("zor/north/Gate/program"));
    gateway.Stop(SIGKILL);
    EXPECT_EQ(send.Wait(),
              (TRun{1, "",
                    ResultText(ResultUnknownError) +
                        "\nthe gateway for north/Gate went away during the transfer\n"}));
}

TEST_F(MqttSend, NoAnswerWithinTheTimeoutIsSaidAndTheStopEndsTheWaitAtOnce)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    WriteProgram("#F3 x\r\n");
    EXPECT_EQ(Zor(Send(Device(broker), {"--timeout", "1"})),
              (TRun{4, "",
                    ResultText(ResultTimeout) +
                        "\nno answer from the gateway for north/Gate within 1 seconds\n"}));

    test::TMqttTestClient office("office");
    ASSERT_EQ(office.Connect(broker.Port), 0);
    ASSERT_TRUE(office.Subscribe("zor/north/+/numeric"));
    TZor numeric(Dir, {"numeric", "123", "45", "--device", Device(broker), "--settings",
                       (Dir / "empty.ini").string()});
    const auto request = office.Next("zor/north/Gate/numeric");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Payload, "123 45");
    numeric.Signal(SIGINT);
    EXPECT_EQ(numeric.Wait(), (TRun{130, "", "zor numeric: transfer interrupted\n"}));
}

TEST_F(MqttSend, OverTlsWithThePasswordAndTheCaOfTheSettingsFile)
{
    if (::access("/usr/bin/openssl", X_OK) != 0)
        GTEST_SKIP() << "openssl is not installed (scripts/setup.sh installs it)";
    test::TMosquittoBroker::TOptions options;
    options.Tls = true;
    options.Users = {{"gw-north", "north-pw"}, {"office", "office-pw"}};
    test::TMosquittoBroker broker(Dir, options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    const std::string port = std::to_string(broker.Port);
    std::ofstream(Dir / "north.password") << "north-pw\n";
    std::ofstream(Dir / "office.password") << "office-pw\r\n";
    std::ofstream(Dir / "gateway.ini")
        << "[Mqtt]\nPasswordFile=" << (Dir / "north.password").string()
        << "\nCAFile=" << broker.CaFile.string() << "\n";
    std::ofstream(Dir / "office.ini")
        << "[Mqtt]\nPasswordFile=" << (Dir / "office.password").string()
        << "\nCAFile=" << broker.CaFile.string() << "\n";
    TGatewayProcess gateway(Tool,
                            {"--broker", "mqtts://gw-north@127.0.0.1:" + port, "--site", "north",
                             "--panel", "Gate=" + panel.DevicePath(), "--settings",
                             (Dir / "gateway.ini").string()},
                            1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    EXPECT_EQ(
        Zor({"numeric", "1", "2", "--device", "mqtts://office@127.0.0.1:" + port + "/north/Gate",
             "--settings", (Dir / "office.ini").string()}),
        (TRun{0, "Communication O.K.\n", ""}));
}

TEST_F(MqttSend, AWrongPasswordOrAMalformedNameIsRefused)
{
    test::TMosquittoBroker::TOptions options;
    options.Users = {{"office", "right"}};
    test::TMosquittoBroker broker(Dir, options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    WriteProgram("#F3 x\r\n");
    std::ofstream(Dir / "password") << "wrong\n";
    EXPECT_EQ(
        Zor(Send(Device(broker, "office"), {"--mqtt-password-file", (Dir / "password").string()})),
        (TRun{1, "",
              ResultText(ResultUnknownError) +
                  "\nthe broker refused the login (not authorized)\n"}));

    EXPECT_EQ(Zor(Send("mqtt://127.0.0.1/north")),
              (TRun{2, "",
                    "zor send: mqtt://127.0.0.1/north: PANEL is missing: write /SITE/PANEL after "
                    "the host; nothing was sent\n"}));
}

// README's broker as shipped (resources/mosquitto/zor.conf and zor.acl): its TLS listener on a
// free loopback port, its files in the test's folder, and a password file made with
// mosquitto_passwd for each user the ACL names (USER's password USER-pw). bridged: with the
// ACL's block for a bridged site's login taken in, as README says to.
test::TMosquittoBroker::TOptions ShippedBroker(const fs::path &dir, bool bridged = false)
{
    test::TMosquittoBroker::TOptions options;
    options.Tls = true;
    std::istringstream shipped(Contents(fs::path(ZOR_MOSQUITTO_DIR) / "zor.acl"));
    std::string acl;
    for (std::string line; std::getline(shipped, line);) {
        if (bridged && (line.starts_with("#user ") || line.starts_with("#topic ")))
            line.erase(0, 1);
        if (line.starts_with("user "))
            options.Users[line.substr(5)] = line.substr(5) + "-pw";
        acl += line + "\n";
    }
    std::ofstream(dir / "zor.acl") << acl;
    const std::map<std::string, std::string> local = {
        {"password_file", (dir / "passwords").string()},
        {"acl_file", (dir / "zor.acl").string()},
        {"certfile", (dir / "server.crt").string()},
        {"keyfile", (dir / "server.key").string()}};
    std::istringstream config(Contents(fs::path(ZOR_MOSQUITTO_DIR) / "zor.conf"));
    for (std::string line; std::getline(config, line);) {
        const std::string key = line.substr(0, line.find(' '));
        if (line == "listener 8883")
            options.Config += "listener @PORT@ 127.0.0.1\n";
        else if (key == "listener")
            continue; // a fixed port of the machine's: not the test's to take
        else if (local.contains(key))
            options.Config += key + " " + local.at(key) + "\n";
        else
            options.Config += line + "\n";
    }
    return options;
}

TEST_F(MqttSend, TheShippedBrokerKeepsEachSitesGatewayToItsOwnTopics)
{
    if (::access("/usr/bin/openssl", X_OK) != 0)
        GTEST_SKIP() << "openssl is not installed (scripts/setup.sh installs it)";
    test::TMosquittoBroker broker(Dir, ShippedBroker(Dir));
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    const std::string port = std::to_string(broker.Port);
    const std::string ca = broker.CaFile.string();
    for (const char *user : {"gw-north", "office"})
        std::ofstream(Dir / (std::string(user) + ".password")) << user << "-pw\n";
    std::ofstream(Dir / "wrong.password") << "north-pw\n";

    // Site north's gateway and a transfer from the office to its panel, over TLS.
    test::TPanelProcess panel(Tool, {"--out", (Dir / "panel.bin").string(), "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(Tool,
                            {"--broker", "mqtts://gw-north@127.0.0.1:" + port, "--site", "north",
                             "--panel", "Gate=" + panel.DevicePath(), "--cafile", ca,
                             "--mqtt-password-file", (Dir / "gw-north.password").string()},
                            1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    const std::string program = SomeProgram();
    WriteProgram(program);
    const std::string office = "mqtts://office@127.0.0.1:" + port + "/north/Gate";
    EXPECT_EQ(Zor(Send(office, {"--cafile", ca, "--mqtt-password-file",
                                (Dir / "office.password").string()})),
              (TRun{0, "Communication O.K.\n", ""}));
    panel.Wait();
    EXPECT_EQ(Contents(Dir / "panel.bin"), program);

    // North's login gets none of south's requests, whatever it subscribes to, and may neither
    // speak for south's panels nor send requests itself.
    test::TMqttTestClient north("intruder"), watcher("watcher");
    ASSERT_EQ(north.Connect(broker.Port, "gw-north", "gw-north-pw", ca), 0);
    ASSERT_EQ(watcher.Connect(broker.Port, "office", "office-pw", ca), 0);
    ASSERT_TRUE(north.Subscribe("zor/north/+/program"));
    north.Subscribe("zor/south/+/program");
    north.Subscribe("zor/#");
    ASSERT_TRUE(watcher.Subscribe("zor/+/Probe/status"));
    test::TMqttPublish request;
    request.Topic = "zor/south/Gate/program";
    request.Payload = "#F3 south\r\n";
    request.ResponseTopic = "zor/south/Gate/reply/watcher";
    request.CorrelationData = "s";
    request.ExpirySeconds = 60;
    ASSERT_TRUE(watcher.Publish(request));
    request.Topic = "zor/north/Probe/program";
    ASSERT_TRUE(watcher.Publish(request));
    // In order from one sender: once north's own request is there, south's would have been.
    ASSERT_TRUE(north.Next("zor/north/Probe/program"));
    EXPECT_TRUE(north.All("zor/south/Gate/program").empty());

    test::TMqttPublish status;
    status.Topic = "zor/south/Probe/status";
    status.Payload = "offline";
    status.Retain = true;
    EXPECT_FALSE(north.Publish(status));
    EXPECT_EQ(north.LastReason, 0x87) << "not authorized";
    status.Topic = "zor/north/Probe/status";
    ASSERT_TRUE(north.Publish(status));
    ASSERT_TRUE(watcher.Next("zor/north/Probe/status"));
    EXPECT_TRUE(watcher.All("zor/south/Probe/status").empty());
    request.Topic = "zor/north/Gate/program";
    EXPECT_FALSE(north.Publish(request)) << "a gateway's login sends no programs";

    // A login the broker does not know is said as such.
    EXPECT_EQ(Zor(Send(office, {"--cafile", ca, "--mqtt-password-file",
                                (Dir / "wrong.password").string()})),
              (TRun{1, "",
                    ResultText(ResultUnknownError) +
                        "\nthe broker refused the login (not authorized)\n"}));
    EXPECT_EQ(gateway.Stop(), 0);
    EXPECT_EQ(gateway.OutText, "north/Gate\t0\tCommunication O.K.\n");
}

// A site behind a broker of its own, bridged to the central one by zor-bridge.conf as shipped:
// a send at the office reaches the site's gateway and its answer comes back across the bridge,
// and the link's state is on zor/north/bridge, "0" once the site's broker is gone.
TEST_F(MqttSend, ASiteBehindItsOwnBrokerIsReachedThroughTheShippedBridge)
{
    if (::access("/usr/bin/openssl", X_OK) != 0)
        GTEST_SKIP() << "openssl is not installed (scripts/setup.sh installs it)";
    fs::create_directories(Dir / "central");
    fs::create_directories(Dir / "site");
    test::TMosquittoBroker central(Dir / "central", ShippedBroker(Dir / "central", true));
    ASSERT_TRUE(central.Running()) << central.LogText();
    const std::string ca = central.CaFile.string();
    test::TMqttTestClient watcher("watcher");
    ASSERT_EQ(watcher.Connect(central.Port, "office", "office-pw", ca), 0);
    ASSERT_TRUE(watcher.Subscribe("zor/north/bridge"));

    test::TMosquittoBroker::TOptions options;
    options.Config = "listener @PORT@ 127.0.0.1\nallow_anonymous true\n";
    const std::map<std::string, std::string> local = {
        {"address", "127.0.0.1:" + std::to_string(central.Port)},
        {"bridge_cafile", ca},
        {"remote_password", "bridge-north-pw"}};
    std::istringstream bridge(Contents(fs::path(ZOR_MOSQUITTO_DIR) / "zor-bridge.conf"));
    for (std::string line; std::getline(bridge, line);) {
        const std::string key = line.substr(0, line.find(' '));
        options.Config += (local.contains(key) ? key + " " + local.at(key) : line) + "\n";
    }
    test::TMosquittoBroker site(Dir / "site", options);
    ASSERT_TRUE(site.Running()) << site.LogText();
    const auto up = watcher.Next("zor/north/bridge");
    ASSERT_TRUE(up) << site.LogText();
    EXPECT_EQ(up->Payload, "1");

    test::TPanelProcess panel(Tool, {"--out", (Dir / "panel.bin").string(), "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    TGatewayProcess gateway(Tool, GatewayArgs(site, panel.DevicePath()), 1);
    ASSERT_TRUE(gateway.Ready) << gateway.ErrText;
    const std::string program = SomeProgram();
    WriteProgram(program);
    std::ofstream(Dir / "office.password") << "office-pw\n";
    EXPECT_EQ(
        Zor(Send("mqtts://office@127.0.0.1:" + std::to_string(central.Port) + "/north/Gate",
                 {"--cafile", ca, "--mqtt-password-file", (Dir / "office.password").string()})),
        (TRun{0, "Communication O.K.\n", ""}));
    panel.Wait();
    EXPECT_EQ(Contents(Dir / "panel.bin"), program);
    EXPECT_EQ(gateway.Stop(), 0);

    site.Stop();
    const auto down = watcher.Next("zor/north/bridge");
    ASSERT_TRUE(down) << central.LogText();
    EXPECT_EQ(down->Payload, "0");
}

} // namespace
} // namespace zor
