// The main window's commands, each once: the action list, the menus and the toolbar are built
// from this table, and the enabling groups come from it.
#include "app/ActionTable.h"

#include "app/BarWidgets.h"

#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace zor {

namespace {
constexpr QKeyCombination NoKey{};
using G = TActionGroup;
} // namespace

const std::vector<TMainForm::TActionEntry> &TMainForm::ActionTable()
{
    using M = TMainForm;
    static const std::vector<TActionEntry> table = {
        {"FileNew", "&New", "New|Creates a new window", Qt::CTRL | Qt::Key_N, 0, G::Always,
         &M::FileNewExecute, &M::New, "New", nullptr, &M::ButtonNew, "ButtonNew"},
        {"FileOpen", "&Open", "Open|Opens a window", Qt::CTRL | Qt::Key_O, 1, G::Always,
         &M::FileOpenExecute, &M::Open, "Open", nullptr, &M::ButtonOpen, "ButtonOpen"},
        {"FileSave", "&Save", "Save|Saves the active document", Qt::CTRL | Qt::Key_S, 2,
         G::Document, &M::FileSaveExecute, &M::Save, "Save", "N1", &M::ButtonSave, "ButtonSave"},
        {"FileSaveAs", "S&ave As ...", "Saves as|Saves the active document with a new name", NoKey,
         -1, G::Document, &M::FileSaveAsExecute, &M::Savesas, "Savesas", nullptr},
        {"FileClose", "&Close", "Close|Clears the active document", NoKey, -1, G::Document,
         &M::FileCloseExecute, &M::CloseEdit, "CloseEdit", "N2"},
        {"FilePrint", "&Print", "Print|Prints the active document", NoKey, 3, G::Document,
         &M::FilePrintExecute, &M::Print, "Print", nullptr, &M::ButtonPrint, "ButtonPrint"},
        {"FilePrinterSetup", "P&rinter setup ...",
         "Printer setup|Sets print characteristic for the active document", NoKey, -1, G::Document,
         &M::FilePrinterSetupExecute, &M::PrinterSetup, "PrinterSetup", nullptr},
        {"FileExit", "&Exit", "Exit|Quits ZorEdit and prompts to save the documents", NoKey, -1,
         G::Always, &M::FileExitExecute, &M::Exit, "Exit", "N3"},
        {"EditCut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard",
         Qt::CTRL | Qt::Key_X, 16, G::Selection, &M::EditCutExecute, &M::Cut, "Cut", nullptr,
         &M::ButtonCut, "ButtonCut"},
        {"EditCopy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
         Qt::CTRL | Qt::Key_C, 17, G::Selection, &M::EditCopyExecute, &M::Copy, "Copy", nullptr,
         &M::ButtonCopy, "ButtonCopy"},
        {"EditPaste", "&Paste", "Paste|Insert the Clipboard contents at the insertion point",
         Qt::CTRL | Qt::Key_V, 18, G::Clipboard, &M::EditPasteExecute, &M::Paste, "Paste", nullptr,
         &M::ButtonPaste, "ButtonPaste"},
        {"EditSelectAll", "Select &All", "Select all|All text selection", NoKey, -1, G::Contents,
         &M::EditSelectAllExecute, &M::Selectall, "Selectall", "N4"},
        {"EditUndo", "&Undo", "Undo|Reverse the last operation", Qt::ALT | Qt::Key_Backspace, 19,
         G::Undo, &M::EditUndoExecute, &M::Undo, "Undo", "N5", &M::ButtonUndo, "ButtonUndo"},
        {"WindowCascade", "&Cascade", "Cascade", NoKey, 20, G::Windows, &M::WindowCascadeExecute,
         &M::CascadeOkno, "CascadeOkno", nullptr, &M::ButtonCascade, "ButtonCascade"},
        {"WindowTileHorizontal", "Tile &Horizontally", "Tile horizontally", NoKey, 22, G::Windows,
         &M::WindowTileHorizontalExecute, &M::Tilehorizontally, "Tilehorizontally", nullptr,
         &M::ButtonHorizontally, "ButtonHorizontally"},
        {"WindowTileVertical", "&Tile Vertically", "Tile vertically", NoKey, 23, G::Windows,
         &M::WindowTileVerticalExecute, &M::Tilevertically, "Tilevertically", nullptr,
         &M::ButtonVertically, "ButtonVertically"},
        {"CharacterFont", "&Font", "Character|Change font attributes", NoKey, 4, G::Document,
         &M::CharacterFontExecute, &M::Font, "Font", nullptr, &M::ButtonFont, "ButtonFont"},
        {"ZorParameters", "&Parameters ...", "Parameters|Change parameters communications", NoKey,
         -1, G::Always, &M::ZorParametersExecute, &M::Parameters, "Parameters", nullptr},
        {"ZorSend", "&Send", "Send|Send to display", NoKey, 12, G::Document, &M::ZorSendExecute,
         &M::Send, "Send", "N6", &M::ButtonSend, "ButtonSend"},
        {"ZorTransferLog", "&Transfer log", "Transfer log|Show the log of the last transfer", NoKey,
         -1, G::Always, &M::ZorTransferLogExecute, &M::TransferLog, "TransferLog", nullptr},
        {"ZorSimulation", "Si&mulation", "Simulation", NoKey, 13, G::Document,
         &M::ZorSimulationExecute, &M::Simulation, "Simulation", "N7", &M::ButtonSimulation,
         "ButtonSimulation"},
        {"ZorNumericValue", "&Numeric fields", "Numeric fields|Send to display numeric value",
         NoKey, 14, G::Document, &M::ZorNumericValueExecute, &M::Numericfields, "Numericfields",
         "N8", &M::ButtonNumeric, "ButtonNumeric"},
        {"HelpContents", "&Contents", "Help|Help table of contents", NoKey, 15, G::Always,
         &M::HelpContentsExecute, &M::Contents, "Contents", nullptr, &M::ButtonHelp, "ButtonHelp"},
        {"HelpOnHelp", "&Help on Help", "Help|Help on using online help", NoKey, -1, G::Always,
         &M::HelpOnHelpExecute, &M::Usinghelp, "Usinghelp", nullptr},
        {"HelpAbout", "&About ...", "About|About the ZorEdit application", NoKey, -1, G::Always,
         &M::HelpAboutExecute, &M::About, "About", "N9"},
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
    static const std::vector<TToolGroup> groups = {
        {{"FileNew", "FileOpen", "FileSave"}, ButtonSize},
        {{"FilePrint", "CharacterFont"}, ButtonSize},
        {{"EditCut", "EditCopy", "EditPaste"}, 8},
        {{"EditUndo"}, ButtonSize},
        {{"WindowCascade", "WindowTileHorizontal", "WindowTileVertical"}, ButtonSize},
        {{"ZorSend", "ZorSimulation", "ZorNumericValue"}, ButtonSize},
        {{"HelpContents"}, 0},
    };
    return groups;
}

void TMainForm::CreateActions()
{
    for (const TActionEntry &e : ActionTable()) {
        auto *action =
            new TAction(QLatin1String(e.Name), QLatin1String(e.Caption), QLatin1String(e.Hint),
                        e.Shortcut == QKeyCombination() ? QKeySequence() : QKeySequence(e.Shortcut),
                        e.Image, e.Group, this);
        ActionList1.push_back(action);
        connect(action, &TAction::Execute, this, e.Handler);
    }
}

TAction *TMainForm::FindAction(const QString &name) const
{
    for (TAction *a : ActionList1)
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void TMainForm::SetItemEnabled(QObject *item, bool enabled)
{
    Binder->SetItemEnabled(item, enabled);
}

QAction *TMainForm::AddMenuItem(QMenu *menu, const TActionEntry &entry)
{
    TAction *action = FindAction(QLatin1String(entry.Name));
    if (entry.SeparatorBefore)
        menu->addSeparator()->setObjectName(QLatin1String(entry.SeparatorBefore));
    auto *item = new QAction(action->Caption, menu);
    item->setObjectName(QLatin1String(entry.ItemName));
    item->setShortcut(action->ShortCut);
    item->setToolTip(ShortHint(action->Hint));
    item->setStatusTip(LongHint(action->Hint));
    if (action->ImageIndex >= 0)
        item->setIcon(ImageList[std::size_t(action->ImageIndex)]);
    menu->addAction(item);
    // Document commands wait for a document; the others follow their action alone.
    Binder->Bind(item, action, !NeedsDocument(action->Group));
    return item;
}

QToolButton *TMainForm::AddToolButton(QToolBar *bar, const TActionEntry &entry)
{
    TAction *action = FindAction(QLatin1String(entry.Name));
    QToolButton *button = AddBarButton(*bar, QLatin1String(entry.ButtonName),
                                       ImageList[std::size_t(action->ImageIndex)],
                                       QSize(ButtonSize, ButtonSize), QSize(16, 16), action->Hint);
    Binder->Bind(button, action, !NeedsDocument(action->Group));
    return button;
}

QAction *TMainForm::Action(const char *name) const
{
    for (const TActionEntry &e : ActionTable())
        if (qstrcmp(e.Name, name) == 0)
            return this->*e.Item;
    return nullptr;
}

} // namespace zor
