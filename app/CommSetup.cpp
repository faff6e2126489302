#include "app/CommSetup.h"

#include "app/EditorSettings.h"
#include "comm/PanelSend.h"
#include "comm/PortFactory.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/TransferDialogs.h"
#include "ui/Dialogs.h"

#include <QDir>
#include <QFile>

namespace zor {

TCommSetup::TCommSetup(QWidget &window)
    : QObject(&window), Window(window), Factory([] { return CreateSerialPort(); })
{
}

void TCommSetup::LoadSettings(const TProfileFile &profile, const QString &startDirectory,
                              const QString &settingsFile)
{
    SettingsFile = settingsFile;
    // In the system's spelling: the log's default path is shown and written to the file.
    CommSettings =
        LoadCommSettings(profile, QDir::toNativeSeparators(startDirectory).toStdString());
    PortDevices = LoadPortDevices(profile);
    BaudProblem = BaudRateProblem(profile, QFile::encodeName(SettingsFile).toStdString());
    PanelList = LoadPanels(profile);
    MqttFiles.PasswordFile = profile.ReadString(MqttSection, "PasswordFile", "");
    MqttFiles.CaFile = profile.ReadString(MqttSection, "CAFile", "");
    Language = ReadLanguage(profile);
    LastSendChoice = QString::fromStdString(profile.ReadString("Editor", SendPanelsKey, ""))
                         .split(QLatin1Char(','), Qt::SkipEmptyParts);
}

bool TCommSetup::SaveSettings(const std::function<void(TProfileFile &)> &edit)
{
    TMessage why;
    if (EditSettingsFile(QFile::encodeName(SettingsFile).toStdString(), edit, &why) == ResultOk)
        return true;
    ShowResultBox(&Window, ResultSettingsFileError, why);
    return false;
}

void TCommSetup::Parameters()
{
    if (!Paramet)
        return;
    Paramet->ApplySettings(CommSettings);
    Paramet->ApplyPortDevices(PortDevices);
    Paramet->Panels->Apply(PanelList);
    Paramet->ApplyLanguage(QString::fromStdString(Language));
    Paramet->Panels->PortFactory = Factory;
    Paramet->Panels->MqttOptions = [this](TMqttSendOptions *options, std::string *problem) {
        return MqttOptions(options, problem);
    };
    for (;;) {
        if (Dialogs().ExecuteForm(*Paramet) != QDialog::Accepted)
            return;
        // The dialog's OK refuses a panel without a device itself; this is for a form closed
        // by other means.
        const QString problem = Paramet->Panels->Problem();
        if (problem.isEmpty())
            break;
        Dialogs().MessageBox(&Window, tr("Error"), problem, TMsgIcon::Error, TMsgButtons::Ok);
    }
    Paramet->TakeSettings(CommSettings);
    Paramet->TakePortDevices(PortDevices);
    Paramet->Panels->Take(PanelList);
    const std::string language = Paramet->TakeLanguage().toStdString();
    // A file without the key, or with a value of a later version, is left as it is unless the
    // operator chose another language.
    const bool languageChanged = language != Language;
    Language = language;
    emit Changed();
    SaveSettings([this, languageChanged](TProfileFile &profile) {
        StoreCommSettings(profile, CommSettings);
        StorePortDevices(profile, PortDevices);
        StorePanels(profile, PanelList);
        // Read at the next start: the running interface keeps its language.
        if (languageChanged)
            profile.WriteString("Editor", "Language", Language);
    });
}

void TCommSetup::SetSendChoice(const QStringList &names)
{
    if (names == LastSendChoice)
        return;
    LastSendChoice = names;
    SaveSettings([&names](TProfileFile &profile) {
        profile.WriteString("Editor", SendPanelsKey, names.join(QLatin1Char(',')).toStdString());
    });
}

bool TCommSetup::MqttOptions(TMqttSendOptions *options, std::string *problem) const
{
    // The password is read at each transfer: a file its owner has changed since counts.
    return LoadMqttFiles(TProfileFile(), MqttFiles, &options->Password, &options->CaFile, problem);
}

TMessage TCommSetup::BaudProblemInUse() const
{
    // The file's rate is named only while it is the one in use.
    return IsPanelBaudRate(CommSettings.Baud) ? TMessage() : BaudProblem;
}

TTargetDefaults TCommSetup::TargetDefaults() const
{
    TTargetDefaults defaults;
    defaults.Settings = CommSettings;
    defaults.BaudProblem = BaudProblemInUse();
    defaults.SettingsFile = QFile::encodeName(SettingsFile).toStdString();
    return defaults;
}

TPanelTarget TCommSetup::PortTarget() const
{
    const int number = CommSettings.Port >= 1 && CommSettings.Port <= 3 ? CommSettings.Port : 4;
    TPanelTarget target;
    // Only shown (the counters' targets, the transfer log's choice), never stored or written to a
    // log: in the operator's language.
    target.Name = tr("COM %1 (Parameters)").arg(number).toStdString();
    target.Device = PanelDevice(PortDevices.ForPort(CommSettings.Port));
    target.Baud = CommSettings.Baud;
    target.BaudProblem = BaudProblemInUse();
    target.Log = TTransferLog{CommSettings.LogToFile, CommSettings.LogPath};
    return target;
}

std::vector<TPanelTarget> TCommSetup::PanelTargets() const
{
    std::vector<TPanelTarget> targets;
    const TTargetDefaults defaults = TargetDefaults();
    for (const TNamedPanel &panel : PanelList)
        targets.push_back(PanelTarget(panel, defaults));
    return targets;
}

} // namespace zor
