// An MQTT v5 client for tests, on libmosquitto with its own network thread: connects, subscribes
// and publishes, each waiting for the broker's acknowledgement, and keeps every message that
// comes so that a test waits for the one it expects.
#pragma once

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor::test {

struct TMqttMessage
{
    std::string Topic;
    std::string Payload;
    std::string CorrelationData;
    bool Retained = false;
    std::string ResponseTopic;       // empty when it has none
    std::uint32_t ExpirySeconds = 0; // 0 when it has none
};

struct TMqttPublish
{
    std::string Topic;
    std::string Payload;
    int Qos = 1;
    bool Retain = false;
    std::optional<std::string> ResponseTopic;
    std::optional<std::string> CorrelationData;
    std::optional<std::uint32_t> ExpirySeconds;
};

class TMqttTestClient
{
public:
    // The guard on every wait: an event that has not come by then will not.
    static constexpr auto Guard = std::chrono::seconds(20);

    explicit TMqttTestClient(const std::string &id)
    {
        mosquitto_lib_init();
        Client = mosquitto_new(id.c_str(), true, this);
        mosquitto_int_option(Client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
        mosquitto_connect_v5_callback_set(
            Client, [](mosquitto *, void *self, int rc, int, const mosquitto_property *) {
                static_cast<TMqttTestClient *>(self)->Note(
                    [&](TMqttTestClient &c) { c.ConnectResult = rc; });
            });
        mosquitto_subscribe_v5_callback_set(Client, [](mosquitto *, void *self, int mid, int count,
                                                       const int *granted,
                                                       const mosquitto_property *) {
            static_cast<TMqttTestClient *>(self)->Note([&](TMqttTestClient &c) {
                c.Acknowledged.push_back({mid, count > 0 ? granted[0] : 0});
            });
        });
        mosquitto_publish_v5_callback_set(
            Client, [](mosquitto *, void *self, int mid, int reason, const mosquitto_property *) {
                static_cast<TMqttTestClient *>(self)->Note([&](TMqttTestClient &c) {
                    c.Acknowledged.push_back({mid, reason});
                });
            });
        mosquitto_message_v5_callback_set(Client, [](mosquitto *, void *self,
                                                     const mosquitto_message *m,
                                                     const mosquitto_property *props) {
            TMqttMessage message;
            message.Topic = m->topic;
            message.Payload.assign(static_cast<const char *>(m->payload),
                                   static_cast<std::size_t>(m->payloadlen));
            message.Retained = m->retain;
            void *data = nullptr;
            std::uint16_t length = 0;
            if (mosquitto_property_read_binary(props, MQTT_PROP_CORRELATION_DATA, &data, &length,
                                               false)) {
                message.CorrelationData.assign(static_cast<const char *>(data), length);
                free(data);
            }
            char *response = nullptr;
            if (mosquitto_property_read_string(props, MQTT_PROP_RESPONSE_TOPIC, &response, false)) {
                message.ResponseTopic = response;
                free(response);
            }
            mosquitto_property_read_int32(props, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL,
                                          &message.ExpirySeconds, false);
            static_cast<TMqttTestClient *>(self)->Note(
                [&](TMqttTestClient &c) { c.Messages.push_back(std::move(message)); });
        });
    }
    ~TMqttTestClient()
    {
        mosquitto_disconnect(Client);
        mosquitto_loop_stop(Client, true);
        mosquitto_destroy(Client);
        mosquitto_lib_cleanup();
    }
    TMqttTestClient(const TMqttTestClient &) = delete;
    TMqttTestClient &operator=(const TMqttTestClient &) = delete;

    // Connects (over TLS when caFile is given) and waits for the broker's answer: its reason code
    // (0 when let in), -1 for none.
    int Connect(int port, const std::string &user = {}, const std::string &password = {},
                const std::string &caFile = {})
    {
        if (!caFile.empty())
            mosquitto_tls_set(Client, caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
        if (!user.empty())
            mosquitto_username_pw_set(Client, user.c_str(), password.c_str());
        if (mosquitto_connect_bind_v5(Client, "127.0.0.1", port, 30, nullptr, nullptr) !=
                MOSQ_ERR_SUCCESS ||
            mosquitto_loop_start(Client) != MOSQ_ERR_SUCCESS)
            return -1;
        std::unique_lock lock(Mutex);
        Changed.wait_for(lock, Guard, [&] { return ConnectResult >= 0; });
        return ConnectResult;
    }

    // Subscribes and waits for the broker's answer: false when it refuses (its ACL).
    bool Subscribe(const std::string &filter, int qos = 1)
    {
        int mid = 0;
        if (mosquitto_subscribe_v5(Client, &mid, filter.c_str(), qos, 0, nullptr) !=
            MOSQ_ERR_SUCCESS)
            return false;
        return WaitAcknowledged(mid);
    }

    // Publishes and waits for the broker to take it (QoS 1 and 2; QoS 0 only sends): false when
    // it refuses (its ACL; LastReason says why).
    bool Publish(const TMqttPublish &p)
    {
        mosquitto_property *props = nullptr;
        if (p.ResponseTopic)
            mosquitto_property_add_string(&props, MQTT_PROP_RESPONSE_TOPIC,
                                          p.ResponseTopic->c_str());
        if (p.CorrelationData)
            mosquitto_property_add_binary(&props, MQTT_PROP_CORRELATION_DATA,
                                          p.CorrelationData->data(),
                                          static_cast<std::uint16_t>(p.CorrelationData->size()));
        if (p.ExpirySeconds)
            mosquitto_property_add_int32(&props, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL,
                                         *p.ExpirySeconds);
        int mid = 0;
        const int rc =
            mosquitto_publish_v5(Client, &mid, p.Topic.c_str(), static_cast<int>(p.Payload.size()),
                                 p.Payload.data(), p.Qos, p.Retain, props);
        mosquitto_property_free_all(&props);
        return rc == MOSQ_ERR_SUCCESS && (p.Qos == 0 || WaitAcknowledged(mid));
    }

    // The first message on topic not yet taken by an earlier call; nothing when none comes.
    std::optional<TMqttMessage> Next(const std::string &topic)
    {
        std::unique_lock lock(Mutex);
        std::optional<TMqttMessage> found;
        Changed.wait_for(lock, Guard, [&] {
            for (std::size_t i = Taken.size(); i < Messages.size(); ++i)
                Taken.push_back(false);
            for (std::size_t i = 0; i < Messages.size(); ++i)
                if (!Taken[i] && Messages[i].Topic == topic) {
                    Taken[i] = true;
                    found = Messages[i];
                    return true;
                }
            return false;
        });
        return found;
    }

    // Every message on topic so far (taken or not).
    std::vector<TMqttMessage> All(const std::string &topic)
    {
        std::lock_guard lock(Mutex);
        std::vector<TMqttMessage> all;
        for (const TMqttMessage &m : Messages)
            if (m.Topic == topic)
                all.push_back(m);
        return all;
    }

    // The broker's reason code for the last Subscribe or Publish waited for (-1: no answer).
    int LastReason = -1;

private:
    template <typename F> void Note(F &&change)
    {
        std::lock_guard lock(Mutex);
        change(*this);
        Changed.notify_all();
    }

    // Whether the broker acknowledged mid and took it (a reason code or granted QoS below 0x80).
    bool WaitAcknowledged(int mid)
    {
        std::unique_lock lock(Mutex);
        int reason = -1;
        Changed.wait_for(lock, Guard, [&] {
            for (const auto &[m, code] : Acknowledged)
                if (m == mid)
                    reason = code;
            return reason >= 0;
        });
        LastReason = reason;
        return reason >= 0 && reason < 0x80;
    }

    mosquitto *Client = nullptr;
    std::mutex Mutex;
    std::condition_variable Changed;
    int ConnectResult = -1;
    std::vector<std::pair<int, int>> Acknowledged; // message id, reason code or granted QoS
    std::vector<TMqttMessage> Messages;
    std::vector<bool> Taken;
};

} // namespace zor::test
