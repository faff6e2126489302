#include "app/PanelCommands.h"

#include "app/TransferLogWindow.h"
#include "comm/Frames.h"
#include "comm/PanelTransfers.h"
#include "comm/PortFactory.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/TransferRunner.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelForms.h"
#include "comm/forms/TransferDialogs.h"
#include "commands/DocumentTranslation.h"
#include "commands/SendCheck.h"
#include "editor/DocumentIO.h"
#include "sim/Sim.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTextCursor>
#include <QTextEdit>

namespace zor {

TPanelCommands::TPanelCommands(QWidget &window, QAction *transferLog)
    : QObject(&window), Window(window), TransferLogAction(transferLog),
      PortFactory([] { return CreateSerialPort(); })
{
}

void TPanelCommands::LoadSettings(const TProfileFile &profile, const QString &startDirectory,
                                  const QString &settingsFile)
{
    SettingsFile = settingsFile;
    CommSettings = LoadCommSettings(profile, startDirectory.toStdString());
    PortDevices = LoadPortDevices(profile);
    BaudProblem = BaudRateProblem(profile, QFile::encodeName(SettingsFile).toStdString());
    PanelList = LoadPanels(profile);
    SendChoice = QString::fromStdString(profile.ReadString("Editor", SendPanelsKey, ""))
                     .split(QLatin1Char(','), Qt::SkipEmptyParts);
    UpdateTransferLogAction();
}

void TPanelCommands::SetForms(TParamet *parameters, TGraf *progress, TFormSim *simulation,
                              TVstup *numeric)
{
    Paramet = parameters;
    Graf = progress;
    FormSim = simulation;
    Vstup = numeric;
}

bool TPanelCommands::SaveSettings(const std::function<void(TProfileFile &)> &edit)
{
    std::string why;
    if (EditSettingsFile(QFile::encodeName(SettingsFile).toStdString(), edit, &why) == ResultOk)
        return true;
    ShowResultBox(&Window, ResultSettingsFileError, why);
    return false;
}

void TPanelCommands::Parameters()
{
    if (!Paramet)
        return;
    Paramet->ApplySettings(CommSettings);
    Paramet->ApplyPortDevices(PortDevices);
    Paramet->ApplyPanels(PanelList);
    Paramet->PortFactory = PortFactory;
    for (;;) {
        if (Dialogs().ExecuteForm(*Paramet) != QDialog::Accepted)
            return;
        // The dialog's OK refuses a panel without a device itself; this is for a form closed
        // by other means.
        const QString problem = Paramet->PanelsProblem();
        if (problem.isEmpty())
            break;
        Dialogs().MessageBox(&Window, QStringLiteral("Error"), problem, TMsgIcon::Error,
                             TMsgButtons::Ok);
    }
    Paramet->TakeSettings(CommSettings);
    Paramet->TakePortDevices(PortDevices);
    Paramet->TakePanels(PanelList);
    UpdateTransferLogAction();
    SaveSettings([this](TProfileFile &profile) {
        StoreCommSettings(profile, CommSettings);
        StorePortDevices(profile, PortDevices);
        StorePanels(profile, PanelList);
    });
}

void TPanelCommands::TranslateProgram(QTextEdit &editor, bool send, QLabel &status)
{
    Translate(editor, send, status, nullptr);
}

void TPanelCommands::Translate(QTextEdit &editor, bool send, QLabel &status,
                               const std::vector<TPanelTarget> *targets)
{
    editor.setEnabled(false);
    if (send)
        status.setText(QStringLiteral("Wait moment please..."));
    const doc::Document document = DocumentFromText(*editor.document());
    const TSendTranslation translation = TranslateForSend(document, ListedUnshowable);
    QTextCursor end(editor.document());
    end.movePosition(QTextCursor::End);
    editor.setTextCursor(end);
    const std::string &program = translation.Translation.Program;
    if (translation.Translation.TooManySegments()) {
        ShowResultBox(&Window, ResultTooManySegments);
    } else if (send) {
        if (ConfirmSend(&Window, translation.Check)) {
            // Transfer log shows first the log this transfer writes (the first panel's).
            if (CommSettings.LogToFile)
                LastLogPath = QString::fromStdString(targets && !targets->empty()
                                                         ? targets->front().Log.LogPath
                                                         : CommSettings.LogPath);
            if (targets)
                SendToTargets(*targets, QStringLiteral("Send to panels"),
                              TPanelJob::Program(program));
            else
                ShowResult(Transfers().SendProgram(program, CommSettings.Port, CommSettings.Baud));
        }
    } else if (CanRun(program) && FormSim &&
               ConfirmSymbolFontText(&Window, translation.Check.SymbolFontText,
                                     QStringLiteral("Simulate"))) {
        FormSim->SetProgram(&program);
        Dialogs().ExecuteForm(*FormSim);
        FormSim->SetProgram(nullptr);
    }
    editor.setEnabled(true);
    editor.setFocus();
}

void TPanelCommands::SendToPanels(QTextEdit &editor, QLabel &status)
{
    if (PanelList.empty()) {
        if (Dialogs().Ask(&Window, QStringLiteral("Send to panels"),
                          QStringLiteral("No panels are named yet.\nName them on the Panels page "
                                         "of Zor > Parameters.\nOpen it now?"),
                          TMsgIcon::Question, TMsgButtons::YesNo,
                          TMsgAnswer::Yes) == TMsgAnswer::Yes &&
            Paramet) {
            Paramet->Pages->setCurrentWidget(Paramet->PanelsPage);
            Parameters();
        }
        return;
    }
    std::vector<TPanelTarget> targets;
    for (const TNamedPanel &panel : PanelList)
        targets.push_back(PanelTarget(panel, TargetDefaults()));
    TPanelChoice &choice = PanelChoice();
    choice.PanelList->SetTargets(targets, SendChoice);
    if (Dialogs().ExecuteForm(choice) != QDialog::Accepted)
        return;
    const std::vector<TPanelTarget> ticked = choice.PanelList->TickedTargets();
    if (ticked.empty())
        return;
    if (const QStringList names = choice.PanelList->Ticked(); names != SendChoice) {
        SendChoice = names;
        SaveSettings([&names](TProfileFile &profile) {
            profile.WriteString("Editor", SendPanelsKey,
                                names.join(QLatin1Char(',')).toStdString());
        });
    }
    // Refused before the document is even translated: nothing goes anywhere.
    if (const QString shared = SharedDeviceText(ticked); !shared.isEmpty()) {
        Dialogs().MessageBox(&Window, QStringLiteral("Error"),
                             QStringLiteral("Nothing was sent. ") + shared, TMsgIcon::Error,
                             TMsgButtons::Ok);
        return;
    }
    Translate(editor, true, status, &ticked);
}

void TPanelCommands::SendToTargets(const std::vector<TPanelTarget> &targets, const QString &caption,
                                   const TPanelJob &job)
{
    TPanelTransfers transfers(targets,
                              [factory = PortFactory](const TPanelDevice &) { return factory(); });
    TPanelsProgress &progress = PanelsProgress();
    progress.Follow(&transfers);
    const std::vector<TPanelOutcome> results = transfers.Send(job);
    progress.Follow(nullptr);
    UpdateTransferLogAction();
    TPanelResults &window = PanelResults();
    window.SetResults(caption, targets, results);
    // Shown over the progress window, which goes once the operator has read it.
    Dialogs().ExecuteForm(window);
    progress.hide();
}

TPanelChoice &TPanelCommands::PanelChoice()
{
    if (!Choice)
        Choice = new TPanelChoice(&Window);
    return *Choice;
}

TPanelsProgress &TPanelCommands::PanelsProgress()
{
    if (!Progress)
        Progress = new TPanelsProgress(&Window);
    return *Progress;
}

TPanelResults &TPanelCommands::PanelResults()
{
    if (!Results)
        Results = new TPanelResults(&Window);
    return *Results;
}

TTargetDefaults TPanelCommands::TargetDefaults() const
{
    TTargetDefaults defaults;
    defaults.Settings = CommSettings;
    // The file's rate is named only while it is the one in use.
    if (!IsPanelBaudRate(CommSettings.Baud))
        defaults.BaudProblem = BaudProblem;
    defaults.SettingsFile = QFile::encodeName(SettingsFile).toStdString();
    return defaults;
}

TPanelTarget TPanelCommands::PortTarget() const
{
    const int number = CommSettings.Port >= 1 && CommSettings.Port <= 3 ? CommSettings.Port : 4;
    TPanelTarget target;
    target.Name = "COM " + std::to_string(number) + " (Parameters)";
    target.Device = PanelDevice(PortDevices.ForPort(CommSettings.Port));
    target.Baud = CommSettings.Baud;
    target.BaudProblem = TargetDefaults().BaudProblem;
    target.Log = TTransferLog{CommSettings.LogToFile, CommSettings.LogPath};
    return target;
}

TTransferRunner &TPanelCommands::Transfers()
{
    if (!Runner) {
        Runner = new TTransferRunner(this);
        if (Graf)
            Graf->Follow(Runner);
    }
    // The port factory, the devices and the log may have changed since the last transfer.
    Runner->PortFactory = PortFactory;
    Runner->Devices = PortDevices;
    Runner->Log = TTransferLog{CommSettings.LogToFile, CommSettings.LogPath};
    return *Runner;
}

void TPanelCommands::ShowResult(const TPanelOutcome &result)
{
    UpdateTransferLogAction();
    TPanelOutcome shown = result;
    // A port refuses a rate it has no setting for; a panel does not hear a rate it does not work
    // at.
    if ((result.Code == ResultUnknownError || result.Code == ResultTimeout) &&
        !IsPanelBaudRate(CommSettings.Baud) && !BaudProblem.empty())
        shown.PortProblem += (shown.PortProblem.empty() ? "" : "\n") + BaudProblem;
    // Told over the progress window, which goes once the operator has read it.
    ShowTransferResult(&Window, shown);
    if (Graf)
        Graf->hide();
}

void TPanelCommands::NumericFields()
{
    if (!Vstup)
        return;
    std::vector<TPanelTarget> targets{PortTarget()};
    for (const TNamedPanel &panel : PanelList)
        targets.push_back(PanelTarget(panel, TargetDefaults()));
    Vstup->SetTargets(targets);
    std::uint8_t message[NumericMessageLength + 1] = {}; // and its zero byte
    std::vector<TPanelTarget> ticked;
    for (;;) {
        if (!AskNumericMessage(&Window, *Vstup, message))
            return;
        // As for letters in the fields, the dialog comes back with what is wrong said.
        ticked = Vstup->TickedTargets();
        const QString problem = ticked.empty() ? QStringLiteral("Tick where the counters go.")
                                               : SharedDeviceText(ticked);
        if (problem.isEmpty())
            break;
        Dialogs().MessageBox(&Window, QStringLiteral("Error"), problem, TMsgIcon::Error,
                             TMsgButtons::Ok);
    }
    if (ticked.size() == 1 && ticked.front().Name == targets.front().Name) {
        ShowResult(Transfers().SendNumeric(message, CommSettings.Port, CommSettings.Baud));
        return;
    }
    SendToTargets(ticked, QStringLiteral("Numeric fields"), TPanelJob::Numeric(message));
}

void TPanelCommands::LogChoices(QStringList &labels, QStringList &paths) const
{
    labels << QString::fromStdString(PortTarget().Name);
    paths << QString::fromStdString(CommSettings.LogPath);
    for (const TNamedPanel &panel : PanelList) {
        labels << QString::fromStdString(panel.Name);
        paths << QString::fromStdString(PanelLogPath(CommSettings.LogPath, panel.Name));
    }
}

void TPanelCommands::UpdateTransferLogAction()
{
    if (!TransferLogAction)
        return;
    QStringList labels, paths;
    LogChoices(labels, paths);
    TransferLogAction->setEnabled(TransferLogAvailable(CommSettings, paths));
}

void TPanelCommands::TransferLog()
{
    UpdateTransferLogAction();
    QStringList labels, paths;
    LogChoices(labels, paths);
    if (!TransferLogAvailable(CommSettings, paths))
        return;
    const int last = paths.indexOf(LastLogPath);
    ShowTransferLog(&Window, labels, paths, last < 0 ? 0 : int(last));
}

} // namespace zor
