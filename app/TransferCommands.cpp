#include "app/TransferCommands.h"

#include "app/CommSetup.h"

#include "app/TransferLogWindow.h"
#include "comm/Frames.h"
#include "comm/PanelTransfers.h"
#include "comm/Results.h"
#include "comm/TransferRunner.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelChoice.h"
#include "comm/forms/PanelResults.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/PanelsProgress.h"
#include "comm/forms/TransferDialogs.h"
#include "commands/DocumentTranslation.h"
#include "commands/SendCheck.h"
#include "editor/DocumentIO.h"
#include "sim/Sim.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QLabel>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

namespace zor {

TTransferCommands::TTransferCommands(QWidget &window, TCommSetup &setup, QAction *transferLog)
    : QObject(&window), Window(window), Setup(setup), TransferLogAction(transferLog)
{
    connect(&Setup, &TCommSetup::Changed, this, &TTransferCommands::UpdateTransferLogAction);
}

void TTransferCommands::SetForms(TGraf *progress, TFormSim *simulation, TVstup *numeric)
{
    Graf = progress;
    FormSim = simulation;
    Vstup = numeric;
}

void TTransferCommands::TranslateProgram(QTextEdit &editor, bool send, QLabel &status)
{
    Translate(editor, send, status, nullptr);
}

void TTransferCommands::Translate(QTextEdit &editor, bool send, QLabel &status,
                                  const std::vector<TPanelTarget> *targets)
{
    editor.setEnabled(false);
    if (send)
        status.setText(tr("Wait moment please..."));
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
            if (Setup.Settings().LogToFile)
                LastLogPath = QString::fromStdString(targets && !targets->empty()
                                                         ? targets->front().Log.LogPath
                                                         : Setup.Settings().LogPath);
            TMqttSendOptions mqtt;
            if (targets)
                SendToTargets(*targets, tr("Send to panels"), TPanelJob::Program(program));
            else if (MqttOptionsFor({Setup.PortTarget()}, &mqtt))
                ShowResult(Transfers(mqtt).SendProgram(program, Setup.Settings().Port,
                                                       Setup.Settings().Baud));
        }
    } else if (CanRun(program) && FormSim &&
               ConfirmSymbolFontText(&Window, translation.Check.SymbolFontText,
                                     tr("Simulate anyway?"))) {
        FormSim->SetProgram(&program);
        Dialogs().ExecuteForm(*FormSim);
        FormSim->SetProgram(nullptr);
    }
    editor.setEnabled(true);
    editor.setFocus();
}

void TTransferCommands::SendToPanels(QTextEdit &editor, QLabel &status)
{
    if (Setup.Panels().empty()) {
        if (Dialogs().Ask(&Window, tr("Send to panels"),
                          tr("No panels are named yet.\nName them on the Panels page "
                             "of Zor > Parameters.\nOpen it now?"),
                          TMsgIcon::Question, TMsgButtons::YesNo,
                          TMsgAnswer::Yes) == TMsgAnswer::Yes &&
            Setup.Form()) {
            Setup.Form()->Pages->setCurrentWidget(Setup.Form()->Panels);
            Setup.Parameters();
        }
        return;
    }
    const std::vector<TPanelTarget> targets = Setup.PanelTargets();
    TPanelChoice &choice = PanelChoice();
    choice.PanelList->SetTargets(targets, Setup.SendChoice());
    if (Dialogs().ExecuteForm(choice) != QDialog::Accepted)
        return;
    const std::vector<TPanelTarget> ticked = choice.PanelList->TickedTargets();
    if (ticked.empty())
        return;
    Setup.SetSendChoice(choice.PanelList->Ticked());
    // Refused before the document is even translated: nothing goes anywhere.
    if (const QString shared = SharedDeviceText(ticked); !shared.isEmpty()) {
        Dialogs().MessageBox(&Window, tr("Error"), tr("Nothing was sent. %1").arg(shared),
                             TMsgIcon::Error, TMsgButtons::Ok);
        return;
    }
    Translate(editor, true, status, &ticked);
}

void TTransferCommands::SendToTargets(const std::vector<TPanelTarget> &targets,
                                      const QString &caption, const TPanelJob &job)
{
    TMqttSendOptions mqtt;
    if (!MqttOptionsFor(targets, &mqtt))
        return;
    TPanelTransfers transfers(
        targets, [factory = Setup.PortFactory()](const TPanelDevice &) { return factory(); });
    transfers.Mqtt = mqtt;
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

TPanelChoice &TTransferCommands::PanelChoice()
{
    if (!Choice)
        Choice = new TPanelChoice(&Window);
    return *Choice;
}

TPanelsProgress &TTransferCommands::PanelsProgress()
{
    if (!Progress)
        Progress = new TPanelsProgress(&Window);
    return *Progress;
}

TPanelResults &TTransferCommands::PanelResults()
{
    if (!Results)
        Results = new TPanelResults(&Window);
    return *Results;
}

bool TTransferCommands::MqttOptionsFor(const std::vector<TPanelTarget> &targets,
                                       TMqttSendOptions *options)
{
    if (std::none_of(targets.begin(), targets.end(), [](const TPanelTarget &target) {
            return target.Device.Kind == TPanelDevice::TKind::Mqtt;
        }))
        return true;
    std::string problem;
    if (Setup.MqttOptions(options, &problem))
        return true;
    Dialogs().MessageBox(&Window, tr("Error"),
                         tr("Nothing was sent. %1").arg(QString::fromStdString(problem)),
                         TMsgIcon::Error, TMsgButtons::Ok);
    return false;
}

TTransferRunner &TTransferCommands::Transfers(const TMqttSendOptions &mqtt)
{
    if (!Runner) {
        Runner = new TTransferRunner(this);
        if (Graf)
            Graf->Follow(Runner);
    }
    // The port factory, the devices and the log may have changed since the last transfer.
    Runner->PortFactory = Setup.PortFactory();
    Runner->Devices = Setup.Devices();
    Runner->Log = TTransferLog{Setup.Settings().LogToFile, Setup.Settings().LogPath};
    Runner->Mqtt = mqtt;
    return *Runner;
}

void TTransferCommands::ShowResult(const TPanelOutcome &result)
{
    UpdateTransferLogAction();
    TPanelOutcome shown = result;
    // A port refuses a rate it has no setting for; a panel does not hear a rate it does not work
    // at.
    // A gateway's panel works at the gateway's rate.
    if ((result.Code == ResultUnknownError || result.Code == ResultTimeout) &&
        Setup.PortTarget().Device.Kind != TPanelDevice::TKind::Mqtt &&
        !Setup.BaudProblemInUse().empty())
        shown.PortProblem =
            shown.PortProblem.empty()
                ? Setup.BaudProblemInUse()
                : TMessage::Fill("%1\n%2", {shown.PortProblem, Setup.BaudProblemInUse()});
    // Told over the progress window, which goes once the operator has read it.
    ShowTransferResult(&Window, shown);
    if (Graf)
        Graf->hide();
}

void TTransferCommands::NumericFields()
{
    if (!Vstup)
        return;
    std::vector<TPanelTarget> targets{Setup.PortTarget()};
    for (TPanelTarget &panel : Setup.PanelTargets())
        targets.push_back(std::move(panel));
    Vstup->SetTargets(targets);
    std::uint8_t message[NumericMessageLength + 1] = {}; // and its zero byte
    std::vector<TPanelTarget> ticked;
    for (;;) {
        if (!AskNumericMessage(&Window, *Vstup, message))
            return;
        // As for letters in the fields, the dialog comes back with what is wrong said.
        ticked = Vstup->TickedTargets();
        const QString problem =
            ticked.empty() ? tr("Tick where the counters go.") : SharedDeviceText(ticked);
        if (problem.isEmpty())
            break;
        Dialogs().MessageBox(&Window, tr("Error"), problem, TMsgIcon::Error, TMsgButtons::Ok);
    }
    if (ticked.size() == 1 && ticked.front().Name == targets.front().Name) {
        TMqttSendOptions mqtt;
        if (MqttOptionsFor(ticked, &mqtt))
            ShowResult(
                Transfers(mqtt).SendNumeric(message, Setup.Settings().Port, Setup.Settings().Baud));
        return;
    }
    SendToTargets(ticked, tr("Numeric fields"), TPanelJob::Numeric(message));
}

void TTransferCommands::LogChoices(QStringList &labels, QStringList &paths) const
{
    labels << QString::fromStdString(Setup.PortTarget().Name);
    paths << QString::fromStdString(Setup.Settings().LogPath);
    for (const TNamedPanel &panel : Setup.Panels()) {
        labels << QString::fromStdString(panel.Name);
        paths << QString::fromStdString(PanelLogPath(Setup.Settings().LogPath, panel.Name));
    }
}

void TTransferCommands::UpdateTransferLogAction()
{
    if (!TransferLogAction)
        return;
    QStringList labels, paths;
    LogChoices(labels, paths);
    TransferLogAction->setEnabled(TransferLogAvailable(Setup.Settings(), paths));
}

void TTransferCommands::TransferLog()
{
    UpdateTransferLogAction();
    QStringList labels, paths;
    LogChoices(labels, paths);
    if (!TransferLogAvailable(Setup.Settings(), paths))
        return;
    const int last = paths.indexOf(LastLogPath);
    ShowTransferLog(&Window, labels, paths, last < 0 ? 0 : int(last));
}

} // namespace zor
