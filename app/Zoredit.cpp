#include "app/Zoredit.h"

#include "app/FontCheck.h"
#include "comm/Bargraf.h"
#include "comm/Frames.h"
#include "comm/LogView.h"
#include "comm/Nastav.h"
#include "comm/Numeric.h"
#include "comm/NumericMessage.h"
#include "comm/QtSerialPort.h"
#include "comm/Results.h"
#include "comm/Serial.h"
#include "comm/TransferRunner.h"
#include "commands/DocumentTranslation.h"
#include "commands/Input.h"
#include "commands/SendCheck.h"
#include "commands/Vocabulary.h"
#include "editor/About.h"
#include "editor/AppIcon.h"
#include "editor/Child.h"
#include "editor/CommandInsertion.h"
#include "editor/DocumentIO.h"
#include "editor/Help.h"
#include "editor/SymbolTips.h"
#include "sim/Preview.h"
#include "sim/Sim.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace zor {

namespace {

struct TActionEntry
{
    const char *Name;
    const char *Caption;
    const char *Hint;
    QKeyCombination Shortcut;
    int Image;
    bool Standard;
};

constexpr QKeyCombination NoKey{};

const TActionEntry ActionTable[] = {
    {"FileNew", "&New", "New|Creates a new window", Qt::CTRL | Qt::Key_N, 0, false},
    {"FileOpen", "&Open", "Open|Opens a window", Qt::CTRL | Qt::Key_O, 1, false},
    {"FileSave", "&Save", "Save|Saves the active document", Qt::CTRL | Qt::Key_S, 2, false},
    {"FileSaveAs", "S&ave As ...", "Saves as|Saves the active document with a new name", NoKey, -1,
     false},
    {"FileClose", "&Close", "Close|Clears the active document", NoKey, -1, false},
    {"FilePrint", "&Print", "Print|Prints the active document", NoKey, 3, false},
    {"FilePrinterSetup", "P&rinter setup ...",
     "Printer setup|Sets print characteristic for the active document", NoKey, -1, false},
    {"FileExit", "&Exit", "Exit|Quits ZorEdit and prompts to save the documents", NoKey, -1, false},
    {"EditCut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", Qt::CTRL | Qt::Key_X,
     16, true},
    {"EditCopy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
     Qt::CTRL | Qt::Key_C, 17, true},
    {"EditPaste", "&Paste", "Paste|Insert the Clipboard contents at the insertion point",
     Qt::CTRL | Qt::Key_V, 18, true},
    {"EditSelectAll", "Select &All", "Select all|All text selection", NoKey, -1, true},
    {"EditUndo", "&Undo", "Undo|Reverse the last operation", Qt::ALT | Qt::Key_Backspace, 19, true},
    {"WindowCascade", "&Cascade", "Cascade", NoKey, 20, true},
    {"WindowTileHorizontal", "Tile &Horizontally", "Tile horizontally", NoKey, 22, true},
    {"WindowTileVertical", "&Tile Vertically", "Tile vertically", NoKey, 23, true},
    {"CharacterFont", "&Font", "Character|Change font attributes", NoKey, 4, false},
    {"ZorParameters", "&Parameters ...", "Parameters|Change parameters communications", NoKey, -1,
     false},
    {"ZorSend", "&Send", "Send|Send to display", NoKey, 12, false},
    {"ZorTransferLog", "&Transfer log", "Transfer log|Show the log of the last transfer", NoKey, -1,
     false},
    {"ZorSimulation", "Si&mulation", "Simulation", NoKey, 13, false},
    {"ZorNumericValue", "&Numeric fields", "Numeric fields|Send to display numeric value", NoKey,
     14, false},
    {"HelpContents", "&Contents", "Help|Help table of contents", NoKey, 15, true},
    {"HelpOnHelp", "&Help on Help", "Help|Help on using online help", NoKey, -1, true},
    {"HelpAbout", "&About ...", "About|About the ZorEdit application", NoKey, -1, false},
};

constexpr int ImageCount = 25;

QString Short(const QString &hint)
{
    return QString::fromStdString(std::string(GetShortHint(hint.toStdString())));
}

QString Long(const QString &hint)
{
    return QString::fromStdString(std::string(GetLongHint(hint.toStdString())));
}

// A toolbar gap: an empty space with a faint divider, the given number of pixels wide.
class TToolGap : public QWidget
{
public:
    TToolGap(int width, QWidget *parent) : QWidget(parent) { setFixedWidth(width); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int x = width() / 2;
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(x, 4, x, height() - 5);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(x + 1, 4, x + 1, height() - 5);
    }
};

// A status-bar panel that is given its width when there is room and gives way when the window
// is narrower, clipping its text at its own edge instead of running under the next panel.
class TStatusPanel : public QLabel
{
public:
    TStatusPanel(int width, QWidget *parent) : QLabel(parent), Width(width)
    {
        setMaximumWidth(width);
    }
    QSize sizeHint() const override { return {Width, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int Width;
};

// The button image of a command symbol: the committed pictogram, or when it is missing the
// symbol's character drawn in its kind colour, so no button is ever blank.
QPixmap SymbolImage(const TCommandButton &button)
{
    QPixmap image(QStringLiteral(":/symbols/%1.png")
                      .arg(QLatin1String(button.Name.data(), qsizetype(button.Name.size()))));
    if (!image.isNull() && image.size() == QSize(24, 16))
        return image;
    image = QPixmap(24, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const std::uint32_t c = button.Colour();
    p.setPen(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    QFont font{QString::fromLatin1(SymbolFontFace)};
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignCenter, QString(QChar(button.Symbol)));
    return image;
}

} // namespace

// ---- TAction ----

TAction::TAction(const QString &name, const QString &caption, const QString &hint,
                 const QKeySequence &shortcut, int imageIndex, bool standard, QObject *parent)
    : QObject(parent), Caption(caption), Hint(hint), ShortCut(shortcut), ImageIndex(imageIndex),
      Standard(standard)
{
    setObjectName(name);
}

QString TAction::Category() const
{
    for (const char *c : {"File", "Edit", "Window", "Character", "Zor", "Help"})
        if (objectName().startsWith(QLatin1String(c)))
            return QLatin1String(c);
    return {};
}

void TAction::SetEnabled(bool enabled)
{
    if (EnabledState == enabled)
        return;
    EnabledState = enabled;
    emit EnabledChanged();
}

// ---- settings file location ----

QString DefaultSettingsFile()
{
    const QString exe = QCoreApplication::applicationFilePath();
    const QString beside = QString::fromStdString(SettingsFileFor(exe.toStdString()));
    if (QFileInfo(QFileInfo(beside).absolutePath()).isWritable())
        return beside;
    // An installed copy cannot write next to its executable: keep the settings per user.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // A new user has no such folder yet, and the settings could never be written into it.
    QDir().mkpath(dir);
    return QDir(dir).filePath(QFileInfo(beside).fileName());
}

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
    resize(640, 480);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    ClientArea = new QMdiArea(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(ClientArea);
    setAcceptDrops(true);

    for (int i = 0; i < ImageCount; ++i)
        ImageList.emplace_back(QStringLiteral(":/icons/%1.png").arg(i, 2, 10, QLatin1Char('0')));
    for (const TCommandButton &b : CommandButtons)
        ImageListSymbol.push_back(SymbolImage(b));

    OpenDialog.Filter = QStringLiteral("ZorEdit files [*.zor]|*.zor");
    OpenDialog.DefaultExt = QStringLiteral("zor");
    SaveDialog.Filter = QStringLiteral("ZorEdit files [*.zor]|*.zor");
    SaveDialog.DefaultExt = QStringLiteral("zor");

    // Arial 12 points, Central European, window-text colour, no style.
    FontDialog.Font = QFont(QStringLiteral("Arial"));
    FontDialog.Font.setPointSize(12);
    FontDialog.Color = Qt::black;
    FontDialog.Charset = 238;
    FontDialogSymbol.Font = QFont(QLatin1String(SymbolFontFace));
    FontDialogSymbol.Font.setPointSize(8);
    FontDialogSymbol.Color = Qt::black;
    FontDialogSymbol.Charset = 2;
    Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    SerialPortFactory = [] { return CreateSerialPort(); };

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();

    DocumentCount = 0;
    CommSettings.LogPath.clear();
    CheckSymbolFont(this, options.FontFolders.isEmpty() ? DefaultSymbolFontFolders()
                                                        : options.FontFolders);
    SettingsFile = options.SettingsFile.isEmpty() ? DefaultSettingsFile() : options.SettingsFile;
    LoadSettings(options.StartDirectory.isEmpty() ? QDir::currentPath() : options.StartDirectory);
    CreatePreview();

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
    if (PreviewDock) {
        disconnect(Preview, nullptr, this, nullptr);
        PreviewDock->SetDocument(nullptr);
    }
    for (TMDIChild *child : Documents()) {
        disconnect(child, nullptr, this, nullptr);
        child->SaveDocument = nullptr;
        child->SetPanelText = nullptr;
    }
    delete ClientArea;
    ClientArea = nullptr;
}

void TMainForm::LoadSettings(const QString &startDirectory)
{
    TProfileFile profile;
    profile.Load(QFile::encodeName(SettingsFile).toStdString());
    CommSettings = LoadCommSettings(profile, startDirectory.toStdString());
    PortDevices = LoadPortDevices(profile);
    RecentFiles.Load(profile);
    UpdateRecentMenu();
    UpdateTransferLogAction();
}

void TMainForm::CreatePreview()
{
    TProfileFile profile;
    profile.Load(QFile::encodeName(SettingsFile).toStdString());
    PreviewDock = new TPreviewDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, PreviewDock);
    PreviewDock->setVisible(profile.ReadBool("Editor", "Preview", false));
    Preview = PreviewDock->toggleViewAction();
    Preview->setText(QStringLiteral("Pre&view"));
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setStatusTip(QStringLiteral("Shows the panel running the active document"));
    // Both go right after Simulation, before the separator of Numeric fields.
    Zor->insertAction(Zor->actions().value(Zor->actions().indexOf(Simulation) + 1), Preview);
    connect(Preview, &QAction::toggled, this,
            [this](bool on) { SaveEditorSetting("Preview", on); });
    ExportAnimation = new QAction(QStringLiteral("E&xport animation..."), Zor);
    ExportAnimation->setObjectName(QStringLiteral("ExportAnimation"));
    ExportAnimation->setStatusTip(QStringLiteral("Writes the active document's run as a GIF"));
    ExportAnimation->setEnabled(false);
    Zor->insertAction(Zor->actions().value(Zor->actions().indexOf(Preview) + 1), ExportAnimation);
    connect(ExportAnimation, &QAction::triggered, this, &TMainForm::ZorExportAnimationExecute);
    AllCommands = Character->addAction(QStringLiteral("&All commands"));
    AllCommands->setObjectName(QStringLiteral("AllCommands"));
    AllCommands->setStatusTip(QStringLiteral("Enables the line, repeat, green and yellow buttons"));
    AllCommands->setCheckable(true);
    AllCommands->setChecked(profile.ReadBool("Editor", "AllCommands", false));
    connect(AllCommands, &QAction::toggled, this, &TMainForm::CharacterAllCommandsExecute);
    ExportDialog.InitialDir = QDir::currentPath();
    connect(ClientArea, &QMdiArea::subWindowActivated, this, &TMainForm::FollowActiveDocument);
}

void TMainForm::FollowActiveDocument()
{
    if (PreviewDock) {
        TMDIChild *w = ActiveDocument();
        PreviewDock->SetDocument(w ? w->Editor->document() : nullptr);
    }
}

void TMainForm::SaveEditorSetting(const char *key, bool on)
{
    TProfileFile profile;
    const std::string file = QFile::encodeName(SettingsFile).toStdString();
    profile.Load(file);
    profile.WriteBool("Editor", key, on);
    if (!profile.Save(file))
        ShowResult(ResultSettingsFileError);
}

void TMainForm::CharacterAllCommandsExecute(bool on)
{
    SaveEditorSetting("AllCommands", on);
    for (const std::string_view name : NeverEnabledButtons)
        if (auto *b = findChild<QToolButton *>(QLatin1String(name.data(), qsizetype(name.size()))))
            b->setEnabled(on && DocumentCount > 0);
}

void TMainForm::ZorExportAnimationExecute()
{
    if (TMDIChild *w = ActiveDocument())
        ExportAnimationCommand(this, PreviewProgram(*w->Editor->document()), ExportDialog);
}

void TMainForm::CreateForms()
{
    abb = new Tabb(this);
    Paramet = new TParamet(this, &SaveDialog);
    Graf = new TGraf(this);
    FormSim = new TFormSim(this);
    Vstup = new TVstup(this);
    Vloz = new TVloz(this);
}

void TMainForm::FormCreate()
{
    // Standard actions follow the focused editor and the clipboard; Qt has no idle event, so
    // they are refreshed on the changes that matter and on a slow timer for the rest.
    connect(qApp, &QApplication::focusChanged, this, &TMainForm::UpdateStandardActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &TMainForm::UpdateStandardActions);
    connect(ClientArea, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateStandardActions);
    connect(ClientArea, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow *sub) {
        if (auto *child = qobject_cast<TMDIChild *>(sub))
            child->EditorSelectionChange();
    });
    auto *idle = new QTimer(this);
    idle->setObjectName(QStringLiteral("IdleTimer"));
    connect(idle, &QTimer::timeout, this, &TMainForm::UpdateStandardActions);
    idle->start(200);
    UpdateStandardActions();
}

void TMainForm::FormDestroy()
{
    // The help window is done with when the application is.
    if (auto *help = findChild<THelpWindow *>(QString(), Qt::FindDirectChildrenOnly))
        help->close();
}

void TMainForm::CreateActions()
{
    for (const TActionEntry &e : ActionTable) {
        auto *action =
            new TAction(QLatin1String(e.Name), QLatin1String(e.Caption), QLatin1String(e.Hint),
                        e.Shortcut == NoKey ? QKeySequence() : QKeySequence(e.Shortcut), e.Image,
                        e.Standard, this);
        ActionList1.push_back(action);
        connect(action, &TAction::EnabledChanged, this, [this, action] {
            for (auto it = ItemAction.cbegin(); it != ItemAction.cend(); ++it)
                if (it.value() == action)
                    RefreshItem(it.key());
        });
    }
    const std::pair<const char *, void (TMainForm::*)()> handlers[] = {
        {"FileNew", &TMainForm::FileNewExecute},
        {"FileOpen", &TMainForm::FileOpenExecute},
        {"FileSave", &TMainForm::FileSaveExecute},
        {"FileSaveAs", &TMainForm::FileSaveAsExecute},
        {"FileClose", &TMainForm::FileCloseExecute},
        {"FilePrint", &TMainForm::FilePrintExecute},
        {"FilePrinterSetup", &TMainForm::FilePrinterSetupExecute},
        {"FileExit", &TMainForm::FileExitExecute},
        {"EditCut", &TMainForm::EditCutExecute},
        {"EditCopy", &TMainForm::EditCopyExecute},
        {"EditPaste", &TMainForm::EditPasteExecute},
        {"EditSelectAll", &TMainForm::EditSelectAllExecute},
        {"EditUndo", &TMainForm::EditUndoExecute},
        {"WindowCascade", &TMainForm::WindowCascadeExecute},
        {"WindowTileHorizontal", &TMainForm::WindowTileHorizontalExecute},
        {"WindowTileVertical", &TMainForm::WindowTileVerticalExecute},
        {"CharacterFont", &TMainForm::CharacterFontExecute},
        {"ZorParameters", &TMainForm::ZorParametersExecute},
        {"ZorSend", &TMainForm::ZorSendExecute},
        {"ZorTransferLog", &TMainForm::ZorTransferLogExecute},
        {"ZorSimulation", &TMainForm::ZorSimulationExecute},
        {"ZorNumericValue", &TMainForm::ZorNumericValueExecute},
        {"HelpContents", &TMainForm::HelpContentsExecute},
        {"HelpOnHelp", &TMainForm::HelpOnHelpExecute},
        {"HelpAbout", &TMainForm::HelpAboutExecute},
    };
    for (const auto &[name, handler] : handlers)
        connect(FindAction(QLatin1String(name)), &TAction::Execute, this, handler);
}

TAction *TMainForm::FindAction(const QString &name) const
{
    for (TAction *a : ActionList1)
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void TMainForm::Bind(QObject *item, TAction *action, bool enabledAtStart)
{
    ItemAction.insert(item, action);
    ItemOwnEnabled.insert(item, enabledAtStart);
    RefreshItem(item);
}

void TMainForm::RefreshItem(QObject *item)
{
    const bool enabled = ItemOwnEnabled.value(item, true) &&
                         (!ItemAction.contains(item) || ItemAction.value(item)->Enabled());
    if (auto *a = qobject_cast<QAction *>(item))
        a->setEnabled(enabled);
    else if (auto *w = qobject_cast<QWidget *>(item))
        w->setEnabled(enabled);
}

void TMainForm::SetItemEnabled(QObject *item, bool enabled)
{
    if (!item)
        return;
    ItemOwnEnabled.insert(item, enabled);
    RefreshItem(item);
}

// The items that start disabled; every other menu item and button starts enabled (standard
// actions then decide for themselves).
static bool EnabledAtStart(const char *item)
{
    static const char *const off[] = {
        "Save",         "Savesas",     "CloseEdit",        "Print",
        "PrinterSetup", "Paste",       "Selectall",        "Undo",
        "Font",         "Send",        "Simulation",       "Numericfields",
        "ButtonSave",   "ButtonPrint", "ButtonFont",       "ButtonPaste",
        "ButtonUndo",   "ButtonSend",  "ButtonSimulation", "ButtonNumeric"};
    for (const char *o : off)
        if (qstrcmp(o, item) == 0)
            return false;
    return true;
}

QAction *TMainForm::AddMenuItem(QMenu *menu, const char *name, const char *actionName)
{
    TAction *action = FindAction(QLatin1String(actionName));
    auto *item = new QAction(action->Caption, menu);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(action->ShortCut);
    item->setToolTip(Short(action->Hint));
    item->setStatusTip(Long(action->Hint));
    if (action->ImageIndex >= 0)
        item->setIcon(ImageList[std::size_t(action->ImageIndex)]);
    connect(item, &QAction::triggered, action, &TAction::Execute);
    menu->addAction(item);
    Bind(item, action, EnabledAtStart(name));
    return item;
}

QToolButton *TMainForm::AddToolButton(QToolBar *bar, const char *name, const char *actionName)
{
    TAction *action = FindAction(QLatin1String(actionName));
    auto *button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setFixedSize(27, 27);
    button->setIcon(ImageList[std::size_t(action->ImageIndex)]);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(Short(action->Hint));
    button->setStatusTip(Long(action->Hint));
    connect(button, &QToolButton::clicked, action, &TAction::Execute);
    bar->addWidget(button);
    Bind(button, action, EnabledAtStart(name));
    return button;
}

void TMainForm::AddToolGap(QToolBar *bar, int width)
{
    bar->addWidget(new TToolGap(width, bar));
}

void TMainForm::CreateMenus()
{
    MainMenu = menuBar();
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    // Menus use the desktop's menu font, not the window's bold one.
    MainMenu->setFont(QApplication::font(MainMenu));
    auto addMenu = [this](const char *caption, const char *name, const char *hint) {
        QMenu *menu = MainMenu->addMenu(QLatin1String(caption));
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        menu->menuAction()->setToolTip(Short(QLatin1String(hint)));
        menu->menuAction()->setStatusTip(Long(QLatin1String(hint)));
        // A menu closed without a choice leaves no hint behind in the first panel.
        connect(menu, &QMenu::aboutToHide, this, [this] {
            Hint.clear();
            DisplayHint();
        });
        return menu;
    };
    auto separator = [](QMenu *menu, const char *name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    File = addMenu("&File", "File", "File|Create, open, save and print documents");
    New = AddMenuItem(File, "New", "FileNew");
    Open = AddMenuItem(File, "Open", "FileOpen");
    separator(File, "N1");
    Save = AddMenuItem(File, "Save", "FileSave");
    Savesas = AddMenuItem(File, "Savesas", "FileSaveAs");
    separator(File, "N2");
    CloseEdit = AddMenuItem(File, "CloseEdit", "FileClose");
    Print = AddMenuItem(File, "Print", "FilePrint");
    PrinterSetup = AddMenuItem(File, "PrinterSetup", "FilePrinterSetup");
    separator(File, "N3");
    Exit = AddMenuItem(File, "Exit", "FileExit");

    Edit = addMenu("&Edit", "Edit", "Edit|Edit operations");
    Cut = AddMenuItem(Edit, "Cut", "EditCut");
    Copy = AddMenuItem(Edit, "Copy", "EditCopy");
    Paste = AddMenuItem(Edit, "Paste", "EditPaste");
    separator(Edit, "N4");
    Selectall = AddMenuItem(Edit, "Selectall", "EditSelectAll");
    separator(Edit, "N5");
    Undo = AddMenuItem(Edit, "Undo", "EditUndo");

    Character = addMenu("&Character", "Character", "Character|Change fonts and colors");
    Font = AddMenuItem(Character, "Font", "CharacterFont");

    Zor = addMenu("&Zor", "Zor", "Zor|Communications PC - display");
    Parameters = AddMenuItem(Zor, "Parameters", "ZorParameters");
    separator(Zor, "N6");
    Send = AddMenuItem(Zor, "Send", "ZorSend");
    TransferLog = AddMenuItem(Zor, "TransferLog", "ZorTransferLog");
    connect(Zor, &QMenu::aboutToShow, this, &TMainForm::UpdateTransferLogAction);
    separator(Zor, "N7");
    Simulation = AddMenuItem(Zor, "Simulation", "ZorSimulation");
    separator(Zor, "N8");
    Numericfields = AddMenuItem(Zor, "Numericfields", "ZorNumericValue");

    Window = addMenu("&Window", "Window", "Window");
    CascadeOkno = AddMenuItem(Window, "CascadeOkno", "WindowCascade");
    Tilehorizontally = AddMenuItem(Window, "Tilehorizontally", "WindowTileHorizontal");
    Tilevertically = AddMenuItem(Window, "Tilevertically", "WindowTileVertical");
    connect(Window, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);

    Help = addMenu("&Help", "Help", "Help");
    Contents = AddMenuItem(Help, "Contents", "HelpContents");
    Usinghelp = AddMenuItem(Help, "Usinghelp", "HelpOnHelp");
    separator(Help, "N9");
    About = AddMenuItem(Help, "About", "HelpAbout");
}

void TMainForm::CreateToolBars()
{
    auto makeBar = [this](const char *name) {
        QToolBar *bar = addToolBar(QLatin1String(name));
        bar->setObjectName(QLatin1String(name));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setFixedHeight(27);
        bar->setContentsMargins(0, 0, 0, 0);
        bar->layout()->setSpacing(0);
        bar->layout()->setContentsMargins(0, 0, 0, 0);
        return bar;
    };

    ToolBar1 = makeBar("ToolBar1");
    ButtonNew = AddToolButton(ToolBar1, "ButtonNew", "FileNew");
    ButtonOpen = AddToolButton(ToolBar1, "ButtonOpen", "FileOpen");
    ButtonSave = AddToolButton(ToolBar1, "ButtonSave", "FileSave");
    AddToolGap(ToolBar1, 27);
    ButtonPrint = AddToolButton(ToolBar1, "ButtonPrint", "FilePrint");
    ButtonFont = AddToolButton(ToolBar1, "ButtonFont", "CharacterFont");
    AddToolGap(ToolBar1, 27);
    ButtonCut = AddToolButton(ToolBar1, "ButtonCut", "EditCut");
    ButtonCopy = AddToolButton(ToolBar1, "ButtonCopy", "EditCopy");
    ButtonPaste = AddToolButton(ToolBar1, "ButtonPaste", "EditPaste");
    AddToolGap(ToolBar1, 8);
    ButtonUndo = AddToolButton(ToolBar1, "ButtonUndo", "EditUndo");
    AddToolGap(ToolBar1, 27);
    ButtonCascade = AddToolButton(ToolBar1, "ButtonCascade", "WindowCascade");
    ButtonHorizontally = AddToolButton(ToolBar1, "ButtonHorizontally", "WindowTileHorizontal");
    ButtonVertically = AddToolButton(ToolBar1, "ButtonVertically", "WindowTileVertical");
    AddToolGap(ToolBar1, 27);
    ButtonSend = AddToolButton(ToolBar1, "ButtonSend", "ZorSend");
    ButtonSimulation = AddToolButton(ToolBar1, "ButtonSimulation", "ZorSimulation");
    ButtonNumeric = AddToolButton(ToolBar1, "ButtonNumeric", "ZorNumericValue");
    AddToolGap(ToolBar1, 27);
    ButtonHelp = AddToolButton(ToolBar1, "ButtonHelp", "HelpContents");

    addToolBarBreak();
    ToolBar2 = makeBar("ToolBar2");
    addToolBarBreak();
    ToolBar3 = makeBar("ToolBar3");
    for (std::size_t i = 0; i < SymbolButtons.size(); ++i) {
        const TCommandButton &b = zor::CommandButtons[i];
        QToolBar *bar = i < ButtonsPerToolBar ? ToolBar2 : ToolBar3;
        auto *button = new QToolButton(bar);
        button->setObjectName(QLatin1String(b.Name.data(), qsizetype(b.Name.size())));
        button->setAutoRaise(true);
        button->setFixedSize(31, 27);
        button->setIcon(ImageListSymbol[i]);
        button->setIconSize(QSize(24, 16));
        const QString hint = QString::fromLatin1(b.Hint.data(), qsizetype(b.Hint.size()));
        button->setToolTip(Short(hint));
        button->setStatusTip(Long(hint));
        button->setEnabled(false);
        connect(button, &QToolButton::clicked, this, [this, i] { CommandButtonClick(int(i)); });
        bar->addWidget(button);
        SymbolButtons[i] = button;
    }
}

void TMainForm::CreateStatusBar()
{
    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    const int widths[3] = {450, 80, 100};
    for (std::size_t i = 0; i < Panels.size(); ++i) {
        // The hint panel is the one that gives way: caret and mode always show whole.
        QLabel *panel = i == 0 ? new TStatusPanel(widths[i], StatusBar) : new QLabel(StatusBar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        if (i != 0)
            panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFont(QApplication::font());
        StatusBar->addWidget(panel);
        Panels[i] = panel;
    }
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
    Panels[0]->setText(Long(Hint));
}

void TMainForm::EnableDocumentCommands(bool Enabled)
{
    for (QObject *item : std::initializer_list<QObject *>{
             Save,         Savesas,     CloseEdit,        Print,
             PrinterSetup, Paste,       Selectall,        Undo,
             Font,         Send,        Simulation,       Numericfields,
             ButtonSave,   ButtonPrint, ButtonFont,       ButtonPaste,
             ButtonUndo,   ButtonSend,  ButtonSimulation, ButtonNumeric})
        SetItemEnabled(item, Enabled);
    for (QToolButton *button : SymbolButtons) {
        const std::string name = button->objectName().toStdString();
        if ((AllCommands && AllCommands->isChecked()) ||
            std::find(NeverEnabledButtons.begin(), NeverEnabledButtons.end(), name) ==
                NeverEnabledButtons.end())
            button->setEnabled(Enabled);
    }
    if (ExportAnimation)
        ExportAnimation->setEnabled(Enabled);
}

QTextEdit *TMainForm::FocusedEditor() const
{
    QWidget *focus = QApplication::focusWidget();
    // Opening a menu from the keyboard moves the focus into the menu bar; the edit commands
    // still act on the document the operator was typing in.
    if (focus && (focus == MainMenu || qobject_cast<QMenu *>(focus)))
        if (TMDIChild *w = ActiveDocument())
            return w->Editor;
    return qobject_cast<QTextEdit *>(focus);
}

void TMainForm::UpdateStandardActions()
{
    QTextEdit *editor = FocusedEditor();
    const bool selection = editor && editor->textCursor().hasSelection();
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    FindAction(QStringLiteral("EditCut"))->SetEnabled(selection);
    FindAction(QStringLiteral("EditCopy"))->SetEnabled(selection);
    FindAction(QStringLiteral("EditPaste"))->SetEnabled(clip && clip->hasText());
    FindAction(QStringLiteral("EditSelectAll"))
        ->SetEnabled(editor && !editor->document()->isEmpty());
    FindAction(QStringLiteral("EditUndo"))
        ->SetEnabled(editor && editor->document()->isUndoAvailable());
    const bool windows = !ClientArea->subWindowList().isEmpty();
    for (const char *name : {"WindowCascade", "WindowTileHorizontal", "WindowTileVertical"})
        FindAction(QLatin1String(name))->SetEnabled(windows);
}

void TMainForm::UpdateWindowMenu()
{
    for (QAction *a : WindowListItems)
        Window->removeAction(a);
    qDeleteAll(WindowListItems);
    WindowListItems.clear();
    const QList<QMdiSubWindow *> windows = ClientArea->subWindowList();
    if (windows.isEmpty())
        return;
    WindowListItems << Window->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows[i];
        QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle());
        QAction *item = Window->addAction(text);
        item->setCheckable(true);
        item->setChecked(sub == ClientArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (sub)
                ClientArea->setActiveSubWindow(sub);
        });
        WindowListItems << item;
    }
}

void TMainForm::ShowResult(int code, const std::string &cause)
{
    const auto message = ResultMessage(code);
    if (!message)
        return;
    QString text = QString::fromStdString(ResultText(code));
    if (!cause.empty())
        text += QLatin1Char('\n') + QString::fromStdString(cause);
    if (message->Box == TResultBox::Information)
        Dialogs().MessageBox(this, QStringLiteral("Information"), text, TMsgIcon::Information,
                             TMsgButtons::Ok);
    else
        Dialogs().MessageBox(this, QStringLiteral("Error"), text, TMsgIcon::Error, TMsgButtons::Ok);
}

// ---- command handlers ----

// ---- documents ----

TMDIChild *TMainForm::ActiveDocument() const
{
    // The current window stays current while the frame itself is inactive (a dialog is up).
    QMdiSubWindow *sub = ClientArea->currentSubWindow();
    if (!sub) {
        const QList<QMdiSubWindow *> order = ClientArea->subWindowList(QMdiArea::StackingOrder);
        sub = order.isEmpty() ? nullptr : order.back();
    }
    return qobject_cast<TMDIChild *>(sub);
}

QList<TMDIChild *> TMainForm::Documents() const
{
    QList<TMDIChild *> list;
    for (QMdiSubWindow *sub : ClientArea->subWindowList())
        if (auto *child = qobject_cast<TMDIChild *>(sub))
            list << child;
    return list;
}

TMDIChild *TMainForm::CreateDocumentWindow(const QString &Name)
{
    auto *child = new TMDIChild;
    child->SaveDocument = [this](TMDIChild *w) { return SaveDocument(w); };
    child->SetPanelText = [this](int panel, const QString &text) {
        Panels[std::size_t(panel)]->setText(text);
    };
    child->PlainTextFormat = [this] { return PlainTextFormat(); };
    InstallSymbolTips(child->Editor);
    child->Editor->PasteHandler = [this, editor = child->Editor](const QMimeData *mime) {
        PasteInto(editor, mime);
    };
    ClientArea->addSubWindow(child);
    child->Editor->viewport()->installEventFilter(this);
    Panels[2]->setText(QStringLiteral("Insert"));
    connect(child, &QObject::destroyed, this, &TMainForm::DocumentClosed);
    child->setWindowTitle(NameWithoutFolder(Name));
    child->FileName = Name;
    if (QFileInfo(Name).isFile()) {
        QString error;
        if (LoadDocumentFile(Name, *child->Editor->document(), &error)) {
            child->Editor->MaxLength = 2147483632;
            RememberRecentFile(Name);
        } else
            ShowErrorBox(this, error);
    }
    // What was read is where the window starts: undoing must never take the file's text out.
    child->Editor->document()->clearUndoRedoStacks();
    EnableDocumentCommands(true);
    ++DocumentCount;
    child->Editor->document()->setModified(false);
    child->showMaximized();
    ClientArea->setActiveSubWindow(child);
    if (DocumentCount > 1)
        WindowCascadeExecute();
    return child;
}

void TMainForm::DocumentClosed()
{
    --DocumentCount;
    if (DocumentCount <= 0) {
        EnableDocumentCommands(false);
        DocumentCount = 0;
        Panels[2]->setText(QStringLiteral(" "));
    } else if (TMDIChild *active = ActiveDocument()) {
        // The next window was activated while the closing one still existed, and the closing
        // one blanked the caret panel after that: show the active window's state again.
        active->EditorSelectionChange();
    }
    UpdateStandardActions();
    FollowActiveDocument();
}

bool TMainForm::WriteDocument(TMDIChild *window, const QString &name)
{
    QString error;
    if (!SaveDocumentFile(name, *window->Editor->document(), &error)) {
        ShowErrorBox(this, error);
        return false;
    }
    window->Editor->document()->setModified(false);
    return true;
}

bool TMainForm::AskOverwrite(const QString &name)
{
    if (!QFileInfo::exists(name))
        return true;
    return Dialogs().MessageBox(this, QStringLiteral("Question"),
                                name + QStringLiteral(" exists\nOverwrite?"), TMsgIcon::Question,
                                TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

bool TMainForm::SaveDocument(TMDIChild *child)
{
    if (!child)
        return false;
    if (!child->IsUntitled())
        return WriteDocument(child, child->FileName);
    return SaveUnderNewName(child);
}

bool TMainForm::SaveUnderNewName(TMDIChild *window)
{
    SaveDialog.FileName = window->FileName;
    if (!Dialogs().ExecuteSave(this, SaveDialog))
        return false;
    const QString name = SaveDialog.FileName;
    if (!AskOverwrite(name))
        return false;
    // The window takes its new name only once the file is written: a failed write must not
    // leave a caption that sends the next Save to the old, untitled name.
    if (!WriteDocument(window, name))
        return false;
    window->setWindowTitle(NameWithoutFolder(name));
    window->FileName = name;
    RememberRecentFile(name);
    return true;
}

void TMainForm::FileNewExecute()
{
    CreateDocumentWindow(QLatin1String(UntitledName));
}

void TMainForm::FileOpenExecute()
{
    if (Dialogs().ExecuteOpen(this, OpenDialog))
        CreateDocumentWindow(OpenDialog.FileName);
}

void TMainForm::FileSaveExecute()
{
    SaveDocument(ActiveDocument());
}

void TMainForm::FileSaveAsExecute()
{
    TMDIChild *w = ActiveDocument();
    if (!w)
        return;
    SaveDialog.Title =
        QStringLiteral("Save ") + NameWithoutFolder(w->FileName) + QStringLiteral(" As...");
    SaveUnderNewName(w);
}

void TMainForm::FileCloseExecute()
{
    if (TMDIChild *w = ActiveDocument())
        w->close();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Every document is asked in turn; the first refusal keeps them all open.
    const QList<TMDIChild *> documents = Documents();
    for (TMDIChild *child : documents) {
        if (!child->FormCloseQuery()) {
            event->ignore();
            return;
        }
    }
    for (TMDIChild *child : documents)
        child->CloseAgreed = true;
    event->accept();
}
void TMainForm::FilePrintExecute()
{
    TMDIChild *w = ActiveDocument();
    if (!w || !Dialogs().ExecutePrint(this, *Printer))
        return;
    Printer->setDocName(w->FileName);
    // The page is laid out over the whole printable area: the copy has no margins of its own.
    std::unique_ptr<QTextDocument> copy(w->Editor->document()->clone());
    copy->setDocumentMargin(0);
    // The editor never wraps, but paper has an edge: a long line goes on below, not off the page.
    QTextOption wrap = copy->defaultTextOption();
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(wrap);
    copy->documentLayout()->setPaintDevice(Printer.get());
    copy->setPageSize(Printer->pageLayout().paintRectPixels(Printer->resolution()).size());
    copy->print(Printer.get());
    if (Printer->printerState() == QPrinter::Error || Printer->printerState() == QPrinter::Aborted)
        ShowErrorBox(this, QStringLiteral("Printing %1 failed.").arg(w->FileName));
}

void TMainForm::FilePrinterSetupExecute()
{
    Dialogs().ExecutePrinterSetup(this, *Printer);
}

void TMainForm::FileExitExecute()
{
    close();
}

// ---- editing ----

// Widens the active editor's selection to whole command units; the editor, or null.
static TRichEdit *WidenToUnits(TMDIChild *w)
{
    if (!w)
        return nullptr;
    const QTextCursor c = w->Editor->textCursor();
    const TSelection widened =
        WidenSelection(TDocumentUnits(*w->Editor->document()),
                       {c.selectionStart(), c.selectionEnd() - c.selectionStart()});
    SelectRange(*w->Editor, widened);
    return w->Editor;
}

void TMainForm::EditCutExecute()
{
    if (TRichEdit *editor = WidenToUnits(ActiveDocument()))
        editor->cut();
}

void TMainForm::EditCopyExecute()
{
    if (TRichEdit *editor = WidenToUnits(ActiveDocument()))
        editor->copy();
}

void TMainForm::PasteInto(TRichEdit *editor, const QMimeData *mime)
{
    if (!mime)
        return;
    // The selection stays where it is and the clipboard goes in front of it, or after the
    // digits of a unit that the caret stands in.
    const int a =
        InsertPosition(TDocumentUnits(*editor->document()), editor->textCursor().selectionStart());
    SelectRange(*editor, {a, 0});
    editor->InsertClipboardData(mime);
}

void TMainForm::EditPasteExecute()
{
    if (TMDIChild *w = ActiveDocument())
        PasteInto(w->Editor, QApplication::clipboard()->mimeData());
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

void TMainForm::TileDocuments(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow *> windows = ClientArea->subWindowList();
    if (windows.isEmpty())
        return;
    const QRect area = ClientArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *w = windows[i];
        w->showNormal();
        if (orientation == Qt::Horizontal) {
            // One above the other, each the full width.
            const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            w->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            w->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void TMainForm::WindowTileHorizontalExecute()
{
    TileDocuments(Qt::Horizontal);
}

void TMainForm::WindowTileVerticalExecute()
{
    TileDocuments(Qt::Vertical);
}

void TMainForm::CharacterFontExecute()
{
    TMDIChild *w = ActiveDocument();
    if (!w)
        return;
    TRichEdit *editor = w->Editor;
    QTextCursor c = editor->textCursor();
    QTextCharFormat current = editor->currentCharFormat();
    if (c.hasSelection()) {
        QTextCursor first(editor->document());
        first.setPosition(c.selectionStart() + 1);
        current = first.charFormat();
    }
    FontDialog.Font = current.font();
    FontDialog.Color = ColourToQColor(FormatColour(current));
    if (current.hasProperty(CharsetProperty))
        FontDialog.Charset = current.intProperty(CharsetProperty);
    if (!Dialogs().ExecuteFont(this, FontDialog))
        return;
    // Formatted text is always plain text: the chosen colour loses any symbol tag.
    FontDialog.Color = ColourToQColor(QColorToColour(FontDialog.Color) & ~SymbolTagMask);
    const QTextCharFormat format = PlainTextFormat();
    if (c.hasSelection())
        c.mergeCharFormat(format);
    editor->mergeCurrentCharFormat(format);
}
void TMainForm::ZorParametersExecute()
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
    if (SaveCommSettings(QFile::encodeName(SettingsFile).toStdString(), CommSettings,
                         PortDevices) != ResultOk)
        ShowResult(ResultSettingsFileError);
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
    TMDIChild *w = ActiveDocument();
    if (!w)
        return;
    TRichEdit *editor = w->Editor;
    editor->setEnabled(false);
    if (send)
        Panels[0]->setText(QStringLiteral("Wait moment please..."));
    const rtf::Document document = DocumentFromText(*editor->document());
    const TTranslation translation = TranslateDocument(document);
    QTextCursor end(editor->document());
    end.movePosition(QTextCursor::End);
    editor->setTextCursor(end);
    const std::string &program = translation.Program;
    if (translation.TooManySegments()) {
        ShowResult(ResultTooManySegments);
    } else if (send) {
        if (ConfirmSend(document, program))
            SendProgram(program);
    } else if (program.front() != '\x1F' && FormSim) {
        FormSim->SetProgram(&program);
        Dialogs().ExecuteForm(*FormSim);
        FormSim->SetProgram(nullptr);
    }
    editor->setEnabled(true);
    editor->setFocus();
}

bool TMainForm::ConfirmSend(const rtf::Document &document, const std::string &program)
{
    const auto ask = [this](const QString &text) {
        return Dialogs().Ask(this, QStringLiteral("Warning"), text, TMsgIcon::Warning,
                             TMsgButtons::YesNo, TMsgAnswer::No) == TMsgAnswer::Yes;
    };
    if (IsEmptyProgram(program))
        return ask(
            QStringLiteral("The document is empty. Sending it clears the panel. Send anyway?"));
    constexpr std::size_t Listed = 5;
    const TUnshowableReport unshowable = FindUnshowable(document, Listed);
    if (unshowable.Count == 0)
        return true;
    QString text = QStringLiteral("The panel cannot show these characters; they are sent as '?':");
    for (const TUnshowable &u : unshowable.First) {
        const char32_t ch = u.Character;
        text += QStringLiteral("\nline %1, column %2: %3 (U+%4)")
                    .arg(u.Line)
                    .arg(u.Column)
                    .arg(QString::fromUcs4(&ch, 1))
                    .arg(uint(ch), 4, 16, QLatin1Char('0'));
    }
    if (unshowable.Count > unshowable.First.size())
        text += QStringLiteral("\nand %1 more").arg(unshowable.Count - unshowable.First.size());
    return ask(text + QStringLiteral("\nSend anyway?"));
}

TTransferRunner &TMainForm::Transfers()
{
    if (!Runner) {
        Runner = new TTransferRunner(this);
        connect(Runner, &TTransferRunner::Finished, this, &TMainForm::ShowTransferResult);
    }
    if (Runner->ProgressWindow() != Graf)
        Runner->SetProgressWindow(Graf);
    // The port factory, the devices and the log may have changed since the last transfer.
    Runner->PortFactory = SerialPortFactory;
    Runner->Devices = PortDevices;
    Runner->Log = TTransferLog{CommSettings.LogToFile, CommSettings.LogPath};
    return *Runner;
}

void TMainForm::SendProgram(const std::string &program)
{
    Transfers().SendProgram(program, CommSettings.Port, CommSettings.Baud);
}

void TMainForm::ShowTransferResult(const TTransferResult &result)
{
    // Said while the progress window is still up; the runner hides it afterwards.
    UpdateTransferLogAction();
    if (result.Code == ResultCancelled)
        Dialogs().MessageBox(this, QStringLiteral("Information"),
                             QStringLiteral("Transfer cancelled"), TMsgIcon::Information,
                             TMsgButtons::Ok);
    else
        ShowResult(result.Code, result.PortProblem);
    ReportLogProblem(result.LogProblem);
}

void TMainForm::ReportLogProblem(const std::string &problem)
{
    if (problem.empty())
        return;
    Dialogs().MessageBox(this, QStringLiteral("Warning"),
                         QStringLiteral("The transfer log was not written:\n%1")
                             .arg(QString::fromStdString(problem)),
                         TMsgIcon::Warning, TMsgButtons::Ok);
}

bool TMainForm::TransferLogAvailable() const
{
    return CommSettings.LogToFile ||
           QFileInfo::exists(QString::fromStdString(CommSettings.LogPath));
}

void TMainForm::UpdateTransferLogAction()
{
    if (TAction *action = FindAction(QStringLiteral("ZorTransferLog")))
        action->SetEnabled(TransferLogAvailable());
}

void TMainForm::ZorTransferLogExecute()
{
    UpdateTransferLogAction();
    if (!TransferLogAvailable())
        return;
    if (!LogView)
        LogView = new TLogView(this);
    LogView->LoadLog(QString::fromStdString(CommSettings.LogPath));
    LogView->show();
    LogView->raise();
    LogView->activateWindow();
}

void TMainForm::ZorNumericValueExecute()
{
    if (!Vstup)
        return;
    std::uint8_t message[NumericMessageLength + 1] = {}; // and its zero byte
    for (;;) {
        if (Dialogs().ExecuteForm(*Vstup) != QDialog::Accepted)
            return;
        Vstup->BuildMessage(message);
        if (message[0] != NumericInvalidMark)
            break;
        Dialogs().MessageBox(this, QStringLiteral("Error"), QStringLiteral("Only numeric value"),
                             TMsgIcon::Error, TMsgButtons::Ok);
    }
    Transfers().SendNumeric(message, CommSettings.Port, CommSettings.Baud);
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
    const TCommandButton &b = zor::CommandButtons[std::size_t(index)];
    const QString symbol(QChar(b.Symbol));
    if (!b.TakesNumber()) {
        InsertCommandSymbol(symbol, b.Kind);
        return;
    }
    if (!ActiveDocument() || !Vloz)
        return;
    Vloz->SetParameterRange(QString(b.Digits, QLatin1Char('9')), b.Maximum, b.Minimum);
    if (Dialogs().ExecuteForm(*Vloz) != QDialog::Accepted)
        return;
    // One unit, one room check: a symbol left without its digits would be another command.
    InsertCommandSymbol(symbol + Vloz->GetParameterText(), b.Kind);
}

// ---- opening from outside: command line, drops, recent files ----

void TMainForm::OpenDocuments(const QStringList &names)
{
    for (const QString &name : names) {
        const QFileInfo info(name);
        // The Open dialog may name a new file; a name from outside that is not there is a
        // mistake (a typo, a moved file), and an empty window under it would hide that.
        QFile file(name);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            const QString reason = info.exists() && !info.isFile()
                                       ? QStringLiteral("It is not a file.")
                                       : file.errorString();
            ShowErrorBox(this, QStringLiteral("Cannot open file %1. %2").arg(name, reason));
            continue;
        }
        file.close();
        CreateDocumentWindow(info.absoluteFilePath());
    }
}

void TMainForm::RememberRecentFile(const QString &name)
{
    RecentFiles.Add(QFileInfo(name).absoluteFilePath().toStdString());
    StoreRecentFiles();
}

void TMainForm::StoreRecentFiles()
{
    // The list is a convenience: a settings file that cannot be written must not interrupt
    // every open and save with a message, so a failure here is left silent.
    SaveRecentFiles(QFile::encodeName(SettingsFile).toStdString(), RecentFiles);
    UpdateRecentMenu();
}

void TMainForm::OpenRecentFile(const QString &name)
{
    if (!QFileInfo(name).isFile()) {
        Dialogs().MessageBox(this, QStringLiteral("Warning"),
                             name + QStringLiteral(" no longer exists.\n"
                                                   "It has been removed from the recent files."),
                             TMsgIcon::Warning, TMsgButtons::Ok);
        RecentFiles.Remove(name.toStdString());
        StoreRecentFiles();
        return;
    }
    OpenDocuments({name});
}

void TMainForm::UpdateRecentMenu()
{
    if (!File || !Exit)
        return;
    for (QAction *item : RecentItems)
        delete item;
    RecentItems.clear();
    delete File->findChild<QAction *>(QStringLiteral("NRecent"), Qt::FindDirectChildrenOnly);
    const std::vector<std::string> &items = RecentFiles.Items();
    if (items.empty())
        return;
    // Between the printing commands and Exit, numbered 1 to 8 for the keyboard.
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString name = QString::fromStdString(items[i]);
        QString shown = name;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), File);
        item->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        item->setStatusTip(QStringLiteral("Opens ") + name);
        connect(item, &QAction::triggered, this, [this, name] { OpenRecentFile(name); });
        File->insertAction(Exit, item);
        RecentItems << item;
    }
    QAction *separator = new QAction(File);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("NRecent"));
    File->insertAction(Exit, separator);
}

// The local files among dropped data; empty when the drop is not files (text, web links).
static QStringList DroppedFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opening may show a message box; let the drag finish first.
    QTimer::singleShot(0, this, [this, files] { OpenDocuments(files); });
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (DroppedFiles(drag->mimeData()).isEmpty())
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = DroppedFiles(drop->mimeData());
        if (files.isEmpty())
            break;
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, files] { OpenDocuments(files); });
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zor
