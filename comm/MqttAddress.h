// Panels at other sites, reached through an MQTT broker: "mqtt://[USER@]HOST[:PORT]/SITE/PANEL"
// names the panel PANEL served by the gateway of site SITE, and "mqtts://" the same over TLS. A
// broker alone (the gateway's --broker) is the same name without "/SITE/PANEL". The password
// never goes in the name: it comes from a file.
#pragma once

#include <string>

namespace zor {

inline constexpr int MqttDefaultPort = 1883;
inline constexpr int MqttsDefaultPort = 8883;

struct TMqttAddress
{
    bool Tls = false;  // mqtts://
    std::string User;  // empty when the name gives none
    std::string Host;  // without the brackets of an IPv6 address
    int Port = 0;      // 1..65535, the scheme's default when the name gives none
    std::string Site;  // one topic level each: not empty, no '/', '+', '#' or NUL
    std::string Panel; // empty for a broker alone
};

// True when device begins with "mqtt://" or "mqtts://" (whether or not the rest is well formed).
bool IsMqttDevice(const std::string &device);

// Splits a panel's name "mqtt[s]://[USER@]HOST[:PORT]/SITE/PANEL". False, with *problem set to
// one line saying what is wrong (without the name itself), when it is not of that form.
bool ParseMqttDevice(const std::string &device, TMqttAddress *address, std::string *problem);

// Splits a broker's name "mqtt[s]://[USER@]HOST[:PORT]" (a trailing '/' is allowed); Site and
// Panel are left empty. False, with *problem set, as ParseMqttDevice.
bool ParseMqttBroker(const std::string &broker, TMqttAddress *address, std::string *problem);

// Whether name can stand as one level of a topic: not empty, and no '/', '+', '#' or NUL.
bool IsMqttTopicLevel(const std::string &name);

} // namespace zor
