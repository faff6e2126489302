// The requests a site's gateway takes from the broker, and its answers. A request is published on
// "zor/SITE/PANEL/program" (the payload: the program text as `zor translate` writes it) or
// "zor/SITE/PANEL/numeric" (the payload "DAYS ACCIDENTS"), with a Response Topic under
// "zor/SITE/PANEL/reply/", Correlation Data and a Message Expiry Interval. The answer goes to the
// Response Topic with the same Correlation Data: "CODE<TAB>MESSAGE[: cause]", CODE being the exit
// status `zor send` gives for that outcome. Plain C++: the payloads are untrusted, and this is
// the one place that reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zor {

// The topics of one panel at one site.
std::string GatewayTopic(std::string_view site, std::string_view panel, std::string_view leaf);
// What a gateway of site subscribes to: "zor/SITE/+/program" and "zor/SITE/+/numeric".
std::string GatewayRequestFilter(std::string_view site, std::string_view leaf);

// The largest program a request may carry, in bytes: the transfer numbers its 64-byte blocks
// (one more than the text fills, for its terminating zero) with a 16-bit word, so at most 65535
// blocks. Whether the panel has that many free is its own answer to the Open frame ("Ram free
// error", the transfer's exit status 5).
inline constexpr std::size_t GatewayProgramLimit = 65535u * 64u - 1u;

// The exit status of a request refused before it reaches the line (a bad payload, as `zor send`
// refuses a bad command line).
inline constexpr int GatewayRefusedStatus = 2;

// A request as it came from the broker.
struct TGatewayRequest
{
    std::string Topic;
    std::string Payload;
    std::string CorrelationData;
    std::optional<std::string> ResponseTopic;
    // The Message Expiry Interval as delivered (what is left of it), in seconds.
    std::optional<std::uint32_t> ExpirySeconds;
};

enum class TGatewayKind { Program, Numeric };

// What a request asks for, or why it is refused.
struct TGatewayDecision
{
    // Set when the request can be answered at all: its panel and where the answer goes. A request
    // without a response topic, or whose topic is not one of this site's request topics, has no
    // one to answer and is dropped (Panel empty then).
    std::string Panel;
    std::string ResponseTopic;
    // Empty when the request is to be carried out; else the reason it is refused, sent as the
    // answer with GatewayRefusedStatus when ResponseTopic is set.
    std::string Refusal;
    TGatewayKind Kind = TGatewayKind::Program;
    std::string Program;             // Kind Program: the text to send
    std::uint8_t Numeric[8] = {};    // Kind Numeric: the message (comm/NumericMessage.h)
    std::uint32_t ExpirySeconds = 0; // what is left of the request's life when it came

    bool Accepted() const { return Refusal.empty(); }
};

// Decodes request for the gateway of site. A refusal names the first fault found: a topic of
// another site or of no request, no response topic or one outside "zor/SITE/PANEL/reply/", no
// correlation data, no expiry interval (a request that never expires could be carried out any time
// later), a program that is empty, longer than GatewayProgramLimit or holds a zero byte, a numeric
// payload that is not DAYS (0 to 999) and ACCIDENTS (0 to 99) separated by one blank.
TGatewayDecision DecodeGatewayRequest(std::string_view site, const TGatewayRequest &request);

// The answer's payload: "CODE<TAB>MESSAGE" with ": cause" after MESSAGE when cause is not empty.
// Tabs and line breaks in message and cause become blanks, so the answer stays one line.
std::string EncodeGatewayAnswer(int code, std::string_view message, std::string_view cause);

} // namespace zor
