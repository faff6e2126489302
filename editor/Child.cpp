#include "editor/Child.h"

#include "commands/Vocabulary.h"
#include "editor/AppIcon.h"
#include "editor/CommandInsertion.h"
#include "editor/DocumentIO.h"
#include "editor/EditCommands.h"
#include "ui/Dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiArea>
#include <QTextBlock>
#include <QTextDocument>

namespace zor {

TMDIChild::TMDIChild(QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("MDIChild"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Set on the window itself: the system-menu button of a maximised document keeps the icon
    // the window had when it was made, which would otherwise be the toolkit's.
    setWindowIcon(ZorAppIcon());
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    Editor = new TRichEdit(this);
    Editor->KeyDown = [this](QKeyEvent *event) {
        EditorKeyDown(event);
        return false;
    };
    Editor->TypingFormat = [this](const QTextCharFormat &format) {
        return PlainFont ? TypingFormatAfter(format, PlainTextFormat()) : format;
    };
    // An emptied document has no character left to take the typing format from: text typed
    // next starts in the remembered plain-text font, as in a fresh document.
    connect(Editor->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int) {
                if (removed > 0 && Editor->document()->isEmpty() && PlainFont)
                    Editor->setCurrentCharFormat(PlainTextFormat());
            });
    connect(Editor, &QTextEdit::cursorPositionChanged, this, &TMDIChild::EditorSelectionChange);
    connect(Editor, &QTextEdit::selectionChanged, this, &TMDIChild::EditorSelectionChange);
    setWidget(Editor);
    setFocusProxy(Editor);
    resize(sizeHint());
    FileName = QLatin1String(UntitledName);
    setWindowTitle(FileName);
    InsertMode = true;
}

QString UntitledCaption(int n)
{
    return n <= 1 ? QCoreApplication::translate("TMDIChild", "Untitled")
                  : QCoreApplication::translate("TMDIChild", "Untitled %1").arg(n);
}

TMDIChild::~TMDIChild()
{
    // The caret position belongs to the window that is going away.
    emit CaretChanged(QStringLiteral(" "));
}

QSize TMDIChild::sizeHint() const
{
    // A panel's line holds about twenty characters (120 dots); room for twice that and a dozen
    // lines, whatever font the operator types in.
    const QFontMetrics metrics(PlainFont ? PlainTextFormat().font() : Editor->font());
    QSize size = QSize(453, 329).expandedTo(
        QSize(metrics.averageCharWidth() * 40 + 60, metrics.lineSpacing() * 12 + 80));
    if (const QMdiArea *area = mdiArea())
        size = size.boundedTo(area->viewport()->size());
    return size;
}

QTextCharFormat TMDIChild::PlainTextFormat() const
{
    return FontDialogFormat(*PlainFont);
}

QString TMDIChild::ModeText() const
{
    return InsertMode ? tr("Insert") : tr("Overwrite");
}

bool TMDIChild::LoadFile(const QString &name, QString *error, QString *warning)
{
    SetFileName(name);
    if (!LoadDocumentFile(name, *Editor->document(), error, warning))
        return false;
    Editor->MaxLength = FileDocumentMaxLength;
    return true;
}

void TMDIChild::SetFileName(const QString &name)
{
    FileName = name;
    setWindowTitle(NameWithoutFolder(name));
    Untitled = false;
}

bool TMDIChild::WriteFile(const QString &name)
{
    QString error;
    if (!SaveDocumentFile(name, *Editor->document(), &error)) {
        ShowErrorBox(this, error);
        return false;
    }
    Editor->document()->setModified(false);
    return true;
}

bool TMDIChild::AskOverwrite(const QString &name)
{
    if (!QFileInfo::exists(name))
        return true;
    return Dialogs().MessageBox(this, tr("Question"), tr("%1 exists\nOverwrite?").arg(name),
                                TMsgIcon::Question, TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

bool TMDIChild::Save()
{
    if (Untitled)
        return SaveAs();
    if (FileChangedSince && FileChangedSince()) {
        const TMsgAnswer answer = Dialogs().MessageBox(
            this, tr("Confirm"),
            tr("%1 was changed on disk after its recovery copy was made.\nOverwrite it?")
                .arg(FileName),
            TMsgIcon::Warning, TMsgButtons::OverwriteSaveAsCancel);
        if (answer == TMsgAnswer::Cancel)
            return false;
        if (answer == TMsgAnswer::No)
            return SaveAs();
    }
    if (!WriteFile(FileName))
        return false;
    FileChangedSince = nullptr;
    return true;
}

bool TMDIChild::SaveAs()
{
    TFileDialogState &dialog = SaveDialog ? *SaveDialog : OwnSaveDialog;
    // The dialog is shared: without this, a new document's Save would be captioned with the
    // name the last Save As was for.
    // A new document is offered under its name in the interface's language, not under the
    // marker its file name holds.
    const QString offered = FileName == QLatin1String(UntitledName) ? UntitledCaption(1) : FileName;
    dialog.Title = tr("Save %1 As...").arg(NameWithoutFolder(offered));
    dialog.FileName = offered;
    if (!Dialogs().ExecuteSave(this, dialog))
        return false;
    const QString name = dialog.FileName;
    if (!AskOverwrite(name))
        return false;
    // A failed write must not leave a name that sends the next Save somewhere never written.
    if (!WriteFile(name))
        return false;
    SetFileName(name);
    FileChangedSince = nullptr;
    emit SavedAs(name);
    return true;
}

bool TMDIChild::FormCloseQuery()
{
    if (!Editor->document()->isModified())
        return true;
    const TMsgAnswer answer =
        Dialogs().MessageBox(this, tr("Confirm"), tr("Save changes to %1").arg(FileName),
                             TMsgIcon::Question, TMsgButtons::YesNoCancel);
    if (answer == TMsgAnswer::Cancel)
        return false;
    // Changes the operator asked to keep are never thrown away by a save that did not happen.
    if (answer == TMsgAnswer::Yes)
        return Save();
    return true;
}

void TMDIChild::closeEvent(QCloseEvent *event)
{
    if (!CloseAgreed && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    CloseAgreed = true;
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}

void TMDIChild::EditorKeyDown(QKeyEvent *event)
{
    TEditKey key = TEditKey::Other;
    switch (event->key()) {
    case Qt::Key_Insert:
        key = TEditKey::Insert;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        key = TEditKey::LeftAlone;
        break;
    case Qt::Key_Delete:
        key = TEditKey::Delete;
        break;
    case Qt::Key_Backspace:
        key = TEditKey::Backspace;
        break;
    default:
        break;
    }
    const QTextCursor cursor = Editor->textCursor();
    const TSelection selection{cursor.selectionStart(),
                               cursor.selectionEnd() - cursor.selectionStart()};
    const TKeyAction action =
        EditorKeyRule(TDocumentUnits(*Editor->document()), key, selection, InsertMode);
    if (action.ToggleMode) {
        InsertMode = !InsertMode;
        Editor->setOverwriteMode(!InsertMode);
        emit ModeChanged(ModeText());
        return;
    }
    if (action.SetSelection)
        SelectRange(*Editor, action.Selection);
    if (action.ResetTypingFormat && PlainFont)
        Editor->setCurrentCharFormat(
            TypingFormatAfter(Editor->currentCharFormat(), PlainTextFormat()));
}

void TMDIChild::EditorSelectionChange()
{
    const QTextCursor cursor = Editor->textCursor();
    const QTextBlock block = Editor->document()->findBlock(cursor.selectionStart());
    const int line = block.blockNumber() + 1;
    const int column = cursor.selectionStart() - block.position() + 1;
    emit CaretChanged(QStringLiteral("%1:  %2").arg(line).arg(column));
    emit ModeChanged(ModeText());
}

QString NameWithoutFolder(const QString &name)
{
    const qsizetype cut =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return name.mid(cut + 1);
}

} // namespace zor
