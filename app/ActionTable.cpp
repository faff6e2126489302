// The main window's commands, each once: the actions, the menus and the toolbar are built from
// this table, and the enabling groups come from it.
#include "app/ActionTable.h"

#include "app/BarWidgets.h"
#include "app/RecentMenu.h"
#include "app/WindowMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
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

// The tables hold their texts in the main window's translation context.
QString Translated(const char *text)
{
    return QCoreApplication::translate("TMainForm", text);
}

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
        {&M::New, "New", &M::File, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&New"),
         QT_TRANSLATE_NOOP("TMainForm", "New|Creates a new window"), Qt::CTRL | Qt::Key_N, 0,
         R::Always, &M::FileNewExecute, nullptr, false, "ButtonNew"},
        {&M::Open, "Open", &M::File, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Open"),
         QT_TRANSLATE_NOOP("TMainForm", "Open|Opens a window"), Qt::CTRL | Qt::Key_O, 1, R::Always,
         &M::FileOpenExecute, nullptr, false, "ButtonOpen"},
        {&M::Save, "Save", &M::File, "N1", QT_TRANSLATE_NOOP("TMainForm", "&Save"),
         QT_TRANSLATE_NOOP("TMainForm", "Save|Saves the active document"), Qt::CTRL | Qt::Key_S, 2,
         R::Document, &M::FileSaveExecute, nullptr, false, "ButtonSave"},
        {&M::Savesas, "Savesas", &M::File, nullptr, QT_TRANSLATE_NOOP("TMainForm", "S&ave As ..."),
         QT_TRANSLATE_NOOP("TMainForm", "Saves as|Saves the active document with a new name"),
         NoKey, -1, R::Document, &M::FileSaveAsExecute},
        {&M::CloseEdit, "CloseEdit", &M::File, "N2", QT_TRANSLATE_NOOP("TMainForm", "&Close"),
         QT_TRANSLATE_NOOP("TMainForm", "Close|Clears the active document"), NoKey, -1, R::Document,
         &M::FileCloseExecute},
        {&M::Print, "Print", &M::File, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Print"),
         QT_TRANSLATE_NOOP("TMainForm", "Print|Prints the active document"), NoKey, 3, R::Document,
         &M::FilePrintExecute, nullptr, false, "ButtonPrint"},
        {&M::PrinterSetup, "PrinterSetup", &M::File, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "P&rinter setup ..."),
         QT_TRANSLATE_NOOP("TMainForm",
                           "Printer setup|Sets print characteristic for the active document"),
         NoKey, -1, R::Document, &M::FilePrinterSetupExecute},
        {&M::Exit, "Exit", &M::File, "N3", QT_TRANSLATE_NOOP("TMainForm", "&Exit"),
         QT_TRANSLATE_NOOP("TMainForm", "Exit|Quits ZorEdit and prompts to save the documents"),
         NoKey, -1, R::Always, &M::FileExitExecute},
        {&M::Cut, "Cut", &M::Edit, nullptr, QT_TRANSLATE_NOOP("TMainForm", "Cu&t"),
         QT_TRANSLATE_NOOP("TMainForm", "Cut|Cuts the selection and puts it on the Clipboard"),
         Qt::CTRL | Qt::Key_X, 16, R::Selection, &M::EditCutExecute, nullptr, false, "ButtonCut"},
        {&M::Copy, "Copy", &M::Edit, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Copy"),
         QT_TRANSLATE_NOOP("TMainForm", "Copy|Copies the selection and puts it on the Clipboard"),
         Qt::CTRL | Qt::Key_C, 17, R::Selection, &M::EditCopyExecute, nullptr, false, "ButtonCopy"},
        {&M::Paste, "Paste", &M::Edit, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Paste"),
         QT_TRANSLATE_NOOP("TMainForm",
                           "Paste|Insert the Clipboard contents at the insertion point"),
         Qt::CTRL | Qt::Key_V, 18, R::Clipboard, &M::EditPasteExecute, nullptr, false,
         "ButtonPaste"},
        {&M::Selectall, "Selectall", &M::Edit, "N4", QT_TRANSLATE_NOOP("TMainForm", "Select &All"),
         QT_TRANSLATE_NOOP("TMainForm", "Select all|All text selection"), NoKey, -1, R::Contents,
         &M::EditSelectAllExecute},
        {&M::Undo, "Undo", &M::Edit, "N5", QT_TRANSLATE_NOOP("TMainForm", "&Undo"),
         QT_TRANSLATE_NOOP("TMainForm", "Undo|Reverse the last operation"),
         Qt::ALT | Qt::Key_Backspace, 19, R::Undo, &M::EditUndoExecute, nullptr, false,
         "ButtonUndo"},
        {&M::Redo, "Redo", &M::Edit, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Redo"),
         QT_TRANSLATE_NOOP("TMainForm", "Redo|Repeat the last operation undone"),
         Qt::CTRL | Qt::Key_Y, -1, R::Redo, &M::EditRedoExecute},
        {&M::CascadeOkno, "CascadeOkno", &M::Window, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "&Cascade"), QT_TRANSLATE_NOOP("TMainForm", "Cascade"),
         NoKey, 20, R::Windows, &M::WindowCascadeExecute, nullptr, false, "ButtonCascade"},
        {&M::Tilehorizontally, "Tilehorizontally", &M::Window, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "Tile &Horizontally"),
         QT_TRANSLATE_NOOP("TMainForm", "Tile horizontally"), NoKey, 22, R::Windows,
         &M::WindowTileHorizontalExecute, nullptr, false, "ButtonHorizontally"},
        {&M::Tilevertically, "Tilevertically", &M::Window, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "&Tile Vertically"),
         QT_TRANSLATE_NOOP("TMainForm", "Tile vertically"), NoKey, 23, R::Windows,
         &M::WindowTileVerticalExecute, nullptr, false, "ButtonVertically"},
        {&M::Font, "Font", &M::Character, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Font"),
         QT_TRANSLATE_NOOP("TMainForm", "Character|Change font attributes"), NoKey, 4, R::Document,
         &M::CharacterFontExecute, nullptr, false, "ButtonFont"},
        {&M::AllCommands, "AllCommands", &M::Character, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "&All commands"),
         QT_TRANSLATE_NOOP("TMainForm",
                           "All commands|Enables the line, repeat, green and yellow buttons"),
         NoKey, -1, R::Always, nullptr, &M::CharacterAllCommandsExecute, true},
        {&M::Parameters, "Parameters", &M::Zor, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "&Parameters ..."),
         QT_TRANSLATE_NOOP("TMainForm", "Parameters|Change parameters communications"), NoKey, -1,
         R::Always, &M::ZorParametersExecute},
        {&M::Send, "Send", &M::Zor, "N6", QT_TRANSLATE_NOOP("TMainForm", "&Send"),
         QT_TRANSLATE_NOOP("TMainForm", "Send|Send to display"), NoKey, 12, R::Document,
         &M::ZorSendExecute, nullptr, false, "ButtonSend"},
        {&M::SendPanels, "SendPanels", &M::Zor, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "Send to p&anels..."),
         QT_TRANSLATE_NOOP("TMainForm", "Send to panels|Send to several named panels at once"),
         NoKey, -1, R::Document, &M::ZorSendToPanelsExecute},
        {&M::TransferLog, "TransferLog", &M::Zor, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "&Transfer log"),
         QT_TRANSLATE_NOOP("TMainForm", "Transfer log|Show the log of the last transfer"), NoKey,
         -1, R::Always, &M::ZorTransferLogExecute},
        {&M::Simulation, "Simulation", &M::Zor, "N7", QT_TRANSLATE_NOOP("TMainForm", "Si&mulation"),
         QT_TRANSLATE_NOOP("TMainForm", "Simulation"), NoKey, 13, R::Document,
         &M::ZorSimulationExecute, nullptr, false, "ButtonSimulation"},
        {&M::Preview, "Preview", &M::Zor, nullptr, QT_TRANSLATE_NOOP("TMainForm", "Pre&view"),
         QT_TRANSLATE_NOOP("TMainForm", "Preview|Shows the panel running the active document"),
         NoKey, -1, R::Always, nullptr, nullptr, true},
        {&M::ExportAnimation, "ExportAnimation", &M::Zor, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "E&xport animation..."),
         QT_TRANSLATE_NOOP("TMainForm",
                           "Export animation|Writes the active document's run as a GIF"),
         NoKey, -1, R::Document, &M::ZorExportAnimationExecute},
        {&M::Numericfields, "Numericfields", &M::Zor, "N8",
         QT_TRANSLATE_NOOP("TMainForm", "&Numeric fields"),
         QT_TRANSLATE_NOOP("TMainForm", "Numeric fields|Send to display numeric value"), NoKey, 14,
         R::Document, &M::ZorNumericValueExecute, nullptr, false, "ButtonNumeric"},
        {&M::Contents, "Contents", &M::Help, nullptr, QT_TRANSLATE_NOOP("TMainForm", "&Contents"),
         QT_TRANSLATE_NOOP("TMainForm", "Help|Help table of contents"), NoKey, 15, R::Always,
         &M::HelpContentsExecute, nullptr, false, "ButtonHelp"},
        {&M::Usinghelp, "Usinghelp", &M::Help, nullptr,
         QT_TRANSLATE_NOOP("TMainForm", "&Help on Help"),
         QT_TRANSLATE_NOOP("TMainForm", "Help|Help on using online help"), NoKey, -1, R::Always,
         &M::HelpOnHelpExecute},
        {&M::About, "About", &M::Help, "N9", QT_TRANSLATE_NOOP("TMainForm", "&About ..."),
         QT_TRANSLATE_NOOP("TMainForm", "About|About the ZorEdit application"), NoKey, -1,
         R::Always, &M::HelpAboutExecute},
    };
    return table;
}

const std::vector<TMainForm::TMenuEntry> &TMainForm::MenuTable()
{
    using M = TMainForm;
    static const std::vector<TMenuEntry> menus = {
        {&M::File, QT_TRANSLATE_NOOP("TMainForm", "&File"), "File",
         QT_TRANSLATE_NOOP("TMainForm", "File|Create, open, save and print documents")},
        {&M::Edit, QT_TRANSLATE_NOOP("TMainForm", "&Edit"), "Edit",
         QT_TRANSLATE_NOOP("TMainForm", "Edit|Edit operations")},
        {&M::Character, QT_TRANSLATE_NOOP("TMainForm", "&Character"), "Character",
         QT_TRANSLATE_NOOP("TMainForm", "Character|Change fonts and colors")},
        {&M::Zor, QT_TRANSLATE_NOOP("TMainForm", "&Zor"), "Zor",
         QT_TRANSLATE_NOOP("TMainForm", "Zor|Communications PC - display")},
        {&M::Window, QT_TRANSLATE_NOOP("TMainForm", "&Window"), "Window",
         QT_TRANSLATE_NOOP("TMainForm", "Window")},
        {&M::Help, QT_TRANSLATE_NOOP("TMainForm", "&Help"), "Help",
         QT_TRANSLATE_NOOP("TMainForm", "Help")},
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
        auto *action = new QAction(Translated(e.Caption), this);
        action->setObjectName(QLatin1String(e.Name));
        if (e.Shortcut != NoKey)
            action->setShortcut(QKeySequence(e.Shortcut));
        // The hint is translated whole, so that a language keeps its short and long halves.
        const QString hint = Translated(e.Hint);
        action->setToolTip(ShortHint(hint));
        action->setStatusTip(LongHint(hint));
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
        QMenu *menu = MainMenu->addMenu(Translated(m.Caption));
        this->*m.Menu = menu;
        menu->setObjectName(QLatin1String(m.Name));
        menu->menuAction()->setObjectName(QLatin1String(m.Name));
        const QString hint = Translated(m.Hint);
        menu->menuAction()->setToolTip(ShortHint(hint));
        menu->menuAction()->setStatusTip(LongHint(hint));
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
    // The names the window's menu of toolbars (the context menu of the toolbar area) shows.
    //: A toolbar's name in the context menu of the toolbar area: the file and edit buttons
    ToolBar1->setWindowTitle(QCoreApplication::translate("TMainForm", "ToolBar1"));
    //: A toolbar's name in the context menu of the toolbar area: the first command buttons
    ToolBar2->setWindowTitle(QCoreApplication::translate("TMainForm", "ToolBar2"));
    //: A toolbar's name in the context menu of the toolbar area: the other command buttons
    ToolBar3->setWindowTitle(QCoreApplication::translate("TMainForm", "ToolBar3"));
}

void TMainForm::CreateStatusBar()
{
    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    StatusPanels = AddStatusPanels(*StatusBar, {HintPanelWidth, CaretPanelWidth, ModePanelWidth});
}

} // namespace zor
