// The main window: menus, toolbars and status bar around one QAction per command, made from the
// action table (ActionTable.cpp); a menu item and a toolbar button of a command are that action.
// Each command is routed to the part that does it (the document manager, the editing policy, the
// panel commands, the preview); the window owns the communication settings, the printer, the
// symbol font's state and every form.
#pragma once

#include "app/RecentFiles.h"
#include "app/SettingsLocation.h"
#include "base/Document.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "commands/Vocabulary.h"
#include "ui/Dialogs.h"

#include <QMainWindow>
#include <QTextCharFormat>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QPrinter;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace zor {

class TMDIChild;
class TFileDrops;
class TProfileFile;
class TCommSetup;
class TTransferCommands;
class TPreviewCommands;
class TStandardActions;
class TRecentMenu;
class TRecoveryCopies;
class TDocumentManager;
class TRichEdit;
class Tabb;
class TParamet;
class TGraf;
class TFormSim;
class TVstup;
class TVloz;

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

    // Refreshes the clipboard, select-all and undo rules for the focused editor; the editors',
    // the clipboard's and the focus's signals keep them current after.
    void UpdateStandardActions();

    // The number of open documents.
    int DocumentCount() const;
    // The status bar's panels: 0 the hint, 1 the caret's line and column, 2 the typing mode.
    QLabel *StatusPanel(int index) const { return StatusPanels.at(std::size_t(index)); }
    // The command button at index in vocabulary order (ButtonF0 ... ButtonP3), below 40.
    QToolButton *SymbolButton(std::size_t index) const { return SymbolButtons.at(index); }
    // The area that holds the document windows.
    QMdiArea *DocumentArea() const { return ClientArea; }
    // The printer that Print and Printer setup share.
    QPrinter &Printer() { return *SharedPrinter; }
    // The communication settings and the serial devices behind the port numbers (section
    // "Ports" of the settings file) that the next transfer uses; Parameters changes and saves
    // them.
    TCommSettings &Communication();
    // The settings file this window reads and writes.
    const QString &SettingsPath() const { return SettingsFile; }
    TPortDevices &Ports();
    // Makes the serial port of each transfer from now on; tests give a scripted port.
    void SetSerialPortFactory(std::function<std::unique_ptr<TSerialPort>()> factory);

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
    void EditRedoExecute();
    void WindowCascadeExecute();
    void WindowTileHorizontalExecute();
    void WindowTileVerticalExecute();
    void CharacterFontExecute();
    void ZorParametersExecute();
    void ZorSendExecute();
    // Zor > Send to panels...: the active document to several named panels at once.
    void ZorSendToPanelsExecute();
    void ZorSimulationExecute();
    void ZorNumericValueExecute();
    void ZorTransferLogExecute();
    void HelpContentsExecute();
    void HelpOnHelpExecute();
    void HelpAboutExecute();
    // Zor > Export animation, and Character > All commands (which lets the six buttons that are
    // otherwise kept disabled be enabled). Zor > Preview is the preview's own.
    void ZorExportAnimationExecute();
    void CharacterAllCommandsExecute(bool on);

    // Click handler of the command button at index (vocabulary order): inserts the symbol, and
    // for the numbered commands first asks for the number.
    void CommandButtonClick(int index);

    // Translates the active document and sends it (Send true) or simulates it.
    void TranslateProgram(bool send);

    // Transfer log is available while logging is on or a log is there from before.
    void UpdateTransferLogAction();

    // Documents.
    TDocumentManager *DocumentManager() const { return Manager; }
    TMDIChild *CreateDocumentWindow(const QString &Name);
    TMDIChild *ActiveDocument() const;
    QList<TMDIChild *> Documents() const;

    // Writes text (a symbol, digits, or a whole unit) at the caret of the active document as
    // symbols of kind, then puts the typing format back to the remembered plain-text font. Text
    // that does not fit within the length limit is refused whole, with a beep.
    void InsertCommandSymbol(const QString &text, TCommandKind kind);

    // Opens each file in its own document window: the files named on the command line, dropped
    // on the window or chosen from the recent list. A name not there yet opens as a new, empty
    // document of that name, as from the Open dialog; one that cannot be opened (unreadable,
    // not a file, in a folder that does not exist) gets the open-failure message and no window;
    // the others still open.
    void OpenDocuments(const QStringList &names);

    // The recently opened documents' entries at the end of the File menu, newest first.
    const QList<QAction *> &RecentItems() const;

    // Keeps recovery copies of the modified documents in the first of folders that can be
    // written (RecoveryFolders() for the user's) from now on, and offers those of editors that
    // did not close properly. delay: the longest a change waits for its copy; zero takes
    // "RecoverySeconds" of the settings file. While a copy cannot be kept the status bar says so.
    // Program start calls it once, after showing the window; a clean exit removes the copies.
    // From then on the end of the desktop session (QGuiApplication::commitDataRequest: Windows'
    // WM_QUERYENDSESSION, an X session manager's request) writes the copies at once: the session
    // ends the editor without a question.
    void StartRecovery(const QStringList &folders,
                       std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    void StartRecovery(const QString &folder,
                       std::chrono::milliseconds delay = std::chrono::milliseconds(0))
    {
        StartRecovery(QStringList{folder}, delay);
    }
    // Writes every modified document's copy now (the editor is being ended from outside).
    void WriteRecoveryCopies();
    // Null before StartRecovery.
    TRecoveryCopies *RecoveryCopies() const { return Recovery; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct TActionEntry;
    struct TMenuEntry;
    struct TToolGroup;
    static const std::vector<TActionEntry> &ActionTable();
    static const std::vector<TMenuEntry> &MenuTable();
    static const std::vector<TToolGroup> &ToolBarGroups();

    // ActionTable.cpp: the actions, menus, toolbars and status bar from the tables.
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void FollowActiveDocument();
    void DocumentCreated(TMDIChild *child);
    void DocumentActivated(TMDIChild *child);
    void DocumentCountChanged(int count);
    void DocumentClosed();

    QString SettingsFile;

    // Components, named as the form describes them.
    QMenuBar *MainMenu = nullptr;
    QMenu *File = nullptr, *Edit = nullptr, *Character = nullptr, *Zor = nullptr, *Window = nullptr,
          *Help = nullptr;
    QAction *New = nullptr, *Open = nullptr, *Save = nullptr, *Savesas = nullptr,
            *CloseEdit = nullptr, *Print = nullptr, *PrinterSetup = nullptr, *Exit = nullptr;
    QAction *Cut = nullptr, *Copy = nullptr, *Paste = nullptr, *Selectall = nullptr,
            *Undo = nullptr, *Redo = nullptr;
    QAction *CascadeOkno = nullptr, *Tilehorizontally = nullptr, *Tilevertically = nullptr;
    QAction *Font = nullptr, *AllCommands = nullptr;
    QAction *Parameters = nullptr, *Send = nullptr, *SendPanels = nullptr, *TransferLog = nullptr,
            *Simulation = nullptr, *Preview = nullptr, *ExportAnimation = nullptr,
            *Numericfields = nullptr;
    QAction *Contents = nullptr, *Usinghelp = nullptr, *About = nullptr;
    // The actions that need an open document, and the window arrangements (which need a window).
    QActionGroup *DocumentActions = nullptr, *WindowActions = nullptr;
    QToolBar *ToolBar1 = nullptr, *ToolBar2 = nullptr, *ToolBar3 = nullptr;
    // The forty command buttons in vocabulary order (ButtonF0 ... ButtonP3).
    std::array<QToolButton *, 40> SymbolButtons{};
    QStatusBar *StatusBar = nullptr;
    std::array<QLabel *, 3> StatusPanels{}; // 450, 80 and 100 pixels wide
    QMdiArea *ClientArea = nullptr;

    std::vector<QIcon> ImageList;         // 25 images of 16 x 16
    std::vector<QPixmap> ImageListSymbol; // 40 images of 24 x 16

    TFontDialogState FontDialogSymbol;       // the symbol font; never shown (FontDialog is the
                                             // document manager's)
    std::unique_ptr<QPrinter> SharedPrinter; // PrintDialog's and PrinterSetupDialog's

    // The secondary forms, created by CreateForms and alive as long as the main window.
    Tabb *abb = nullptr;
    TParamet *Paramet = nullptr;
    TGraf *Graf = nullptr;
    TFormSim *FormSim = nullptr;
    TVstup *Vstup = nullptr;
    TVloz *Vloz = nullptr;

    // The hint of the control under the pointer or the highlighted menu item, long part only.
    QString Hint;
    TDocumentManager *Manager = nullptr;
    TStandardActions *Standard = nullptr;
    TRecentMenu *Recent = nullptr;
    TFileDrops *Drops = nullptr;
    TPreviewCommands *Previews = nullptr;
    TCommSetup *Setup = nullptr;
    TTransferCommands *Comm = nullptr;
    TRecoveryCopies *Recovery = nullptr;
    int RecoverySeconds = 15;
    QList<QAction *> WindowListItems;
};

} // namespace zor
