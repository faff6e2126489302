#include "app/PanelCommands.h"

#include "app/TransferLogWindow.h"
#include "comm/Bargraf.h"
#include "comm/Frames.h"
#include "comm/Nastav.h"
#include "comm/Numeric.h"
#include "comm/ProfileFile.h"
#include "comm/PortFactory.h"
#include "comm/Results.h"
#include "comm/TransferDialogs.h"
#include "comm/TransferRunner.h"
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
    Paramet->ApplySettings(CommSettings);
    Paramet->ApplyPortDevices(PortDevices);
    if (Dialogs().ExecuteForm(*Paramet) != QDialog::Accepted)
        return;
    Paramet->TakeSettings(CommSettings);
    Paramet->TakePortDevices(PortDevices);
    UpdateTransferLogAction();
    std::string why;
    if (SaveCommSettings(QFile::encodeName(SettingsFile).toStdString(), CommSettings, PortDevices,
                         &why) != ResultOk)
        ShowResultBox(&Window, ResultSettingsFileError, why);
}

void TPanelCommands::TranslateProgram(QTextEdit &editor, bool send, QLabel &status)
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
        if (ConfirmSend(&Window, translation.Check))
            ShowResult(Transfers().SendProgram(program, CommSettings.Port, CommSettings.Baud));
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

void TPanelCommands::ShowResult(const TTransferResult &result)
{
    UpdateTransferLogAction();
    TTransferResult shown = result;
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
    std::uint8_t message[NumericMessageLength + 1] = {}; // and its zero byte
    if (Vstup && AskNumericMessage(&Window, *Vstup, message))
        ShowResult(Transfers().SendNumeric(message, CommSettings.Port, CommSettings.Baud));
}

void TPanelCommands::UpdateTransferLogAction()
{
    if (TransferLogAction)
        TransferLogAction->setEnabled(TransferLogAvailable(CommSettings));
}

void TPanelCommands::TransferLog()
{
    UpdateTransferLogAction();
    if (TransferLogAvailable(CommSettings))
        ShowTransferLog(&Window, CommSettings);
}

} // namespace zor
