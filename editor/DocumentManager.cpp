#include "editor/DocumentManager.h"

#include "editor/Child.h"
#include "editor/CommandInsertion.h"
#include "editor/EditCommands.h"
#include "editor/SymbolTips.h"
#include "ui/Dialogs.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace zor {

TDocumentManager::TDocumentManager(QMdiArea *area, QObject *parent) : QObject(parent), Area(area)
{
    //: A file dialog's filter: the name, then after the bar the pattern, which stays as it is
    OpenDialog.Filter = tr("ZorEdit files [*.zor]|*.zor");
    OpenDialog.DefaultExt = QStringLiteral("zor");
    SaveDialog.Filter = OpenDialog.Filter;
    SaveDialog.DefaultExt = OpenDialog.DefaultExt;
    FontDialog = DefaultPlainFont();
    connect(Area, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow *sub) { emit DocumentActivated(qobject_cast<TMDIChild *>(sub)); });
}

TDocumentManager::~TDocumentManager()
{
    // Windows outliving the manager (the area is destroyed later) must not call back into it.
    for (TMDIChild *child : Documents()) {
        disconnect(child, nullptr, this, nullptr);
        child->SaveDialog = nullptr;
        child->PlainFont = nullptr;
    }
}

QTextCharFormat TDocumentManager::PlainTextFormat() const
{
    return FontDialogFormat(FontDialog);
}

QWidget *TDocumentManager::DialogParent() const
{
    return Area->window();
}

TMDIChild *TDocumentManager::CreateDocumentWindow(const QString &name)
{
    const QMdiSubWindow *current = Area->activeSubWindow();
    const bool wasMaximized = current && current->isMaximized();
    auto *child = new TMDIChild;
    child->SaveDialog = &SaveDialog;
    child->PlainFont = &FontDialog;
    InstallSymbolTips(child->Editor);
    child->Editor->PasteHandler = [editor = child->Editor](const QMimeData *mime) {
        PasteAtUnitBoundary(*editor, mime);
    };
    emit DocumentCreated(child);
    Area->addSubWindow(child);
    // Its size once restored from maximized, now that the area bounds it.
    child->resize(child->sizeHint());
    connect(child, &QObject::destroyed, this, [this](QObject *window) {
        --DocumentCount;
        emit DocumentClosed(window);
        emit CountChanged(DocumentCount);
    });
    connect(child, &TMDIChild::SavedAs, this, &TDocumentManager::FileUsed);
    // Said once the window shows what was read.
    QString warning;
    if (name != QLatin1String(UntitledName)) {
        if (QFileInfo(name).isFile()) {
            QString error;
            if (child->LoadFile(name, &error, &warning)) {
                emit FileUsed(name);
            } else
                ShowErrorBox(DialogParent(), error);
        } else {
            child->SetFileName(name);
            // A name that is not a file yet reaches the recent files once the first Save has
            // made it one (Save writes to it directly; only Save As says so itself).
            auto firstSave = std::make_shared<QMetaObject::Connection>();
            *firstSave = connect(child->Editor->document(), &QTextDocument::modificationChanged,
                                 this, [this, child, firstSave](bool modified) {
                                     if (modified || !QFileInfo(child->FileName).isFile())
                                         return;
                                     disconnect(*firstSave);
                                     emit FileUsed(child->FileName);
                                 });
        }
    }
    if (child->IsUntitled())
        child->setWindowTitle(NextUntitledCaption(child));
    QTextDocument *document = child->Editor->document();
    // What was read is where the window starts: undoing must never take the file's text out.
    document->clearUndoRedoStacks();
    document->setModified(false);
    connect(document, &QTextDocument::modificationChanged, this,
            [this, child](bool modified) { emit DocumentModified(child, modified); });
    ++DocumentCount;
    emit CountChanged(DocumentCount);
    // A maximized document stays so when another opens: cascading would restore every window
    // to a size too small for the panel's line. Documents the operator has arranged are
    // cascaded with the new one.
    const bool arranged = DocumentCount > 1 && !wasMaximized;
    child->showMaximized();
    Area->setActiveSubWindow(child);
    if (arranged)
        Area->cascadeSubWindows();
    // Reading leaves the caret after the last character; a document is read from its start,
    // once the window has its size.
    child->Editor->moveCursor(QTextCursor::Start);
    child->Editor->verticalScrollBar()->setValue(0);
    child->Editor->horizontalScrollBar()->setValue(0);
    if (!warning.isEmpty())
        Dialogs().MessageBox(DialogParent(), tr("Warning"), warning, TMsgIcon::Warning,
                             TMsgButtons::Ok);
    return child;
}

QString TDocumentManager::NextUntitledCaption(const TMDIChild *newWindow) const
{
    QStringList taken;
    for (const TMDIChild *child : Documents())
        if (child != newWindow && child->IsUntitled())
            taken << child->windowTitle();
    // The lowest number free: a closed "Untitled 2" is the next one's caption again.
    for (int n = 1;; ++n)
        if (QString caption = UntitledCaption(n); !taken.contains(caption))
            return caption;
}

TMDIChild *TDocumentManager::New()
{
    return CreateDocumentWindow(QLatin1String(UntitledName));
}

TMDIChild *TDocumentManager::Open()
{
    if (!Dialogs().ExecuteOpen(DialogParent(), OpenDialog))
        return nullptr;
    return CreateDocumentWindow(OpenDialog.FileName);
}

bool TDocumentManager::Save(TMDIChild *window)
{
    return window && window->Save();
}

bool TDocumentManager::SaveAs(TMDIChild *window)
{
    return window && window->SaveAs();
}

bool TDocumentManager::QueryCloseAll()
{
    const QList<TMDIChild *> documents = Documents();
    for (TMDIChild *child : documents)
        if (!child->FormCloseQuery())
            return false;
    for (TMDIChild *child : documents)
        child->CloseAgreed = true;
    return true;
}

TMDIChild *TDocumentManager::ActiveDocument() const
{
    QMdiSubWindow *sub = Area->currentSubWindow();
    if (!sub) {
        const QList<QMdiSubWindow *> order = Area->subWindowList(QMdiArea::StackingOrder);
        sub = order.isEmpty() ? nullptr : order.back();
    }
    return qobject_cast<TMDIChild *>(sub);
}

QList<TMDIChild *> TDocumentManager::Documents() const
{
    QList<TMDIChild *> list;
    for (QMdiSubWindow *sub : Area->subWindowList())
        if (auto *child = qobject_cast<TMDIChild *>(sub))
            list << child;
    return list;
}

} // namespace zor
