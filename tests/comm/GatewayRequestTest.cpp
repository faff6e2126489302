#include "comm/GatewayRequest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zor {
namespace {

TGatewayRequest Request(std::string topic, std::string payload)
{
    TGatewayRequest r;
    r.Topic = std::move(topic);
    r.Payload = std::move(payload);
    r.CorrelationData = "c1";
    r.ResponseTopic = "zor/north/Gate/reply/office-7";
    r.ExpirySeconds = 600;
    return r;
}

TEST(GatewayRequest, TakesAProgramAndACounterRequestOfItsSite)
{
    TGatewayDecision d =
        DecodeGatewayRequest("north", Request("zor/north/Gate/program", "#F3 text\r\n"));
    ASSERT_TRUE(d.Accepted()) << d.Refusal;
    EXPECT_EQ(d.Kind, TGatewayKind::Program);
    EXPECT_EQ(d.Panel, "Gate");
    EXPECT_EQ(d.Program, "#F3 text\r\n");
    EXPECT_EQ(d.ResponseTopic, "zor/north/Gate/reply/office-7");
    EXPECT_EQ(d.ExpirySeconds, 600u);

    // The largest program a transfer can number its blocks for.
    d = DecodeGatewayRequest(
        "north", Request("zor/north/Gate/program", std::string(GatewayProgramLimit, 'x')));
    EXPECT_TRUE(d.Accepted()) << d.Refusal;

    const struct
    {
        const char *Payload;
        const char *Message;
    } counters[] = {{"123 45", "123450"}, {"7 0", "  7 00"}, {"0 99\n", "  0990"}};
    for (const auto &c : counters) {
        d = DecodeGatewayRequest("north", Request("zor/north/Gate/numeric", c.Payload));
        ASSERT_TRUE(d.Accepted()) << c.Payload << ": " << d.Refusal;
        EXPECT_EQ(d.Kind, TGatewayKind::Numeric);
        std::string message(reinterpret_cast<const char *>(d.Numeric), 6);
        message[5] = '0';
        EXPECT_EQ(message, c.Message) << c.Payload;
        EXPECT_EQ(d.Numeric[5], 0);
    }
}

TEST(GatewayRequest, RefusesWhatMustNotReachTheLineWithItsReason)
{
    const std::string over(GatewayProgramLimit + 1, 'x');
    const struct
    {
        std::string Leaf;
        std::string Payload;
        std::string Refusal;
    } bad[] = {
        {"program", "", "the program is empty"},
        {"program", over,
         "the program has 4194240 bytes, more than the 4194239 a transfer can carry"},
        {"program", std::string("ab\0cd", 5), "the program holds a zero byte"},
        {"numeric", "1234 5", "numeric"},
        {"numeric", "12 345", "numeric"},
        {"numeric", "12", "numeric"},
        {"numeric", "12  3", "numeric"},
        {"numeric", " 12 3", "numeric"},
        {"numeric", "-1 3", "numeric"},
        {"numeric", "1 2 3", "numeric"},
        {"numeric", "12 3\n\n", "numeric"},
        {"numeric", "", "numeric"},
    };
    for (const auto &b : bad) {
        const TGatewayDecision d =
            DecodeGatewayRequest("north", Request("zor/north/Gate/" + b.Leaf, b.Payload));
        EXPECT_FALSE(d.Accepted()) << b.Payload;
        if (b.Refusal == "numeric")
            EXPECT_TRUE(d.Refusal.starts_with("Only numeric value: write DAYS ACCIDENTS"))
                << b.Payload << ": " << d.Refusal;
        else
            EXPECT_EQ(d.Refusal, b.Refusal);
        // Refused with an answer: whoever asked learns why.
        EXPECT_EQ(d.ResponseTopic, "zor/north/Gate/reply/office-7");
    }
}

TEST(GatewayRequest, ARequestWithoutAWayToAnswerOrALifeIsRefused)
{
    TGatewayRequest r = Request("zor/north/Gate/program", "x");
    r.ResponseTopic.reset();
    TGatewayDecision d = DecodeGatewayRequest("north", r);
    EXPECT_EQ(d.Refusal, "the request has no response topic");
    EXPECT_EQ(d.ResponseTopic, "");

    for (const char *elsewhere : {"zor/south/Gate/reply/x", "zor/north/Hall/reply/x",
                                  "zor/north/Gate/reply/", "zor/north/Gate/reply/#"}) {
        r.ResponseTopic = elsewhere;
        d = DecodeGatewayRequest("north", r);
        EXPECT_EQ(d.Refusal, "the response topic is not under zor/north/Gate/reply/") << elsewhere;
        EXPECT_EQ(d.ResponseTopic, "") << elsewhere;
    }

    r = Request("zor/north/Gate/program", "x");
    r.CorrelationData.clear();
    d = DecodeGatewayRequest("north", r);
    EXPECT_EQ(d.Refusal, "the request has no correlation data");
    EXPECT_EQ(d.ResponseTopic, "zor/north/Gate/reply/office-7");

    r = Request("zor/north/Gate/program", "x");
    r.ExpirySeconds.reset();
    EXPECT_EQ(DecodeGatewayRequest("north", r).Refusal,
              "the request has no message expiry interval");
}

TEST(GatewayRequest, ServesOnlyTheRequestTopicsOfItsOwnSite)
{
    for (const char *topic :
         {"zor/south/Gate/program", "zor/northern/Gate/program", "zor/nort/Gate/program",
          "zor/north/Gate/status", "zor/north/Gate/reply/x", "zor/north//program",
          "zor/north/Gate/x/program", "zor/north/program", "other/north/Gate/program"}) {
        const TGatewayDecision d = DecodeGatewayRequest("north", Request(topic, "1 2"));
        EXPECT_FALSE(d.Accepted()) << topic;
        EXPECT_EQ(d.Panel, "") << topic;
        EXPECT_EQ(d.ResponseTopic, "") << topic;
    }
}

TEST(GatewayRequest, AnAnswerStaysOneLine)
{
    EXPECT_EQ(EncodeGatewayAnswer(0, "Communication O.K.", ""), "0\tCommunication O.K.");
    EXPECT_EQ(EncodeGatewayAnswer(3, "Hardware Failure", "the device\twent\naway"),
              "3\tHardware Failure: the device went away");
    EXPECT_EQ(EncodeGatewayAnswer(8, "Too many\r\ntext segments", ""),
              "8\tToo many  text segments");
}

} // namespace
} // namespace zor
