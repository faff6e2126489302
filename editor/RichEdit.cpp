#include "editor/RichEdit.h"

#include "commands/Vocabulary.h"
#include "editor/CommandInsertion.h"
#include "editor/DocumentIO.h"
#include "editor/EditCommands.h"
#include "editor/rtf/RtfCodec.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>

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
    // Every attribute is the editor's own: the document's default font follows the widget's,
    // which would otherwise inherit the bold window font and the small form font around it.
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    setFont(font);
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
    if (!text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        TypeText(text);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
         event->key() == Qt::Key_Tab) &&
        !Fits(1)) {
        QApplication::beep();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TRichEdit::TypeText(const QString &text)
{
    QTextCursor cursor = textCursor();
    QTextCharFormat format = currentCharFormat();
    if (TypingFormat)
        format = TypingFormat(format);
    const bool replaces = overwriteMode() && !cursor.hasSelection() && !cursor.atBlockEnd();
    if (!replaces && !Fits(text.size())) {
        QApplication::beep();
        return;
    }
    if (replaces)
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    cursor.insertText(text, format);
    setTextCursor(cursor);
    setCurrentCharFormat(format);
    ensureCursorVisible();
}

bool TRichEdit::event(QEvent *event)
{
    // A key that is the shortcut of one of the window's own commands belongs to that command;
    // QTextEdit would otherwise take the clipboard keys for its built-in handling, which does not
    // keep command units whole.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence key(static_cast<QKeyEvent *>(event)->keyCombination());
        for (const QAction *action :
             window()->findChildren<QAction *>(Qt::FindDirectChildrenOnly)) {
            if (action->shortcuts().contains(key)) {
                event->ignore();
                return false;
            }
        }
    }
    return QTextEdit::event(event);
}

bool TRichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasFormat(QLatin1String(RtfMimeType)) || source->hasText() ||
           QTextEdit::canInsertFromMimeData(source);
}

QMimeData *TRichEdit::createMimeDataFromSelection() const
{
    // Qt's own selection data lists a fixed set of formats; a plain copy of it can carry ours.
    std::unique_ptr<QMimeData> own(QTextEdit::createMimeDataFromSelection());
    auto *mime = new QMimeData;
    for (const QString &format : own->formats())
        mime->setData(format, own->data(format));
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return mime;
    QTextDocument fragment;
    QTextCursor(&fragment).insertFragment(c.selection());
    const std::string rtf = rtf::Write(DocumentFromText(fragment));
    mime->setData(QLatin1String(RtfMimeType), QByteArray(rtf.data(), qsizetype(rtf.size())));
    return mime;
}

void TRichEdit::InsertClipboardData(const QMimeData *source)
{
    if (source->hasFormat(QLatin1String(RtfMimeType))) {
        const QByteArray bytes = source->data(QLatin1String(RtfMimeType));
        rtf::ReadResult read =
            rtf::Read(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (read.Ok() && read.Source == rtf::SourceKind::Rtf) {
            QTextDocument fragment;
            FillTextDocument(fragment, std::move(read.Doc));
            if (!Fits(fragment.characterCount() - 1)) {
                QApplication::beep();
                return;
            }
            QTextCursor c = textCursor();
            c.insertFragment(QTextDocumentFragment(&fragment));
            setTextCursor(c);
            return;
        }
    }
    if (!Fits(source->text().size())) {
        QApplication::beep();
        return;
    }
    if (source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Plain text takes the typing format, never a symbol's.
    QTextCursor c = textCursor();
    QTextCharFormat format = currentCharFormat();
    if (TypingFormat)
        format = TypingFormat(format);
    c.insertText(source->text(), format);
    setTextCursor(c);
}

void TRichEdit::insertFromMimeData(const QMimeData *source)
{
    if (PasteHandler) {
        PasteHandler(source);
        return;
    }
    InsertClipboardData(source);
}

int TDocumentUnits::Length() const
{
    return Document.characterCount() - 1;
}

bool TDocumentUnits::Tagged(int pos) const
{
    if (pos < 0 || pos >= Length())
        return false;
    QTextCursor c(const_cast<QTextDocument *>(&Document));
    c.setPosition(pos + 1);
    // A paragraph end carries the format of the block it starts.
    const QTextCharFormat format = Document.characterAt(pos) == QChar::ParagraphSeparator
                                       ? Document.findBlock(pos + 1).charFormat()
                                       : c.charFormat();
    return IsCommandFormat(format);
}

bool TDocumentUnits::Digit(int pos) const
{
    if (pos < 0 || pos >= Length())
        return false;
    const QChar ch = Document.characterAt(pos);
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

void SelectRange(QTextEdit &editor, TSelection selection)
{
    QTextCursor c = editor.textCursor();
    c.setPosition(selection.Start);
    if (selection.Length > 0)
        c.setPosition(selection.Start + selection.Length, QTextCursor::KeepAnchor);
    editor.setTextCursor(c);
}

} // namespace zor
