// The editor's side of a transfer to several panels at once: the one fan-out of
// comm/PanelSend.h run on a worker thread, its progress and each panel's end passed on as signals
// in this object's thread. No widgets: the progress window (comm/forms/PanelsProgress.h) follows
// it.
#pragma once

#include "comm/PanelSend.h"

#include <QObject>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

class QEventLoop;

namespace zor {

class TPanelTransfers : public QObject
{
    Q_OBJECT
public:
    // Sends to targets, each through a port of portFactory, writing each target's own log.
    TPanelTransfers(std::vector<TPanelTarget> targets, TPanelPortFactory portFactory,
                    QObject *parent = nullptr);
    ~TPanelTransfers() override; // the transfers stop and are waited for

    const std::vector<TPanelTarget> &Targets() const { return TargetList; }

    // What the requests to gateways' panels (mqtt devices) go with; read when Send starts.
    TMqttSendOptions Mqtt;

    // Sends job to every target at once and returns once every one has finished (every slot of
    // PanelFinished returned), with each one's outcome in target order. The windows keep painting
    // meanwhile and the operator's input goes on (whatever shows the transfers is expected to be
    // modal). Nothing is started while transfers run: empty then.
    std::vector<TPanelOutcome> Send(const TPanelJob &job);

    // The program's length in blocks of the transfers running or last run, as the panel counts
    // them (0 for a numeric message).
    int Blocks() const { return BlockTotal; }

public slots:
    // Asks every running transfer to stop after its frame in flight.
    void Cancel();

signals:
    // The transfers are about to start.
    void Started();
    // Target number target has had position blocks after its first accepted (one block: 1 once
    // done), as TSerial::OnProgressPosition counts them.
    void ProgressPosition(std::size_t target, int position);
    // One target's transfer has ended, after its last progress.
    void PanelFinished(std::size_t target, const zor::TPanelOutcome &outcome);

private:
    std::vector<TPanelTarget> TargetList;
    TPanelPortFactory PortFactory;
    std::jthread Worker;
    QEventLoop *Waiting = nullptr;
    int BlockTotal = 0;
    bool Busy = false;
};

} // namespace zor
