#include "editor/Child.h"

#include "editor/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>

namespace zor {

TRichEdit::TRichEdit(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("Editor"));
    setLineWrapMode(QTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAcceptRichText(true);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    document()->setDefaultFont(font);
    setCurrentFont(font);
    setTextColor(Qt::black);
}

qint64 TRichEdit::Length() const
{
    return document()->characterCount() - 1;
}

bool TRichEdit::Fits(qint64 inserted) const
{
    const QTextCursor c = textCursor();
    return Length() - (c.selectionEnd() - c.selectionStart()) + inserted <= MaxLength;
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    if (KeyDown && KeyDown(event))
        return;
    const QString text = event->text();
    const bool inserts =
        !text.isEmpty() && (text.at(0).isPrint() || event->key() == Qt::Key_Return ||
                            event->key() == Qt::Key_Enter || event->key() == Qt::Key_Tab);
    if (inserts && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Overwriting a character keeps the length; anything else adds to it.
        const bool replaces =
            overwriteMode() && !textCursor().hasSelection() && !textCursor().atBlockEnd();
        if (!replaces && !Fits(text.size())) {
            QApplication::beep();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

bool TRichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || QTextEdit::canInsertFromMimeData(source);
}

void TRichEdit::insertFromMimeData(const QMimeData *source)
{
    if (PasteHandler) {
        PasteHandler(source);
        return;
    }
    InsertMimeData(source);
}

TMDIChild::TMDIChild(QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("MDIChild"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    Editor = new TRichEdit(this);
    setWidget(Editor);
    setFocusProxy(Editor);
    resize(453, 329);
    FileName.clear();
    InsertMode = true;
}

TMDIChild::~TMDIChild()
{
    // The caret position belongs to the window that is going away.
    if (SetPanelText)
        SetPanelText(1, QStringLiteral(" "));
}

bool TMDIChild::IsUntitled() const
{
    return windowTitle() == QLatin1String(UntitledName);
}

bool TMDIChild::FormCloseQuery()
{
    if (!Editor->document()->isModified())
        return true;
    const TMsgAnswer answer = Dialogs().MessageBox(this, QStringLiteral("Confirm"),
                                                   QStringLiteral("Save changes to ") + FileName,
                                                   TMsgIcon::Question, TMsgButtons::YesNoCancel);
    if (answer == TMsgAnswer::Cancel)
        return false;
    if (answer == TMsgAnswer::Yes && SaveDocument)
        SaveDocument(this);
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
}

QString NameWithoutFolder(const QString &name)
{
    const qsizetype cut =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return name.mid(cut + 1);
}

} // namespace zor
