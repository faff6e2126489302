// The main window: menus, toolbars, status bar and the action list that binds them to commands;
// it owns the communication settings, the document count, the dialogs' state and every form.
#pragma once

#include "app/Actions.h"
#include "app/RecentFiles.h"
#include "app/SettingsLocation.h"
#include "base/Document.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "commands/Vocabulary.h"
#include "ui/Dialogs.h"

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
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace zor {

class TMDIChild;
class TFileDrops;
class TItemBinder;
class TRecentMenu;
class TDocumentManager;
class TRichEdit;
class TTransferRunner;
struct TTransferResult;
class Tabb;
class TParamet;
class TGraf;
class TFormSim;
class TVstup;
class TVloz;
class TLogView;
class TPreviewDock;

// Where the main window looks for what it loads at construction. Empty members take the
// defaults: the usual font folders, the settings file next to the executable (or in the user's
// configuration folder when that is not writable), the current directory.
struct TStartupOptions
{
    QStringList FontFolders;
    QString SettingsFile;
    QString StartDirectory;
};

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
    // cause: one more line for the operator (why a port could not be opened); may be empty.
    void ShowResult(int code, const std::string &cause = {});

    // Refreshes every standard action (clipboard, select all, undo, window) for the focused
    // editor; the editors', the clipboard's and the documents' signals keep them current after.
    void UpdateStandardActions();

    // The enabled state of a menu item or toolbar button as its own property, before the action's
    // state is combined with it.
    void SetItemEnabled(QObject *item, bool enabled);

    TAction *FindAction(const QString &name) const;

    // The number of open documents.
    int DocumentCount() const;
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
    QAction *New = nullptr, *Save = nullptr, *Savesas = nullptr;
    QAction *Cut = nullptr, *Copy = nullptr, *Paste = nullptr, *Selectall = nullptr,
            *Undo = nullptr;
    QAction *TransferLog = nullptr;
    QAction *CascadeOkno = nullptr;

    QToolBar *ToolBar1 = nullptr, *ToolBar2 = nullptr, *ToolBar3 = nullptr;
    QToolButton *ButtonOpen = nullptr, *ButtonCopy = nullptr, *ButtonPaste = nullptr;
    // The forty command buttons in vocabulary order (ButtonF0 ... ButtonP3).
    std::array<QToolButton *, 40> SymbolButtons{};

    std::array<QLabel *, 3> Panels{}; // 450, 80 and 100 pixels wide

    std::vector<QIcon> ImageList;         // 25 images of 16 x 16
    std::vector<QPixmap> ImageListSymbol; // 40 images of 24 x 16

    TFontDialogState FontDialog;       // also the remembered plain-text font
    std::unique_ptr<QPrinter> Printer; // shared by PrintDialog and PrinterSetupDialog

    QMdiArea *ClientArea = nullptr;

    // The secondary forms, created by CreateForms and alive as long as the main window.
    Tabb *abb = nullptr;
    TParamet *Paramet = nullptr;
    TGraf *Graf = nullptr;
    TFormSim *FormSim = nullptr;
    TVstup *Vstup = nullptr;
    TVloz *Vloz = nullptr;
    // The transfer log window, made the first time it is asked for.
    TLogView *LogView = nullptr;

    // The live preview under the documents, Zor > Preview, Zor > Export animation and
    // Character > All commands (which enables the six buttons otherwise kept disabled). The two
    // checkable items are kept in section "Editor" of the settings file.
    TPreviewDock *PreviewDock = nullptr;
    QAction *Preview = nullptr, *ExportAnimation = nullptr, *AllCommands = nullptr;
    void ZorExportAnimationExecute();
    void CharacterAllCommandsExecute(bool on);

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
    void ZorTransferLogExecute();
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
    // Asks before a send only when something is off: an empty program, or text characters the
    // panel cannot show. True when the program should go.
    bool ConfirmSend(const rtf::Document &document, const std::string &program);

    // Transfer log is available while logging is on or a log is there from before.
    bool TransferLogAvailable() const;
    void UpdateTransferLogAction();

    // The runner of every transfer, made at the first one, with the port factory, devices and
    // log of the settings at the time of the call.
    TTransferRunner &Transfers();
    // Tells how a transfer ended: its result (or "Transfer cancelled") and a log not written.
    void ShowTransferResult(const TTransferResult &result);
    // Warns once that the transfer log could not be written (problem: path and reason).
    void ReportLogProblem(const std::string &problem);

    // Documents.
    TDocumentManager *DocumentManager() const { return Manager; }
    TMDIChild *CreateDocumentWindow(const QString &Name);
    TMDIChild *ActiveDocument() const;
    QList<TMDIChild *> Documents() const;

    // Writes text (a symbol, digits, or a whole unit) at the caret of the active document as
    // symbols of kind, then puts the typing format back to the remembered plain-text font. Text
    // that does not fit within the length limit is refused whole, with a beep.
    void InsertCommandSymbol(const QString &text, TCommandKind kind);

    // The character format of the remembered plain-text font (FontDialog's font and colour).
    QTextCharFormat PlainTextFormat() const;

    // Opens each file in its own document window: the files named on the command line, dropped
    // on the window or chosen from the recent list. A name that is not a readable file gets the
    // open-failure message and no window; the others still open.
    void OpenDocuments(const QStringList &names);

    // The recently opened documents' entries at the end of the File menu, newest first.
    const QList<QAction *> &RecentItems() const;
    // Puts a document at the top of the list and writes the list to the settings file.
    void RememberRecentFile(const QString &name);
    // Opens a document of the list; one that no longer exists is dropped from it with a message.
    void OpenRecentFile(const QString &name);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct TActionEntry;
    static const std::vector<TActionEntry> &ActionTable();

    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void LoadSettings(const QString &startDirectory);
    void CreatePreview();
    void FollowActiveDocument();
    void SaveEditorSetting(const char *key, bool on);
    QAction *AddMenuItem(QMenu *menu, const TActionEntry &entry);
    QToolButton *AddToolButton(QToolBar *bar, const TActionEntry &entry);
    QTextEdit *FocusedEditor() const;
    void FollowEditor(TRichEdit *editor);
    void SetSelectionActions(bool available);
    void UpdatePasteAction();
    void DocumentCreated(TMDIChild *child);
    void DocumentActivated(TMDIChild *child);
    void DocumentCountChanged(int count);
    void DocumentClosed();

    TTransferRunner *Runner = nullptr;
    // The hint of the control under the pointer or the highlighted menu item, long part only.
    QString Hint;
    // Components the tests do not reach, named as the form describes them.
    QAction *Open = nullptr, *CloseEdit = nullptr, *Print = nullptr, *PrinterSetup = nullptr,
            *Exit = nullptr, *Font = nullptr, *Parameters = nullptr, *Send = nullptr,
            *Simulation = nullptr, *Numericfields = nullptr, *Tilehorizontally = nullptr,
            *Tilevertically = nullptr, *Contents = nullptr, *Usinghelp = nullptr, *About = nullptr;
    QToolButton *ButtonNew = nullptr, *ButtonSave = nullptr, *ButtonPrint = nullptr,
                *ButtonFont = nullptr, *ButtonCut = nullptr, *ButtonUndo = nullptr,
                *ButtonCascade = nullptr, *ButtonHorizontally = nullptr,
                *ButtonVertically = nullptr, *ButtonSend = nullptr, *ButtonSimulation = nullptr,
                *ButtonNumeric = nullptr, *ButtonHelp = nullptr;
    QStatusBar *StatusBar = nullptr;
    std::vector<TAction *> ActionList1;
    TFontDialogState FontDialogSymbol; // the symbol font; never shown
    TFileDialogState ExportDialog;

    TDocumentManager *Manager = nullptr;
    TItemBinder *Binder = nullptr;
    TRecentMenu *Recent = nullptr;
    TFileDrops *Drops = nullptr;
    QList<QAction *> WindowListItems;
};

} // namespace zor
