// A request as the broker hands it to a site's gateway, decoded. The input holds the request's
// parts, one per line up to the payload: a flags byte ('R' a response topic, 'E' an expiry
// interval are present), the topic, the response topic, the correlation data, the expiry
// interval in seconds, then the payload to the end. Whatever comes in, a request either is
// refused with a reason or asks for exactly one of the two transfers with a payload that fits
// it; an accepted request always has somewhere to answer under its own panel's reply topic, and
// the answer stays one line.
#include "comm/GatewayRequest.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string_view TakeLine(std::string_view *in)
{
    const auto nl = in->find('\n');
    const std::string_view line = in->substr(0, nl);
    in->remove_prefix(nl == std::string_view::npos ? in->size() : nl + 1);
    return line;
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view in(reinterpret_cast<const char *>(data), size);
    const std::string_view flags = TakeLine(&in);
    zor::TGatewayRequest request;
    request.Topic = std::string(TakeLine(&in));
    const std::string_view response = TakeLine(&in);
    if (flags.find('R') != std::string_view::npos)
        request.ResponseTopic = std::string(response);
    request.CorrelationData = std::string(TakeLine(&in));
    const std::string_view expiry = TakeLine(&in);
    if (flags.find('E') != std::string_view::npos) {
        std::uint32_t seconds = 0;
        for (char c : expiry.substr(0, 9))
            seconds = seconds * 10 + static_cast<std::uint8_t>(c) % 10;
        request.ExpirySeconds = seconds;
    }
    request.Payload = std::string(in);

    constexpr std::string_view Site = "north";
    const zor::TGatewayDecision d = zor::DecodeGatewayRequest(Site, request);
    if (!d.ResponseTopic.empty()) {
        Check(!d.Panel.empty() && d.Panel.find_first_of("/+#") == std::string::npos);
        Check(d.ResponseTopic.starts_with(zor::GatewayTopic(Site, d.Panel, "reply/")));
        Check(request.Topic.starts_with(zor::GatewayTopic(Site, d.Panel, "")));
    }
    if (d.Accepted()) {
        Check(!d.ResponseTopic.empty() && !request.CorrelationData.empty() && d.ExpirySeconds > 0);
        if (d.Kind == zor::TGatewayKind::Program) {
            Check(request.Topic.ends_with("/program"));
            Check(d.Program == request.Payload && !d.Program.empty());
            Check(d.Program.size() <= zor::GatewayProgramLimit);
            Check(d.Program.find('\0') == std::string::npos);
        } else {
            Check(request.Topic.ends_with("/numeric"));
            for (int i = 0; i < 5; ++i)
                Check(d.Numeric[i] == ' ' || (d.Numeric[i] >= '0' && d.Numeric[i] <= '9'));
            Check(d.Numeric[5] == 0);
        }
    } else {
        Check(!d.Refusal.empty());
        const std::string answer = zor::EncodeGatewayAnswer(zor::GatewayRefusedStatus, d.Refusal,
                                                            request.Payload.substr(0, 64));
        Check(answer.starts_with("2\t") && answer.find_first_of("\r\n", 0) == std::string::npos &&
              answer.find('\t', 2) == std::string::npos);
    }
    return 0;
}
