#include "comm/PanelSend.h"

#include <exception>
#include <thread>

namespace zor {

namespace {

// "Gate=/dev/ttyUSB0,115200 in section [Panels] of FILE: ...", as BaudRateProblem says it of [PC].
std::string PanelBaudProblem(const TNamedPanel &panel, const std::string &file)
{
    return panel.Name + "=" + PanelValue(panel) + " in section [" + std::string(PanelsSection) +
           "] of " + file + ": the panel works at 4800, 9600 or 19200 baud";
}

TPanelTarget PanelTarget(const TNamedPanel &panel, const TTargetDefaults &defaults)
{
    TPanelTarget target;
    target.Name = panel.Name;
    target.Device = panel.Device;
    if (defaults.BaudGiven || panel.Baud <= 0) {
        target.Baud = defaults.Settings.Baud;
        target.BaudProblem = defaults.BaudProblem;
    } else {
        target.Baud = panel.Baud;
        if (!IsPanelBaudRate(panel.Baud))
            target.BaudProblem = PanelBaudProblem(panel, defaults.SettingsFile);
    }
    return target;
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
               (deviceNamed ? "" : " " + first.Device);
    }
    const auto told = [](const TPanelTarget &target) {
        return target.Name.empty() ? target.Device : target.Name + " (" + target.Device + ")";
    };
    return told(first) + " and " + told(second) + " are the same device";
}

} // namespace

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
            target.Device = item.Value;
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
    std::vector<std::string> devices;
    for (const TPanelTarget &target : chosen)
        devices.push_back(target.Device);
    if (const auto same = FindSameDevice(devices)) {
        *problem = SameDeviceProblem(chosen[same->first], chosen[same->second]);
        return false;
    }

    const TCommSettings &settings = defaults.Settings;
    for (TPanelTarget &target : chosen) {
        target.Log.LogToFile = settings.LogToFile;
        if (!target.Name.empty())
            target.Log.LogPath = PanelLogPath(settings.LogPath, target.Name);
        else if (chosen.size() == 1)
            target.Log.LogPath = settings.LogPath;
        else
            target.Log.LogPath = PanelLogPath(settings.LogPath, target.Device);
    }
    *targets = std::move(chosen);
    return true;
}

std::string OutcomeCause(const TPanelTarget &target, const TPanelOutcome &outcome)
{
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

std::vector<TPanelOutcome> SendToPanels(const std::vector<TPanelTarget> &targets,
                                        const TPanelTransfer &transfer,
                                        const TPanelPortFactory &portFactory,
                                        const TTransferStop *stop, std::size_t openFileLimit)
{
    std::vector<TPanelOutcome> outcomes(targets.size());
    if (const std::size_t needed = OpenFilesNeeded(targets);
        openFileLimit != 0 && needed > openFileLimit) {
        const std::string problem = "too many open files (limit " + std::to_string(openFileLimit) +
                                    ", " + std::to_string(targets.size()) +
                                    (targets.size() == 1 ? " panel needs" : " panels need") +
                                    " about " + std::to_string(needed) + ")";
        for (TPanelOutcome &outcome : outcomes) {
            outcome.Code = ResultHardwareFailure;
            outcome.PortProblem = problem;
        }
        return outcomes;
    }
    std::vector<std::unique_ptr<TSerialPort>> ports;
    for (std::size_t i = 0; i < targets.size(); ++i)
        ports.push_back(portFactory());
    const auto run = [&](std::size_t i) {
        const TPanelTarget &target = targets[i];
        TSerial serial(std::move(ports[i]), TPortDevices::Single(target.Device), target.Log);
        serial.Stop = stop;
        outcomes[i].Code = transfer(serial, target.Baud);
        outcomes[i].PortProblem = serial.PortProblem();
        outcomes[i].LogProblem = serial.LogProblem();
    };
    if (targets.size() == 1) {
        run(0);
        return outcomes;
    }
    const auto work = [&](std::size_t i) {
        try {
            run(i);
        } catch (const std::exception &e) {
            // Leaving the thread, it would end the process and every other panel's transfer.
            outcomes[i].Code = ResultUnknownError;
            outcomes[i].PortProblem = e.what();
        }
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
