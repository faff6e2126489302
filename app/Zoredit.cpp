#include "app/Zoredit.h"

#include "app/ActionTable.h"
#include "app/BarWidgets.h"
#include "app/CommSetup.h"
#include "app/EditorSettings.h"
#include "app/FileDrops.h"
#include "app/FontCheck.h"
#include "app/PreviewCommands.h"
#include "app/RecentMenu.h"
#include "app/StandardActions.h"
#include "app/SymbolCommands.h"
#include "app/TransferCommands.h"
#include "app/WindowMenu.h"
#include "app/WindowPlace.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/TransferDialogs.h"
#include "commands/Input.h"
#include "editor/About.h"
#include "editor/AppIcon.h"
#include "editor/Child.h"
#include "editor/CommandInsertion.h"
#include "editor/DocumentManager.h"
#include "editor/EditCommands.h"
#include "editor/Help.h"
#include "editor/Printing.h"
#include "editor/RecoveryCopies.h"
#include "sim/Sim.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPrinter>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextDocument>
#include <QToolButton>

namespace zor {

// ---- construction ----

TMainForm::TMainForm(const TStartupOptions &options, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(tr("Zor Editor"));
    setWindowIcon(ZorAppIcon());
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);

    ClientArea = new QMdiArea(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(ClientArea);
    setAcceptDrops(true);

    Manager = new TDocumentManager(ClientArea, this);
    connect(Manager, &TDocumentManager::DocumentCreated, this, &TMainForm::DocumentCreated);
    connect(Manager, &TDocumentManager::CountChanged, this, &TMainForm::DocumentCountChanged);
    connect(Manager, &TDocumentManager::DocumentClosed, this, &TMainForm::DocumentClosed);
    connect(Manager, &TDocumentManager::FileUsed, this,
            [this](const QString &name) { Recent->Remember(name); });
    connect(Manager, &TDocumentManager::DocumentActivated, this, &TMainForm::DocumentActivated);
    Drops = new TFileDrops(this);
    connect(Drops, &TFileDrops::FilesDropped, this, &TMainForm::OpenDocuments);
    installEventFilter(Drops);

    FontDialogSymbol = DefaultSymbolFont();
    SharedPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);

    CreateActions();
    Setup = new TCommSetup(*this);
    Comm = new TTransferCommands(*this, *Setup, TransferLog);
    CreateMenus();
    Standard = new TStandardActions(
        TStandardActions::TEditActions{Cut, Copy, Paste, Selectall, Undo, Redo}, MainMenu,
        [this]() -> QTextEdit * {
            TMDIChild *w = ActiveDocument();
            return w ? w->Editor : nullptr;
        },
        this);
    CreateToolBars();
    CreateStatusBar();

    CheckSymbolFont(this, options.FontFolders.isEmpty() ? DefaultSymbolFontFolders()
                                                        : options.FontFolders);
    SettingsFile = options.SettingsFile.isEmpty() ? DefaultSettingsFile() : options.SettingsFile;
    // Read once: the communication settings, the recent files and the editor's switches.
    TProfileFile profile;
    profile.Load(QFile::encodeName(SettingsFile).toStdString());
    Setup->LoadSettings(
        profile, options.StartDirectory.isEmpty() ? QDir::currentPath() : options.StartDirectory,
        SettingsFile);
    Comm->UpdateTransferLogAction();
    Recent->Load(SettingsFile, profile);
    RecoverySeconds = ReadRecoverySeconds(profile);
    Previews = new TPreviewCommands(*this, {Preview, AllCommands}, SettingsFile, profile);
    connect(Previews, &TPreviewCommands::SettingNotSaved, this,
            [this] { ShowResult(ResultSettingsFileError); });
    PlaceMainWindow(*this, profile);

    FormCreate();
}

TMainForm::~TMainForm()
{
    FormDestroy();
    // The base destructors still delete children and emit signals; none may reach this
    // half-destroyed window.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    disconnect(ClientArea, nullptr, this, nullptr);
    Previews->Detach();
    const QList<TMDIChild *> documents = Documents();
    disconnect(Manager, nullptr, this, nullptr);
    // The editors' signals stop here: the rules ask the manager, which goes next.
    delete Standard;
    Standard = nullptr;
    delete Manager;
    for (TMDIChild *child : documents)
        disconnect(child, nullptr, this, nullptr);
    delete ClientArea;
    ClientArea = nullptr;
}

TCommSettings &TMainForm::Communication()
{
    return Setup->Settings();
}

TPortDevices &TMainForm::Ports()
{
    return Setup->Devices();
}

void TMainForm::SetSerialPortFactory(std::function<std::unique_ptr<TSerialPort>()> factory)
{
    Setup->SetPortFactory(std::move(factory));
}

void TMainForm::FollowActiveDocument()
{
    TMDIChild *w = ActiveDocument();
    Previews->FollowDocument(w ? w->Editor->document() : nullptr, w ? w->Editor : nullptr);
}

void TMainForm::CharacterAllCommandsExecute(bool on)
{
    for (QToolButton *button : SymbolButtons)
        if (!CommandButtonAllowed(*button, false))
            button->setEnabled(on && DocumentCount() > 0);
}

void TMainForm::ZorExportAnimationExecute()
{
    if (TMDIChild *w = ActiveDocument())
        // A long export ends while the operator may be elsewhere: it says so where it stays.
        if (const QString done = Previews->ExportAnimation(*w->Editor->document(), w->FileName);
            !done.isEmpty())
            StatusPanels[0]->setText(done);
}

void TMainForm::CreateForms()
{
    abb = new Tabb(this);
    Paramet = new TParamet(this, &Manager->SaveDialog);
    Graf = new TGraf(this);
    FormSim = new TFormSim(this);
    Vstup = new TVstup(this);
    Vloz = new TVloz(this);
    Setup->SetForm(Paramet);
    Comm->SetForms(Graf, FormSim, Vstup);
}

void TMainForm::FormCreate()
{
    // The standard actions follow the focused editor and the clipboard by their signals; the
    // editors' own signals are connected as each document is created.
    connect(qApp, &QApplication::focusChanged, this, &TMainForm::UpdateStandardActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { Standard->UpdatePaste(); });
    UpdateStandardActions();
}

void TMainForm::FormDestroy()
{
    // The help window is done with when the application is.
    if (auto *help = findChild<THelpWindow *>(QString(), Qt::FindDirectChildrenOnly))
        help->close();
}

bool TMainForm::event(QEvent *event)
{
    // Hints go to the first panel, never to the status bar's own message line, which would
    // cover the three panels.
    if (event->type() == QEvent::StatusTip) {
        Hint = static_cast<QStatusTipEvent *>(event)->tip();
        DisplayHint();
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::DisplayHint()
{
    StatusPanels[0]->setText(LongHint(Hint));
}

void TMainForm::EnableDocumentCommands(bool Enabled)
{
    DocumentActions->setEnabled(Enabled);
    for (QToolButton *button : SymbolButtons)
        if (CommandButtonAllowed(*button, AllCommands->isChecked()))
            button->setEnabled(Enabled);
}

void TMainForm::UpdateStandardActions()
{
    Standard->Update();
}

void TMainForm::ShowResult(int code, const std::string &cause)
{
    ShowResultBox(this, code, cause);
}

// ---- documents ----

TMDIChild *TMainForm::ActiveDocument() const
{
    return Manager->ActiveDocument();
}

QList<TMDIChild *> TMainForm::Documents() const
{
    return Manager->Documents();
}

TMDIChild *TMainForm::CreateDocumentWindow(const QString &Name)
{
    return Manager->CreateDocumentWindow(Name);
}

void TMainForm::DocumentCreated(TMDIChild *child)
{
    connect(child, &TMDIChild::CaretChanged, StatusPanels[1], &QLabel::setText);
    connect(child, &TMDIChild::ModeChanged, StatusPanels[2], &QLabel::setText);
    child->Editor->viewport()->installEventFilter(Drops);
    Standard->Follow(child->Editor);
    // A new window types in insert mode; in the words the window itself uses for its mode.
    StatusPanels[2]->setText(QCoreApplication::translate("zor::TMDIChild", "Insert"));
}

void TMainForm::DocumentActivated(TMDIChild *child)
{
    if (child)
        child->EditorSelectionChange();
    UpdateStandardActions();
    FollowActiveDocument();
}

int TMainForm::DocumentCount() const
{
    return Manager->Count();
}

void TMainForm::DocumentCountChanged(int count)
{
    EnableDocumentCommands(count > 0);
    WindowActions->setEnabled(count > 0);
    if (count == 0)
        StatusPanels[2]->setText(QStringLiteral(" "));
    UpdateStandardActions();
}

void TMainForm::DocumentClosed()
{
    // The next window was activated while the closing one still existed, and the closing one
    // blanked the caret panel after that: show the active window's state again.
    if (Manager->Count() > 0)
        if (TMDIChild *active = ActiveDocument())
            active->EditorSelectionChange();
    FollowActiveDocument();
}

void TMainForm::FileNewExecute()
{
    Manager->New();
}

void TMainForm::FileOpenExecute()
{
    Manager->Open();
}

void TMainForm::FileSaveExecute()
{
    Manager->Save(ActiveDocument());
}

void TMainForm::FileSaveAsExecute()
{
    Manager->SaveAs(ActiveDocument());
}

void TMainForm::FileCloseExecute()
{
    if (TMDIChild *w = ActiveDocument())
        w->close();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Every document is asked in turn; the first refusal keeps them all open.
    event->setAccepted(Manager->QueryCloseAll());
    if (event->isAccepted() && isVisible())
        KeepMainWindowPlace(*this, SettingsFile);
    // Every document was saved or given up: a clean exit keeps no copy.
    if (event->isAccepted() && Recovery)
        Recovery->Finish();
}

void TMainForm::StartRecovery(const QStringList &folders, std::chrono::milliseconds delay)
{
    if (Recovery)
        return;
    if (delay.count() <= 0)
        delay = std::chrono::seconds(RecoverySeconds);
    // Stays in view while unsaved work has no copy, unlike hints that the next one replaces.
    auto *warning = new QLabel(this);
    warning->setObjectName(QStringLiteral("RecoveryWarning"));
    warning->hide();
    statusBar()->addPermanentWidget(warning);
    auto show = [warning](const QString &text) {
        warning->setText(text);
        warning->setVisible(!text.isEmpty());
    };
    Recovery = new TRecoveryCopies(*Manager, folders, delay, this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TMainForm::WriteRecoveryCopies);
    show(Recovery->Warning());
    connect(Recovery, &TRecoveryCopies::WarningChanged, warning, show);
    // A copy kept beside its document is found from the recent files: every document opened
    // or saved is put there, and the list is written to the settings file at once.
    Recovery->OfferOrphans(this, Recent->Names());
}

void TMainForm::WriteRecoveryCopies()
{
    if (Recovery)
        Recovery->WriteAll();
}

void TMainForm::FilePrintExecute()
{
    if (TMDIChild *w = ActiveDocument())
        PrintCommand(this, *SharedPrinter, *w->Editor->document(), w->FileName);
}

void TMainForm::FilePrinterSetupExecute()
{
    Dialogs().ExecutePrinterSetup(this, *SharedPrinter);
}

void TMainForm::FileExitExecute()
{
    close();
}

// ---- editing ----

void TMainForm::EditCutExecute()
{
    if (TMDIChild *w = ActiveDocument())
        CutUnits(*w->Editor);
}

void TMainForm::EditCopyExecute()
{
    if (TMDIChild *w = ActiveDocument())
        CopyUnits(*w->Editor);
}

void TMainForm::EditPasteExecute()
{
    if (TMDIChild *w = ActiveDocument())
        PasteAtUnitBoundary(*w->Editor, QApplication::clipboard()->mimeData());
}

void TMainForm::EditSelectAllExecute()
{
    if (TMDIChild *w = ActiveDocument())
        w->Editor->selectAll();
}

void TMainForm::EditUndoExecute()
{
    if (TMDIChild *w = ActiveDocument())
        w->Editor->undo();
}

void TMainForm::EditRedoExecute()
{
    if (TMDIChild *w = ActiveDocument())
        w->Editor->redo();
}

void TMainForm::WindowCascadeExecute()
{
    ClientArea->cascadeSubWindows();
}

void TMainForm::WindowTileHorizontalExecute()
{
    TileSubWindows(*ClientArea, Qt::Horizontal);
}

void TMainForm::WindowTileVerticalExecute()
{
    TileSubWindows(*ClientArea, Qt::Vertical);
}

void TMainForm::CharacterFontExecute()
{
    TMDIChild *w = ActiveDocument();
    if (!w)
        return;
    TFontDialogState &font = Manager->FontDialog;
    TakeFontChoice(font, FormatAtSelection(*w->Editor));
    if (Dialogs().ExecuteFont(this, font))
        ApplyPlainFont(*w->Editor, font);
}

void TMainForm::InsertCommandSymbol(const QString &text, TCommandKind kind)
{
    if (TMDIChild *w = ActiveDocument())
        InsertCommandUnit(*w->Editor, text, kind, Manager->FontDialog, FontDialogSymbol);
}

void TMainForm::CommandButtonClick(int index)
{
    const TCommandButton &b = CommandButtons[std::size_t(index)];
    if (!ActiveDocument())
        return;
    if (const QString unit = CommandUnit(b, Vloz); !unit.isEmpty())
        InsertCommandSymbol(unit, b.Kind);
}

// ---- the panel ----

void TMainForm::ZorParametersExecute()
{
    Setup->Parameters();
}

void TMainForm::ZorSendExecute()
{
    TranslateProgram(true);
}

void TMainForm::ZorSendToPanelsExecute()
{
    if (TMDIChild *w = ActiveDocument()) {
        const auto restoreHint = qScopeGuard([this] { DisplayHint(); });
        Comm->SendToPanels(*w->Editor, *StatusPanels[0]);
    }
}

void TMainForm::ZorSimulationExecute()
{
    TranslateProgram(false);
}

void TMainForm::TranslateProgram(bool send)
{
    if (TMDIChild *w = ActiveDocument()) {
        // "Wait moment please..." lasts as long as the command, however it ends (a question
        // answered No, a refusal, a result window); then the panel shows the hint again.
        const auto restoreHint = qScopeGuard([this] { DisplayHint(); });
        Comm->TranslateProgram(*w->Editor, send, *StatusPanels[0]);
    }
}

void TMainForm::UpdateTransferLogAction()
{
    Comm->UpdateTransferLogAction();
}

void TMainForm::ZorTransferLogExecute()
{
    Comm->TransferLog();
}

void TMainForm::ZorNumericValueExecute()
{
    Comm->NumericFields();
}

void TMainForm::HelpContentsExecute()
{
    THelpWindow::ForOwner(this)->ShowContents();
}

void TMainForm::HelpOnHelpExecute()
{
    THelpWindow::ForOwner(this)->ShowPage(QLatin1String(THelpWindow::HelpOnHelpPage));
}

void TMainForm::HelpAboutExecute()
{
    if (abb)
        abb->exec();
}

// ---- opening from outside: command line, drops, recent files ----

void TMainForm::OpenDocuments(const QStringList &names)
{
    for (const QString &name : names)
        if (CheckOpenable(this, name))
            CreateDocumentWindow(QFileInfo(name).absoluteFilePath());
}

const QList<QAction *> &TMainForm::RecentItems() const
{
    return Recent->Items();
}

} // namespace zor
