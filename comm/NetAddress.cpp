// The network devices' names, apart from the port itself so that every build knows a network
// name when it sees one, also where it has no network port.
#include "comm/NetPort.h"

#include <charconv>
#include <string_view>

namespace zor {

namespace {

constexpr std::string_view RawPrefix = "socket://";
constexpr std::string_view Rfc2217Prefix = "rfc2217://";

} // namespace

bool IsNetworkDevice(const std::string &device)
{
    return device.starts_with(RawPrefix) || device.starts_with(Rfc2217Prefix);
}

bool ParseNetworkDevice(const std::string &device, TNetAddress *address)
{
    std::string_view rest = device;
    if (rest.starts_with(RawPrefix)) {
        address->Scheme = TNetScheme::Raw;
        rest.remove_prefix(RawPrefix.size());
    } else if (rest.starts_with(Rfc2217Prefix)) {
        address->Scheme = TNetScheme::Rfc2217;
        rest.remove_prefix(Rfc2217Prefix.size());
    } else {
        return false;
    }
    // Anything after the port (a path or options of other tools' forms) is not understood here.
    std::string_view host;
    if (rest.starts_with('[')) {
        const auto close = rest.find(']');
        if (close == std::string_view::npos || rest.substr(close + 1, 1) != ":")
            return false;
        host = rest.substr(1, close - 1);
        rest.remove_prefix(close + 2);
    } else {
        const auto colon = rest.rfind(':');
        if (colon == std::string_view::npos)
            return false;
        host = rest.substr(0, colon);
        if (host.find(':') != std::string_view::npos)
            return false; // an IPv6 address goes in brackets
        rest.remove_prefix(colon + 1);
    }
    int port = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), port);
    if (host.empty() || rest.empty() || error != std::errc() || end != rest.data() + rest.size() ||
        port < 1 || port > 65535)
        return false;
    address->Host = std::string(host);
    address->Port = std::string(rest);
    return true;
}

} // namespace zor
