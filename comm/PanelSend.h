// One transfer to several panels at once, for zor and the editor alike: which panels a command
// names, and one worker thread per panel, each with its own port, its own TSerial and its own log,
// so that a panel that is slow, refuses or is gone neither stops nor slows the others. Plain C++:
// the ports come from a factory the caller passes in; the editor wraps it with signals
// (comm/PanelTransfers.h).
#pragma once

#include "comm/MqttSend.h"
#include "comm/Panels.h"
#include "comm/Results.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "comm/TransferLogWriter.h"
#include "comm/TransferStop.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {

// Where a panel is reached: the one description of a device that a target carries to the port
// factory. A new kind of device is added here: its enumerator, the scheme that names it in
// PanelDevice, and whatever else it needs to be reached; the port factory makes its port.
struct TPanelDevice
{
    enum class TKind {
        Local,   // a path of the machine's own serial device
        Socket,  // socket://HOST:PORT, raw TCP to a device server
        Rfc2217, // rfc2217://HOST:PORT, a device server that takes the line settings
        Mqtt,    // mqtt[s]://[USER@]HOST[:PORT]/SITE/PANEL, a gateway's panel (comm/MqttSend.h)
    };
    TKind Kind = TKind::Local;
    std::string Name; // as written: a path, or the network name with its scheme

    bool operator==(const TPanelDevice &) const = default;
};

// The description of a device as written: its scheme tells the kind, as the ports read it;
// anything else is a local path.
TPanelDevice PanelDevice(std::string name);

// One panel a transfer goes to.
struct TPanelTarget
{
    std::string Name;         // the panel's name in section "Panels"; empty for a bare device
    TPanelDevice Device;      // where it is reached
    std::int32_t Baud = 9600; // the rate the transfer uses
    // Said under "Unknow Error" or "Timeout" when Baud is none of the panel's rates: where the
    // rate came from. Empty otherwise.
    TMessage BaudProblem;
    TTransferLog Log; // this target's own transfer log

    // How lists and messages call the target: its name, else its device.
    const std::string &Label() const { return Name.empty() ? Device.Name : Name; }
};

// The targets a command line names, in the order given.
struct TTargetChoice
{
    struct TItem
    {
        enum TKind { Panel, Device } Kind;
        std::string Value; // a panel's name, or a device
    };
    std::vector<TItem> Items;
    bool AllPanels = false; // every panel of section "Panels", in the file's order, first
};

// What holds for a target where its panel says nothing of its own.
struct TTargetDefaults
{
    // Section "PC" with the command line laid over it: the rate, and whether and where to log.
    TCommSettings Settings;
    // Settings.Baud was given on the command line: every target works at it, whatever rate a
    // panel has of its own. Otherwise a panel's own rate wins over Settings.Baud.
    bool BaudGiven = false;
    TMessage BaudProblem;     // for Settings.Baud, as BaudRateProblem says it
    std::string SettingsFile; // named in the line under a panel's own rate that is no panel's
};

// The target of a named panel: its own rate, else the rate of defaults (always that rate when
// defaults.BaudGiven), with the line to say under a rate the panel does not work at; its own log
// (PanelLogPath) when logging is on.
TPanelTarget PanelTarget(const TNamedPanel &panel, const TTargetDefaults &defaults);

// Resolves choice against the panels of the settings file into *targets. Each named panel keeps
// its own rate unless a rate was given, and logs (when logging is on) to its own file,
// PanelLogPath; a bare device logs to the log itself when it is the only target, else to
// PanelLogPath with the device for a name. Refuses (false, with one line in *problem, nothing in
// *targets) a name no panel has, --all-panels with no panels, and two targets that are the same
// device (FindSameDevice), naming each once.
bool ResolvePanelTargets(const std::vector<TNamedPanel> &panels, const TTargetChoice &choice,
                         const TTargetDefaults &defaults, std::vector<TPanelTarget> *targets,
                         std::string *problem);

// The first two targets, in list order, that are one device (FindSameDevice): a device opened
// twice at once would have two transfers' frames interleaved on one line. Their indexes.
std::optional<std::pair<std::size_t, std::size_t>>
FindSharedDevice(const std::vector<TPanelTarget> &targets);

// What goes to every target: a display program or the numeric message.
struct TPanelJob
{
    enum class TKind { Program, Numeric };
    TKind Kind = TKind::Program;
    // The program up to its first zero byte, or the five characters of the numeric message
    // (comm/NumericMessage.h).
    std::string Bytes;

    static TPanelJob Program(std::string_view text);
    static TPanelJob Numeric(const std::uint8_t *message);
    // The program's length in blocks, as the panel counts them; 0 for the numeric message.
    int Blocks() const;
};

// How one target's transfer ended.
struct TPanelOutcome
{
    int Code = ResultOk;  // a code of comm/Results.h; ResultCancelled when stopped
    TMessage PortProblem; // TSerial::PortProblem after "Hardware Failure"
    TMessage LogProblem;  // TSerial::LogProblem
    // For a program, the frame it ended in: 0 the Open frame, 1..Blocks a block, Blocks + 1 the
    // Close frame. -1 for a numeric message.
    int Frame = -1;
    int Blocks = 0;
};

// The line under the result that says why, where there is one: the port's problem under
// "Hardware Failure", the target's rate problem under "Unknow Error" and "Timeout"; for a
// gateway's panel (TKind::Mqtt) whatever the gateway or the sender said (the rate is the
// gateway's); else empty.
TMessage OutcomeCause(const TPanelTarget &target, const TPanelOutcome &outcome);

// Makes the closed port through which a target's device is reached (never asked for a device of
// TKind::Mqtt, which is reached through its broker).
using TPanelPortFactory = std::function<std::unique_ptr<TSerialPort>(const TPanelDevice &device)>;

// About how many open files (descriptors of files, sockets and pipes) a transfer to targets at
// once needs: a reserve for the program itself, and for each target its port, what its worker
// thread waits with, and its log when it keeps one.
std::size_t OpenFilesNeeded(const std::vector<TPanelTarget> &targets);

// How a fan-out is run, and what its caller hears meanwhile. The callbacks are called on the
// worker of the target whose index they pass, several at once: each must only touch what is its
// own or is safe from any thread. Any may be empty.
struct TPanelSend
{
    // Called on the calling thread, once per target, before any transfer starts; each port is
    // then used only by its own worker.
    TPanelPortFactory PortFactory;
    // Not owned, may be null: once requested, every transfer still running ends after its frame
    // in flight.
    const TTransferStop *Stop = nullptr;
    // How many files the process may have open (0: no limit). When the targets need more
    // (OpenFilesNeeded), nothing starts: a thread or port that found none left would fail
    // obscurely or end the process. Every outcome is then "Hardware Failure" with "too many
    // open files (limit L, N panels need about M)" as its PortProblem.
    std::size_t OpenFileLimit = 0;
    // What the requests to targets of TKind::Mqtt go with: the broker's password and CA, how long
    // the answer is waited for, the request's life.
    TMqttSendOptions Mqtt;

    // A program's blocks counted (the bar's maximum), then after each accepted block the bar's
    // position (TSerial::OnProgressMaximum and OnProgressPosition).
    std::function<void(std::size_t target, int maximum)> ProgressMaximum;
    std::function<void(std::size_t target, int position)> ProgressPosition;
    // The target's transfer has ended, after its last progress.
    std::function<void(std::size_t target, const TPanelOutcome &outcome)> Finished;
};

// Sends job to every target at once, one thread per target (a single target on the calling
// thread), each on its own port with its own TSerial and its own log, and returns when all have
// ended: one outcome per target, in the order of targets.
std::vector<TPanelOutcome> SendToPanels(const std::vector<TPanelTarget> &targets,
                                        const TPanelJob &job, const TPanelSend &send);

} // namespace zor
