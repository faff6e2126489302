// The gateway's side of panels at other sites: next to a site's panels, it takes the requests
// for them from an MQTT broker (comm/GatewayRequest.h), carries each out on the panel's own line
// and answers on the request's response topic.
//
// TGatewayDesk is one panel's desk, without the network: it decodes what comes, refuses what
// must not reach the line, answers a request it has seen before from its memory, and carries out
// the rest one at a time on its own worker thread, never after the request's life has run out.
// TGatewayLink connects a desk to the broker (libmosquitto, MQTT v5): one connection per panel,
// so that each panel's retained "online" status has its own "offline" Last Will.
#pragma once

#include "comm/GatewayRequest.h"
#include "comm/MqttAddress.h"
#include "comm/TransferStop.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zor {

// How a request ended, as the answer says it.
struct TGatewayAnswer
{
    int Code = 0;        // the exit status `zor send` (or `zor numeric`) gives for it
    std::string Message; // the result's message
    std::string Cause;   // the line saying why, or empty
};

// Told by a program's transfer as it goes: 0 once the panel has taken the Open frame, then the
// number of blocks it has taken so far after each one, with the program's block count (total), so
// that whoever watches the progress topic can show how far it is without knowing the program.
using TGatewayProgress = std::function<void(int blocks, int total)>;

// Carries out an accepted request on the panel's line; called on the desk's worker thread, one
// call at a time. stop is requested when the gateway ends: the transfer ends after its frame in
// flight. progress may be called on the same thread meanwhile.
using TGatewayTransfer = std::function<TGatewayAnswer(
    const TGatewayDecision &request, const TTransferStop &stop, const TGatewayProgress &progress)>;

// Where a desk's answers go: publish(responseTopic, correlationData, payload).
using TGatewayPublish =
    std::function<void(const std::string &responseTopic, const std::string &correlationData,
                       const std::string &payload)>;

class TGatewayDesk
{
public:
    // How many answers are remembered, by response topic and correlation data, for requests the
    // broker delivers again; the oldest goes first.
    static constexpr std::size_t Remembered = 1000;
    // The exit status of a request whose life ran out before the panel was free for it.
    static constexpr int ExpiredStatus = 1;

    // site and panel name the desk's topics; publish and report (one line
    // "SITE/PANEL<TAB>CODE<TAB>MESSAGE" per answer, without the line end) are called from the
    // thread that takes a request or from the worker. nowMs: a steady clock in milliseconds.
    // progress, when given, publishes "k N" (TGatewayProgress) to zor/SITE/PANEL/progress with
    // the request's correlation data, from the worker.
    TGatewayDesk(std::string site, std::string panel, TGatewayTransfer transfer,
                 TGatewayPublish publish, std::function<void(const std::string &)> report,
                 std::function<std::int64_t()> nowMs, TGatewayPublish progress = {});
    // Stops the worker: the transfer in flight ends after its frame and is answered; requests
    // still waiting are dropped unanswered (the broker has taken them; their senders time out).
    ~TGatewayDesk();
    TGatewayDesk(const TGatewayDesk &) = delete;
    TGatewayDesk &operator=(const TGatewayDesk &) = delete;

    // Takes a request as the broker delivered it. Returns at once: a refusal or a remembered
    // answer is published before it returns, a new request waits for the worker. A request again
    // while it waits or runs is dropped (the answer to the first serves it).
    void Take(const TGatewayRequest &request);

    // Asks the transfer in flight to stop and the worker to end; requests that come after are
    // dropped. Finish waits for the worker too (its last answer is published by then); the
    // destructor finishes.
    void RequestStop();
    void Finish();

    const std::string &Site() const { return SiteName; }
    const std::string &Panel() const { return PanelName; }

private:
    struct TJob
    {
        TGatewayDecision Request;
        std::string Correlation;
        std::string Key;
        std::int64_t DeadlineMs = 0;
    };
    void Answer(const std::string &responseTopic, const std::string &correlation,
                const TGatewayAnswer &answer);
    void Remember(const std::string &key, const TGatewayAnswer &answer);
    void Work();

    std::string SiteName;
    std::string PanelName;
    TGatewayTransfer Transfer;
    TGatewayPublish Publish;
    TGatewayPublish PublishProgress;
    std::function<void(const std::string &)> Report;
    std::function<std::int64_t()> NowMs;
    TTransferStop Stop;

    std::mutex Mutex;
    std::condition_variable Changed;
    bool Ending = false;
    std::deque<TJob> Waiting;
    // Keys of requests waiting or running, and the answers given, oldest first.
    std::map<std::string, int> Busy;
    std::map<std::string, TGatewayAnswer> Answers;
    std::list<std::string> AnswerOrder;
    std::thread Worker;
};

// What a gateway connects with.
struct TGatewayBroker
{
    TMqttAddress Address; // host, port, user, TLS; Site and Panel unused
    std::string Password; // with Address.User; empty for none
    std::string CaFile;   // for mqtts: the CA to trust; empty for the system's
};

// Connection events of a link, for the one who runs the gateway.
enum class TGatewayEvent { Connected, Refused, Lost };

// One panel's connection to the broker. Connects in the background with "offline" on
// zor/SITE/PANEL/status as its Last Will (retained), publishes a retained "online" and subscribes
// to the panel's program and numeric topics on every connection, hands each request to the desk,
// and reconnects after a loss waiting 1, 2, 4 ... up to 30 seconds. The session is kept by the
// broker for an hour, so that requests published while the gateway is away reach it when it comes
// back (those whose life has run out the broker drops).
class TGatewayLink
{
public:
    static constexpr int KeepAliveSeconds = 30;
    static constexpr std::uint32_t SessionSeconds = 3600;

    // event is called on the link's network thread: Connected once the panel's requests can
    // come (and "online" is published), Refused with the broker's reason when it does not let the
    // gateway in or refuses the subscription (it tries again all the same), Lost with the reason
    // when the connection ends.
    TGatewayLink(const TGatewayBroker &broker, TGatewayDesk &desk,
                 std::function<void(TGatewayEvent, const std::string &)> event);
    // Ends the connection as Close does, if it has not been.
    ~TGatewayLink();
    TGatewayLink(const TGatewayLink &) = delete;
    TGatewayLink &operator=(const TGatewayLink &) = delete;

    // Starts connecting. False, with *problem, when the client cannot be set up (TLS files).
    bool Start(std::string *problem);

    // Publishes the answer on the network thread's queue (QoS 1).
    void Publish(const std::string &topic, const std::string &correlation,
                 const std::string &payload);
    // Publishes progress likewise, at QoS 0 and never retained: a step lost is made good by the
    // next, and none is worth keeping once the transfer has ended.
    void PublishProgress(const std::string &topic, const std::string &correlation,
                         const std::string &payload);

    // A clean stop: a retained "offline" status, waited for (up to a few seconds when the broker
    // is away), then a normal disconnect, which leaves the Last Will unsent.
    void Close();

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

} // namespace zor
