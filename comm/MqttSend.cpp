#include "comm/MqttSend.h"

#include "base/TranslateNoop.h"
#include "comm/GatewayRequest.h"
#include "comm/MqttAddress.h"
#include "comm/PanelSend.h"
#include "comm/Results.h"

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace zor {

namespace {

// How often a wait looks at the stop: a Ctrl-C or Cancel ends it within this.
constexpr auto StopLook = std::chrono::milliseconds(20);
constexpr int KeepAliveSeconds = 60;

// The blocks taken from a progress payload "k N" (k of the program's N blocks), or -1 when it is
// not two numbers of at most five digits with k no more than N: the payload is the broker's, not
// ours, and a bar must never be told to go past its end.
int ProgressStep(const std::string &payload)
{
    const auto space = payload.find(' ');
    if (space == std::string::npos || space == 0 || space > 5 || payload.size() - space - 1 > 5)
        return -1;
    int taken = 0, total = 0;
    const char *first = payload.data(), *last = first + payload.size();
    const auto one = std::from_chars(first, first + space, taken);
    const auto two = std::from_chars(first + space + 1, last, total);
    if (one.ec != std::errc() || one.ptr != first + space || two.ec != std::errc() ||
        two.ptr != last || first[0] == '-' || first[space + 1] == '-' || taken > total)
        return -1;
    return taken;
}

// A sentence of the sender's, for the editor to say in its language.
TMessage Say(const char *format, std::vector<TMessage> args = {})
{
    return TMessage::Tr("MqttSend", format, std::move(args));
}

// The "since" user property of a gateway's offline status: the time it stopped, as
// "YYYY-MM-DDTHH:MM:SSZ"; empty when there is none (a Last Will cannot know when it is sent) or
// it is anything else, since whoever may publish the status topic writes it.
std::string SinceOf(const mosquitto_property *props)
{
    std::string since;
    char *name = nullptr;
    char *value = nullptr;
    for (const mosquitto_property *p = mosquitto_property_read_string_pair(
             props, MQTT_PROP_USER_PROPERTY, &name, &value, false);
         p;
         p = mosquitto_property_read_string_pair(p, MQTT_PROP_USER_PROPERTY, &name, &value, true)) {
        if (std::strcmp(name, "since") == 0 && std::strlen(value) == 20 &&
            std::string_view(value).find_first_not_of("0123456789-:TZ") == std::string_view::npos)
            since = value;
        std::free(name);
        std::free(value);
        name = value = nullptr;
    }
    return since;
}

std::string Reason(int code)
{
    std::string text = mosquitto_reason_string(code);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string RandomHex(std::size_t bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::random_device device;
    std::string text;
    for (std::size_t i = 0; i < bytes; ++i) {
        const unsigned byte = device() & 0xFFu;
        text += Digits[byte >> 4];
        text += Digits[byte & 0xFu];
    }
    return text;
}

// "DAYS ACCIDENTS" from the numeric message's two right-aligned fields.
std::string NumericPayload(const std::string &message)
{
    const auto trimmed = [](std::string field) {
        field.erase(0, field.find_first_not_of(' '));
        return field;
    };
    return trimmed(message.substr(0, 3)) + " " + trimmed(message.substr(3, 2));
}

// The answer "CODE<TAB>MESSAGE[: cause]" as the outcome of a local transfer with that result.
TPanelOutcome ReadAnswer(const std::string &answer, const std::string &label)
{
    TPanelOutcome outcome;
    const auto tab = answer.find('\t');
    const std::string code = answer.substr(0, tab == std::string::npos ? 0 : tab);
    const std::string said = tab == std::string::npos ? answer : answer.substr(tab + 1);
    for (int result = ResultOk; result >= ResultTooManySegments; --result) {
        if (std::to_string(-result) != code)
            continue;
        // The message as the gateway writes it: one line.
        const std::string message = EncodeGatewayAnswer(0, ResultText(result), {}).substr(2);
        if (said == message) {
            outcome.Code = result;
            return outcome;
        }
        if (said.starts_with(message + ": ")) {
            outcome.Code = result;
            outcome.PortProblem = said.substr(message.size() + 2);
            return outcome;
        }
    }
    outcome.Code = ResultUnknownError;
    outcome.PortProblem =
        Say(ZOR_TRANSLATE_NOOP("MqttSend", "the gateway for %1 answered: %2"), {label, said});
    return outcome;
}

class TBrokerSender
{
public:
    TBrokerSender(const TMqttAddress &address, const TMqttSendOptions &options,
                  const TTransferStop *stop)
        : Address(address), Options(options), Stop(stop), Label(address.Site + "/" + address.Panel)
    {
    }
    ~TBrokerSender()
    {
        if (!Client)
            return;
        if (Looping) {
            bool connected = false;
            {
                std::lock_guard lock(Mutex);
                connected = Connected;
            }
            mosquitto_disconnect_v5(Client, 0, nullptr);
            // A probe's thread may still be trying to connect, which no disconnect ends.
            mosquitto_loop_stop(Client, Deadline && !connected);
        }
        mosquitto_destroy(Client);
    }
    TBrokerSender(const TBrokerSender &) = delete;
    TBrokerSender &operator=(const TBrokerSender &) = delete;

    // The gateway's progress of this request, as far as it has told it: -1 nothing yet, 0 the
    // Open frame taken, then the blocks taken. Read once Send has returned.
    int Told = -1;
    bool Answered = false; // Send returned with the gateway's answer

    TPanelOutcome Send(const TPanelJob &job, const TMqttProgress &progress)
    {
        const std::string clientId = "zor-send-" + RandomHex(8);
        ReplyTopic = GatewayTopic(Address.Site, Address.Panel, "reply/" + clientId);
        StatusTopic = GatewayTopic(Address.Site, Address.Panel, "status");
        ProgressTopic = GatewayTopic(Address.Site, Address.Panel, "progress");
        Correlation = RandomHex(16);
        if (auto failed = Connect(clientId))
            return *failed;

        // The status first: the broker sends what it retains for it before it acknowledges the
        // next subscription, so once that is acknowledged a gateway that is away is known.
        if (auto failed = Subscribe(StatusTopic))
            return *failed;
        // Progress only shows the transfer going: a broker that withholds it costs nothing else.
        if (job.Kind == TPanelJob::TKind::Program)
            mosquitto_subscribe_v5(Client, nullptr, ProgressTopic.c_str(), 0, 0, nullptr);
        if (auto failed = Subscribe(ReplyTopic))
            return *failed;
        {
            std::lock_guard lock(Mutex);
            if (Offline)
                return Failure(
                    ResultUnknownError,
                    OfflineSince.empty()
                        ? Say(ZOR_TRANSLATE_NOOP("MqttSend", "the gateway for %1 is offline"),
                              {Label})
                        : Say(ZOR_TRANSLATE_NOOP("MqttSend",
                                                 "the gateway for %1 is offline (since %2)"),
                              {Label, OfflineSince}));
        }

        const bool program = job.Kind == TPanelJob::TKind::Program;
        const std::string topic =
            GatewayTopic(Address.Site, Address.Panel, program ? "program" : "numeric");
        const std::string payload = program ? job.Bytes : NumericPayload(job.Bytes);
        mosquitto_property *props = nullptr;
        mosquitto_property_add_string(&props, MQTT_PROP_RESPONSE_TOPIC, ReplyTopic.c_str());
        mosquitto_property_add_binary(&props, MQTT_PROP_CORRELATION_DATA, Correlation.data(),
                                      static_cast<std::uint16_t>(Correlation.size()));
        mosquitto_property_add_int32(&props, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL,
                                     Options.ExpireSeconds);
        int mid = -1;
        const int rc =
            mosquitto_publish_v5(Client, &mid, topic.c_str(), static_cast<int>(payload.size()),
                                 payload.data(), 1, false, props);
        mosquitto_property_free_all(&props);
        if (rc != MOSQ_ERR_SUCCESS)
            return Failure(ResultUnknownError, "the request cannot be published: " +
                                                   std::string(mosquitto_strerror(rc)));
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::seconds(std::max(Options.TimeoutSeconds, 0));
        const int blocks = job.Blocks();
        std::unique_lock lock(Mutex);
        for (;;) {
            // Told outside the lock, so that whatever the callbacks do never holds up the
            // network thread; in order, and each step once.
            while (!Steps.empty()) {
                std::vector<int> steps;
                steps.swap(Steps);
                lock.unlock();
                for (const int step : steps)
                    Tell(step, blocks, progress);
                lock.lock();
            }
            if (Stop && Stop->Requested()) {
                TPanelOutcome outcome;
                outcome.Code = ResultCancelled;
                return outcome;
            }
            if (Answer) {
                Answered = true;
                return ReadAnswer(*Answer, Label);
            }
            if (const auto ack = Acks.find(mid); ack != Acks.end() && ack->second >= 0x80)
                return Failure(ResultUnknownError, "the broker refused the request on " + topic +
                                                       " (" + Reason(ack->second) + ")");
            if (Offline)
                return Failure(
                    ResultUnknownError,
                    Say(ZOR_TRANSLATE_NOOP("MqttSend", "the gateway for %1 went away during the "
                                                       "transfer"),
                        {Label}));
            if (Lost)
                return Failure(
                    ResultUnknownError,
                    Say(ZOR_TRANSLATE_NOOP(
                        "MqttSend", "the connection to the broker was lost during the transfer")));
            if (std::chrono::steady_clock::now() >= deadline)
                return Failure(ResultTimeout,
                               Say(ZOR_TRANSLATE_NOOP("MqttSend", "no answer from the gateway "
                                                                  "for %1 within %2 seconds"),
                                   {Label, std::to_string(Options.TimeoutSeconds)}));
            Changed.wait_for(lock, StopLook);
        }
    }

    TGatewayProbe Probe(int boundSeconds)
    {
        Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(boundSeconds);
        const std::string clientId = "zor-probe-" + RandomHex(8);
        StatusTopic = GatewayTopic(Address.Site, Address.Panel, "status");
        // The second subscription is only the fence after which a retained status has come.
        ReplyTopic = GatewayTopic(Address.Site, Address.Panel, "reply/" + clientId);
        auto failed = Connect(clientId);
        if (!failed)
            failed = Subscribe(StatusTopic);
        if (!failed)
            failed = Subscribe(ReplyTopic);
        if (failed)
            return {TGatewayStatus::Unknown,
                    failed->Code == ResultCancelled ? std::string() : failed->PortProblem.Text()};
        std::lock_guard lock(Mutex);
        if (!Status)
            return {TGatewayStatus::Unannounced, {}};
        return {*Status == "online" ? TGatewayStatus::Online : TGatewayStatus::Offline, {}};
    }

private:
    // One "k N" as the calls a local transfer makes: the bar's maximum once the Open frame is
    // taken, then its position after each block, as TSerial counts them.
    void Tell(int step, int blocks, const TMqttProgress &progress)
    {
        if (step <= Told || step > blocks)
            return;
        const int bar = blocks == 1 ? 1 : blocks - 1;
        if (Told < 0 && progress.Maximum)
            progress.Maximum(bar);
        Told = step;
        if (step > 0 && progress.Position)
            progress.Position(blocks == 1 ? 1 : step - 1);
    }

    static TPanelOutcome Failure(int code, TMessage why)
    {
        TPanelOutcome outcome;
        outcome.Code = code;
        outcome.PortProblem = std::move(why);
        return outcome;
    }

    // Waits for what done tells, the stop or the connection's end; nullopt once done.
    template <class TDone> std::optional<TPanelOutcome> WaitFor(TDone done)
    {
        std::unique_lock lock(Mutex);
        for (;;) {
            if (done())
                return std::nullopt;
            if (Stop && Stop->Requested()) {
                TPanelOutcome outcome;
                outcome.Code = ResultCancelled;
                return outcome;
            }
            if (Refused)
                return Failure(
                    ResultUnknownError,
                    Say(ZOR_TRANSLATE_NOOP("MqttSend", "the broker refused the login (%1)"),
                        {Reason(*Refused)}));
            if (Lost)
                return Failure(
                    ResultHardwareFailure,
                    Connected || !Deadline
                        ? Say(ZOR_TRANSLATE_NOOP("MqttSend",
                                                 "the broker at %1 closed the connection"),
                              {Where()})
                        : Say(ZOR_TRANSLATE_NOOP("MqttSend", "the broker at %1 cannot be reached"),
                              {Where()}));
            if (Deadline && std::chrono::steady_clock::now() >= *Deadline)
                return Failure(
                    ResultTimeout,
                    Say(ZOR_TRANSLATE_NOOP("MqttSend", "the broker at %1 did not answer"),
                        {Where()}));
            Changed.wait_for(lock, StopLook);
        }
    }

    std::string Where() const
    {
        const bool v6 = Address.Host.find(':') != std::string::npos;
        return (v6 ? "[" + Address.Host + "]" : Address.Host) + ":" + std::to_string(Address.Port);
    }

    std::optional<TPanelOutcome> Connect(const std::string &clientId)
    {
        static std::once_flag initialised;
        std::call_once(initialised, [] { mosquitto_lib_init(); });
        Client = mosquitto_new(clientId.c_str(), true, this);
        if (!Client)
            return Failure(ResultUnknownError, "the MQTT client cannot be made");
        mosquitto_int_option(Client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
        // A handful of small packets, each waited for: none is to wait for another to join it.
        mosquitto_int_option(Client, MOSQ_OPT_TCP_NODELAY, 1);
        if (!Address.User.empty())
            mosquitto_username_pw_set(Client, Address.User.c_str(),
                                      Options.Password.empty() ? nullptr
                                                               : Options.Password.c_str());
        if (Address.Tls) {
            const int rc = Options.CaFile.empty()
                               ? mosquitto_int_option(Client, MOSQ_OPT_TLS_USE_OS_CERTS, 1)
                               : mosquitto_tls_set(Client, Options.CaFile.c_str(), nullptr, nullptr,
                                                   nullptr, nullptr);
            if (rc != MOSQ_ERR_SUCCESS)
                return Failure(ResultHardwareFailure,
                               std::string("TLS cannot be set up: ") + mosquitto_strerror(rc));
        }
        mosquitto_connect_v5_callback_set(
            Client, [](mosquitto *, void *self, int rc, int, const mosquitto_property *) {
                auto &s = *static_cast<TBrokerSender *>(self);
                std::lock_guard lock(s.Mutex);
                if (rc == 0)
                    s.Connected = true;
                else
                    s.Refused = rc;
                s.Changed.notify_all();
            });
        mosquitto_disconnect_v5_callback_set(
            Client, [](mosquitto *, void *self, int, const mosquitto_property *) {
                auto &s = *static_cast<TBrokerSender *>(self);
                std::lock_guard lock(s.Mutex);
                s.Lost = true;
                s.Changed.notify_all();
            });
        mosquitto_subscribe_v5_callback_set(Client,
                                            [](mosquitto *, void *self, int mid, int count,
                                               const int *granted, const mosquitto_property *) {
                                                auto &s = *static_cast<TBrokerSender *>(self);
                                                std::lock_guard lock(s.Mutex);
                                                s.Acks[mid] = count > 0 ? granted[0] : 0x80;
                                                s.Changed.notify_all();
                                            });
        mosquitto_publish_v5_callback_set(
            Client, [](mosquitto *, void *self, int mid, int reason, const mosquitto_property *) {
                auto &s = *static_cast<TBrokerSender *>(self);
                std::lock_guard lock(s.Mutex);
                s.Acks[mid] = reason;
                s.Changed.notify_all();
            });
        mosquitto_message_v5_callback_set(Client, [](mosquitto *, void *self,
                                                     const mosquitto_message *m,
                                                     const mosquitto_property *props) {
            static_cast<TBrokerSender *>(self)->OnMessage(m, props);
        });
        // A probe's connection is made on the client's thread, so that its bound and the stop
        // hold while a broker out of reach lets the connection attempt hang.
        const int rc = Deadline
                           ? mosquitto_connect_bind_async(Client, Address.Host.c_str(),
                                                          Address.Port, KeepAliveSeconds, nullptr)
                           : mosquitto_connect_bind_v5(Client, Address.Host.c_str(), Address.Port,
                                                       KeepAliveSeconds, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            const TMessage why = rc == MOSQ_ERR_ERRNO
                                     ? TMessage::SystemError(errno)
                                     : TMessage(std::string(mosquitto_strerror(rc)));
            return Failure(
                ResultHardwareFailure,
                Say(ZOR_TRANSLATE_NOOP("MqttSend", "the broker at %1 cannot be reached: %2"),
                    {Where(), why}));
        }
        if (mosquitto_loop_start(Client) != MOSQ_ERR_SUCCESS)
            return Failure(ResultUnknownError, "the MQTT client's thread cannot be started");
        Looping = true;
        return WaitFor([this] { return Connected; });
    }

    std::optional<TPanelOutcome> Subscribe(const std::string &topic)
    {
        int mid = -1;
        const int rc = mosquitto_subscribe_v5(Client, &mid, topic.c_str(), 1, 0, nullptr);
        if (rc != MOSQ_ERR_SUCCESS)
            return Failure(ResultUnknownError,
                           "cannot subscribe to " + topic + ": " + mosquitto_strerror(rc));
        if (auto failed = WaitFor([this, mid] { return Acks.count(mid) != 0; }))
            return failed;
        std::lock_guard lock(Mutex);
        if (const int granted = Acks[mid]; granted >= 0x80)
            return Failure(ResultUnknownError, "the broker refused the subscription to " + topic +
                                                   " (" + Reason(granted) + ")");
        return std::nullopt;
    }

    // A message's Correlation Data; nullopt when it has none.
    static std::optional<std::string> CorrelationOf(const mosquitto_property *props)
    {
        void *data = nullptr;
        std::uint16_t length = 0;
        if (!mosquitto_property_read_binary(props, MQTT_PROP_CORRELATION_DATA, &data, &length,
                                            false))
            return std::nullopt;
        std::string correlation(static_cast<const char *>(data), length);
        std::free(data);
        return correlation;
    }

    void OnMessage(const mosquitto_message *m, const mosquitto_property *props)
    {
        const std::string payload = m->payloadlen > 0
                                        ? std::string(static_cast<const char *>(m->payload),
                                                      static_cast<std::size_t>(m->payloadlen))
                                        : std::string();
        std::lock_guard lock(Mutex);
        if (StatusTopic == m->topic) {
            Offline = payload == "offline";
            Status = payload;
            OfflineSince = Offline ? SinceOf(props) : std::string();
        } else if (ProgressTopic == m->topic) {
            // "k N" of this request; another sender's progress goes by, and so does a step
            // that is not two numbers or past the end.
            if (CorrelationOf(props) == Correlation)
                if (const int step = ProgressStep(payload); step >= 0)
                    Steps.push_back(step);
        } else if (ReplyTopic == m->topic) {
            if (CorrelationOf(props) == Correlation && !Answer)
                Answer = payload;
        }
        Changed.notify_all();
    }

    const TMqttAddress &Address;
    const TMqttSendOptions &Options;
    const TTransferStop *Stop;
    const std::string Label;
    std::string ReplyTopic, StatusTopic, ProgressTopic, Correlation;
    mosquitto *Client = nullptr;
    bool Looping = false;

    std::mutex Mutex;
    std::condition_variable Changed;
    std::map<int, int> Acks; // by message id: the granted QoS or the reason code
    bool Connected = false;
    bool Lost = false;
    bool Offline = false;
    std::string OfflineSince; // when a gateway that stopped cleanly went offline, UTC
    std::optional<int> Refused;
    std::optional<std::string> Answer;
    std::vector<int> Steps;            // progress come and not yet told
    std::optional<std::string> Status; // the panel's status, once the broker has told it
    // Set for a probe: every wait for the broker ends by then.
    std::optional<std::chrono::steady_clock::time_point> Deadline;
};

} // namespace

TPanelOutcome SendThroughBroker(const std::string &device, const TPanelJob &job,
                                const TMqttSendOptions &options, const TTransferStop *stop,
                                const TMqttProgress &progress)
{
    TMqttAddress address;
    std::string problem;
    if (!ParseMqttDevice(device, &address, &problem)) {
        TPanelOutcome outcome;
        outcome.Code = ResultUnknownError;
        outcome.PortProblem = device + ": " + problem;
        return outcome;
    }
    // A gateway takes two numbers; a field left blank, which a panel on a local line shows as
    // blank, has no form in the request and is refused here rather than there.
    if (job.Kind == TPanelJob::TKind::Numeric &&
        (job.Bytes.substr(0, 3).find_first_not_of(' ') == std::string::npos ||
         job.Bytes.substr(3, 2).find_first_not_of(' ') == std::string::npos)) {
        TPanelOutcome outcome;
        outcome.Code = ResultUnknownError;
        outcome.PortProblem =
            Say(ZOR_TRANSLATE_NOOP("MqttSend", "the gateway for %1 takes both counters as "
                                               "numbers: a blank one cannot go to it"),
                {address.Site + "/" + address.Panel});
        return outcome;
    }
    TBrokerSender sender(address, options, stop);
    TPanelOutcome outcome = sender.Send(job, progress);
    outcome.Blocks = job.Blocks();
    // The frame after the last one the gateway told was taken; without a word of progress, the
    // Open frame where the gateway's panel answered, and none known where it did not.
    if (job.Kind != TPanelJob::TKind::Program)
        outcome.Frame = -1;
    else if (outcome.Code == ResultOk)
        outcome.Frame = outcome.Blocks + 1;
    else if (sender.Told >= 0)
        outcome.Frame = sender.Told + 1;
    else
        outcome.Frame = sender.Answered ? 0 : -1;
    return outcome;
}

TGatewayProbe ProbeGateway(const std::string &device, const TMqttSendOptions &options,
                           int boundSeconds, const TTransferStop *stop)
{
    TMqttAddress address;
    std::string problem;
    if (!ParseMqttDevice(device, &address, &problem))
        return {TGatewayStatus::Unknown, device + ": " + problem};
    return TBrokerSender(address, options, stop).Probe(boundSeconds);
}

} // namespace zor
