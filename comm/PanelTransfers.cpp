#include "comm/PanelTransfers.h"

#include "comm/Frames.h"
#include "comm/Panels.h"

#include <QEventLoop>

namespace zor {

TPanelTarget TargetOf(const TNamedPanel &panel, const TTargetDefaults &defaults)
{
    TTargetChoice choice;
    choice.Items.push_back({TTargetChoice::TItem::Panel, panel.Name});
    std::vector<TPanelTarget> targets;
    std::string problem;
    // One panel of a list that holds it is always found and shares its device with nothing.
    ResolvePanelTargets({panel}, choice, defaults, &targets, &problem);
    return targets.front();
}

std::optional<std::pair<std::size_t, std::size_t>>
FindSharedDevice(const std::vector<TPanelTarget> &targets)
{
    std::vector<std::string> devices;
    for (const TPanelTarget &target : targets)
        devices.push_back(target.Device);
    return FindSameDevice(devices);
}

TPanelTransfers::TPanelTransfers(std::vector<TPanelTarget> targets,
                                 TTransferRunner::TPortFactory portFactory, QObject *parent)
    : QObject(parent), TargetList(std::move(targets))
{
    for (const TPanelTarget &target : TargetList) {
        auto *runner = new TTransferRunner(this);
        runner->PortFactory = portFactory;
        // Port number 1 leads to the target's device.
        runner->Devices = TPortDevices::Single(target.Device);
        runner->Log = target.Log;
        Runners.push_back(runner);
    }
}

TPanelTransfers::~TPanelTransfers()
{
    Cancel();
}

std::vector<TTransferResult> TPanelTransfers::SendProgram(const std::string &text)
{
    const std::string sent = text.substr(0, text.find('\0'));
    BlockTotal = static_cast<int>(BlockCount(sent.size()));
    return Run([&sent](TTransferRunner &runner, const TPanelTarget &target) {
        return runner.StartProgram(sent, 1, target.Baud);
    });
}

std::vector<TTransferResult> TPanelTransfers::SendNumeric(const std::uint8_t *message)
{
    BlockTotal = 0;
    return Run([message](TTransferRunner &runner, const TPanelTarget &target) {
        return runner.StartNumeric(message, 1, target.Baud);
    });
}

std::vector<TTransferResult>
TPanelTransfers::Run(const std::function<bool(TTransferRunner &, const TPanelTarget &)> &start)
{
    std::vector<TTransferResult> results(Runners.size());
    if (Busy)
        return results;
    Busy = true;
    std::size_t running = 0;
    QEventLoop wait;
    std::vector<QMetaObject::Connection> connections;
    for (std::size_t i = 0; i < Runners.size(); ++i)
        connections.push_back(connect(Runners[i], &TTransferRunner::Finished, this,
                                      [&, i](const TTransferResult &result) {
                                          results[i] = result;
                                          if (--running == 0)
                                              wait.quit();
                                      }));
    emit Started();
    for (std::size_t i = 0; i < Runners.size(); ++i)
        if (start(*Runners[i], TargetList[i]))
            ++running;
    if (running > 0)
        wait.exec();
    for (const auto &c : connections)
        disconnect(c);
    Busy = false;
    emit Finished(results);
    return results;
}

void TPanelTransfers::Cancel()
{
    for (TTransferRunner *runner : Runners)
        runner->Cancel();
}

} // namespace zor
