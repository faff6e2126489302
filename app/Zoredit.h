// The main window: menus, toolbars, status bar and the action list that binds them to commands;
// it owns the communication settings, the document count, the dialogs' state and every form.
#pragma once

#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "commands/Vocabulary.h"
#include "editor/Dialogs.h"

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QTextCharFormat>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QMimeData;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace zor {

class TMDIChild;
class TRichEdit;
class TSerial;
class Tabb;
class TParamet;
class TGraf;
class TFormSim;
class TVstup;
class TVloz;

// One entry of the action list: the caption, hint, shortcut and image that every menu item and
// toolbar button bound to it shows, and the handler it runs. A standard action's enabled state
// follows the editor with the keyboard focus; a plain action is always enabled, so its items'
// own enabled state decides alone.
class TAction : public QObject
{
    Q_OBJECT
public:
    TAction(const QString &name, const QString &caption, const QString &hint,
            const QKeySequence &shortcut, int imageIndex, bool standard, QObject *parent);

    QString Category() const; // File, Edit, Window, Character, Zor or Help, from the name
    QString Caption;
    QString Hint; // "short|long", or one text for both
    QKeySequence ShortCut;
    int ImageIndex; // index into ImageList, -1 for none
    bool Standard;

    bool Enabled() const { return EnabledState; }
    void SetEnabled(bool enabled);

signals:
    void Execute();
    void EnabledChanged();

private:
    bool EnabledState = true;
};

// Where the main window looks for what it loads at construction. Empty members take the
// defaults: the usual font folders, the settings file next to the executable (or in the user's
// configuration folder when that is not writable), the current directory.
struct TStartupOptions
{
    QStringList FontFolders;
    QString SettingsFile;
    QString StartDirectory;
};

// The settings file this installation uses.
QString DefaultSettingsFile();

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(const TStartupOptions &options = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Creates the six secondary forms, hidden, in their fixed order. Program start calls it once
    // right after constructing the main window.
    void CreateForms();

    void FormCreate();
    void FormDestroy();
    void DisplayHint();
    void EnableDocumentCommands(bool Enabled);
    void ShowResult(int code);

    // Refreshes the standard actions (clipboard, select all, undo, window) as idle time would.
    void UpdateStandardActions();

    // The enabled state of a menu item or toolbar button as its own property, before the action's
    // state is combined with it.
    void SetItemEnabled(QObject *item, bool enabled);

    TAction *FindAction(const QString &name) const;

    // The hint of the control under the pointer or the highlighted menu item, long part only.
    QString Hint;

    int DocumentCount = 0;
    TCommSettings CommSettings;
    QString SettingsFile;
    // The serial devices behind the port numbers (section "Ports" of the settings file).
    TPortDevices PortDevices;
    // Makes the serial port of a transfer; tests put a scripted port here.
    std::function<std::unique_ptr<TSerialPort>()> SerialPortFactory;

    // Components, named as the form describes them.
    QMenuBar *MainMenu = nullptr;
    QMenu *File = nullptr, *Edit = nullptr, *Character = nullptr, *Zor = nullptr, *Window = nullptr,
          *Help = nullptr;
    QAction *New = nullptr, *Open = nullptr, *Save = nullptr, *Savesas = nullptr,
            *CloseEdit = nullptr, *Print = nullptr, *PrinterSetup = nullptr, *Exit = nullptr;
    QAction *Cut = nullptr, *Copy = nullptr, *Paste = nullptr, *Selectall = nullptr,
            *Undo = nullptr;
    QAction *Font = nullptr;
    QAction *Parameters = nullptr, *Send = nullptr, *Simulation = nullptr, *Numericfields = nullptr;
    QAction *CascadeOkno = nullptr, *Tilehorizontally = nullptr, *Tilevertically = nullptr;
    QAction *Contents = nullptr, *Usinghelp = nullptr, *About = nullptr;

    QToolBar *ToolBar1 = nullptr, *ToolBar2 = nullptr, *ToolBar3 = nullptr;
    QToolButton *ButtonNew = nullptr, *ButtonOpen = nullptr, *ButtonSave = nullptr,
                *ButtonPrint = nullptr, *ButtonFont = nullptr, *ButtonCut = nullptr,
                *ButtonCopy = nullptr, *ButtonPaste = nullptr, *ButtonUndo = nullptr,
                *ButtonCascade = nullptr, *ButtonHorizontally = nullptr,
                *ButtonVertically = nullptr, *ButtonSend = nullptr, *ButtonSimulation = nullptr,
                *ButtonNumeric = nullptr, *ButtonHelp = nullptr;
    // The forty command buttons in vocabulary order (ButtonF0 ... ButtonP3).
    std::array<QToolButton *, 40> SymbolButtons{};

    QStatusBar *StatusBar = nullptr;
    std::array<QLabel *, 3> Panels{}; // 450, 80 and 100 pixels wide

    std::vector<QIcon> ImageList;         // 25 images of 16 x 16
    std::vector<QPixmap> ImageListSymbol; // 40 images of 24 x 16
    std::vector<TAction *> ActionList1;

    TFileDialogState OpenDialog;
    TFileDialogState SaveDialog;
    TFontDialogState FontDialog;       // also the remembered plain-text font
    TFontDialogState FontDialogSymbol; // the symbol font; never shown
    std::unique_ptr<QPrinter> Printer; // shared by PrintDialog and PrinterSetupDialog

    QMdiArea *ClientArea = nullptr;

    // The secondary forms, created by CreateForms and alive as long as the main window.
    Tabb *abb = nullptr;
    TParamet *Paramet = nullptr;
    TGraf *Graf = nullptr;
    TFormSim *FormSim = nullptr;
    TVstup *Vstup = nullptr;
    TVloz *Vloz = nullptr;

    // Action handlers.
    void FileNewExecute();
    void FileOpenExecute();
    void FileSaveExecute();
    void FileSaveAsExecute();
    void FileCloseExecute();
    void FilePrintExecute();
    void FilePrinterSetupExecute();
    void FileExitExecute();
    void EditCutExecute();
    void EditCopyExecute();
    void EditPasteExecute();
    void EditSelectAllExecute();
    void EditUndoExecute();
    void WindowCascadeExecute();
    void WindowTileHorizontalExecute();
    void WindowTileVerticalExecute();
    void CharacterFontExecute();
    void ZorParametersExecute();
    void ZorSendExecute();
    void ZorSimulationExecute();
    void ZorNumericValueExecute();
    void HelpContentsExecute();
    void HelpOnHelpExecute();
    void HelpAboutExecute();

    // Click handler of the command button at index (vocabulary order): inserts the symbol, and
    // for the numbered commands first asks for the number.
    void CommandButtonClick(int index);

    // Translates the active document and sends it (Send true) or simulates it.
    void TranslateProgram(bool send);
    // Sends a program text to the panel, with the progress window, and shows the result.
    void SendProgram(const std::string &program);

    // A serial link for one transfer, with the port, devices and log of the settings.
    TSerial NewSerial();

    // Runs a transfer on a worker thread, keeping the windows painted until it ends.
    int RunTransfer(const std::function<int()> &transfer);

    // Documents.
    TMDIChild *CreateDocumentWindow(const QString &Name);
    void SaveDocument(TMDIChild *child);
    TMDIChild *ActiveDocument() const;
    QList<TMDIChild *> Documents() const;

    // Writes text at the caret of the active document as symbols of kind, then puts the typing
    // format back to the remembered plain-text font.
    void InsertCommandSymbol(const QString &text, TCommandKind kind);

    // The character format of the remembered plain-text font (FontDialog's font and colour).
    QTextCharFormat PlainTextFormat() const;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void LoadSettings(const QString &startDirectory);
    QAction *AddMenuItem(QMenu *menu, const char *name, const char *action);
    QToolButton *AddToolButton(QToolBar *bar, const char *name, const char *action);
    void AddToolGap(QToolBar *bar, int width);
    void Bind(QObject *item, TAction *action, bool enabledAtStart);
    void RefreshItem(QObject *item);
    void UpdateWindowMenu();
    QTextEdit *FocusedEditor() const;
    void PasteInto(TRichEdit *editor, const QMimeData *mime);
    void TileDocuments(Qt::Orientation orientation);
    void DocumentClosed();
    bool WriteDocument(TMDIChild *window, const QString &name);
    bool AskOverwrite(const QString &name);
    // Asks for a name with the save dialog, then writes the document there and renames it.
    void SaveUnderNewName(TMDIChild *window);

    QHash<QObject *, TAction *> ItemAction;
    QHash<QObject *, bool> ItemOwnEnabled;
    QList<QAction *> WindowListItems;
};

} // namespace zor
