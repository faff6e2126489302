// The progress of a program sent to a gateway's panel: the gateway tells each block its panel has
// taken, and the sender makes of it the progress a transfer on a local line gives.
#include "comm/Frames.h"
#include "comm/PanelEmulator.h"
#include "comm/PanelSend.h"
#include "comm/Results.h"
#include "harness/MosquittoBroker.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/GatewayInProcess.h"
#include "tests/support/MqttTestClient.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zor {
namespace {

namespace fs = std::filesystem;

class MqttProgress : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (test::TMosquittoBroker::Program().empty())
            GTEST_SKIP() << "mosquitto is not installed (scripts/setup.sh installs it)";
        Dir = fs::temp_directory_path() /
              ("zor-mqttprogress-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Sends job to target, keeping the progress as "max N" and "pos N" in the order told.
    static TPanelOutcome Send(const TPanelTarget &target, const TPanelJob &job,
                              std::vector<std::string> *told, TGatewayProgress each = {})
    {
        TPanelSend send;
        send.PortFactory = [](const TPanelDevice &) {
            auto port = std::make_unique<TFakeSerialPort>();
            auto panel = std::make_shared<TPanelEmulator>();
            port->Responder = [panel](const TFakeSerialPort::TBytes &frame) {
                return panel->Feed(frame.data(), frame.size());
            };
            return port;
        };
        int blocks = 0;
        send.ProgressMaximum = [&](std::size_t, int maximum) {
            told->push_back("max " + std::to_string(maximum));
            if (each)
                each(0, job.Blocks());
        };
        send.ProgressPosition = [&](std::size_t, int position) {
            told->push_back("pos " + std::to_string(position));
            if (each)
                each(++blocks, job.Blocks());
        };
        return SendToPanels({target}, job, send).front();
    }

    static TPanelTarget Target(const std::string &device)
    {
        TPanelTarget target;
        target.Device = PanelDevice(device);
        return target;
    }

    fs::path Dir;
};

TEST_F(MqttProgress, ARemoteTransferTellsTheProgressOfALocalOneInOrder)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    const TPanelJob job = TPanelJob::Program(std::string(5 * BlockDataLength - 9, 'p'));
    ASSERT_EQ(job.Blocks(), 5);

    std::vector<std::string> local;
    EXPECT_EQ(Send(Target("/dev/fakeLocal"), job, &local).Code, ResultOk);

    // The gateway carries it out on a local line of its own, telling what that line tells.
    std::vector<std::string> atGateway;
    test::TGatewayInProcess gate(
        broker.Port, "Gate",
        [&](const TGatewayDecision &request, const TGatewayProgress &progress) {
            const TPanelOutcome ended = Send(
                Target("/dev/fakeGate"), TPanelJob::Program(request.Program), &atGateway, progress);
            return TGatewayAnswer{-ended.Code, ResultText(ended.Code), ""};
        });
    ASSERT_TRUE(gate.Ready()) << broker.LogText();
    test::TMqttTestClient watcher("watcher");
    ASSERT_EQ(watcher.Connect(broker.Port), 0);
    ASSERT_TRUE(watcher.Subscribe("zor/north/Gate/progress", 0));

    std::vector<std::string> remote;
    const std::string device = "mqtt://127.0.0.1:" + std::to_string(broker.Port) + "/north/Gate";
    const TPanelOutcome outcome = Send(Target(device), job, &remote);
    EXPECT_EQ(outcome.Code, ResultOk);
    EXPECT_EQ(outcome.Frame, 6) << "ended after the Close frame";
    EXPECT_EQ(remote, local);
    EXPECT_EQ(atGateway, local);
    std::vector<std::string> published;
    for (int i = 0; i <= 5; ++i)
        if (const auto step = watcher.Next("zor/north/Gate/progress"))
            published.push_back(step->Payload);
    EXPECT_EQ(published, (std::vector<std::string>{"0 5", "1 5", "2 5", "3 5", "4 5", "5 5"}))
        << "in order, ending at the block count";
}

TEST_F(MqttProgress, AFailureIsPlacedInTheFrameAfterTheLastBlockTheGatewayTold)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TGatewayInProcess gate(broker.Port, "Gate",
                                 [](const TGatewayDecision &, const TGatewayProgress &progress) {
                                     for (int step = 0; step <= 2; ++step)
                                         progress(step, 5);
                                     // A step past the end is the broker's noise, not a block.
                                     progress(7, 5);
                                     return TGatewayAnswer{4, "Timeout", ""};
                                 });
    ASSERT_TRUE(gate.Ready()) << broker.LogText();
    const std::string device = "mqtt://127.0.0.1:" + std::to_string(broker.Port) + "/north/Gate";
    std::vector<std::string> told;
    const TPanelOutcome outcome =
        Send(Target(device), TPanelJob::Program(std::string(5 * BlockDataLength - 9, 'p')), &told);
    EXPECT_EQ(outcome.Code, ResultTimeout);
    EXPECT_EQ(outcome.Frame, 3) << "the third block went unanswered";
    EXPECT_EQ(told, (std::vector<std::string>{"max 4", "pos 0", "pos 1"}));
}

} // namespace
} // namespace zor
