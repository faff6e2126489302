#include "comm/PanelSend.h"

#include "base/TranslateNoop.h"
#include "comm/Frames.h"
#include "comm/MqttAddress.h"
#include "comm/Serial.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

namespace zor {

namespace {

// "Gate=/dev/ttyUSB0,115200 in section [Panels] of FILE: ...", as BaudRateProblem says it of [PC].
TMessage PanelBaudProblem(const TNamedPanel &panel, const std::string &file)
{
    return TMessage::Tr("Settings", NotAPanelRate,
                        {panel.Name, PanelValue(panel), std::string(PanelsSection), file});
}

// Each of the two named once: a panel by its name with its device beside it where that tells
// something the other does not, a bare device by itself.
std::string SameDeviceProblem(const TPanelTarget &first, const TPanelTarget &second)
{
    if (first.Label() == second.Label())
        return second.Label() + " is named twice";
    if (first.Device == second.Device) {
        const bool deviceNamed = first.Name.empty() || second.Name.empty();
        return first.Label() + " and " + second.Label() + " are the same device" +
               (deviceNamed ? "" : " " + first.Device.Name);
    }
    const auto told = [](const TPanelTarget &target) {
        return target.Name.empty() ? target.Device.Name
                                   : target.Name + " (" + target.Device.Name + ")";
    };
    return told(first) + " and " + told(second) + " are the same device";
}

} // namespace

TPanelDevice PanelDevice(std::string name)
{
    // The schemes as the ports take them (comm/NetPort.h), in lower case.
    TPanelDevice device;
    if (name.starts_with("socket://"))
        device.Kind = TPanelDevice::TKind::Socket;
    else if (name.starts_with("rfc2217://"))
        device.Kind = TPanelDevice::TKind::Rfc2217;
    else if (IsMqttDevice(name))
        device.Kind = TPanelDevice::TKind::Mqtt;
    device.Name = std::move(name);
    return device;
}

TPanelTarget PanelTarget(const TNamedPanel &panel, const TTargetDefaults &defaults)
{
    TPanelTarget target;
    target.Name = panel.Name;
    target.Device = PanelDevice(panel.Device);
    if (defaults.BaudGiven || panel.Baud <= 0) {
        target.Baud = defaults.Settings.Baud;
        target.BaudProblem = defaults.BaudProblem;
    } else {
        target.Baud = panel.Baud;
        if (!IsPanelBaudRate(panel.Baud))
            target.BaudProblem = PanelBaudProblem(panel, defaults.SettingsFile);
    }
    target.Log.LogToFile = defaults.Settings.LogToFile;
    target.Log.LogPath = PanelLogPath(defaults.Settings.LogPath, target.Name);
    return target;
}

bool ResolvePanelTargets(const std::vector<TNamedPanel> &panels, const TTargetChoice &choice,
                         const TTargetDefaults &defaults, std::vector<TPanelTarget> *targets,
                         std::string *problem)
{
    targets->clear();
    const std::string section =
        "section [" + std::string(PanelsSection) + "] of " + defaults.SettingsFile;
    std::vector<TPanelTarget> chosen;
    if (choice.AllPanels) {
        if (panels.empty()) {
            *problem = "--all-panels: there are no panels in " + section;
            return false;
        }
        for (const TNamedPanel &panel : panels)
            chosen.push_back(PanelTarget(panel, defaults));
    }
    for (const TTargetChoice::TItem &item : choice.Items) {
        if (item.Kind == TTargetChoice::TItem::Device) {
            TPanelTarget target;
            target.Device = PanelDevice(item.Value);
            target.Baud = defaults.Settings.Baud;
            target.BaudProblem = defaults.BaudProblem;
            chosen.push_back(std::move(target));
        } else if (const TNamedPanel *panel = FindPanel(panels, item.Value)) {
            chosen.push_back(PanelTarget(*panel, defaults));
        } else {
            *problem = "there is no panel named " + item.Value + " in " + section;
            return false;
        }
    }

    // Two workers on one device would garble each other's frames (or one would find it busy):
    // refused before either sends anything.
    if (const auto same = FindSharedDevice(chosen)) {
        *problem = SameDeviceProblem(chosen[same->first], chosen[same->second]);
        return false;
    }

    // A named panel has its log already (PanelTarget); a bare device logs to the log itself
    // when it is the only target.
    const TCommSettings &settings = defaults.Settings;
    for (TPanelTarget &target : chosen)
        if (target.Name.empty()) {
            target.Log.LogToFile = settings.LogToFile;
            target.Log.LogPath = chosen.size() == 1
                                     ? settings.LogPath
                                     : PanelLogPath(settings.LogPath, target.Device.Name);
        }
    *targets = std::move(chosen);
    return true;
}

std::optional<std::pair<std::size_t, std::size_t>>
FindSharedDevice(const std::vector<TPanelTarget> &targets)
{
    std::vector<std::string> devices;
    for (const TPanelTarget &target : targets)
        devices.push_back(target.Device.Name);
    return FindSameDevice(devices);
}

TPanelJob TPanelJob::Program(std::string_view text)
{
    return {TKind::Program, std::string(text.substr(0, text.find('\0')))};
}

TPanelJob TPanelJob::Numeric(const std::uint8_t *message)
{
    return {TKind::Numeric,
            std::string(reinterpret_cast<const char *>(message), NumericMessageLength)};
}

int TPanelJob::Blocks() const
{
    return Kind == TKind::Program ? static_cast<int>(BlockCount(Bytes.size())) : 0;
}

TMessage OutcomeCause(const TPanelTarget &target, const TPanelOutcome &outcome)
{
    if (target.Device.Kind == TPanelDevice::TKind::Mqtt)
        return outcome.PortProblem;
    if (outcome.Code == ResultHardwareFailure)
        return outcome.PortProblem;
    if (outcome.Code == ResultUnknownError && target.BaudProblem.empty())
        return outcome.PortProblem; // what went wrong in a worker, if anything was said
    if (outcome.Code == ResultUnknownError || outcome.Code == ResultTimeout)
        return target.BaudProblem;
    return {};
}

std::size_t OpenFilesNeeded(const std::vector<TPanelTarget> &targets)
{
    // Measured on Linux with pty panels, with room to spare: the standard streams and what the
    // program keeps open itself; per target its port, the wakeups of its thread's event loop, and
    // a lock file while the port opens.
    constexpr std::size_t Reserve = 16;
    constexpr std::size_t PerTarget = 4;
    std::size_t needed = Reserve;
    for (const TPanelTarget &target : targets)
        needed += PerTarget + (target.Log.LogToFile ? 1 : 0);
    return needed;
}

namespace {

// The panel's selector bytes of a program's Block and Close frames; the editor always sends 1.
constexpr std::uint8_t ProgramSelector = 1;
constexpr std::uint8_t ProgramCloseSelector = 1;

// The transfer of job to one target, on the calling thread.
TPanelOutcome SendToPanel(std::size_t index, const TPanelTarget &target, const TPanelJob &job,
                          std::unique_ptr<TSerialPort> port, const TPanelSend &send)
{
    // The one place a kind of device that is no line parts ways: a gateway's panel is one request
    // through its broker, and its answer the outcome.
    if (target.Device.Kind == TPanelDevice::TKind::Mqtt) {
        TMqttProgress progress;
        if (send.ProgressMaximum)
            progress.Maximum = [&](int maximum) { send.ProgressMaximum(index, maximum); };
        if (send.ProgressPosition)
            progress.Position = [&](int position) { send.ProgressPosition(index, position); };
        return SendThroughBroker(target.Device.Name, job, send.Mqtt, send.Stop, progress);
    }
    TPanelOutcome outcome;
    TSerial serial(std::move(port), target.Log);
    serial.Stop = send.Stop;
    const bool program = job.Kind == TPanelJob::TKind::Program;
    // Progress is told once the Open frame is taken and after each block taken: the frame in
    // flight follows it.
    outcome.Frame = program ? 0 : -1;
    outcome.Blocks = job.Blocks();
    serial.OnProgressMaximum = [&](int maximum) {
        outcome.Frame = 1;
        if (send.ProgressMaximum)
            send.ProgressMaximum(index, maximum);
    };
    serial.OnProgressPosition = [&](int position) {
        ++outcome.Frame;
        if (send.ProgressPosition)
            send.ProgressPosition(index, position);
    };
    if (program) {
        outcome.Code = serial.SendProgram(job.Bytes, ProgramSelector, ProgramCloseSelector,
                                          target.Device.Name, target.Baud);
    } else {
        std::uint8_t message[NumericMessageLength + 1] = {};
        std::memcpy(message, job.Bytes.data(), std::min(job.Bytes.size(), NumericMessageLength));
        outcome.Code = serial.SendNumeric(message, target.Device.Name, target.Baud);
    }
    outcome.PortProblem = serial.PortProblem();
    outcome.LogProblem = serial.LogProblem();
    return outcome;
}

} // namespace

std::vector<TPanelOutcome> SendToPanels(const std::vector<TPanelTarget> &targets,
                                        const TPanelJob &job, const TPanelSend &send)
{
    std::vector<TPanelOutcome> outcomes(targets.size());
    const auto finished = [&](std::size_t i) {
        if (send.Finished)
            send.Finished(i, outcomes[i]);
    };
    if (const std::size_t needed = OpenFilesNeeded(targets);
        send.OpenFileLimit != 0 && needed > send.OpenFileLimit) {
        const TMessage problem = TMessage::Tr(
            "PanelSend",
            targets.size() == 1
                ? ZOR_TRANSLATE_NOOP("PanelSend",
                                     "too many open files (limit %1, %2 panel needs about %3)")
                : ZOR_TRANSLATE_NOOP("PanelSend",
                                     "too many open files (limit %1, %2 panels need about %3)"),
            {std::to_string(send.OpenFileLimit), std::to_string(targets.size()),
             std::to_string(needed)});
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            outcomes[i].Code = ResultHardwareFailure;
            outcomes[i].PortProblem = problem;
            finished(i);
        }
        return outcomes;
    }
    std::vector<std::unique_ptr<TSerialPort>> ports;
    for (const TPanelTarget &target : targets)
        ports.push_back(target.Device.Kind == TPanelDevice::TKind::Mqtt
                            ? nullptr
                            : send.PortFactory(target.Device));
    if (targets.size() == 1) {
        outcomes[0] = SendToPanel(0, targets[0], job, std::move(ports[0]), send);
        finished(0);
        return outcomes;
    }
    const auto work = [&](std::size_t i) {
        try {
            outcomes[i] = SendToPanel(i, targets[i], job, std::move(ports[i]), send);
        } catch (const std::exception &e) {
            // Leaving the thread, it would end the process and every other panel's transfer.
            outcomes[i].Code = ResultUnknownError;
            outcomes[i].PortProblem = e.what();
        }
        finished(i);
    };
    // jthreads: should starting one fail, those already running are still waited for.
    std::vector<std::jthread> workers;
    workers.reserve(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i)
        workers.emplace_back(work, i);
    workers.clear();
    return outcomes;
}

} // namespace zor
