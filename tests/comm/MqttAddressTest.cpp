#include "comm/MqttAddress.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(MqttAddress, ReadsEveryPartOfAPanelsName)
{
    TMqttAddress a;
    std::string problem;
    ASSERT_TRUE(ParseMqttDevice("mqtt://broker.example/plant-2/Gate", &a, &problem)) << problem;
    EXPECT_FALSE(a.Tls);
    EXPECT_EQ(a.User, "");
    EXPECT_EQ(a.Host, "broker.example");
    EXPECT_EQ(a.Port, 1883);
    EXPECT_EQ(a.Site, "plant-2");
    EXPECT_EQ(a.Panel, "Gate");

    ASSERT_TRUE(ParseMqttDevice("mqtts://office@[::1]:18883/north/Hall 1", &a, &problem))
        << problem;
    EXPECT_TRUE(a.Tls);
    EXPECT_EQ(a.User, "office");
    EXPECT_EQ(a.Host, "::1");
    EXPECT_EQ(a.Port, 18883);
    EXPECT_EQ(a.Site, "north");
    EXPECT_EQ(a.Panel, "Hall 1");

    ASSERT_TRUE(ParseMqttDevice("mqtts://[fe80::1]/s/p", &a, &problem)) << problem;
    EXPECT_EQ(a.Port, 8883);
    EXPECT_EQ(a.Host, "fe80::1");
    EXPECT_TRUE(IsMqttDevice("mqtts://x"));
    EXPECT_FALSE(IsMqttDevice("socket://x:1"));
}

TEST(MqttAddress, SaysWhatIsWrongWithAMalformedName)
{
    const struct
    {
        const char *Name;
        const char *Problem;
    } bad[] = {
        {"socket://h:1", "write mqtt:// or mqtts:// in front"},
        {"mqtt:///s/p", "HOST is missing"},
        {"mqtt://u@/s/p", "HOST is missing"},
        {"mqtt://@h/s/p", "USER is empty before '@'"},
        {"mqtt://u:secret@h/s/p", "a password never goes in the name: give it in a file"},
        {"mqtt://h:0/s/p", "PORT must be a number from 1 to 65535"},
        {"mqtt://h:65536/s/p", "PORT must be a number from 1 to 65535"},
        {"mqtt://h:1x/s/p", "PORT must be a number from 1 to 65535"},
        {"mqtt://h:-1/s/p", "PORT must be a number from 1 to 65535"},
        {"mqtt://h:/s/p", "PORT is empty after ':'"},
        {"mqtt://::1:1883/s/p", "an IPv6 address goes in brackets"},
        {"mqtt://[::1/s/p", "the IPv6 address has no closing ']'"},
        {"mqtt://[::1]x/s/p", "only :PORT may follow the IPv6 address"},
        {"mqtt://h", "SITE and PANEL are missing: write /SITE/PANEL after the host"},
        {"mqtt://h/", "SITE and PANEL are missing: write /SITE/PANEL after the host"},
        {"mqtt://h/site", "PANEL is missing: write /SITE/PANEL after the host"},
        {"mqtt://h//p", "SITE and PANEL must not be empty nor hold '/', '+' or '#'"},
        {"mqtt://h/s/", "SITE and PANEL must not be empty nor hold '/', '+' or '#'"},
        {"mqtt://h/s/p/q", "SITE and PANEL must not be empty nor hold '/', '+' or '#'"},
        {"mqtt://h/+/p", "SITE and PANEL must not be empty nor hold '/', '+' or '#'"},
        {"mqtt://h/s/#", "SITE and PANEL must not be empty nor hold '/', '+' or '#'"},
    };
    for (const auto &b : bad) {
        TMqttAddress a;
        a.Host = "kept";
        std::string problem;
        EXPECT_FALSE(ParseMqttDevice(b.Name, &a, &problem)) << b.Name;
        EXPECT_EQ(problem, b.Problem) << b.Name;
        EXPECT_EQ(a.Host, "kept") << b.Name;
    }
    std::string withNul("mqtt://h/s/p\0q", 14);
    TMqttAddress a;
    std::string problem;
    EXPECT_FALSE(ParseMqttDevice(withNul, &a, &problem));
}

TEST(MqttAddress, ABrokerIsTheNameWithoutSiteAndPanel)
{
    TMqttAddress a;
    std::string problem;
    ASSERT_TRUE(ParseMqttBroker("mqtt://gw-north@127.0.0.1:1884", &a, &problem)) << problem;
    EXPECT_EQ(a.User, "gw-north");
    EXPECT_EQ(a.Host, "127.0.0.1");
    EXPECT_EQ(a.Port, 1884);
    ASSERT_TRUE(ParseMqttBroker("mqtts://broker/", &a, &problem)) << problem;
    EXPECT_EQ(a.Port, 8883);
    EXPECT_FALSE(ParseMqttBroker("mqtt://broker/site/panel", &a, &problem));
    EXPECT_EQ(problem, "the broker's name ends after HOST[:PORT]");
    EXPECT_FALSE(ParseMqttBroker("mqtt://broker:99999", &a, &problem));
    EXPECT_EQ(problem, "PORT must be a number from 1 to 65535");
}

} // namespace
} // namespace zor
