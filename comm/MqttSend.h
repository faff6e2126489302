// The sender's side of panels at other sites: a transfer to an mqtt:// or mqtts:// device
// (comm/MqttAddress.h) is one request to the site's gateway through the broker
// (comm/GatewayRequest.h), and its answer read back as the outcome a transfer on a local line with
// that result has. Plain C++ on libmosquitto (MQTT v5); the fan-out (comm/PanelSend.h) calls it
// for every target of that kind.
#pragma once

#include "comm/Frames.h"
#include "comm/TransferStop.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zor {

class TProfileFile;
struct TPanelJob;
struct TPanelOutcome;

// How long a sender waits for the answer by default: the longest program a transfer can carry,
// 65535 blocks of BlockFrameLength bytes each answered by ReplyLength bytes (86 bytes a block,
// 5,636,010 bytes in all), takes 11,742 seconds at 4800 baud (480 bytes a second); with a margin
// for the panel's own turnarounds and the broker, 4 hours.
inline constexpr int MqttLongestTransferSeconds =
    static_cast<int>((65535u * (BlockFrameLength + ReplyLength) + 479u) / 480u);
inline constexpr int MqttDefaultTimeoutSeconds = 14400;
static_assert(MqttDefaultTimeoutSeconds > MqttLongestTransferSeconds);

// A request's life by default: a gateway that gets it later never carries it out.
inline constexpr std::uint32_t MqttDefaultExpireSeconds = 600;

// What every request of one send goes with.
struct TMqttSendOptions
{
    std::string Password; // for the device's USER; empty for none
    std::string CaFile;   // for mqtts://: the CA to trust; empty for the system's
    int TimeoutSeconds = MqttDefaultTimeoutSeconds;         // for the answer, once published
    std::uint32_t ExpireSeconds = MqttDefaultExpireSeconds; // the request's Message Expiry Interval
};

// The settings file's section of the broker's files: PasswordFile= and CAFile=.
inline constexpr std::string_view MqttSection = "Mqtt";

// Where the broker's password and CA come from, as a command line gives them (empty: not given).
struct TMqttFiles
{
    std::string PasswordFile;
    std::string CaFile;
};

// The password and the CA file, given laid over section "Mqtt" of profile. The password is the
// first line of its file, never an argument, where any user could read it; empty when no file is
// named. False, with *problem ("FILE: the password cannot be read"), when the file named cannot be
// read.
bool LoadMqttFiles(const TProfileFile &profile, const TMqttFiles &given, std::string *password,
                   std::string *caFile, std::string *problem);

// What a program's transfer through a broker tells as it goes, from the gateway's progress: the
// calls TSerial's OnProgressMaximum and OnProgressPosition make on a local line, in order, on
// the thread that called SendThroughBroker. Either may be empty.
struct TMqttProgress
{
    std::function<void(int maximum)> Maximum;
    std::function<void(int position)> Position;
};

// Sends job to the panel device names (mqtt[s]://[USER@]HOST[:PORT]/SITE/PANEL) and waits for the
// answer, on the calling thread. The request (QoS 1) goes to zor/SITE/PANEL/program (the program
// text) or zor/SITE/PANEL/numeric ("DAYS ACCIDENTS"), with a fresh random Correlation Data, the
// Response Topic zor/SITE/PANEL/reply/CLIENTID and options.ExpireSeconds as its expiry.
//
// The outcome: the gateway's answer "CODE<TAB>MESSAGE[: cause]" as the result code whose exit
// status and message they are, the cause in PortProblem; an answer in words no result has (a
// request the gateway refused, one that expired there) is "Unknow Error" with the gateway's words
// in PortProblem. Before anything is published, a retained "offline" status on
// zor/SITE/PANEL/status is "Unknow Error", "the gateway for SITE/PANEL is offline"; a broker that
// refuses the login, "the broker refused the login (REASON)"; a broker that cannot be reached,
// "Hardware Failure" with why. Once published, "offline" is "Unknow Error", "the gateway for
// SITE/PANEL went away during the transfer"; no answer within options.TimeoutSeconds, "Timeout"
// with "no answer from the gateway for SITE/PANEL within N seconds"; stop requested,
// ResultCancelled at once.
//
// A numeric message with a field left blank is not sent: "Unknow Error", "the gateway for
// SITE/PANEL takes both counters as numbers: a blank one cannot go to it".
//
// Meanwhile the gateway's "k N" on zor/SITE/PANEL/progress with the request's Correlation Data
// (0: the Open frame taken, then N blocks taken) goes to progress. The outcome's Frame is the one
// the transfer ended in as far as progress told it; -1 when the gateway never answered and told
// nothing (no frame is known).
TPanelOutcome SendThroughBroker(const std::string &device, const TPanelJob &job,
                                const TMqttSendOptions &options, const TTransferStop *stop,
                                const TMqttProgress &progress = {});

// What the broker holds of a gateway's panel: the status its gateway left retained on
// zor/SITE/PANEL/status.
enum class TGatewayStatus {
    Online,      // "online": the gateway is connected
    Offline,     // "offline": stopped, or gone (its Last Will)
    Unannounced, // no status: no gateway has ever served the panel through this broker
    Unknown,     // the broker could not be asked (Problem says why), or the stop was requested
};

struct TGatewayProbe
{
    TGatewayStatus Status = TGatewayStatus::Unknown;
    std::string Problem; // with Unknown: as SendThroughBroker says it; empty when stopped
};

// Asks the broker of the panel device names for the panel's retained status, publishing
// nothing. A broker sends what it retains for a subscription before it acknowledges the next
// one, so once that is acknowledged a panel without a status has none. Gives up after
// boundSeconds in all (connecting included) and as soon as stop is requested.
TGatewayProbe ProbeGateway(const std::string &device, const TMqttSendOptions &options,
                           int boundSeconds, const TTransferStop *stop);

} // namespace zor
