#include "app/PreviewCommands.h"

#include "app/EditorSettings.h"
#include "comm/Results.h"
#include "comm/forms/TransferDialogs.h"
#include "commands/DocumentTranslation.h"
#include "editor/Child.h"
#include "sim/ExportDialog.h"
#include "sim/Preview.h"
#include "ui/DocumentConversion.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>

namespace zor {

TPreviewCommands::TPreviewCommands(QMainWindow &window, TSwitches switches,
                                   const QString &settingsFile, const TProfileFile &profile)
    : QObject(&window), Window(&window), SettingsFile(settingsFile), Switches(switches)
{
    Dock = new TPreviewDock(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, Dock);
    const bool shown = ReadEditorSetting(profile, "Preview");
    Dock->setVisible(shown);
    Switches.Preview->setChecked(shown);
    // The Simulation command's words, so that both say the same.
    Dock->SetTooManySegmentsText(ResultMessageText(ResultTooManySegments));
    // The dock's own close button unchecks Preview; Preview shows and closes the dock as the
    // dock's own view action would.
    connect(Dock->toggleViewAction(), &QAction::toggled, Switches.Preview, &QAction::setChecked);
    connect(Switches.Preview, &QAction::toggled, Dock, [this](bool on) {
        if (on == Dock->isHidden()) {
            if (on)
                Dock->show();
            else
                Dock->close();
        }
    });
    // The dock also goes out of sight when the editor is closed: only a change made while the
    // window is shown is the operator's choice.
    connect(Switches.Preview, &QAction::toggled, this, [this](bool on) {
        if (Window->isVisible())
            Save("Preview", on);
    });

    Switches.AllCommands->setChecked(ReadEditorSetting(profile, "AllCommands"));
    connect(Switches.AllCommands, &QAction::toggled, this,
            [this](bool on) { Save("AllCommands", on); });
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

QString TPreviewCommands::ExportAnimation(const QTextDocument &document, const QString &fileName)
{
    const TPreviewProgram run = TranslateForPreview(document);
    if (run.TooManySegments) {
        ShowResultBox(Window, ResultTooManySegments);
        return {};
    }
    if (!ConfirmSymbolFontText(Window, FindSymbolFontText(DocumentFromText(document)),
                               tr("Export anyway?")))
        return {};
    // A new document's GIF is named as the document is called in the interface's language.
    const QString named = fileName == QLatin1String(UntitledName) ? UntitledCaption(1) : fileName;
    const QString written = ExportAnimationCommand(Window, run.Program, named, ExportDialog);
    return written.isEmpty() ? QString() : tr("Animation written to %1").arg(written);
}

void TPreviewCommands::Detach()
{
    disconnect(Switches.Preview, nullptr, this, nullptr);
    Dock->SetSource(nullptr);
    Dock->SetFocusTarget(nullptr);
}

} // namespace zor
