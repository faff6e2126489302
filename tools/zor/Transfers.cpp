#include "tools/zor/Transfers.h"

#include "base/Platform.h"
#include "comm/PortFactory.h"
#include "comm/Results.h"
#include "tools/zor/Interrupt.h"
#include "tools/zor/Output.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace zor::tool {

namespace {

int ExitStatusOf(int code)
{
    if (code == ResultCancelled)
        return TInterruptGuard::ExitStatus() != 0 ? TInterruptGuard::ExitStatus() : 130;
    return code < 0 ? -code : code;
}

// Line breaks and tabs (the result of too many text segments has line breaks; a cause names a
// device, which may hold anything) would break the one-line-per-target list.
std::string OneLine(std::string text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
        if (c != ' ' || line.empty() || line.back() != ' ')
            line += c;
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

void SayLogProblem(const char *command, const std::string &label, const TPanelOutcome &outcome)
{
    if (outcome.LogProblem.empty())
        return;
    if (label.empty())
        Print(stderr, "zor %s: the transfer log was not written: %s\n", command,
              outcome.LogProblem.Text().c_str());
    else
        Print(stderr, "zor %s: %s: the transfer log was not written: %s\n", command, label.c_str(),
              outcome.LogProblem.Text().c_str());
}

int ReportOne(const char *command, const TPanelTarget &target, const TPanelOutcome &outcome)
{
    const int status = ExitStatusOf(outcome.Code);
    if (outcome.Code == ResultCancelled) {
        Print(stderr, "zor %s: transfer interrupted\n", command);
    } else {
        Print(outcome.Code == ResultOk ? stdout : stderr, "%s\n", ResultText(outcome.Code).c_str());
        if (const std::string cause = OutcomeCause(target, outcome).Text(); !cause.empty())
            Print(stderr, "%s\n", cause.c_str());
    }
    SayLogProblem(command, {}, outcome);
    return status;
}

int ReportSeveral(const char *command, const std::vector<TPanelTarget> &targets,
                  const std::vector<TPanelOutcome> &outcomes)
{
    int worst = 0;
    bool interrupted = false;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const TPanelOutcome &outcome = outcomes[i];
        const int status = ExitStatusOf(outcome.Code);
        worst = std::max(worst, status);
        interrupted = interrupted || outcome.Code == ResultCancelled;
        std::string message = outcome.Code == ResultCancelled ? std::string("Transfer interrupted")
                                                              : ResultText(outcome.Code);
        if (const std::string cause = OutcomeCause(targets[i], outcome).Text(); !cause.empty())
            message += ": " + cause;
        Print(stdout, "%s\t%d\t%s\n", OneLine(targets[i].Label()).c_str(), status,
              OneLine(message).c_str());
    }
    std::fflush(stdout);
    for (std::size_t i = 0; i < targets.size(); ++i)
        SayLogProblem(command, targets[i].Label(), outcomes[i]);
    if (interrupted)
        Print(stderr, "zor %s: transfer interrupted\n", command);
    return worst;
}

} // namespace

int RunTransfers(const char *command, const std::vector<TPanelTarget> &targets,
                 const TPanelJob &job, const TMqttSendOptions &mqtt)
{
    // A plant of many panels needs more files open at once than a shell's usual soft limit.
    const std::size_t openFileLimit = RaiseOpenFileLimit();
    const TPortRuntime runtime;
    TTransferStop stop;
    const TInterruptGuard interrupt(stop);
    TPanelSend send;
    send.PortFactory = [](const TPanelDevice &) { return CreateSerialPort(); };
    send.Stop = &stop;
    send.OpenFileLimit = openFileLimit;
    send.Mqtt = mqtt;
    const std::vector<TPanelOutcome> outcomes = SendToPanels(targets, job, send);
    return targets.size() == 1 ? ReportOne(command, targets.front(), outcomes.front())
                               : ReportSeveral(command, targets, outcomes);
}

} // namespace zor::tool
