// Transfers to several panels at once: one TTransferRunner (comm/TransferRunner.h) per target, all
// started together, each on its own worker thread, so that a slow or failing panel neither stops
// nor slows the others. No widgets: the progress window (comm/forms/PanelForms.h) follows the
// runners.
#pragma once

#include "comm/PanelSend.h"
#include "comm/TransferRunner.h"

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zor {

// The target of a named panel as zor makes it (ResolvePanelTargets): its own rate, else the rate
// of defaults, with the line to say under a rate the panel does not work at; its own log
// (PanelLogPath) when logging is on.
TPanelTarget TargetOf(const TNamedPanel &panel, const TTargetDefaults &defaults);

// The first two targets, in list order, that name the same device (FindSameDevice): a device
// opened twice at once would have two transfers' frames interleaved on one line. Their indexes.
std::optional<std::pair<std::size_t, std::size_t>>
FindSharedDevice(const std::vector<TPanelTarget> &targets);

class TPanelTransfers : public QObject
{
    Q_OBJECT
public:
    // One runner per target, each making its ports with portFactory and writing the target's log.
    TPanelTransfers(std::vector<TPanelTarget> targets, TTransferRunner::TPortFactory portFactory,
                    QObject *parent = nullptr);
    ~TPanelTransfers() override; // the runners stop and wait for their workers

    const std::vector<TPanelTarget> &Targets() const { return TargetList; }
    TTransferRunner &Runner(std::size_t index) const { return *Runners.at(index); }

    // Starts the program (or the numeric message, NumericMessageLength characters) on every
    // target at once and returns once every one has finished, with each one's result in target
    // order. The windows keep painting meanwhile and the operator's input goes on (whatever shows
    // the transfers is expected to be modal). Nothing is started while transfers run.
    std::vector<TTransferResult> SendProgram(const std::string &text);
    std::vector<TTransferResult> SendNumeric(const std::uint8_t *message);

    // The program's length in blocks, as the panel counts them (0 for a numeric message).
    int Blocks() const { return BlockTotal; }

public slots:
    // Asks every running transfer to stop after its frame in flight.
    void Cancel();

signals:
    // The transfers are about to start (each runner's own signals follow).
    void Started();
    // Every runner has finished; results in target order.
    void Finished(const std::vector<zor::TTransferResult> &results);

private:
    std::vector<TTransferResult>
    Run(const std::function<bool(TTransferRunner &, const TPanelTarget &)> &start);

    std::vector<TPanelTarget> TargetList;
    std::vector<TTransferRunner *> Runners;
    int BlockTotal = 0;
    bool Busy = false;
};

} // namespace zor
