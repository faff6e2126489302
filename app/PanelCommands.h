// The Zor menu's work behind the main window: Parameters, Send, Send to panels and Simulation of a
// document, Numeric fields and Transfer log. It holds the communication settings, the serial
// devices behind the port numbers, the named panels and the factory of the ports that transfers
// use; the window routes each command here.
#pragma once

#include "comm/Panels.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QTextEdit;
class QWidget;

namespace zor {

class TFormSim;
class TGraf;
class TPanelChoice;
class TPanelResults;
class TPanelsProgress;
class TParamet;
class TTransferRunner;
class TVstup;
struct TPanelJob;
struct TPanelOutcome;
struct TPanelTarget;
struct TTargetDefaults;

// Where the last choice of Send to panels is kept: key "SendPanels" of section "Editor", the
// names separated by commas (a panel's name holds none).
inline constexpr const char *SendPanelsKey = "SendPanels";

class TPanelCommands : public QObject
{
    Q_OBJECT
public:
    using TPortFactory = std::function<std::unique_ptr<TSerialPort>()>;

    // window: the parent of message boxes and of the transfer log window. transferLog is the
    // Transfer log action, enabled while a log can be shown. Transfers use the platform's serial
    // port until SetPortFactory.
    TPanelCommands(QWidget &window, QAction *transferLog);

    // Takes the settings and the port devices from the contents of settingsFile, where Parameters
    // saves them; missing keys give the defaults, among them a log "zor.log" in startDirectory.
    void LoadSettings(const TProfileFile &profile, const QString &startDirectory,
                      const QString &settingsFile);

    // The communication settings and the serial devices behind the port numbers (section "Ports"
    // of the settings file) that the next transfer uses; Parameters changes and saves them.
    TCommSettings &Settings() { return CommSettings; }
    TPortDevices &Devices() { return PortDevices; }
    // The named panels (section "Panels" of the settings file); Parameters changes and saves them.
    std::vector<TNamedPanel> &Panels() { return PanelList; }
    // Makes the serial port of each transfer from now on; tests give a scripted port.
    void SetPortFactory(TPortFactory factory) { PortFactory = std::move(factory); }
    // The forms made by the window's CreateForms; a command whose form is missing does nothing.
    void SetForms(TParamet *parameters, TGraf *progress, TFormSim *simulation, TVstup *numeric);

    // Runs the Parameters dialog and saves what the operator confirms; a settings file that
    // could not be written gets result code -7 with the file and the reason, and the new values
    // still hold for the run.
    void Parameters();
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
    // The port of Parameters as a target, named "COM n (Parameters)".
    TPanelTarget PortTarget() const;
    // What a named panel takes from the settings where it says nothing of its own.
    TTargetDefaults TargetDefaults() const;
    // The logs Transfer log offers: the port's, then each panel's.
    void LogChoices(QStringList &labels, QStringList &paths) const;
    // Writes the settings file with edit's changes; says "Error inic file" and why on failure.
    bool SaveSettings(const std::function<void(TProfileFile &)> &edit);

    // The runner of every transfer, made at the first one, with the port factory, devices and
    // log of the settings at the time of the call.
    TTransferRunner &Transfers();
    // Shows how a transfer ended (over the progress window, which is hidden afterwards).
    void ShowResult(const TPanelOutcome &result);

    QWidget &Window;
    QAction *TransferLogAction;
    TCommSettings CommSettings;
    TPortDevices PortDevices;
    TPortFactory PortFactory;
    QString SettingsFile;
    TParamet *Paramet = nullptr;
    TGraf *Graf = nullptr;
    TFormSim *FormSim = nullptr;
    TVstup *Vstup = nullptr;
    TTransferRunner *Runner = nullptr;
    TPanelChoice *Choice = nullptr;
    TPanelsProgress *Progress = nullptr;
    TPanelResults *Results = nullptr;
    std::vector<TNamedPanel> PanelList;
    QStringList SendChoice; // the names ticked last in Send to panels
    QString LastLogPath;    // the log of the last transfer (the first target's)
    // The settings file's "Baud" when it is no rate of the panel's (BaudRateProblem), said
    // under a failed transfer while that rate is in use.
    std::string BaudProblem;
};

} // namespace zor
