#include "app/PreviewCommands.h"

#include "app/EditorSettings.h"
#include "comm/Results.h"
#include "comm/TransferDialogs.h"
#include "commands/DocumentTranslation.h"
#include "sim/Preview.h"
#include "ui/DocumentConversion.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>

namespace zor {

TPreviewCommands::TPreviewCommands(QMainWindow &window, QMenu &zorMenu, QAction *simulation,
                                   QMenu &character, const QString &settingsFile,
                                   const TProfileFile &profile)
    : QObject(&window), Window(&window), SettingsFile(settingsFile)
{
    Dock = new TPreviewDock(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, Dock);
    Dock->setVisible(ReadEditorSetting(profile, "Preview"));
    // The Simulation command's words, so that both say the same.
    Dock->SetTooManySegmentsText(QString::fromStdString(ResultText(ResultTooManySegments)));
    Preview = Dock->toggleViewAction();
    Preview->setText(QStringLiteral("Pre&view"));
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setStatusTip(QStringLiteral("Shows the panel running the active document"));
    // Both go right after Simulation, before the separator of Numeric fields.
    zorMenu.insertAction(zorMenu.actions().value(zorMenu.actions().indexOf(simulation) + 1),
                         Preview);
    // The dock also goes out of sight when the editor is closed: only a change made while the
    // window is shown is the operator's choice.
    connect(Preview, &QAction::toggled, this, [this](bool on) {
        if (Window->isVisible())
            Save("Preview", on);
    });

    ExportItem = new QAction(QStringLiteral("E&xport animation..."), &zorMenu);
    ExportItem->setObjectName(QStringLiteral("ExportAnimation"));
    ExportItem->setStatusTip(QStringLiteral("Writes the active document's run as a GIF"));
    ExportItem->setEnabled(false);
    zorMenu.insertAction(zorMenu.actions().value(zorMenu.actions().indexOf(Preview) + 1),
                         ExportItem);
    connect(ExportItem, &QAction::triggered, this, &TPreviewCommands::ExportAnimationRequested);

    AllCommandsItem = character.addAction(QStringLiteral("&All commands"));
    AllCommandsItem->setObjectName(QStringLiteral("AllCommands"));
    AllCommandsItem->setStatusTip(
        QStringLiteral("Enables the line, repeat, green and yellow buttons"));
    AllCommandsItem->setCheckable(true);
    AllCommandsItem->setChecked(ReadEditorSetting(profile, "AllCommands"));
    connect(AllCommandsItem, &QAction::toggled, this, [this](bool on) {
        Save("AllCommands", on);
        emit AllCommandsToggled(on);
    });
    ExportDialog.InitialDir = QDir::currentPath();
}

void TPreviewCommands::Save(const char *key, bool on)
{
    if (!WriteEditorSetting(QFile::encodeName(SettingsFile).toStdString(), key, on))
        emit SettingNotSaved();
}

void TPreviewCommands::FollowDocument(QTextDocument *document, QWidget *editor)
{
    Dock->SetSource(TDocumentProgram::ProgramOf(document));
    Dock->SetFocusTarget(editor);
}

void TPreviewCommands::SetDocumentsOpen(bool open)
{
    ExportItem->setEnabled(open);
}

bool TPreviewCommands::AllCommands() const
{
    return AllCommandsItem->isChecked();
}

void TPreviewCommands::ExportAnimation(const QTextDocument &document, const QString &fileName)
{
    const TPreviewProgram run = TranslateForPreview(document);
    if (run.TooManySegments)
        ShowResultBox(Window, ResultTooManySegments);
    else if (ConfirmSymbolFontText(Window, FindSymbolFontText(DocumentFromText(document)),
                                   QStringLiteral("Export")))
        ExportAnimationCommand(Window, run.Program, fileName, ExportDialog);
}

void TPreviewCommands::Detach()
{
    disconnect(Preview, nullptr, this, nullptr);
    Dock->SetSource(nullptr);
    Dock->SetFocusTarget(nullptr);
}

} // namespace zor
