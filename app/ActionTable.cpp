// The main window's commands, each once: the actions, the menus and the toolbar are built from
// this table, and the enabling groups come from it.
#include "app/ActionTable.h"

#include "app/BarWidgets.h"
#include "app/RecentMenu.h"
#include "app/WindowMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace zor {

namespace {
constexpr QKeyCombination NoKey{};
using R = TActionRule;
constexpr int ImageCount = 25; // menu and toolbar images, 16 x 16
constexpr int SymbolButtonWidth = 31;
constexpr int HintPanelWidth = 450, CaretPanelWidth = 80, ModePanelWidth = 100;

bool NeedsDocument(TActionRule rule)
{
    return rule == R::Document || rule == R::Clipboard || rule == R::Contents || rule == R::Undo ||
           rule == R::Redo;
}
} // namespace

const std::vector<TMainForm::TActionEntry> &TMainForm::ActionTable()
{
    using M = TMainForm;
    // Within a menu, items come in table order.
    static const std::vector<TActionEntry> table = {
        {&M::New, "New", &M::File, nullptr, "&New", "New|Creates a new window",
         Qt::CTRL | Qt::Key_N, 0, R::Always, &M::FileNewExecute, nullptr, false, "ButtonNew"},
        {&M::Open, "Open", &M::File, nullptr, "&Open", "Open|Opens a window", Qt::CTRL | Qt::Key_O,
         1, R::Always, &M::FileOpenExecute, nullptr, false, "ButtonOpen"},
        {&M::Save, "Save", &M::File, "N1", "&Save", "Save|Saves the active document",
         Qt::CTRL | Qt::Key_S, 2, R::Document, &M::FileSaveExecute, nullptr, false, "ButtonSave"},
        {&M::Savesas, "Savesas", &M::File, nullptr, "S&ave As ...",
         "Saves as|Saves the active document with a new name", NoKey, -1, R::Document,
         &M::FileSaveAsExecute},
        {&M::CloseEdit, "CloseEdit", &M::File, "N2", "&Close", "Close|Clears the active document",
         NoKey, -1, R::Document, &M::FileCloseExecute},
        {&M::Print, "Print", &M::File, nullptr, "&Print", "Print|Prints the active document", NoKey,
         3, R::Document, &M::FilePrintExecute, nullptr, false, "ButtonPrint"},
        {&M::PrinterSetup, "PrinterSetup", &M::File, nullptr, "P&rinter setup ...",
         "Printer setup|Sets print characteristic for the active document", NoKey, -1, R::Document,
         &M::FilePrinterSetupExecute},
        {&M::Exit, "Exit", &M::File, "N3", "&Exit",
         "Exit|Quits ZorEdit and prompts to save the documents", NoKey, -1, R::Always,
         &M::FileExitExecute},
        {&M::Cut, "Cut", &M::Edit, nullptr, "Cu&t",
         "Cut|Cuts the selection and puts it on the Clipboard", Qt::CTRL | Qt::Key_X, 16,
         R::Selection, &M::EditCutExecute, nullptr, false, "ButtonCut"},
        {&M::Copy, "Copy", &M::Edit, nullptr, "&Copy",
         "Copy|Copies the selection and puts it on the Clipboard", Qt::CTRL | Qt::Key_C, 17,
         R::Selection, &M::EditCopyExecute, nullptr, false, "ButtonCopy"},
        {&M::Paste, "Paste", &M::Edit, nullptr, "&Paste",
         "Paste|Insert the Clipboard contents at the insertion point", Qt::CTRL | Qt::Key_V, 18,
         R::Clipboard, &M::EditPasteExecute, nullptr, false, "ButtonPaste"},
        {&M::Selectall, "Selectall", &M::Edit, "N4", "Select &All", "Select all|All text selection",
         NoKey, -1, R::Contents, &M::EditSelectAllExecute},
        {&M::Undo, "Undo", &M::Edit, "N5", "&Undo", "Undo|Reverse the last operation",
         Qt::ALT | Qt::Key_Backspace, 19, R::Undo, &M::EditUndoExecute, nullptr, false,
         "ButtonUndo"},
        {&M::Redo, "Redo", &M::Edit, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Redo"),
         QT_TRANSLATE_NOOP("TMainForm", "Redo|Repeat the last operation undone"),
         Qt::CTRL | Qt::Key_Y, -1, R::Redo, &M::EditRedoExecute},
        {&M::CascadeOkno, "CascadeOkno", &M::Window, nullptr, "&Cascade", "Cascade", NoKey, 20,
         R::Windows, &M::WindowCascadeExecute, nullptr, false, "ButtonCascade"},
        {&M::Tilehorizontally, "Tilehorizontally", &M::Window, nullptr, "Tile &Horizontally",
         "Tile horizontally", NoKey, 22, R::Windows, &M::WindowTileHorizontalExecute, nullptr,
         false, "ButtonHorizontally"},
        {&M::Tilevertically, "Tilevertically", &M::Window, nullptr, "&Tile Vertically",
         "Tile vertically", NoKey, 23, R::Windows, &M::WindowTileVerticalExecute, nullptr, false,
         "ButtonVertically"},
        {&M::Font, "Font", &M::Character, nullptr, "&Font", "Character|Change font attributes",
         NoKey, 4, R::Document, &M::CharacterFontExecute, nullptr, false, "ButtonFont"},
        {&M::AllCommands, "AllCommands", &M::Character, nullptr, "&All commands",
         "All commands|Enables the line, repeat, green and yellow buttons", NoKey, -1, R::Always,
         nullptr, &M::CharacterAllCommandsExecute, true},
        {&M::Parameters, "Parameters", &M::Zor, nullptr, "&Parameters ...",
         "Parameters|Change parameters communications", NoKey, -1, R::Always,
         &M::ZorParametersExecute},
        {&M::Send, "Send", &M::Zor, "N6", "&Send", "Send|Send to display", NoKey, 12, R::Document,
         &M::ZorSendExecute, nullptr, false, "ButtonSend"},
        {&M::SendPanels, "SendPanels", &M::Zor, nullptr, "Send to p&anels...",
         "Send to panels|Send to several named panels at once", NoKey, -1, R::Document,
         &M::ZorSendToPanelsExecute},
        {&M::TransferLog, "TransferLog", &M::Zor, nullptr, "&Transfer log",
         "Transfer log|Show the log of the last transfer", NoKey, -1, R::Always,
         &M::ZorTransferLogExecute},
        {&M::Simulation, "Simulation", &M::Zor, "N7", "Si&mulation", "Simulation", NoKey, 13,
         R::Document, &M::ZorSimulationExecute, nullptr, false, "ButtonSimulation"},
        {&M::Preview, "Preview", &M::Zor, nullptr, "Pre&view",
         "Preview|Shows the panel running the active document", NoKey, -1, R::Always, nullptr,
         nullptr, true},
        {&M::ExportAnimation, "ExportAnimation", &M::Zor, nullptr, "E&xport animation...",
         "Export animation|Writes the active document's run as a GIF", NoKey, -1, R::Document,
         &M::ZorExportAnimationExecute},
        {&M::Numericfields, "Numericfields", &M::Zor, "N8", "&Numeric fields",
         "Numeric fields|Send to display numeric value", NoKey, 14, R::Document,
         &M::ZorNumericValueExecute, nullptr, false, "ButtonNumeric"},
        {&M::Contents, "Contents", &M::Help, nullptr, "&Contents", "Help|Help table of contents",
         NoKey, 15, R::Always, &M::HelpContentsExecute, nullptr, false, "ButtonHelp"},
        {&M::Usinghelp, "Usinghelp", &M::Help, nullptr, "&Help on Help",
         "Help|Help on using online help", NoKey, -1, R::Always, &M::HelpOnHelpExecute},
        {&M::About, "About", &M::Help, "N9", "&About ...", "About|About the ZorEdit application",
         NoKey, -1, R::Always, &M::HelpAboutExecute},
    };
    return table;
}

const std::vector<TMainForm::TMenuEntry> &TMainForm::MenuTable()
{
    using M = TMainForm;
    static const std::vector<TMenuEntry> menus = {
        {&M::File, "&File", "File", "File|Create, open, save and print documents"},
        {&M::Edit, "&Edit", "Edit", "Edit|Edit operations"},
        {&M::Character, "&Character", "Character", "Character|Change fonts and colors"},
        {&M::Zor, "&Zor", "Zor", "Zor|Communications PC - display"},
        {&M::Window, "&Window", "Window", "Window"},
        {&M::Help, "&Help", "Help", "Help"},
    };
    return menus;
}

const std::vector<TMainForm::TToolGroup> &TMainForm::ToolBarGroups()
{
    using M = TMainForm;
    static const std::vector<TToolGroup> groups = {
        {{&M::New, &M::Open, &M::Save}, ButtonSize},
        {{&M::Print, &M::Font}, ButtonSize},
        {{&M::Cut, &M::Copy, &M::Paste}, 8},
        {{&M::Undo}, ButtonSize},
        {{&M::CascadeOkno, &M::Tilehorizontally, &M::Tilevertically}, ButtonSize},
        {{&M::Send, &M::Simulation, &M::Numericfields}, ButtonSize},
        {{&M::Contents}, 0},
    };
    return groups;
}

void TMainForm::CreateActions()
{
    for (int i = 0; i < ImageCount; ++i)
        ImageList.emplace_back(QStringLiteral(":/icons/%1.png").arg(i, 2, 10, QLatin1Char('0')));
    DocumentActions = new QActionGroup(this);
    WindowActions = new QActionGroup(this);
    for (QActionGroup *group : {DocumentActions, WindowActions})
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const TActionEntry &e : ActionTable()) {
        auto *action = new QAction(QLatin1String(e.Caption), this);
        action->setObjectName(QLatin1String(e.Name));
        if (e.Shortcut != NoKey)
            action->setShortcut(QKeySequence(e.Shortcut));
        action->setToolTip(ShortHint(QLatin1String(e.Hint)));
        action->setStatusTip(LongHint(QLatin1String(e.Hint)));
        if (e.Image >= 0)
            action->setIcon(ImageList[std::size_t(e.Image)]);
        action->setCheckable(e.Checkable);
        if (e.Switched)
            connect(action, &QAction::toggled, this, e.Switched);
        if (e.Handler)
            connect(action, &QAction::triggered, this, e.Handler);
        if (NeedsDocument(e.Rule))
            DocumentActions->addAction(action);
        else if (e.Rule == R::Windows)
            WindowActions->addAction(action);
        this->*e.Action = action;
    }
    // Both usual keys for Redo, and the usual key for the help.
    Redo->setText(tr("&Redo"));
    Redo->setToolTip(ShortHint(tr("Redo|Repeat the last operation undone")));
    Redo->setStatusTip(LongHint(tr("Redo|Repeat the last operation undone")));
    Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Contents->setShortcut(QKeySequence(Qt::Key_F1));
    // Nothing to work on until the first document window opens.
    DocumentActions->setEnabled(false);
    WindowActions->setEnabled(false);
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
        for (const TActionEntry &e : ActionTable()) {
            if (e.Menu != m.Menu)
                continue;
            if (e.SeparatorBefore)
                menu->addSeparator()->setObjectName(QLatin1String(e.SeparatorBefore));
            menu->addAction(this->*e.Action);
        }
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
    ToolBar1->setIconSize(QSize(16, 16));
    for (const auto &[group, gap] : ToolBarGroups()) {
        for (QAction *TMainForm::*member : group)
            for (const TActionEntry &e : ActionTable())
                if (e.Action == member)
                    AddActionButton(*ToolBar1, this->*member, e.ButtonName,
                                    QSize(ButtonSize, ButtonSize));
        if (gap > 0)
            ToolBar1->addWidget(new TToolGap(gap, ToolBar1));
    }

    addToolBarBreak();
    ToolBar2 = AddFixedToolBar(*this, "ToolBar2", ButtonSize);
    addToolBarBreak();
    ToolBar3 = AddFixedToolBar(*this, "ToolBar3", ButtonSize);
    for (const TCommandButton &b : CommandButtons)
        ImageListSymbol.push_back(SymbolImage(b));
    SymbolButtons = AddCommandButtons(*ToolBar2, *ToolBar3, ImageListSymbol,
                                      QSize(SymbolButtonWidth, ButtonSize),
                                      [this](int index) { CommandButtonClick(index); });
}

void TMainForm::CreateStatusBar()
{
    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    StatusPanels = AddStatusPanels(*StatusBar, {HintPanelWidth, CaretPanelWidth, ModePanelWidth});
}

} // namespace zor
