// zor gateway: serves a site's panels to senders elsewhere through an MQTT broker
// (comm/Gateway.h), each panel on its own line, until SIGTERM or SIGINT.
#include "comm/Gateway.h"
#include "comm/PanelSend.h"
#include "comm/PortFactory.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/Settings.h"
#include "tools/zor/MqttOptions.h"
#include "tools/zor/Output.h"
#include "tools/zor/Subcommand.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace zor::tool {

namespace {

struct TGatewayArgs
{
    std::string Broker;
    std::string Site;
    std::vector<std::string> Panels; // NAME=DEVICE[,BAUD]
    std::string SettingsFile;
    TMqttFiles Mqtt;
};

// The signal that ends the gateway, 0 while none has come.
std::atomic<int> GatewaySignal{0};

// The one place a request meets a panel's line: the single-panel transfer `zor send` and `zor
// numeric` make, on the calling thread.
TGatewayAnswer CarryOutOnLine(const TPanelTarget &target, const TGatewayDecision &request,
                              const TTransferStop &stop, const TGatewayProgress &progress)
{
    const TPanelJob job = request.Kind == TGatewayKind::Program
                              ? TPanelJob::Program(request.Program)
                              : TPanelJob::Numeric(request.Numeric);
    TPanelSend send;
    send.PortFactory = [](const TPanelDevice &) { return CreateSerialPort(); };
    send.Stop = &stop;
    // The blocks taken, counted: the bar's own positions are the sender's to make of them.
    int blocks = 0;
    const int total = job.Blocks();
    send.ProgressMaximum = [&](std::size_t, int) { progress(0, total); };
    send.ProgressPosition = [&](std::size_t, int) { progress(++blocks, total); };
    const TPanelOutcome outcome = SendToPanels({target}, job, send).front();
    if (outcome.Code == ResultCancelled)
        return {128 + (GatewaySignal.load() != 0 ? GatewaySignal.load() : SIGTERM),
                "Transfer interrupted", "the gateway was stopped"};
    return {outcome.Code < 0 ? -outcome.Code : outcome.Code, ResultText(outcome.Code),
            OutcomeCause(target, outcome).Text()};
}

// NAME=DEVICE[,BAUD] into target; false with *problem.
bool ParseGatewayPanel(const std::string &text, std::int32_t baud, TPanelTarget *target,
                       std::string *problem)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
        *problem = "--panel " + text + ": write NAME=DEVICE[,BAUD]";
        return false;
    }
    target->Name = text.substr(0, equals);
    std::string device = text.substr(equals + 1);
    target->Baud = baud;
    if (const auto comma = device.rfind(','); comma != std::string::npos) {
        const std::string rate = device.substr(comma + 1);
        std::int32_t value = 0;
        if (!ParseProfileInteger(rate, &value) || !IsPanelBaudRate(value)) {
            *problem = "--panel " + text + ": the panel works at 4800, 9600 or 19200 baud";
            return false;
        }
        target->Baud = value;
        device.resize(comma);
    }
    if (!IsMqttTopicLevel(target->Name)) {
        *problem = "--panel " + text + ": NAME must not be empty nor hold '/', '+' or '#'";
        return false;
    }
    if (device.empty()) {
        *problem = "--panel " + text + ": DEVICE is missing";
        return false;
    }
    if (IsMqttDevice(device)) {
        *problem = "--panel " + text + ": a gateway serves panels on its own lines";
        return false;
    }
    target->Device = PanelDevice(device);
    return true;
}

int RunGateway(const TGatewayArgs &a)
{
    TGatewayBroker broker;
    std::string problem;
    if (!ParseMqttBroker(a.Broker, &broker.Address, &problem))
        return Fail("gateway", "--broker " + a.Broker + ": " + problem, UsageStatus);
    if (!IsMqttTopicLevel(a.Site))
        return Fail("gateway",
                    "--site " + a.Site + ": SITE must not be empty nor hold '/', '+' or '#'",
                    UsageStatus);

    TProfileFile profile;
    if (!a.SettingsFile.empty()) {
        const TFileRead read = profile.Read(a.SettingsFile);
        if (!read.Ok()) {
            Print(stderr, "%s\n%s\n", ResultText(ResultSettingsFileError).c_str(),
                  TProfileFile::Problem(a.SettingsFile, read).Text().c_str());
            return 1;
        }
    }
    const TCommSettings settings = LoadCommSettings(profile, ".");
    std::vector<TPanelTarget> targets;
    std::set<std::string> names, devices;
    for (const std::string &text : a.Panels) {
        TPanelTarget target;
        if (!ParseGatewayPanel(text, settings.Baud, &target, &problem))
            return Fail("gateway", problem, UsageStatus);
        if (!names.insert(target.Name).second || !devices.insert(target.Device.Name).second)
            return Fail("gateway", "--panel " + text + ": that panel or device is named twice",
                        UsageStatus);
        targets.push_back(target);
    }

    if (!LoadMqttFiles(profile, a.Mqtt, &broker.Password, &broker.CaFile, &problem))
        return Fail("gateway", problem, 1);

    // Signals go to the thread that waits for them, not to whichever thread they hit.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::mutex mutex;
    std::condition_variable changed;
    bool ended = false;
    std::string fatal;
    std::thread waiter([&] {
        int number = 0;
        sigwait(&ending, &number);
        GatewaySignal = number;
        std::lock_guard lock(mutex);
        ended = true;
        changed.notify_all();
    });

    const TPortRuntime runtime;
    std::mutex output;
    const auto say = [&output](std::FILE *to, const std::string &line) {
        std::lock_guard lock(output);
        Print(to, "%s\n", line.c_str());
        std::fflush(to);
    };
    const auto now = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    std::vector<std::unique_ptr<TGatewayDesk>> desks;
    std::vector<std::unique_ptr<TGatewayLink>> links(targets.size());
    std::vector<bool> everConnected(targets.size(), false);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const TPanelTarget &target = targets[i];
        desks.push_back(std::make_unique<TGatewayDesk>(
            a.Site, target.Name,
            [&target](const TGatewayDecision &request, const TTransferStop &stop,
                      const TGatewayProgress &progress) {
                return CarryOutOnLine(target, request, stop, progress);
            },
            [&links, i](const std::string &topic, const std::string &correlation,
                        const std::string &payload) {
                links[i]->Publish(topic, correlation, payload);
            },
            [&say](const std::string &line) { say(stdout, line); }, now,
            [&links, i](const std::string &topic, const std::string &correlation,
                        const std::string &payload) {
                links[i]->PublishProgress(topic, correlation, payload);
            }));
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string label = a.Site + "/" + targets[i].Name;
        links[i] = std::make_unique<TGatewayLink>(
            broker, *desks[i], [&, i, label](TGatewayEvent event, const std::string &why) {
                std::lock_guard lock(mutex);
                if (event == TGatewayEvent::Connected) {
                    everConnected[i] = true;
                    say(stderr, "zor gateway: " + label + ": online");
                } else if (event == TGatewayEvent::Refused && !everConnected[i]) {
                    // Wrong credentials or rights do not come right by trying again.
                    fatal = label + ": " + why;
                    changed.notify_all();
                } else if (everConnected[i]) {
                    say(stderr, "zor gateway: " + label + ": " + why + "; connecting again");
                }
            });
        if (!links[i]->Start(&problem)) {
            fatal = label + ": " + problem;
            break;
        }
    }

    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return ended || !fatal.empty(); });
    }
    // Transfers in flight end after their frame and are answered before the panels go offline.
    for (auto &desk : desks)
        desk->RequestStop();
    for (auto &desk : desks)
        desk->Finish();
    for (auto &link : links)
        if (link)
            link->Close();
    links.clear();
    desks.clear();
    if (!ended) {
        // Wake the waiter: the signal is still blocked, so it comes to sigwait alone.
        pthread_kill(waiter.native_handle(), SIGTERM);
    }
    waiter.join();
    if (!fatal.empty())
        return Fail("gateway", fatal, 1);
    return 0;
}

const TSubcommand GatewayRegistration(
    "gateway", "Serve a site's panels to senders elsewhere through an MQTT broker",
    [](CLI::App &app) -> TSubcommand::Run {
        auto a = std::make_shared<TGatewayArgs>();
        app.add_option("--broker", a->Broker, "The broker: mqtt[s]://[USER@]HOST[:PORT]")
            ->type_name("URL")
            ->required();
        app.add_option("--site", a->Site, "The site's name in the topics zor/SITE/PANEL/...")
            ->type_name("SITE")
            ->required();
        app.add_option("--panel", a->Panels,
                       "A panel of this site and its line (a path, socket://HOST:PORT or "
                       "rfc2217://HOST:PORT), BAUD 4800, 9600 or 19200; repeat for several")
            ->type_name("NAME=DEVICE[,BAUD]")
            ->required()
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        app.add_option("--settings", a->SettingsFile,
                       "A settings file: the baud rate of section PC, PasswordFile and CAFile of "
                       "section Mqtt")
            ->type_name("FILE");
        AddMqttFileOptions(app, a->Mqtt);
        return [a] { return RunGateway(*a); };
    });

} // namespace

} // namespace zor::tool
