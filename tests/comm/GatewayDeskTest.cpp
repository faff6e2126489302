// One panel's desk at the gateway, without a broker: what reaches the line, when, and how often.
#include "comm/Gateway.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace zor {
namespace {

// The desk with a transfer the test holds until it lets it go, and a clock it sets.
class GatewayDesk : public ::testing::Test
{
protected:
    struct TPublished
    {
        std::string Topic, Correlation, Payload;
    };

    std::unique_ptr<TGatewayDesk> Desk = std::make_unique<TGatewayDesk>(
        "north", "Gate",
        [this](const TGatewayDecision &request, const TTransferStop &, const TGatewayProgress &) {
            std::unique_lock lock(Mutex);
            Carried.push_back(request.Kind == TGatewayKind::Program
                                  ? request.Program
                                  : std::string(reinterpret_cast<const char *>(request.Numeric)));
            Changed.notify_all();
            Changed.wait(lock, [this] { return Released > 0; });
            --Released;
            return TGatewayAnswer{0, "Communication O.K.", ""};
        },
        [this](const std::string &topic, const std::string &correlation,
               const std::string &payload) {
            std::lock_guard lock(Mutex);
            Published.push_back({topic, correlation, payload});
            Changed.notify_all();
        },
        [this](const std::string &line) {
            std::lock_guard lock(Mutex);
            Reported.push_back(line);
        },
        [this] { return Now.load(); });

    ~GatewayDesk() override
    {
        Release(100);
        Desk.reset();
    }

    static TGatewayRequest Request(const std::string &leaf, const std::string &payload,
                                   const std::string &correlation, std::uint32_t expiry = 60)
    {
        return {"zor/north/Gate/" + leaf, payload, correlation, "zor/north/Gate/reply/office",
                expiry};
    }
    void Release(int n)
    {
        std::lock_guard lock(Mutex);
        Released += n;
        Changed.notify_all();
    }
    // Waits until n answers have been published (or the guard of 20 s ends).
    std::vector<TPublished> Answers(std::size_t n)
    {
        std::unique_lock lock(Mutex);
        Changed.wait_for(lock, std::chrono::seconds(20), [&] { return Published.size() >= n; });
        return Published;
    }
    void WaitCarried(std::size_t n)
    {
        std::unique_lock lock(Mutex);
        Changed.wait_for(lock, std::chrono::seconds(20), [&] { return Carried.size() >= n; });
    }

    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<std::string> Carried;
    std::vector<TPublished> Published;
    std::vector<std::string> Reported;
    int Released = 0;
    std::atomic<std::int64_t> Now{0};
};

TEST_F(GatewayDesk, ABadRequestIsAnsweredWithItsReasonAndNeverReachesTheLine)
{
    Desk->Take(Request("numeric", "1000 1", "c1"));
    Desk->Take(Request("program", std::string("a\0b", 3), "c2"));
    TGatewayRequest noTopic = Request("program", "x", "c3");
    noTopic.ResponseTopic.reset();
    Desk->Take(noTopic);
    const auto answers = Answers(2);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].Topic, "zor/north/Gate/reply/office");
    EXPECT_EQ(answers[0].Correlation, "c1");
    EXPECT_TRUE(answers[0].Payload.starts_with("2\tRequest refused: Only numeric value"))
        << answers[0].Payload;
    EXPECT_EQ(answers[1].Payload, "2\tRequest refused: the program holds a zero byte");
    std::lock_guard lock(Mutex);
    EXPECT_TRUE(Carried.empty());
    // The one without a response topic has no one to answer, but the operator sees it.
    ASSERT_EQ(Reported.size(), 3u);
    EXPECT_EQ(Reported[2], "north/Gate\t2\tRequest refused: the request has no response topic");
}

TEST_F(GatewayDesk, ARequestDeliveredAgainIsCarriedOutOnceAndAnsweredAgain)
{
    Desk->Take(Request("program", "#F3 one\r\n", "c1"));
    WaitCarried(1);
    // Again while it runs: the first one's answer serves it.
    Desk->Take(Request("program", "#F3 one\r\n", "c1"));
    // The same correlation data from another sender is another request.
    TGatewayRequest other = Request("numeric", "12 3", "c1");
    other.ResponseTopic = "zor/north/Gate/reply/laptop";
    Desk->Take(other);
    Release(2);
    auto answers = Answers(2);
    ASSERT_EQ(answers.size(), 2u);
    // Again after it ended: answered from memory.
    Desk->Take(Request("program", "#F3 one\r\n", "c1"));
    answers = Answers(3);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[2].Topic, "zor/north/Gate/reply/office");
    EXPECT_EQ(answers[2].Correlation, "c1");
    EXPECT_EQ(answers[2].Payload, "0\tCommunication O.K.");
    std::lock_guard lock(Mutex);
    EXPECT_EQ(Carried, (std::vector<std::string>{"#F3 one\r\n", " 12 3"}));
}

TEST_F(GatewayDesk, ARequestWhoseLifeRanOutWhileThePanelWasBusyIsNeverCarriedOut)
{
    Desk->Take(Request("program", "long", "c1", 600));
    WaitCarried(1);
    Desk->Take(Request("numeric", "1 2", "c2", 5));
    Desk->Take(Request("numeric", "3 4", "c3", 7));
    Now = 6000;
    Release(3);
    const auto answers = Answers(3);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[1].Correlation, "c2");
    EXPECT_EQ(answers[1].Payload, "1\tRequest expired: its life ran out before the panel was "
                                  "free; nothing was sent");
    EXPECT_EQ(answers[2].Payload, "0\tCommunication O.K.");
    std::lock_guard lock(Mutex);
    EXPECT_EQ(Carried, (std::vector<std::string>{"long", "  3 4"}));
}

} // namespace
} // namespace zor
