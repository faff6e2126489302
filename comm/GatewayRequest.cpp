#include "comm/GatewayRequest.h"

#include "comm/NumericMessage.h"

namespace zor {

namespace {

constexpr std::string_view TopicRoot = "zor/";
constexpr std::string_view ProgramLeaf = "program";
constexpr std::string_view NumericLeaf = "numeric";

bool AllDigits(std::string_view text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// "DAYS ACCIDENTS", as zor numeric takes the two counters: one to three digits, one or two.
bool ReadNumeric(std::string_view payload, std::uint8_t *message)
{
    // A line end after it, as a shell's echo leaves one, is no fault.
    if (payload.ends_with("\r\n"))
        payload.remove_suffix(2);
    else if (payload.ends_with('\n'))
        payload.remove_suffix(1);
    const auto blank = payload.find(' ');
    if (blank == std::string_view::npos)
        return false;
    const std::string_view days = payload.substr(0, blank);
    const std::string_view accidents = payload.substr(blank + 1);
    if (days.empty() || days.size() > 3 || accidents.empty() || accidents.size() > 2 ||
        !AllDigits(days) || !AllDigits(accidents))
        return false;
    return BuildMessage(days, accidents, message);
}

} // namespace

std::string GatewayTopic(std::string_view site, std::string_view panel, std::string_view leaf)
{
    std::string topic(TopicRoot);
    topic.append(site).append("/").append(panel).append("/").append(leaf);
    return topic;
}

std::string GatewayRequestFilter(std::string_view site, std::string_view leaf)
{
    return GatewayTopic(site, "+", leaf);
}

TGatewayDecision DecodeGatewayRequest(std::string_view site, const TGatewayRequest &request)
{
    TGatewayDecision d;
    // zor/SITE/PANEL/LEAF, each level one level.
    std::string_view topic = request.Topic;
    std::string_view panel, leaf;
    bool ours = topic.starts_with(TopicRoot);
    if (ours) {
        topic.remove_prefix(TopicRoot.size());
        ours = topic.size() > site.size() && topic.starts_with(site) && topic[site.size()] == '/';
    }
    if (ours) {
        topic.remove_prefix(site.size() + 1);
        const auto slash = topic.find('/');
        ours = slash != std::string_view::npos && slash > 0;
        if (ours) {
            panel = topic.substr(0, slash);
            leaf = topic.substr(slash + 1);
            ours = leaf == ProgramLeaf || leaf == NumericLeaf;
        }
    }
    if (!ours) {
        d.Refusal = "not a request of site " + std::string(site) + ": " + request.Topic;
        return d;
    }
    d.Panel = std::string(panel);
    const std::string replies = GatewayTopic(site, panel, "reply/");
    if (!request.ResponseTopic) {
        d.Refusal = "the request has no response topic";
        return d;
    }
    if (!request.ResponseTopic->starts_with(replies) ||
        request.ResponseTopic->size() == replies.size() ||
        request.ResponseTopic->find_first_of(std::string_view("+#\0", 3)) != std::string::npos) {
        d.Refusal = "the response topic is not under " + replies;
        return d;
    }
    d.ResponseTopic = *request.ResponseTopic;
    if (request.CorrelationData.empty()) {
        d.Refusal = "the request has no correlation data";
        return d;
    }
    if (!request.ExpirySeconds || *request.ExpirySeconds == 0) {
        d.Refusal = "the request has no message expiry interval";
        return d;
    }
    d.ExpirySeconds = *request.ExpirySeconds;
    if (leaf == ProgramLeaf) {
        d.Kind = TGatewayKind::Program;
        if (request.Payload.empty())
            d.Refusal = "the program is empty";
        else if (request.Payload.size() > GatewayProgramLimit)
            d.Refusal = "the program has " + std::to_string(request.Payload.size()) +
                        " bytes, more than the " + std::to_string(GatewayProgramLimit) +
                        " a transfer can carry";
        else if (request.Payload.find('\0') != std::string::npos)
            d.Refusal = "the program holds a zero byte";
        else
            d.Program = request.Payload;
    } else {
        d.Kind = TGatewayKind::Numeric;
        if (!ReadNumeric(request.Payload, d.Numeric))
            d.Refusal =
                "Only numeric value: write DAYS ACCIDENTS, the accident-free days up to "
                "three digits (0 to 999), the accidents since 1 January up to two (0 to 99)";
    }
    return d;
}

std::string EncodeGatewayAnswer(int code, std::string_view message, std::string_view cause)
{
    std::string answer = std::to_string(code) + "\t";
    const auto add = [&answer](std::string_view text) {
        for (char c : text)
            answer += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    };
    add(message);
    if (!cause.empty()) {
        answer += ": ";
        add(cause);
    }
    return answer;
}

} // namespace zor
