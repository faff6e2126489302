// The Zor menu's work behind the main window: Parameters, Send and Simulation of a document,
// Numeric fields and Transfer log. It holds the communication settings, the serial devices behind
// the port numbers and the factory of the ports that transfers use; the window routes each
// command here.
#pragma once

#include "comm/SerialPort.h"
#include "comm/Settings.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QTextEdit;
class QWidget;

namespace zor {

class TFormSim;
class TGraf;
class TParamet;
class TTransferRunner;
class TVstup;
struct TTransferResult;

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
    // Asks for the two counters and sends them.
    void NumericFields();
    // Shows the last transfer's log, when there is one.
    void TransferLog();
    void UpdateTransferLogAction();

private:
    // The runner of every transfer, made at the first one, with the port factory, devices and
    // log of the settings at the time of the call.
    TTransferRunner &Transfers();
    // Shows how a transfer ended (over the progress window, which is hidden afterwards).
    void ShowResult(const TTransferResult &result);

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
    // The settings file's "Baud" when it is no rate of the panel's (BaudRateProblem), said
    // under a failed transfer while that rate is in use.
    std::string BaudProblem;
};

} // namespace zor
