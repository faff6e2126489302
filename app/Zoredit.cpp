#include "app/Zoredit.h"

#include "app/ActionTable.h"
#include "app/Actions.h"
#include "app/BarWidgets.h"
#include "app/EditorSettings.h"
#include "app/FileDrops.h"
#include "app/FontCheck.h"
#include "app/PanelCommands.h"
#include "app/PreviewCommands.h"
#include "app/RecentMenu.h"
#include "app/StandardActions.h"
#include "app/SymbolCommands.h"
#include "app/WindowMenu.h"
#include "app/WindowPlace.h"
#include "comm/Bargraf.h"
#include "comm/Nastav.h"
#include "comm/Numeric.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/TransferDialogs.h"
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
#include "editor/SymbolTips.h"
#include "sim/Sim.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

namespace zor {

namespace {

constexpr int ImageCount = 25; // menu and toolbar images, 16 x 16
constexpr int SymbolButtonWidth = 31;
constexpr int HintPanelWidth = 450, CaretPanelWidth = 80, ModePanelWidth = 100;

} // namespace

// ---- construction ----

TMainForm::TMainForm(const TStartupOptions &options, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zor Editor"));
    setWindowIcon(ZorAppIcon());
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);
    Binder = new TItemBinder(this);

    ClientArea = new QMdiArea(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(ClientArea);
    setAcceptDrops(true);

    for (int i = 0; i < ImageCount; ++i)
        ImageList.emplace_back(QStringLiteral(":/icons/%1.png").arg(i, 2, 10, QLatin1Char('0')));
    for (const TCommandButton &b : CommandButtons)
        ImageListSymbol.push_back(SymbolImage(b));

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

    FontDialog = DefaultPlainFont();
    FontDialogSymbol = DefaultSymbolFont();
    SharedPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);

    CreateActions();
    Comm = new TPanelCommands(*this, FindAction(QStringLiteral("ZorTransferLog")));
    CreateMenus();
    Standard = new TStandardActions(
        ActionList1, MainMenu,
        [this]() -> QTextEdit * {
            TMDIChild *w = ActiveDocument();
            return w ? w->Editor : nullptr;
        },
        [this] { return DocumentCount(); }, this);
    CreateToolBars();
    CreateStatusBar();

    CheckSymbolFont(this, options.FontFolders.isEmpty() ? DefaultSymbolFontFolders()
                                                        : options.FontFolders);
    SettingsFile = options.SettingsFile.isEmpty() ? DefaultSettingsFile() : options.SettingsFile;
    // Read once: the communication settings, the recent files and the editor's switches.
    TProfileFile profile;
    profile.Load(QFile::encodeName(SettingsFile).toStdString());
    Comm->LoadSettings(
        profile, options.StartDirectory.isEmpty() ? QDir::currentPath() : options.StartDirectory,
        SettingsFile);
    Recent->Load(SettingsFile, profile);
    RecoverySeconds = ReadRecoverySeconds(profile);
    Previews = new TPreviewCommands(*this, *Zor, Simulation, *Character, SettingsFile, profile);
    connect(Previews, &TPreviewCommands::AllCommandsToggled, this,
            &TMainForm::CharacterAllCommandsExecute);
    connect(Previews, &TPreviewCommands::ExportAnimationRequested, this,
            &TMainForm::ZorExportAnimationExecute);
    connect(Previews, &TPreviewCommands::SettingNotSaved, this,
            [this] { ShowResult(ResultSettingsFileError); });
    PlaceWindow(profile);

    FormCreate();
}

void TMainForm::PlaceWindow(const TProfileFile &profile)
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const std::optional<TWindowPlace> kept = ReadWindowPlace(profile);
    const QRect place = MainWindowPlace(kept, FirstStartSize(*this), screens, QCursor::pos());
    if (place.isEmpty())
        return;
    setGeometry(place);
    if (kept && kept->Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::KeepWindowPlace()
{
    // The size to come back to from maximised is the one worth keeping.
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (normal.isEmpty())
        return;
    // Nothing to tell at exit if it cannot be written: the next start opens at its first size.
    WriteWindowPlace(QFile::encodeName(SettingsFile).toStdString(),
                     {normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()});
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
    for (TMDIChild *child : documents) {
        disconnect(child, nullptr, this, nullptr);
        child->SetPanelText = nullptr;
    }
    delete ClientArea;
    ClientArea = nullptr;
}

TCommSettings &TMainForm::Communication()
{
    return Comm->Settings();
}

TPortDevices &TMainForm::Ports()
{
    return Comm->Devices();
}

void TMainForm::SetSerialPortFactory(std::function<std::unique_ptr<TSerialPort>()> factory)
{
    Comm->SetPortFactory(std::move(factory));
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
        Previews->ExportAnimation(*w->Editor->document(), w->FileName);
}

void TMainForm::CreateForms()
{
    abb = new Tabb(this);
    Paramet = new TParamet(this, &Manager->SaveDialog);
    Graf = new TGraf(this);
    FormSim = new TFormSim(this);
    Vstup = new TVstup(this);
    Vloz = new TVloz(this);
    Comm->SetForms(Paramet, Graf, FormSim, Vstup);
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

void TMainForm::CreateMenus()
{
    MainMenu = menuBar();
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    // Menus use the desktop's menu font, not the window's bold one.
    MainMenu->setFont(QApplication::font(MainMenu));
    for (const TMenuEntry &m : MenuTable()) {
        QMenu *menu = MainMenu->addMenu(QLatin1String(m.Caption));
        this->*m.Menu = menu;
        menu->setObjectName(QLatin1String(m.Name));
        menu->menuAction()->setObjectName(QLatin1String(m.Name));
        menu->menuAction()->setToolTip(ShortHint(QLatin1String(m.Hint)));
        menu->menuAction()->setStatusTip(LongHint(QLatin1String(m.Hint)));
        // A menu closed without a choice leaves no hint behind in the first panel.
        connect(menu, &QMenu::aboutToHide, this, [this] {
            Hint.clear();
            DisplayHint();
        });
        for (const TActionEntry &e : ActionTable())
            if (FindAction(QLatin1String(e.Name))->Category() == QLatin1String(m.Name))
                this->*e.Item = AddMenuItem(menu, e);
    }
    connect(Zor, &QMenu::aboutToShow, this, &TMainForm::UpdateTransferLogAction);
    connect(Window, &QMenu::aboutToShow, this,
            [this] { FillWindowMenu(*Window, *ClientArea, WindowListItems); });
    Recent = new TRecentMenu(File, Exit, this);
    connect(Recent, &TRecentMenu::OpenRequested, this,
            [this](const QString &name) { OpenDocuments({name}); });
}

void TMainForm::CreateToolBars()
{
    ToolBar1 = AddFixedToolBar(*this, "ToolBar1", ButtonSize);
    for (const auto &[names, gap] : ToolBarGroups()) {
        for (const char *name : names)
            for (const TActionEntry &e : ActionTable())
                if (qstrcmp(e.Name, name) == 0)
                    this->*e.Button = AddToolButton(ToolBar1, e);
        if (gap > 0)
            ToolBar1->addWidget(new TToolGap(gap, ToolBar1));
    }

    addToolBarBreak();
    ToolBar2 = AddFixedToolBar(*this, "ToolBar2", ButtonSize);
    addToolBarBreak();
    ToolBar3 = AddFixedToolBar(*this, "ToolBar3", ButtonSize);
    SymbolButtons = AddCommandButtons(*ToolBar2, *ToolBar3, ImageListSymbol,
                                      QSize(SymbolButtonWidth, ButtonSize),
                                      [this](int index) { CommandButtonClick(index); });
}

void TMainForm::CreateStatusBar()
{
    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    Panels = AddStatusPanels(*StatusBar, {HintPanelWidth, CaretPanelWidth, ModePanelWidth});
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
    Panels[0]->setText(LongHint(Hint));
}

void TMainForm::EnableDocumentCommands(bool Enabled)
{
    for (QObject *item : Binder->DocumentItems())
        SetItemEnabled(item, Enabled);
    for (QToolButton *button : SymbolButtons)
        if (CommandButtonAllowed(*button, Previews->AllCommands()))
            button->setEnabled(Enabled);
    Previews->SetDocumentsOpen(Enabled);
}

// ---- enabling of the standard actions ----

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
    child->SetPanelText = [this](int panel, const QString &text) {
        Panels[std::size_t(panel)]->setText(text);
    };
    child->PlainTextFormat = [this] { return PlainTextFormat(); };
    InstallSymbolTips(child->Editor);
    child->Editor->PasteHandler = [editor = child->Editor](const QMimeData *mime) {
        PasteAtUnitBoundary(*editor, mime);
    };
    child->Editor->viewport()->installEventFilter(Drops);
    Standard->Follow(child->Editor);
    Panels[2]->setText(QStringLiteral("Insert"));
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
    if (count == 0)
        Panels[2]->setText(QStringLiteral(" "));
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
        KeepWindowPlace();
    // Every document was saved or given up: a clean exit keeps no copy.
    if (event->isAccepted() && Recovery)
        Recovery->Finish();
}

void TMainForm::StartRecovery(const QString &folder, std::chrono::milliseconds delay)
{
    if (Recovery)
        return;
    if (delay.count() <= 0)
        delay = std::chrono::seconds(RecoverySeconds);
    Recovery = new TRecoveryCopies(*Manager, folder, delay, this);
    Recovery->OfferOrphans(this);
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
    TakeFontChoice(FontDialog, FormatAtSelection(*w->Editor));
    if (Dialogs().ExecuteFont(this, FontDialog))
        ApplyPlainFont(*w->Editor, FontDialog);
}

void TMainForm::InsertCommandSymbol(const QString &text, TCommandKind kind)
{
    if (TMDIChild *w = ActiveDocument())
        InsertCommandUnit(*w->Editor, text, kind, FontDialog, FontDialogSymbol);
}

QTextCharFormat TMainForm::PlainTextFormat() const
{
    return FontDialogFormat(FontDialog);
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
    Comm->Parameters();
}

void TMainForm::ZorSendExecute()
{
    TranslateProgram(true);
}

void TMainForm::ZorSimulationExecute()
{
    TranslateProgram(false);
}

void TMainForm::TranslateProgram(bool send)
{
    if (TMDIChild *w = ActiveDocument())
        Comm->TranslateProgram(*w->Editor, send, *Panels[0]);
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
