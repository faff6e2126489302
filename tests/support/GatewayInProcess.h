// A gateway in the test's own process: one panel's desk of site "north" on a real broker, whose
// transfer is the test's (it keeps what reached the line and says how the transfer ended). Ready
// once the panel is online; Stop leaves it offline, as a gateway stopped by its operator.
#pragma once

#include "comm/Gateway.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zor::test {

class TGatewayInProcess
{
public:
    // The transfer of a request: how it goes (progress) and how it ends.
    using TAnswerFor = std::function<TGatewayAnswer(const TGatewayDecision &request,
                                                    const TGatewayProgress &progress)>;

    TGatewayInProcess(int port, const std::string &panel, TAnswerFor answer,
                      const std::string &user = {}, const std::string &password = {})
        : AnswerFor(std::move(answer))
    {
        TGatewayBroker broker;
        broker.Address.Host = "127.0.0.1";
        broker.Address.Port = port;
        broker.Address.User = user;
        broker.Password = password;
        Desk = std::make_unique<TGatewayDesk>(
            "north", panel,
            [this](const TGatewayDecision &request, const TTransferStop &,
                   const TGatewayProgress &progress) {
                {
                    std::lock_guard lock(Mutex);
                    Lines.push_back(
                        request.Kind == TGatewayKind::Program
                            ? request.Program
                            : std::string(reinterpret_cast<const char *>(request.Numeric)));
                }
                return AnswerFor(request, progress);
            },
            [this](const std::string &topic, const std::string &correlation,
                   const std::string &payload) { Link->Publish(topic, correlation, payload); },
            [](const std::string &) {},
            [] {
                return std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                    .count();
            },
            [this](const std::string &topic, const std::string &correlation,
                   const std::string &payload) {
                Link->PublishProgress(topic, correlation, payload);
            });
        Link = std::make_unique<TGatewayLink>(broker, *Desk,
                                              [this](TGatewayEvent event, const std::string &) {
                                                  std::lock_guard lock(Mutex);
                                                  Online = event == TGatewayEvent::Connected;
                                                  Changed.notify_all();
                                              });
        std::string problem;
        if (!Link->Start(&problem))
            return;
        std::unique_lock lock(Mutex);
        Changed.wait_for(lock, std::chrono::seconds(20), [this] { return Online; });
    }
    ~TGatewayInProcess() { Stop(); }
    TGatewayInProcess(const TGatewayInProcess &) = delete;
    TGatewayInProcess &operator=(const TGatewayInProcess &) = delete;

    bool Ready()
    {
        std::lock_guard lock(Mutex);
        return Online;
    }

    // What reached the line: each program's text, each numeric message's five characters.
    std::vector<std::string> Carried()
    {
        std::lock_guard lock(Mutex);
        return Lines;
    }

    // A clean stop: the panel's status is "offline" once it returns.
    void Stop()
    {
        if (!Desk)
            return;
        Desk->RequestStop();
        Desk->Finish();
        Link->Close();
        Link.reset();
        Desk.reset();
    }

private:
    TAnswerFor AnswerFor;
    std::unique_ptr<TGatewayDesk> Desk;
    std::unique_ptr<TGatewayLink> Link;
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Online = false;
    std::vector<std::string> Lines;
};

} // namespace zor::test
