// The list of open documents and the file commands on them, apart from any main window: it puts
// document windows into an MDI area, each wired for editing (symbol tooltips, pasting at unit
// boundaries, typing in the remembered plain-text font), and tells, by signals, when one is
// created, activated, modified or closed, so that menus and status panels can follow.
#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTextCharFormat>

class QMdiArea;
class QMdiSubWindow;

namespace zor {

class TMDIChild;

class TDocumentManager : public QObject
{
    Q_OBJECT
public:
    // area: where the windows go; it must outlive the manager's use of it (the owner's).
    explicit TDocumentManager(QMdiArea *area, QObject *parent = nullptr);
    ~TDocumentManager() override;

    // The dialogs' state, remembered across documents (folder, filter, last name).
    TFileDialogState OpenDialog;
    TFileDialogState SaveDialog;
    // The Font command's choice, which is also the remembered plain-text font that typed text
    // and text after a command symbol take.
    TFontDialogState FontDialog;
    QTextCharFormat PlainTextFormat() const;

    // Makes a document window. UntitledName makes a new, empty document; any other name is the
    // document's file, read when it exists (a failure shows the error box and leaves the window
    // empty under that name), or written by the first Save when it does not.
    TMDIChild *CreateDocumentWindow(const QString &name);

    TMDIChild *New();
    // Asks for a file with the open dialog; null when cancelled.
    TMDIChild *Open();
    bool Save(TMDIChild *window);
    bool SaveAs(TMDIChild *window);

    // The exit question: every document is asked in turn and the first refusal keeps them all
    // open (false). When all agree, their windows close without asking again.
    bool QueryCloseAll();

    // The current document, also while the frame is inactive (a dialog is up); null when none.
    TMDIChild *ActiveDocument() const;
    QList<TMDIChild *> Documents() const;
    int Count() const { return DocumentCount; }

signals:
    // Emitted before the window is filled and shown, so that its owner can connect to it.
    void DocumentCreated(TMDIChild *window);
    // window is null when no document is active.
    void DocumentActivated(TMDIChild *window);
    void DocumentModified(TMDIChild *window, bool modified);
    // The window is being destroyed: compare the pointer, never use it.
    void DocumentClosed(QObject *window);
    void CountChanged(int count);
    // A document was read from or saved under this file (for the recent-files list).
    void FileUsed(const QString &name);

private:
    // "Untitled", or "Untitled N" with the lowest N no open untitled document has.
    QString NextUntitledCaption(const TMDIChild *newWindow) const;
    QWidget *DialogParent() const;

    QMdiArea *Area;
    int DocumentCount = 0;
};

} // namespace zor
