#include "comm/Gateway.h"

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace zor {

namespace {

// Now as "YYYY-MM-DDTHH:MM:SSZ".
std::string UtcNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string ReportLine(const std::string &site, const std::string &panel, int code,
                       const std::string &message)
{
    // The answer's own form, after the panel: one line, tabs only between the fields.
    return site + "/" + panel + "\t" + EncodeGatewayAnswer(code, message, {});
}

// The broker's reason in the form of the rest of a line: "not authorized".
std::string Reason(int code)
{
    std::string text = mosquitto_reason_string(code);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

} // namespace

TGatewayDesk::TGatewayDesk(std::string site, std::string panel, TGatewayTransfer transfer,
                           TGatewayPublish publish, std::function<void(const std::string &)> report,
                           std::function<std::int64_t()> nowMs, TGatewayPublish progress)
    : SiteName(std::move(site)), PanelName(std::move(panel)), Transfer(std::move(transfer)),
      Publish(std::move(publish)), PublishProgress(std::move(progress)), Report(std::move(report)),
      NowMs(std::move(nowMs))
{
    Worker = std::thread([this] { Work(); });
}

TGatewayDesk::~TGatewayDesk()
{
    Finish();
}

void TGatewayDesk::Finish()
{
    RequestStop();
    if (Worker.joinable())
        Worker.join();
}

void TGatewayDesk::RequestStop()
{
    Stop.Request(TStopReason::Interrupted);
    std::lock_guard lock(Mutex);
    Ending = true;
    Changed.notify_all();
}

void TGatewayDesk::Answer(const std::string &responseTopic, const std::string &correlation,
                          const TGatewayAnswer &answer)
{
    if (!responseTopic.empty())
        Publish(responseTopic, correlation,
                EncodeGatewayAnswer(answer.Code, answer.Message, answer.Cause));
    std::string message = answer.Message;
    if (!answer.Cause.empty())
        message += ": " + answer.Cause;
    Report(ReportLine(SiteName, PanelName, answer.Code, message));
}

void TGatewayDesk::Take(const TGatewayRequest &request)
{
    {
        std::lock_guard lock(Mutex);
        if (Ending)
            return;
    }
    TGatewayDecision d = DecodeGatewayRequest(SiteName, request);
    if (!d.Accepted() || d.Panel != PanelName) {
        // Another panel's request cannot come on this panel's subscription; if it does, it is
        // that panel's desk's to answer.
        if (d.Panel == PanelName)
            Answer(d.ResponseTopic, request.CorrelationData,
                   {GatewayRefusedStatus, "Request refused", d.Refusal});
        return;
    }
    // The same correlation data on another response topic is another sender's request.
    std::string key = d.ResponseTopic;
    key.append(1, '\0').append(request.CorrelationData);
    std::unique_lock lock(Mutex);
    if (Busy.count(key))
        return;
    if (const auto known = Answers.find(key); known != Answers.end()) {
        const TGatewayAnswer answer = known->second;
        lock.unlock();
        Answer(d.ResponseTopic, request.CorrelationData, answer);
        return;
    }
    Busy[key] = 1;
    const std::int64_t deadline = NowMs() + static_cast<std::int64_t>(d.ExpirySeconds) * 1000;
    Waiting.push_back({std::move(d), request.CorrelationData, std::move(key), deadline});
    Changed.notify_all();
}

void TGatewayDesk::Remember(const std::string &key, const TGatewayAnswer &answer)
{
    Busy.erase(key);
    Answers[key] = answer;
    AnswerOrder.push_back(key);
    while (AnswerOrder.size() > Remembered) {
        Answers.erase(AnswerOrder.front());
        AnswerOrder.pop_front();
    }
}

void TGatewayDesk::Work()
{
    for (;;) {
        TJob job;
        {
            std::unique_lock lock(Mutex);
            Changed.wait(lock, [this] { return Ending || !Waiting.empty(); });
            if (Ending)
                return;
            job = std::move(Waiting.front());
            Waiting.pop_front();
        }
        TGatewayAnswer answer;
        if (NowMs() >= job.DeadlineMs)
            answer = {ExpiredStatus, "Request expired",
                      "its life ran out before the panel was free; nothing was sent"};
        else
            answer = Transfer(job.Request, Stop, [this, &job](int blocks, int total) {
                if (PublishProgress)
                    PublishProgress(GatewayTopic(SiteName, PanelName, "progress"), job.Correlation,
                                    std::to_string(blocks) + " " + std::to_string(total));
            });
        {
            std::lock_guard lock(Mutex);
            Remember(job.Key, answer);
        }
        Answer(job.Request.ResponseTopic, job.Correlation, answer);
    }
}

// ---- the link to the broker ----

struct TGatewayLink::TImpl
{
    TGatewayBroker Broker;
    TGatewayDesk &Desk;
    std::function<void(TGatewayEvent, const std::string &)> Event;
    mosquitto *Client = nullptr;
    std::string StatusTopic;
    std::mutex Mutex;
    std::condition_variable Changed;
    int OfflineMid = -1;
    int OnlineMid = -1;
    int SubscribeMid = -1;
    bool OfflineSent = false;
    bool Closed = false;
    bool Online = false;

    TImpl(const TGatewayBroker &broker, TGatewayDesk &desk,
          std::function<void(TGatewayEvent, const std::string &)> event)
        : Broker(broker), Desk(desk), Event(std::move(event))
    {
        StatusTopic = GatewayTopic(Desk.Site(), Desk.Panel(), "status");
    }

    void OnConnect(int rc)
    {
        if (rc != 0) {
            Event(TGatewayEvent::Refused, "the broker refused the login (" + Reason(rc) + ")");
            return;
        }
        // "online" once the requests can come: after the broker has taken the subscription.
        const std::string program = GatewayTopic(Desk.Site(), Desk.Panel(), "program");
        const std::string numeric = GatewayTopic(Desk.Site(), Desk.Panel(), "numeric");
        char *filters[] = {const_cast<char *>(program.c_str()),
                           const_cast<char *>(numeric.c_str())};
        int mid = -1;
        mosquitto_subscribe_multiple(Client, &mid, 2, filters, 1, 0, nullptr);
        std::lock_guard lock(Mutex);
        SubscribeMid = mid;
    }

    void OnSubscribe(int mid, int count, const int *granted)
    {
        {
            std::lock_guard lock(Mutex);
            if (mid != SubscribeMid)
                return;
        }
        for (int i = 0; i < count; ++i)
            if (granted[i] > 2) {
                Event(TGatewayEvent::Refused,
                      "the broker refused the subscription to " +
                          GatewayTopic(Desk.Site(), Desk.Panel(), i == 0 ? "program" : "numeric") +
                          " (" + Reason(granted[i]) + ")");
                return;
            }
        // Connected once the broker has taken "online" too: a broker whose ACL denies it says so
        // only in its acknowledgement.
        int online = -1;
        mosquitto_publish_v5(Client, &online, StatusTopic.c_str(), 6, "online", 1, true, nullptr);
        std::lock_guard lock(Mutex);
        OnlineMid = online;
    }

    void OnMessage(const mosquitto_message *m, const mosquitto_property *props)
    {
        TGatewayRequest request;
        request.Topic = m->topic;
        if (m->payloadlen > 0)
            request.Payload.assign(static_cast<const char *>(m->payload),
                                   static_cast<std::size_t>(m->payloadlen));
        char *response = nullptr;
        if (mosquitto_property_read_string(props, MQTT_PROP_RESPONSE_TOPIC, &response, false)) {
            request.ResponseTopic = response;
            std::free(response);
        }
        void *data = nullptr;
        std::uint16_t length = 0;
        if (mosquitto_property_read_binary(props, MQTT_PROP_CORRELATION_DATA, &data, &length,
                                           false)) {
            request.CorrelationData.assign(static_cast<const char *>(data), length);
            std::free(data);
        }
        std::uint32_t expiry = 0;
        if (mosquitto_property_read_int32(props, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL, &expiry, false))
            request.ExpirySeconds = expiry;
        Desk.Take(request);
    }

    void OnPublish(int mid, int reason)
    {
        {
            std::lock_guard lock(Mutex);
            if (mid == OfflineMid) {
                OfflineSent = true;
                Changed.notify_all();
            }
            if (mid != OnlineMid)
                return;
            OnlineMid = -1;
            Online = reason < 0x80;
        }
        if (reason >= 0x80)
            Event(TGatewayEvent::Refused,
                  "the broker refused the status on " + StatusTopic + " (" + Reason(reason) + ")");
        else
            Event(TGatewayEvent::Connected, {});
    }
};

TGatewayLink::TGatewayLink(const TGatewayBroker &broker, TGatewayDesk &desk,
                           std::function<void(TGatewayEvent, const std::string &)> event)
    : Impl(std::make_unique<TImpl>(broker, desk, std::move(event)))
{
}

TGatewayLink::~TGatewayLink()
{
    Close();
    if (Impl->Client)
        mosquitto_destroy(Impl->Client);
}

bool TGatewayLink::Start(std::string *problem)
{
    TImpl &d = *Impl;
    mosquitto_lib_init();
    const std::string id = "zor-gateway-" + d.Desk.Site() + "-" + d.Desk.Panel();
    d.Client = mosquitto_new(id.c_str(), false, &d);
    if (!d.Client) {
        *problem = "the MQTT client cannot be made";
        return false;
    }
    mosquitto_int_option(d.Client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    // An answer is one small packet its sender waits for: it goes at once.
    mosquitto_int_option(d.Client, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_reconnect_delay_set(d.Client, 1, 30, true);
    if (!d.Broker.Address.User.empty())
        mosquitto_username_pw_set(d.Client, d.Broker.Address.User.c_str(),
                                  d.Broker.Password.empty() ? nullptr : d.Broker.Password.c_str());
    if (d.Broker.Address.Tls) {
        int rc;
        if (d.Broker.CaFile.empty()) {
            rc = mosquitto_int_option(d.Client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        } else {
            rc = mosquitto_tls_set(d.Client, d.Broker.CaFile.c_str(), nullptr, nullptr, nullptr,
                                   nullptr);
        }
        if (rc != MOSQ_ERR_SUCCESS) {
            *problem = std::string("TLS cannot be set up: ") + mosquitto_strerror(rc);
            return false;
        }
    }
    mosquitto_will_set_v5(d.Client, d.StatusTopic.c_str(), 7, "offline", 1, true, nullptr);
    mosquitto_connect_v5_callback_set(
        d.Client, [](mosquitto *, void *self, int rc, int, const mosquitto_property *) {
            static_cast<TImpl *>(self)->OnConnect(rc);
        });
    mosquitto_subscribe_v5_callback_set(d.Client, [](mosquitto *, void *self, int mid, int count,
                                                     const int *granted,
                                                     const mosquitto_property *) {
        static_cast<TImpl *>(self)->OnSubscribe(mid, count, granted);
    });
    mosquitto_disconnect_v5_callback_set(
        d.Client, [](mosquitto *, void *self, int rc, const mosquitto_property *) {
            TImpl &impl = *static_cast<TImpl *>(self);
            {
                std::lock_guard lock(impl.Mutex);
                impl.Online = false;
            }
            if (rc != 0)
                impl.Event(TGatewayEvent::Lost, "the connection to the broker was lost");
        });
    mosquitto_message_v5_callback_set(
        d.Client,
        [](mosquitto *, void *self, const mosquitto_message *m, const mosquitto_property *props) {
            static_cast<TImpl *>(self)->OnMessage(m, props);
        });
    mosquitto_publish_v5_callback_set(
        d.Client, [](mosquitto *, void *self, int mid, int reason, const mosquitto_property *) {
            static_cast<TImpl *>(self)->OnPublish(mid, reason);
        });
    mosquitto_property *props = nullptr;
    mosquitto_property_add_int32(&props, MQTT_PROP_SESSION_EXPIRY_INTERVAL, SessionSeconds);
    // A broker that is not there yet is tried again by the network thread.
    const int rc =
        mosquitto_connect_bind_v5(d.Client, d.Broker.Address.Host.c_str(), d.Broker.Address.Port,
                                  KeepAliveSeconds, nullptr, props);
    mosquitto_property_free_all(&props);
    if (rc != MOSQ_ERR_SUCCESS && rc != MOSQ_ERR_ERRNO && rc != MOSQ_ERR_EAI) {
        *problem = std::string("cannot connect: ") + mosquitto_strerror(rc);
        return false;
    }
    if (mosquitto_loop_start(d.Client) != MOSQ_ERR_SUCCESS) {
        *problem = "the MQTT client's thread cannot be started";
        return false;
    }
    return true;
}

void TGatewayLink::Publish(const std::string &topic, const std::string &correlation,
                           const std::string &payload)
{
    mosquitto_property *props = nullptr;
    mosquitto_property_add_binary(&props, MQTT_PROP_CORRELATION_DATA, correlation.data(),
                                  static_cast<std::uint16_t>(correlation.size()));
    mosquitto_publish_v5(Impl->Client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                         payload.data(), 1, false, props);
    mosquitto_property_free_all(&props);
}

void TGatewayLink::PublishProgress(const std::string &topic, const std::string &correlation,
                                   const std::string &payload)
{
    mosquitto_property *props = nullptr;
    mosquitto_property_add_binary(&props, MQTT_PROP_CORRELATION_DATA, correlation.data(),
                                  static_cast<std::uint16_t>(correlation.size()));
    mosquitto_publish_v5(Impl->Client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                         payload.data(), 0, false, props);
    mosquitto_property_free_all(&props);
}

void TGatewayLink::Close()
{
    TImpl &d = *Impl;
    if (!d.Client || d.Closed)
        return;
    d.Closed = true;
    {
        std::unique_lock lock(d.Mutex);
        int mid = -1;
        // Away from the broker, the Last Will says "offline" on the broker's side. A clean stop
        // says when, so that a sender can tell how long the panel has been out of reach.
        mosquitto_property *since = nullptr;
        mosquitto_property_add_string_pair(&since, MQTT_PROP_USER_PROPERTY, "since",
                                           UtcNow().c_str());
        const int rc = d.Online ? mosquitto_publish_v5(d.Client, &mid, d.StatusTopic.c_str(), 7,
                                                       "offline", 1, true, since)
                                : MOSQ_ERR_NO_CONN;
        mosquitto_property_free_all(&since);
        if (rc == MOSQ_ERR_SUCCESS) {
            d.OfflineMid = mid;
            d.Changed.wait_for(lock, std::chrono::seconds(3), [&d] { return d.OfflineSent; });
        }
    }
    mosquitto_disconnect_v5(d.Client, 0, nullptr);
    mosquitto_loop_stop(d.Client, false);
}

} // namespace zor
