#include "app/PanelCommands.h"

#include "app/TransferCommands.h"
#include "app/TransferLogWindow.h"
#include "comm/Bargraf.h"
#include "comm/Frames.h"
#include "comm/Nastav.h"
#include "comm/Numeric.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/TransferRunner.h"
#include "commands/DocumentTranslation.h"
#include "editor/DocumentIO.h"
#include "sim/Sim.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTextCursor>
#include <QTextEdit>

namespace zor {

TPanelCommands::TPanelCommands(QWidget &window, TState state, QAction *transferLog)
    : QObject(&window), Window(window), State(state), TransferLogAction(transferLog)
{
}

void TPanelCommands::LoadSettings(const TProfileFile &profile, const QString &startDirectory)
{
    State.Settings = LoadCommSettings(profile, startDirectory.toStdString());
    State.Devices = LoadPortDevices(profile);
    BaudProblem = BaudRateProblem(profile, QFile::encodeName(State.SettingsFile).toStdString());
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

void TPanelCommands::Parameters()
{
    if (!Paramet)
        return;
    Paramet->ApplySettings(State.Settings);
    Paramet->ApplyPortDevices(State.Devices);
    if (Dialogs().ExecuteForm(*Paramet) != QDialog::Accepted)
        return;
    Paramet->TakeSettings(State.Settings);
    Paramet->TakePortDevices(State.Devices);
    UpdateTransferLogAction();
    std::string why;
    if (SaveCommSettings(QFile::encodeName(State.SettingsFile).toStdString(), State.Settings,
                         State.Devices, &why) != ResultOk)
        ShowResultBox(&Window, ResultSettingsFileError, why);
}

void TPanelCommands::TranslateProgram(QTextEdit &editor, bool send, QLabel &status)
{
    editor.setEnabled(false);
    if (send)
        status.setText(QStringLiteral("Wait moment please..."));
    const rtf::Document document = DocumentFromText(*editor.document());
    const TTranslation translation = TranslateDocument(document);
    QTextCursor end(editor.document());
    end.movePosition(QTextCursor::End);
    editor.setTextCursor(end);
    const std::string &program = translation.Program;
    if (translation.TooManySegments()) {
        ShowResultBox(&Window, ResultTooManySegments);
    } else if (send) {
        if (ConfirmSymbolFontText(&Window, document, QStringLiteral("Send")) &&
            ConfirmSend(&Window, document, program))
            Transfers().SendProgram(program, State.Settings.Port, State.Settings.Baud);
    } else if (program.front() != '\x1F' && FormSim &&
               ConfirmSymbolFontText(&Window, document, QStringLiteral("Simulate"))) {
        FormSim->SetProgram(&program);
        Dialogs().ExecuteForm(*FormSim);
        FormSim->SetProgram(nullptr);
    }
    editor.setEnabled(true);
    editor.setFocus();
}

TTransferRunner &TPanelCommands::Transfers()
{
    if (!Runner) {
        Runner = new TTransferRunner(this);
        connect(Runner, &TTransferRunner::Finished, this, [this](const TTransferResult &result) {
            // Said while the progress window is still up; the runner hides it afterwards.
            UpdateTransferLogAction();
            TTransferResult shown = result;
            // A port refuses a rate it has no setting for; a panel does not hear a rate it
            // does not work at.
            if ((result.Code == ResultUnknownError || result.Code == ResultTimeout) &&
                !IsPanelBaudRate(State.Settings.Baud) && !BaudProblem.empty())
                shown.PortProblem += (shown.PortProblem.empty() ? "" : "\n") + BaudProblem;
            ShowTransferResult(&Window, shown);
        });
    }
    if (Runner->ProgressWindow() != Graf)
        Runner->SetProgressWindow(Graf);
    // The port factory, the devices and the log may have changed since the last transfer.
    Runner->PortFactory = State.PortFactory;
    Runner->Devices = State.Devices;
    Runner->Log = TTransferLog{State.Settings.LogToFile, State.Settings.LogPath};
    return *Runner;
}

void TPanelCommands::NumericFields()
{
    std::uint8_t message[NumericMessageLength + 1] = {}; // and its zero byte
    if (Vstup && AskNumericMessage(&Window, *Vstup, message))
        Transfers().SendNumeric(message, State.Settings.Port, State.Settings.Baud);
}

void TPanelCommands::UpdateTransferLogAction()
{
    if (TransferLogAction)
        TransferLogAction->setEnabled(TransferLogAvailable(State.Settings));
}

void TPanelCommands::TransferLog()
{
    UpdateTransferLogAction();
    if (TransferLogAvailable(State.Settings))
        ShowTransferLog(&Window, State.Settings);
}

} // namespace zor
