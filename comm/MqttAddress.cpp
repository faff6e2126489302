#include "comm/MqttAddress.h"

#include <charconv>
#include <string_view>

namespace zor {

namespace {

constexpr std::string_view MqttPrefix = "mqtt://";
constexpr std::string_view MqttsPrefix = "mqtts://";

// Host, user and port; what follows the authority is left in *rest.
bool ParseAuthority(std::string_view *rest, TMqttAddress *address, std::string *problem)
{
    std::string_view in = *rest;
    if (in.starts_with(MqttPrefix)) {
        address->Tls = false;
        address->Port = MqttDefaultPort;
        in.remove_prefix(MqttPrefix.size());
    } else if (in.starts_with(MqttsPrefix)) {
        address->Tls = true;
        address->Port = MqttsDefaultPort;
        in.remove_prefix(MqttsPrefix.size());
    } else {
        *problem = "write mqtt:// or mqtts:// in front";
        return false;
    }
    const std::string_view authority = in.substr(0, in.find('/'));
    in.remove_prefix(authority.size());
    std::string_view hostPort = authority;
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.empty()) {
            *problem = "USER is empty before '@'";
            return false;
        }
        if (user.find(':') != std::string_view::npos) {
            *problem = "a password never goes in the name: give it in a file";
            return false;
        }
        address->User = std::string(user);
        hostPort = authority.substr(at + 1);
    }
    std::string_view host, port;
    if (hostPort.starts_with('[')) {
        const auto close = hostPort.find(']');
        if (close == std::string_view::npos) {
            *problem = "the IPv6 address has no closing ']'";
            return false;
        }
        host = hostPort.substr(1, close - 1);
        const std::string_view after = hostPort.substr(close + 1);
        if (!after.empty() && !after.starts_with(':')) {
            *problem = "only :PORT may follow the IPv6 address";
            return false;
        }
        port = after.empty() ? after : after.substr(1);
        if (!after.empty() && port.empty()) {
            *problem = "PORT is empty after ':'";
            return false;
        }
    } else {
        const auto colon = hostPort.find(':');
        host = hostPort.substr(0, colon);
        if (colon != std::string_view::npos) {
            port = hostPort.substr(colon + 1);
            if (port.find(':') != std::string_view::npos) {
                *problem = "an IPv6 address goes in brackets";
                return false;
            }
            if (port.empty()) {
                *problem = "PORT is empty after ':'";
                return false;
            }
        }
    }
    if (host.empty()) {
        *problem = "HOST is missing";
        return false;
    }
    if (!port.empty()) {
        int number = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        if (error != std::errc() || end != port.data() + port.size() || number < 1 ||
            number > 65535) {
            *problem = "PORT must be a number from 1 to 65535";
            return false;
        }
        address->Port = number;
    }
    address->Host = std::string(host);
    *rest = in;
    return true;
}

} // namespace

bool IsMqttDevice(const std::string &device)
{
    return device.starts_with(MqttPrefix) || device.starts_with(MqttsPrefix);
}

bool IsMqttTopicLevel(const std::string &name)
{
    return !name.empty() && name.find_first_of(std::string_view("/+#\0", 4)) == std::string::npos;
}

bool ParseMqttDevice(const std::string &device, TMqttAddress *address, std::string *problem)
{
    TMqttAddress parsed;
    std::string_view rest = device;
    if (!ParseAuthority(&rest, &parsed, problem))
        return false;
    if (rest.size() < 2) {
        *problem = "SITE and PANEL are missing: write /SITE/PANEL after the host";
        return false;
    }
    rest.remove_prefix(1);
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos) {
        *problem = "PANEL is missing: write /SITE/PANEL after the host";
        return false;
    }
    parsed.Site = std::string(rest.substr(0, slash));
    parsed.Panel = std::string(rest.substr(slash + 1));
    if (!IsMqttTopicLevel(parsed.Site) || !IsMqttTopicLevel(parsed.Panel)) {
        *problem = "SITE and PANEL must not be empty nor hold '/', '+' or '#'";
        return false;
    }
    *address = std::move(parsed);
    return true;
}

bool ParseMqttBroker(const std::string &broker, TMqttAddress *address, std::string *problem)
{
    TMqttAddress parsed;
    std::string_view rest = broker;
    if (!ParseAuthority(&rest, &parsed, problem))
        return false;
    if (!rest.empty() && rest != "/") {
        *problem = "the broker's name ends after HOST[:PORT]";
        return false;
    }
    *address = std::move(parsed);
    return true;
}

} // namespace zor
