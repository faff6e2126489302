// The Zor menu's transfers and runs of a document: Send, Send to panels, Simulation, Numeric
// fields and Transfer log. They go by the communication setup (app/CommSetup.h); the window
// routes each command here.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QAction;
class QLabel;
class QTextEdit;
class QWidget;

namespace zor {

class TCommSetup;
class TFormSim;
class TGraf;
class TPanelChoice;
class TPanelResults;
class TPanelsProgress;
class TTransferRunner;
class TVstup;
struct TMqttSendOptions;
struct TPanelJob;
struct TPanelOutcome;
struct TPanelTarget;

class TTransferCommands : public QObject
{
    Q_OBJECT
public:
    // window: the parent of message boxes and of the transfer log window. setup: what the
    // transfers go by; it outlives this object. transferLog is the Transfer log action, enabled
    // while a log can be shown.
    TTransferCommands(QWidget &window, TCommSetup &setup, QAction *transferLog);

    // The forms made by the window's CreateForms; a command whose form is missing does nothing.
    void SetForms(TGraf *progress, TFormSim *simulation, TVstup *numeric);

    // Translates editor's document and sends the program (asking first when something is off)
    // or runs it in the simulation window. The editor is disabled meanwhile and its caret ends
    // at the end; a send shows "Wait moment please..." in status first.
    void TranslateProgram(QTextEdit &editor, bool send, QLabel &status);
    // Zor > Send to panels...: asks which named panels the document goes to (the last choice
    // ticked), translates and checks it as Send does, refuses two ticked panels on one device
    // before anything is sent, then sends to every ticked panel at once with a progress bar per
    // panel and one Cancel, and shows every panel's result in one window. With no panel named,
    // offers to open Parameters on its Panels page.
    void SendToPanels(QTextEdit &editor, QLabel &status);
    // Asks for the two counters and sends them: to the port of Parameters as ever, or, when
    // panels are named and ticked, to every ticked target at once as Send to panels does.
    void NumericFields();
    // Shows a transfer log: the one of the last transfer first, the others (the port of
    // Parameters', each panel's) to choose from.
    void TransferLog();
    void UpdateTransferLogAction();

    // The windows of a transfer to several panels; made at first use.
    TPanelChoice &PanelChoice();
    TPanelsProgress &PanelsProgress();
    TPanelResults &PanelResults();

private:
    void Translate(QTextEdit &editor, bool send, QLabel &status,
                   const std::vector<TPanelTarget> *targets);
    // Sends job to every target at once (none of them sharing a device: the caller has refused
    // that) and shows the results.
    void SendToTargets(const std::vector<TPanelTarget> &targets, const QString &caption,
                       const TPanelJob &job);
    // Fills *options for a transfer to targets: where any is a gateway's panel, the broker's
    // password and CA of the settings. A password file that cannot be read is said, and false:
    // nothing is to be sent.
    bool MqttOptionsFor(const std::vector<TPanelTarget> &targets, TMqttSendOptions *options);
    // The logs Transfer log offers: the port's, then each panel's.
    void LogChoices(QStringList &labels, QStringList &paths) const;

    // The runner of every transfer, made at the first one, with the port factory, devices and
    // log of the settings at the time of the call, and mqtt for a gateway's panel.
    TTransferRunner &Transfers(const TMqttSendOptions &mqtt);
    // Shows how a transfer ended (over the progress window, which is hidden afterwards).
    void ShowResult(const TPanelOutcome &result);

    QWidget &Window;
    TCommSetup &Setup;
    QAction *TransferLogAction;
    TGraf *Graf = nullptr;
    TFormSim *FormSim = nullptr;
    TVstup *Vstup = nullptr;
    TTransferRunner *Runner = nullptr;
    TPanelChoice *Choice = nullptr;
    TPanelsProgress *Progress = nullptr;
    TPanelResults *Results = nullptr;
    QString LastLogPath; // the log of the last transfer (the first target's)
};

} // namespace zor
