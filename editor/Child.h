// A document window: one message program in a rich-text editor, with its file name and its
// insert or overwrite mode.
#pragma once

#include <QMdiSubWindow>
#include <QTextEdit>
#include <functional>

namespace zor {

// The document editor: a rich-text edit with a length limit that refuses, rather than cuts,
// text that would pass it.
class TRichEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit TRichEdit(QWidget *parent = nullptr);

    // Most characters the document may hold; paragraph ends count one each.
    qint64 MaxLength = 16384;
    qint64 Length() const;

    // Runs before a key takes its ordinary effect; returning true consumes the key.
    std::function<bool(QKeyEvent *)> KeyDown;
    // Replaces the ordinary paste of clipboard data (the program keeps units whole).
    std::function<void(const QMimeData *)> PasteHandler;

    // The ordinary paste, for the handler that decided where it goes.
    void InsertMimeData(const QMimeData *source) { QTextEdit::insertFromMimeData(source); }

    // Whether inserting this many characters in place of the selection stays within MaxLength.
    bool Fits(qint64 inserted) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
};

class TMDIChild : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit TMDIChild(QWidget *parent = nullptr);
    ~TMDIChild() override;

    TRichEdit *Editor;
    QString FileName;
    bool InsertMode = true;

    // Set by the main window: its SaveDocument, and the text of a status-bar panel (0 to 2).
    std::function<void(TMDIChild *)> SaveDocument;
    std::function<void(int, const QString &)> SetPanelText;

    // Asks whether the window may close: the save-changes question for a modified document.
    // Yes saves (the window closes even when that save is cancelled), No discards, Cancel
    // keeps the window open.
    bool FormCloseQuery();

    // Set once the closing has been agreed (by the main window asking every document in turn),
    // so that the close itself does not ask again.
    bool CloseAgreed = false;

    bool IsUntitled() const;

protected:
    void closeEvent(QCloseEvent *event) override;
};

inline constexpr const char *UntitledName = "Untitled";

// The file name without its folder; both '/' and '\' separate folders.
QString NameWithoutFolder(const QString &name);

} // namespace zor
