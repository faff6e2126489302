// What the Zor menu's transfers go by: the communication settings, the serial devices behind the
// port numbers, the named panels and the factory of the ports, all read from the settings file;
// Zor > Parameters changes them and saves them there.
#pragma once

#include "comm/MqttSend.h"
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

class QWidget;

namespace zor {

class TParamet;
struct TPanelTarget;
struct TTargetDefaults;

// Where the last choice of Send to panels is kept: key "SendPanels" of section "Editor", the
// names separated by commas (a panel's name holds none).
inline constexpr const char *SendPanelsKey = "SendPanels";

class TCommSetup : public QObject
{
    Q_OBJECT
public:
    using TPortFactory = std::function<std::unique_ptr<TSerialPort>()>;

    // window: the parent of message boxes. Transfers use the platform's serial port until
    // SetPortFactory.
    explicit TCommSetup(QWidget &window);

    // Takes the settings, the port devices, the panels and the last Send to panels choice from
    // the contents of settingsFile, where Parameters saves them; missing keys give the defaults,
    // among them a log "zor.log" in startDirectory.
    void LoadSettings(const TProfileFile &profile, const QString &startDirectory,
                      const QString &settingsFile);
    // The form Parameters runs, made by the window's CreateForms; without it Parameters does
    // nothing.
    void SetForm(TParamet *parameters) { Paramet = parameters; }

    // Runs the Parameters dialog and saves what the operator confirms; a settings file that
    // could not be written gets result code -7 with the file and the reason, and the new values
    // still hold for the run. Emits Changed when the operator confirmed.
    void Parameters();
    TParamet *Form() const { return Paramet; }

    // Writes the settings file with edit's changes; says "Error inic file" and why on failure.
    bool SaveSettings(const std::function<void(TProfileFile &)> &edit);

    // The communication settings and the serial devices behind the port numbers (section "Ports"
    // of the settings file) that the next transfer uses.
    TCommSettings &Settings() { return CommSettings; }
    const TCommSettings &Settings() const { return CommSettings; }
    TPortDevices &Devices() { return PortDevices; }
    const TPortDevices &Devices() const { return PortDevices; }
    // The named panels (section "Panels" of the settings file).
    const std::vector<TNamedPanel> &Panels() const { return PanelList; }
    // Makes the serial port of each transfer from now on; tests give a scripted port.
    void SetPortFactory(TPortFactory factory) { Factory = std::move(factory); }
    const TPortFactory &PortFactory() const { return Factory; }

    // The names ticked last in Send to panels; SetSendChoice saves a new choice.
    const QStringList &SendChoice() const { return LastSendChoice; }
    void SetSendChoice(const QStringList &names);

    // The port of Parameters as a target, named "COM n (Parameters)".
    TPanelTarget PortTarget() const;
    // Every named panel as a target, with what it takes from the settings where it says nothing
    // of its own.
    std::vector<TPanelTarget> PanelTargets() const;
    // What a transfer to a gateway's panel (an mqtt device) goes with: the password read now from
    // the file that PasswordFile of section "Mqtt" named at the start, and its CAFile. False, with
    // *problem ("FILE: the password cannot be read"), when that file cannot be read.
    bool MqttOptions(TMqttSendOptions *options, std::string *problem) const;
    // The settings file's "Baud" when it is no rate of the panel's (BaudRateProblem), while that
    // rate is the one in use; empty otherwise.
    TMessage BaudProblemInUse() const;

signals:
    // The operator confirmed Parameters: the settings, devices or panels may be new.
    void Changed();

private:
    TTargetDefaults TargetDefaults() const;

    QWidget &Window;
    TParamet *Paramet = nullptr;
    TCommSettings CommSettings;
    TPortDevices PortDevices;
    TPortFactory Factory;
    QString SettingsFile;
    std::vector<TNamedPanel> PanelList;
    TMqttFiles MqttFiles;
    QStringList LastSendChoice;
    TMessage BaudProblem;
    // "[Editor] Language" as read at the start or stored by Parameters since.
    std::string Language;
};

} // namespace zor
