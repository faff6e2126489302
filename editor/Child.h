// A document window: one message program in a rich-text editor, with its file name and its
// insert or overwrite mode.
#pragma once

#include "editor/RichEdit.h"
#include "ui/Dialogs.h"
#include <QMdiSubWindow>
#include <functional>

namespace zor {

class TMDIChild : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit TMDIChild(QWidget *parent = nullptr);
    ~TMDIChild() override;

    TRichEdit *Editor;
    QString FileName;
    bool InsertMode = true;

    // The remembered plain-text font, which typed text takes in place of a symbol's format; set by
    // the document manager, which owns it and outlives its use here. Null: typing keeps the
    // format at the caret.
    const TFontDialogState *PlainFont = nullptr;
    // The save dialog's state, shared by every document so that it remembers its folder; a
    // window without one uses a state of its own.
    TFileDialogState *SaveDialog = nullptr;

    // Fills the editor from a file and takes its name. False, with the reason in *error, when the
    // file cannot be read: the window then keeps the name with an empty text. A file read with
    // something amiss (cut off) is shown as far as it goes, with why in *warning.
    bool LoadFile(const QString &name, QString *error, QString *warning = nullptr);
    // Takes a name without reading anything (a file that is still to be written).
    void SetFileName(const QString &name);

    // True when the document was written; false when the operator cancelled the dialog or
    // declined overwriting, or writing failed (the error box has been shown). An untitled
    // document asks for a name first.
    bool Save();
    // Set for a document recovered from a copy: true when its file changed on disk after the copy
    // was taken. Save then asks whether to overwrite it, save under another name or cancel.
    // Cleared once the document is written.
    std::function<bool()> FileChangedSince;
    // Asks for a name (the dialog captioned "Save NAME As..." for this document), the overwrite
    // question when the file exists, then writes and renames.
    // The window takes the new name only once the file is written.
    bool SaveAs();

    // Runs before the editor processes a key: keeps command units whole and toggles the mode.
    // Never consumes the key.
    void EditorKeyDown(QKeyEvent *event);

    // Reports the caret position and the mode (CaretChanged, ModeChanged).
    void EditorSelectionChange();

    // Asks whether the window may close: the save-changes question for a modified document.
    // Yes saves, and keeps the window open with its text and modified state when that save does
    // not happen (dialog cancelled, overwrite declined, write failed); No discards; Cancel keeps
    // the window open.
    bool FormCloseQuery();

    // Set once the closing has been agreed (by the main window asking every document in turn),
    // so that the close itself does not ask again.
    bool CloseAgreed = false;

    // A new document has no file yet; one opened or saved under a name has, whatever its name.
    bool IsUntitled() const { return Untitled; }

    // A size that shows a panel's line comfortably in the typing font (at least 453 x 329), and
    // no larger than the area the window is in: what a new window opens at and cascading gives.
    QSize sizeHint() const override;

signals:
    // The caret's line and column for the status bar ("line:  column"); " " once the window is
    // going away, since the position is its own.
    void CaretChanged(const QString &position);
    // "Insert" or "Overwrite".
    void ModeChanged(const QString &mode);
    // The document was written under a new name (Save As, or the first save of a new one).
    void SavedAs(const QString &name);
    // The window agreed to close and is closing: what it held unsaved is given up. Not emitted
    // when it is destroyed without closing (the main window going away).
    void Closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QTextCharFormat PlainTextFormat() const;
    QString ModeText() const;
    bool WriteFile(const QString &name);
    bool AskOverwrite(const QString &name);

    bool Untitled = true;
    TFileDialogState OwnSaveDialog;
};

inline constexpr const char *UntitledName = "Untitled";
// The caption of the n-th untitled document (from 1): "Untitled", "Untitled 2", ...
QString UntitledCaption(int n);

// The file name without its folder; both '/' and '\' separate folders.
QString NameWithoutFolder(const QString &name);

} // namespace zor
