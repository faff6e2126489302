// One transfer to several panels at once: which panels a command names, and one worker thread per
// panel, each with its own port, its own TSerial and its own log, so that a panel that is slow,
// refuses or is gone neither stops nor slows the others. Plain C++: the ports come from a factory
// the caller passes in.
#pragma once

#include "comm/Panels.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "comm/TransferLogWriter.h"
#include "comm/TransferStop.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor {

// One panel a transfer goes to.
struct TPanelTarget
{
    std::string Name;         // the panel's name in section "Panels"; empty for a bare device
    std::string Device;       // a path, or a socket:// or rfc2217:// name
    std::int32_t Baud = 9600; // the rate the transfer uses
    // Said under "Unknow Error" or "Timeout" when Baud is none of the panel's rates: where the
    // rate came from. Empty otherwise.
    std::string BaudProblem;
    TTransferLog Log; // this target's own transfer log

    // How lists and messages call the target: its name, else its device.
    const std::string &Label() const { return Name.empty() ? Device : Name; }
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
    std::string BaudProblem;  // for Settings.Baud, as BaudRateProblem says it
    std::string SettingsFile; // named in the line under a panel's own rate that is no panel's
};

// Resolves choice against the panels of the settings file into *targets. Each named panel keeps
// its own rate unless a rate was given, and logs (when logging is on) to its own file,
// PanelLogPath; a bare device logs to the log itself when it is the only target, else to
// PanelLogPath with the device for a name. Refuses (false, with one line in *problem, nothing in
// *targets) a name no panel has, --all-panels with no panels, and two targets that are the same
// device (FindSameDevice), naming each once.
bool ResolvePanelTargets(const std::vector<TNamedPanel> &panels, const TTargetChoice &choice,
                         const TTargetDefaults &defaults, std::vector<TPanelTarget> *targets,
                         std::string *problem);

// How one target's transfer ended.
struct TPanelOutcome
{
    int Code = ResultOk;     // a code of comm/Results.h; ResultCancelled when stopped
    std::string PortProblem; // TSerial::PortProblem after "Hardware Failure"
    std::string LogProblem;  // TSerial::LogProblem
};

// The line under the result that says why, where there is one: the port's problem under
// "Hardware Failure", the target's rate problem under "Unknow Error" and "Timeout"; else empty.
std::string OutcomeCause(const TPanelTarget &target, const TPanelOutcome &outcome);

// The transfer one worker makes on its own TSerial: SendProgram or SendNumeric with port number 1
// and baud. Called on the workers' threads at the same time: it must only read what it shares.
using TPanelTransfer = std::function<int(TSerial &serial, std::int32_t baud)>;

using TPanelPortFactory = std::function<std::unique_ptr<TSerialPort>()>;

// About how many open files (descriptors of files, sockets and pipes) a transfer to targets at
// once needs: a reserve for the program itself, and for each target its port, what its worker
// thread waits with, and its log when it keeps one.
std::size_t OpenFilesNeeded(const std::vector<TPanelTarget> &targets);

// Makes transfer to every target at once, one thread per target (a single target on the calling
// thread), and returns when all have ended: one outcome per target, in the order of targets.
// portFactory is called on the calling thread, once per target, before any transfer starts; each
// port is then used only by its own worker. stop (not owned, may be null) ends every transfer
// still running after its frame in flight.
//
// openFileLimit is how many files the process may have open (0: no limit). When the targets need
// more (OpenFilesNeeded), nothing starts: a thread or port that found none left would fail
// obscurely or end the process. Every outcome is then "Hardware Failure" with "too many open
// files (limit L, N panels need about M)" as its PortProblem.
std::vector<TPanelOutcome> SendToPanels(const std::vector<TPanelTarget> &targets,
                                        const TPanelTransfer &transfer,
                                        const TPanelPortFactory &portFactory,
                                        const TTransferStop *stop, std::size_t openFileLimit = 0);

} // namespace zor
