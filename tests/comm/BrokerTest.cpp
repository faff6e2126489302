// The tests' own broker, and the client the gateway's tests talk through.
#include "harness/MosquittoBroker.h"
#include "tests/support/MqttTestClient.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

class Broker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (test::TMosquittoBroker::Program().empty())
            GTEST_SKIP() << "mosquitto is not installed (scripts/setup.sh installs it)";
        Dir = fs::temp_directory_path() /
              ("zor-broker-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    fs::path Dir;
};

TEST_F(Broker, CarriesAMessageWithItsCorrelationDataFromOneClientToAnother)
{
    test::TMosquittoBroker broker(Dir);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TMqttTestClient receiver("receiver"), sender("sender");
    ASSERT_EQ(receiver.Connect(broker.Port), 0);
    ASSERT_TRUE(receiver.Subscribe("zor/test/#"));
    ASSERT_EQ(sender.Connect(broker.Port), 0);
    test::TMqttPublish message;
    message.Topic = "zor/test/a";
    message.Payload = std::string("one\0two", 7);
    message.CorrelationData = std::string("\x01\x00", 2);
    message.ExpirySeconds = 60;
    ASSERT_TRUE(sender.Publish(message));
    const auto got = receiver.Next("zor/test/a");
    ASSERT_TRUE(got);
    EXPECT_EQ(got->Payload, std::string("one\0two", 7));
    EXPECT_EQ(got->CorrelationData, std::string("\x01\x00", 2));
}

TEST_F(Broker, LetsInOnlyTheUsersOfItsPasswordFile)
{
    test::TMosquittoBroker::TOptions options;
    options.Users = {{"gw-north", "s3cret"}};
    test::TMosquittoBroker broker(Dir, options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    test::TMqttTestClient anonymous("anonymous"), wrong("wrong"), right("right");
    EXPECT_NE(anonymous.Connect(broker.Port), 0);
    EXPECT_NE(wrong.Connect(broker.Port, "gw-north", "guess"), 0);
    EXPECT_EQ(right.Connect(broker.Port, "gw-north", "s3cret"), 0);
}

} // namespace
} // namespace zor
